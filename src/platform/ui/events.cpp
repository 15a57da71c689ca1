// The event side of the forms runtime: which widget belongs to which form
// and control, the handler depth, and the application-wide filter that
// turns the toolkit's mouse, key and focus events into the runtime's
// events (KeyPreview, Default/Cancel buttons, F1 help, held keys).
#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include <memory>
#include <vector>

#include "platform/runtime/program_state.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/keys.h"
#include "platform/ui/surface_qt.h"

namespace zarv {

namespace {

struct Registry {
  QHash<QWidget*, Control*> controls;
  QHash<QWidget*, Form*> forms;
  int depth = 0;
  std::vector<std::unique_ptr<Control>> graveyard;
  // The key held down and the form that took its press.
  int heldKey = 0;
  Form* heldKeyForm = nullptr;
  bool repeating = false;  // the key being dispatched is an auto-repeat
};

Registry& Reg() {
  static Registry* r = new Registry;
  // A key held at a reset is let go: its repeats must not act after it.
  [[maybe_unused]] static const bool registered = OnProgramReset(ResetStage::State, [] {
    r->heldKey = 0;
    r->heldKeyForm = nullptr;
    r->repeating = false;
  });
  return *r;
}

void FlushGraveyard() {
  Registry& r = Reg();
  while (!r.graveyard.empty() && r.depth == 0) {
    auto dead = std::move(r.graveyard);
    r.graveyard.clear();
    dead.clear();  // destructors may bury more
  }
}

int ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return vbLeftButton;
    case Qt::RightButton: return vbRightButton;
    case Qt::MiddleButton: return vbMiddleButton;
    default: return 0;
  }
}

int ButtonsOf(Qt::MouseButtons b) {
  int mask = 0;
  if (b & Qt::LeftButton) mask |= vbLeftButton;
  if (b & Qt::RightButton) mask |= vbRightButton;
  if (b & Qt::MiddleButton) mask |= vbMiddleButton;
  return mask;
}

bool HandleMouse(QWidget* w, QMouseEvent* e) {
  Form* form = FormAt(w);
  if (!form) return false;
  // Input still queued for a form that went away acts no more.
  if (!form->Loaded() || !form->Visible()) return true;
  Control* c = ControlAt(w);
  QWidget* origin = c ? c->impl().MouseOrigin() : form->impl().widget;
  if (!origin) return false;
  const QPointF p = origin->mapFromGlobal(e->globalPosition()) -
                    (c ? QPointF(c->impl().mouseDx, c->impl().mouseDy) : QPointF(0, 0));
  const int shift = ShiftMaskFromQt(static_cast<unsigned>(e->modifiers().toInt()));
  const bool passive = c ? c->impl().passiveMouse : true;
  const bool synth = c ? c->impl().synthClick : true;
  int* pressed = c ? &c->impl().pressed : &form->impl().pressed;
  const MouseHandler& down = c ? c->OnMouseDown : form->OnMouseDown;
  const MouseHandler& up = c ? c->OnMouseUp : form->OnMouseUp;
  const MouseHandler& move = c ? c->OnMouseMove : form->OnMouseMove;
  const Handler& click = c ? c->OnClick : form->OnClick;
  const Handler& dbl = c ? c->OnDblClick : form->OnDblClick;

  switch (e->type()) {
    case QEvent::MouseButtonPress: {
      const int b = ButtonOf(e->button());
      if (b == 0) return passive;
      *pressed |= b;
      Fire(down, b, shift, p.x(), p.y());
      break;
    }
    case QEvent::MouseButtonRelease: {
      const int b = ButtonOf(e->button());
      if (b == 0) return passive;
      const bool wasPressed = (*pressed & b) != 0;
      *pressed &= ~b;
      Fire(up, b, shift, p.x(), p.y());
      if (synth && wasPressed && b == vbLeftButton &&
          QRectF(origin->rect()).contains(origin->mapFromGlobal(e->globalPosition())))
        Fire(click);
      break;
    }
    case QEvent::MouseButtonDblClick: {
      const int b = ButtonOf(e->button());
      // Lists and text boxes double-click as they do; the runtime's buttons
      // take a double click as two clicks (the toolkit does that itself).
      if (b == vbLeftButton && (synth || (c && (c->impl().kind == ControlKind::ListBox ||
                                               c->impl().kind == ControlKind::FileListBox ||
                                               c->impl().kind == ControlKind::DirListBox ||
                                               c->impl().kind == ControlKind::ComboBox)))) {
        Fire(dbl);
      } else {
        *pressed |= b;
        Fire(down, b, shift, p.x(), p.y());
      }
      break;
    }
    case QEvent::MouseMove:
      Fire(move, ButtonsOf(e->buttons()), shift, p.x(), p.y());
      break;
    default:
      return false;
  }
  return passive;
}

bool TakesTypedText(const Control* c) {
  if (!c) return false;
  const ControlKind k = c->impl().kind;
  return k == ControlKind::TextBox || k == ControlKind::ComboBox || k == ControlKind::DriveListBox;
}

void TypeInto(Control* c, int keyAscii) {
  auto* box = dynamic_cast<TextBox*>(c);
  if (!box || box->Locked()) return;
  const QString text = QStr(TextFromKeyAscii(keyAscii));
  if (text.isEmpty()) return;
  QWidget* fw = c->ParentForm().impl().widget->focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(fw)) {
    line->insert(text);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(fw)) {
    plain->insertPlainText(text);
  }
}

class RuntimeFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* obj, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
        if (obj->isWidgetType()) return HandleMouse(static_cast<QWidget*>(obj), static_cast<QMouseEvent*>(e));
        return false;
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        if (obj->isWidgetType()) return DispatchKeyEvent(static_cast<QWidget*>(obj), e);
        return false;
      case QEvent::FocusIn:
      case QEvent::FocusOut:
        if (obj->isWidgetType()) HandleFocus(static_cast<QWidget*>(obj), static_cast<QFocusEvent*>(e));
        return false;
      default:
        return false;
    }
  }

 private:
  static void HandleFocus(QWidget* w, QFocusEvent* e) {
    // A window losing the activation keeps its focused control: switching
    // windows raises no LostFocus/GotFocus (coming back finds no change).
    if (e->type() == QEvent::FocusOut &&
        (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason))
      return;
    Form* form = FormAt(w);
    if (!form || !form->Loaded()) return;
    Form::Impl& d = form->impl();
    Control* c = ControlAt(w);
    if (!c) {
      if (w == d.widget) Fire(e->type() == QEvent::FocusIn ? form->OnGotFocus : form->OnLostFocus);
      return;
    }
    if (e->type() == QEvent::FocusIn) {
      if (d.focusControl == c) return;
      Control* old = d.focusControl;
      d.focusControl = c;
      if (old) Fire(old->OnLostFocus);
      Fire(c->OnGotFocus);
    } else {
      // Focus moving inside the same control (its inner widgets) is no change.
      QWidget* now = QApplication::focusWidget();
      if (now && ControlAt(now) == c) return;
      if (d.focusControl != c) return;
      d.focusControl = nullptr;
      Fire(c->OnLostFocus);
    }
  }
};

}  // namespace

// ------------------------------------------------------------- dispatch depth

DispatchScope::DispatchScope() { ++Reg().depth; }
DispatchScope::~DispatchScope() {
  if (--Reg().depth == 0) FlushGraveyard();
}
int DispatchScope::Depth() { return Reg().depth; }

namespace detail {
void DestroyWhenIdle(std::unique_ptr<Control> control) {
  if (!control) return;
  Reg().graveyard.push_back(std::move(control));
  FlushGraveyard();
}
}  // namespace detail

// ------------------------------------------------------------- registry

void RegisterWidget(QWidget* w, Control* c) { Reg().controls.insert(w, c); }
void UnregisterWidget(QWidget* w) {
  Reg().controls.remove(w);
  Reg().forms.remove(w);
}
void RegisterFormWidget(QWidget* w, Form* f) { Reg().forms.insert(w, f); }

Control* ControlAt(QWidget* w) {
  const Registry& r = Reg();
  for (QWidget* p = w; p; p = p->parentWidget()) {
    if (auto it = r.controls.find(p); it != r.controls.end()) return it.value();
    if (p->isWindow()) break;
  }
  return nullptr;
}

Form* FormAt(QWidget* w) {
  if (!w) return nullptr;
  QWidget* win = w->window();
  auto it = Reg().forms.find(win);
  return it == Reg().forms.end() ? nullptr : it.value();
}

void StopMousePropagation(QWidget* w) {
  w->setAttribute(Qt::WA_NoMousePropagation);
  for (QWidget* child : w->findChildren<QWidget*>()) {
    child->setAttribute(Qt::WA_NoMousePropagation);
    child->setMouseTracking(true);
  }
}

namespace {
bool g_exiting = false;
// The main thread's thread-local objects die before the static ones: this
// one marks the moment.
struct ExitSentinel {
  bool armed = true;
  ~ExitSentinel() { g_exiting = armed; }
};
thread_local ExitSentinel t_sentinel;
}  // namespace

bool ProcessExiting() { return g_exiting; }

void EnsureQtApp() {
  if (!t_sentinel.armed) t_sentinel.armed = true;  // constructs it on this thread
  if (QCoreApplication::instance() == nullptr) {
    // Without a display there is nothing else to draw on.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zarv";
    static char* argv[] = {name, nullptr};
    // Never destroyed: screens live until the process ends, and windows
    // cannot be destroyed any more once the exit handlers run.
    new QApplication(argc, argv);
  }
  static RuntimeFilter* filter = nullptr;
  if (!filter) {
    filter = new RuntimeFilter(qApp);
    qApp->installEventFilter(filter);
    QApplication::setQuitOnLastWindowClosed(false);
    InstallControlStyle();
  }
}

// ------------------------------------------------------------- keys

namespace {

// Marks the handlers of one key event as those of an auto-repeat (or not),
// and puts back the mark of an event whose handler yielded to this one.
class RepeatMark {
 public:
  explicit RepeatMark(bool repeating) : saved_(Reg().repeating) { Reg().repeating = repeating; }
  ~RepeatMark() { Reg().repeating = saved_; }
  RepeatMark(const RepeatMark&) = delete;
  RepeatMark& operator=(const RepeatMark&) = delete;

 private:
  bool saved_;
};

}  // namespace

bool KeyRepeating() { return Reg().repeating; }

bool DispatchKeyEvent(QWidget* w, QEvent* ev) {
  auto* e = static_cast<QKeyEvent*>(ev);
  // Only the first receiver: a key the widget ignores travels up to its
  // parents, and must not raise the events again there.
  QWidget* window = w->window();
  QWidget* first = window->focusWidget();
  if (w != (first ? first : window)) return false;
  Form* form = FormAt(w);
  if (!form) return false;
  if (!form->Loaded() || !form->Visible() || !form->Enabled()) return true;
  // A control hidden with the focus still on it (there was nothing else to
  // take it) acts on no key: the form takes them, as one without controls.
  const bool hidden = w != window && !w->isVisible();
  Control* c = hidden ? nullptr : ControlAt(w);
  const unsigned mods = static_cast<unsigned>(e->modifiers().toInt());
  const int vk = VirtualKeyFromQt(e->key(), mods);
  const int shift = ShiftMaskFromQt(mods);
  const bool preview = form->KeyPreview();

  Registry& reg = Reg();
  if (e->type() == QEvent::KeyRelease) {
    if (e->isAutoRepeat() || vk == 0) return hidden;
    if (vk == reg.heldKey) reg.heldKey = 0;
    int code = vk;
    if (preview || !c) Fire(form->OnKeyUp, code, shift);
    if (code != 0 && c && form->Loaded()) Fire(c->OnKeyUp, code, shift);
    return hidden || code == 0;
  }

  // A held key stays with the form that took its press: when that form has
  // closed or given the focus to another (an Esc that closed a chart, an F3
  // that opened one), the repeats go nowhere.
  const bool repeat = e->isAutoRepeat();
  if (repeat && (vk != reg.heldKey || form != reg.heldKeyForm)) return true;
  const bool modifier = vk == vbKeyShift || vk == vbKeyControl || vk == vbKeyMenu;
  if (!repeat && !modifier) {
    reg.heldKey = vk;
    reg.heldKeyForm = form;
  }
  const RepeatMark mark(repeat);

  // Enter presses the focused button or the default button, Esc the cancel
  // button, once a press; the key then raises nothing else. A form that
  // previews its keys sees an Enter meant for a focused button first: one
  // that sets the code to 0 keeps it for itself (a button clicked earlier
  // keeps the focus, and Enter must stay the form's own key).
  if (vk == vbKeyReturn && (shift & (vbCtrlMask | vbAltMask)) == 0) {
    auto pressable = [](Control* b) {
      return b && b->Enabled() && b->impl().widget && b->impl().widget->isVisible();
    };
    Control* focused = c && c->impl().kind == ControlKind::CommandButton ? c : nullptr;
    Control* def = FormDefaultButton(*form);
    Control* target = focused ? focused : def;
    if (pressable(target)) {
      if (preview && target == focused && focused != def) {
        int code = vk;
        Fire(form->OnKeyDown, code, shift);
        if (code == 0 || !form->Loaded() || !pressable(focused)) return true;
      }
      if (!repeat) PressButton(*static_cast<CommandButton*>(target));
      return true;
    }
  }
  // A hidden cancel button still answers Esc (a window may hide its only
  // way out and keep the key); a disabled one does not.
  if (vk == vbKeyEscape) {
    Control* cancel = FormCancelButton(*form);
    if (cancel && cancel->Enabled() && cancel->impl().widget && cancel->impl().widget->isEnabled()) {
      if (!repeat) PressButton(*static_cast<CommandButton*>(cancel));
      return true;
    }
  }

  int code = vk;
  if (vk != 0) {
    if (preview || !c) Fire(form->OnKeyDown, code, shift);
    if (code != 0 && c && form->Loaded()) Fire(c->OnKeyDown, code, shift);
    if (code == vbKeyF1 && form->Loaded()) {
      HelpForForm(*form);
      return true;
    }
  }
  int ascii = KeyAsciiFromText(StdStr(e->text()));
  if (ascii == vbKeyTab || (ascii == 0 && e->text().isEmpty())) ascii = 0;
  if (ascii != 0 && form->Loaded()) {
    int a = ascii;
    if (preview || !c) Fire(form->OnKeyPress, a);
    if (a != 0 && c && form->Loaded()) Fire(c->OnKeyPress, a);
    if (a == 0) return true;
    if (a != ascii) {
      TypeInto(c, a);
      return true;
    }
  }
  if (!form->Loaded()) return true;
  // A key a handler took (code 0) goes no further: a box still types its
  // character, but a button, check box or bar does not act on it (Space
  // would press or tick it).
  return hidden || (code == 0 && vk != 0 && (ascii == 0 || !TakesTypedText(c)));
}

}  // namespace zarv
