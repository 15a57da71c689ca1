#include "platform/ui/print.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>
#include <utility>
#include <vector>

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
  std::string unsavedFile;
  std::string fullFolder;
  bool cancelled = false;
};

PrintState& State() {
  static PrintState* s = new PrintState;
  [[maybe_unused]] static const bool registered =
      OnProgramReset(ResetStage::State, [] { *s = PrintState{}; });
  return *s;
}

// "print000.pdf" ... "print999.pdf".
std::vector<std::string> PdfNames() {
  std::vector<std::string> names;
  char name[32];
  for (int n = 0; n < 1000; ++n) {
    std::snprintf(name, sizeof name, "print%03d.pdf", n);
    names.emplace_back(name);
  }
  return names;
}

// The name the page will take in the program folder; "" when none is free.
std::string FreePdfName() {
  for (const std::string& name : PdfNames()) {
    const std::string path = JoinPath(ProgramFolder(), name);
    if (!PathExists(path)) return path;
  }
  return {};
}

// The image at the size it has on the screen (96 dots per inch), within
// the page.
bool PaintPage(QPaintDevice& device, const QPageLayout& layout, int resolution, const QImage& image) {
  QPainter p;
  if (!p.begin(&device)) return false;
  const QRectF page = layout.paintRectPixels(resolution);
  double scale = resolution / 96.0;
  if (image.width() * scale > page.width()) scale = page.width() / image.width();
  if (image.height() * scale > page.height()) scale = std::min(scale, page.height() / image.height());
  p.scale(scale, scale);
  p.drawImage(0, 0, image);
  return p.end();
}

// The page as a PDF file, made in memory and saved as every file is: the
// painter's end says nothing of a disk that filled or a size limit met. It
// takes the first free name as it is saved, never one another copy of the
// program (or the user) has taken meanwhile. The path, or "" (*noFreeName
// set when every name was taken).
std::string SavePdf(const QPrinter& printer, const std::string& caption, const QImage& image, bool* noFreeName) {
  *noFreeName = false;
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&bytes);
    writer.setTitle(QStr(caption));
    writer.setCreator(printer.creator());
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    if (!PaintPage(writer, writer.pageLayout(), writer.resolution(), image)) return {};
  }
  const QByteArray& data = bytes.data();
  return WriteToFreeName(ProgramFolder(), PdfNames(), std::string_view(data.constData(), static_cast<size_t>(data.size())),
                         noFreeName);
}

}  // namespace

bool PrintForm(Form& form) {
  PrintState& st = State();
  st.lastFile.clear();
  st.unsavedFile.clear();
  st.fullFolder.clear();
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
  if (job.toPdf) printer.setOutputFormat(QPrinter::PdfFormat);
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

  if (!job.toPdf) return PaintPage(printer, printer.pageLayout(), printer.resolution(), image);
  bool noFreeName = job.pdfPath.empty();
  const std::string saved = noFreeName ? std::string() : SavePdf(printer, job.caption, image, &noFreeName);
  if (noFreeName) {
    st.fullFolder = ProgramFolder();
  } else if (saved.empty()) {
    st.unsavedFile = job.pdfPath;
  }
  st.lastFile = saved;
  return !saved.empty();
}

const std::string& LastPrintFile() { return State().lastFile; }
const std::string& LastUnsavedPrintFile() { return State().unsavedFile; }
const std::string& LastPrintFolderFull() { return State().fullFolder; }
bool LastPrintCancelled() { return State().cancelled; }

void SetPrintDialogResponder(std::function<bool(const PrintJob&)> responder) {
  State().responder = std::move(responder);
}
void SetPrintToPdf(bool on) { State().forcePdf = on; }

}  // namespace zarv
