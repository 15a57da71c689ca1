#include "platform/ui/msgbox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <utility>

#include "platform/runtime/program_state.h"
#include "platform/ui/control_qt.h"
#include "platform/ui/form_qt.h"

namespace zarv {

namespace {

struct MsgBoxState {
  std::function<int(const MsgBoxCall&)> responder;
  std::vector<MsgBoxCall> calls;
};

MsgBoxState& State() {
  static MsgBoxState* s = new MsgBoxState;
  [[maybe_unused]] static const bool registered =
      OnProgramReset(ResetStage::State, [] { *s = MsgBoxState{}; });
  return *s;
}

struct ButtonSpec {
  const char* text;
  int result;
};

std::vector<ButtonSpec> ButtonsOf(int style) {
  switch (style & 7) {
    case vbOKCancel: return {{"OK", vbOK}, {"キャンセル", vbCancel}};
    case vbAbortRetryIgnore: return {{"中止(&A)", vbAbort}, {"再試行(&R)", vbRetry}, {"無視(&I)", vbIgnore}};
    case vbYesNoCancel: return {{"はい(&Y)", vbYes}, {"いいえ(&N)", vbNo}, {"キャンセル", vbCancel}};
    case vbYesNo: return {{"はい(&Y)", vbYes}, {"いいえ(&N)", vbNo}};
    case vbRetryCancel: return {{"再試行(&R)", vbRetry}, {"キャンセル", vbCancel}};
    default: return {{"OK", vbOK}};
  }
}

// The widest piece of a line that has nowhere to break, in pixels: half the
// desktop, at most 480. The box's own wrapping keeps it within the desktop
// then; a longer unbroken piece (a long file name) made it as wide as the
// desktop and cut the rest off.
int LongestUnbrokenPiece(const QWidget& box) {
  const QScreen* screen = box.screen();
  const int desktop = screen != nullptr ? screen->availableGeometry().width() : 640;
  return std::min(480, desktop / 2);
}

}  // namespace

QString BreakUnbrokenRuns(const QString& text, const QFontMetrics& metrics, int widest) {
  QString out;
  out.reserve(text.size() + text.size() / 16);
  QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
  qsizetype start = 0;
  for (qsizetype end = breaks.toNextBoundary(); end != -1; end = breaks.toNextBoundary()) {
    const QString run = text.mid(start, end - start);
    start = end;
    if (metrics.horizontalAdvance(run.trimmed()) <= widest) {
      out += run;
      continue;
    }
    // Whole characters (a pair of surrogates, a base with its marks) a line.
    QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, run);
    QString line;
    qsizetype from = 0;
    for (qsizetype to = chars.toNextBoundary(); to != -1; to = chars.toNextBoundary()) {
      const QString piece = run.mid(from, to - from);
      from = to;
      if (!line.isEmpty() && metrics.horizontalAdvance((line + piece).trimmed()) > widest) {
        out += line;
        out += QChar('\n');
        line.clear();
      }
      line += piece;
    }
    out += line;
  }
  return out;
}

int MsgBox(const std::string& prompt, int style, const std::string& title) {
  MsgBoxCall call{prompt, style, title.empty() ? std::string("Zarv") : title};
  MsgBoxState& st = State();
  st.calls.push_back(call);
  if (st.responder) {
    auto responder = st.responder;
    return responder(call);
  }

  EnsureQtApp();
  // Owned by the form on top, so that it opens above that form and stays
  // there; the window system's active window may be one just hidden.
  Form* top = TopForm();
  QMessageBox box(top != nullptr ? top->impl().widget : QApplication::activeWindow());
  box.setWindowTitle(QStr(call.title));
  box.setTextFormat(Qt::PlainText);  // a name is never markup
  const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  const QFontMetrics metrics = label != nullptr ? label->fontMetrics() : box.fontMetrics();
  box.setText(BreakUnbrokenRuns(DisplayText(prompt), metrics, LongestUnbrokenPiece(box)));
  switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  const std::vector<ButtonSpec> specs = ButtonsOf(style);
  std::vector<QPushButton*> buttons;
  for (const ButtonSpec& button : specs) {
    buttons.push_back(box.addButton(QString::fromUtf8(button.text), QMessageBox::ActionRole));
  }
  const size_t def = static_cast<size_t>((style >> 8) & 3);
  box.setDefaultButton(buttons[def < buttons.size() ? def : 0]);
  // The close box answers Cancel where there is one, else the only button.
  for (size_t i = 0; i < specs.size(); ++i) {
    if (specs[i].result == vbCancel || specs.size() == 1) box.setEscapeButton(buttons[i]);
  }
  DispatchScope scope;  // the box's loop runs inside the caller
  box.exec();
  const auto* clicked = box.clickedButton();
  for (size_t i = 0; i < specs.size(); ++i) {
    if (buttons[i] == clicked) return specs[i].result;
  }
  // Closed without a button (no escape button): the first choice that
  // changes nothing.
  for (const ButtonSpec& button : specs) {
    if (button.result == vbCancel || button.result == vbNo) return button.result;
  }
  return specs.front().result;
}

void SetMessageBoxResponder(std::function<int(const MsgBoxCall&)> responder) {
  State().responder = std::move(responder);
}
const std::vector<MsgBoxCall>& MessageBoxCalls() { return State().calls; }
void ClearMessageBoxCalls() { State().calls.clear(); }

}  // namespace zarv
