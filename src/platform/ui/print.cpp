#include "platform/ui/print.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>
#include <utility>

#include "platform/runtime/files.h"
#include "platform/runtime/program_state.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"

namespace zarv {

namespace {

struct PrintState {
  std::function<bool(const PrintJob&)> responder;
  bool forcePdf = false;
  std::string lastFile;
  bool cancelled = false;
};

PrintState& State() {
  static PrintState* s = new PrintState;
  [[maybe_unused]] static const bool registered =
      OnProgramReset(ResetStage::State, [] { *s = PrintState{}; });
  return *s;
}

std::string FreePdfName() {
  char name[32];
  for (int n = 0; n < 1000; ++n) {
    std::snprintf(name, sizeof name, "print%03d.pdf", n);
    const std::string path = JoinPath(ProgramFolder(), name);
    if (!FileExists(path)) return path;
  }
  return JoinPath(ProgramFolder(), "print999.pdf");
}

}  // namespace

bool PrintForm(Form& form) {
  PrintState& st = State();
  st.lastFile.clear();
  st.cancelled = false;
  // The client area with its controls, as it looks now.
  QWidget* w = form.impl().widget;
  const QImage image = w->grab().toImage();

  PrintJob job;
  job.caption = form.Caption();
  job.width = image.width();
  job.height = image.height();
  job.toPdf = st.forcePdf || QPrinterInfo::availablePrinters().isEmpty();
  if (job.toPdf) job.pdfPath = FreePdfName();

  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStr(job.caption));
  if (job.toPdf) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStr(job.pdfPath));
  }
  if (st.responder) {
    if (!st.responder(job)) {
      st.cancelled = true;
      return false;
    }
  } else if (!job.toPdf) {
    QPrintDialog dialog(&printer, w);
    DispatchScope scope;
    if (dialog.exec() != QDialog::Accepted) {
      st.cancelled = true;
      return false;
    }
  }

  QPainter p;
  if (!p.begin(&printer)) return false;
  // The size it has on the screen (96 dots per inch), within the page.
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  double scale = printer.resolution() / 96.0;
  if (image.width() * scale > page.width()) scale = page.width() / image.width();
  if (image.height() * scale > page.height()) scale = std::min(scale, page.height() / image.height());
  p.scale(scale, scale);
  p.drawImage(0, 0, image);
  const bool ok = p.end();
  if (ok && job.toPdf) st.lastFile = job.pdfPath;
  return ok;
}

const std::string& LastPrintFile() { return State().lastFile; }
bool LastPrintCancelled() { return State().cancelled; }

void SetPrintDialogResponder(std::function<bool(const PrintJob&)> responder) {
  State().responder = std::move(responder);
}
void SetPrintToPdf(bool on) { State().forcePdf = on; }

}  // namespace zarv
