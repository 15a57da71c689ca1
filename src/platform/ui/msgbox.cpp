#include "platform/ui/msgbox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

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

}  // namespace

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
  box.setText(DisplayText(prompt));
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
