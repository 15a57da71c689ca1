// Internal to src/platform/ui: the Qt side of forms and controls — the state
// behind the public classes, the widget registry that maps Qt widgets back
// to forms and controls, and the handler dispatch.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "platform/ui/control.h"
#include "platform/ui/surface.h"

namespace zarv {

class TimerControl;
class CommandButton;

inline QString QStr(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string StdStr(const QString& s) { return s.toUtf8().toStdString(); }
// CR LF and CR become LF (how the widgets break lines).
QString DisplayText(const std::string& s);
// "&" shown literally on buttons.
QString ButtonText(const std::string& s);
// The text with a line break put into every piece wider than `widest`
// pixels that has nowhere to break (a long file name), between whole
// characters; what can break is left to the widget's own wrapping.
QString BreakUnbrokenRuns(const QString& text, const QFontMetrics& metrics, int widest);
int RoundPx(double v);

// Creates the QApplication (when there is none) and installs the event
// filter of the forms runtime.
void EnsureQtApp();
// The application's style: the platform's, with the controls' metrics the
// screens' layouts were made for.
void InstallControlStyle();
// True once the process has begun to end (past main): objects destroyed then
// leave their windows and timers alone, as the toolkit's per-thread data is
// already gone.
bool ProcessExiting();

// ---- handler dispatch ----
// Counts the handlers on the stack; objects given to DestroyWhenIdle die
// when it drops to 0.
class DispatchScope {
 public:
  DispatchScope();
  ~DispatchScope();
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;
  static int Depth();
};

// Calls a handler (a copy of it, so it may replace itself) if it is set.
template <class H, class... A>
void Fire(const H& handler, A&&... args) {
  if (!handler) return;
  DispatchScope scope;
  H copy = handler;
  copy(std::forward<A>(args)...);
}

struct FontSpec {
  std::string name = "ＭＳ Ｐゴシック";
  double size = 9;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool operator==(const FontSpec&) const = default;
};
QFont QFontOf(const FontSpec& f);
QColor QColorOf(Color c);
void ApplyPointer(QWidget* w, int pointer);

// ---- containers ----
struct Container::Core {
  Container* self = nullptr;
  Form* form = nullptr;
  QWidget* client = nullptr;  // children are placed on it
  // Offset of the client origin inside `client` (a picture box's border).
  int originX = 0;
  int originY = 0;
};

// ---- controls ----
enum class ControlKind {
  Label, CommandButton, CheckBox, OptionButton, TextBox, ComboBox, ListBox,
  FileListBox, DirListBox, DriveListBox, ScrollBar, Frame, PictureBox
};

struct Control::Impl {
  Control* self = nullptr;
  Container* parent = nullptr;
  Form* form = nullptr;
  ControlKind kind = ControlKind::Label;
  QPointer<QWidget> widget;
  // Mouse coordinates are measured from this widget (the picture box's
  // client area); the control's widget when null.
  QPointer<QWidget> mouseOrigin;
  int index = -1;

  struct State {
    double left = 0, top = 0, width = 80, height = 24;
    bool visible = true;
    bool enabled = true;
    bool tabStop = true;
    std::string tag, tip;
    FontSpec font;
    Color fore = vbButtonText;
    Color back = vbButtonFace;
    int mousePointer = 0;
  };
  State s;
  std::optional<State> design;

  // Behaviour by kind.
  bool focusable = true;      // can take the keyboard focus
  bool passiveMouse = false;  // the widget does nothing with the mouse itself
  bool synthClick = false;    // Click/DblClick come from the mouse events
  int pressed = 0;            // buttons pressed on the control (synthClick)
  double mouseDx = 0, mouseDy = 0;  // subtracted from mouse coordinates
  // Called after the geometry, colours or font were applied.
  std::function<void()> onGeometry, onColors, onFont;

  // Puts the widget on the container and registers it.
  void Attach(QWidget* w, ControlKind k);
  void ApplyGeometry();
  void ApplyCommon();
  void ApplyFont();
  void ApplyColors();
  void ApplyFocusPolicy();
  QWidget* MouseOrigin() const { return mouseOrigin ? mouseOrigin.data() : widget.data(); }
};

// ---- the widget registry ----
void RegisterWidget(QWidget* w, Control* c);
void UnregisterWidget(QWidget* w);
void RegisterFormWidget(QWidget* w, Form* f);
// The control whose widget is w or holds w; nullptr for a form's own
// widget or an unknown one.
Control* ControlAt(QWidget* w);
// The form whose window holds w; nullptr for other windows.
Form* FormAt(QWidget* w);
// Marks w and all its descendants so that mouse events stop at them.
void StopMousePropagation(QWidget* w);

// ---- form internals used by controls and timers ----
void FormAddControl(Form& f, Control* c);
void FormRemoveControl(Form& f, Control* c);
void FormAddTimer(Form& f, TimerControl* t);
void FormRemoveTimer(Form& f, TimerControl* t);
bool FormIsLoaded(const Form& f);
// The form's default / cancel button (nullptr when none).
Control* FormDefaultButton(Form& f);
Control* FormCancelButton(Form& f);
void FormSetDefaultButton(Form& f, Control* c);
void FormSetCancelButton(Form& f, Control* c);
// Option buttons of one container exclude each other.
void ClearOtherOptions(Container& parent, Control* keep);
// Timers of a form start with its Load and stop with its Unload.
void TimerFormLoaded(TimerControl& t, bool loaded);
void TimerSaveDesign(TimerControl& t);
void TimerRestoreDesign(TimerControl& t);

// Snapshot of a canvas's drawing state for the reset at unload.
struct CanvasDesign {
  Color fore = vbBlack, back = vbWhite, fill = vbBlack;
  int fillStyle = 1, drawWidth = 1;
  std::string fontName;
  double fontSize = 9;
  bool bold = false, italic = false, transparent = true;
  std::optional<QImage> picture;
  void Save(Surface& s);
  void Restore(Surface& s, int width, int height) const;
};

// Raises the key events of a key press on the focused widget w; true when
// the key is used up. Also used by SendKeys with wait.
bool DispatchKeyEvent(QWidget* w, QEvent* e);

// Pressing a command button (Enter/Esc, Value = True).
void PressButton(CommandButton& b);

}  // namespace zarv
