// Internal to src/platform/ui: the window behind a Form and the form's
// state.
#pragma once

#include <QMargins>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/control_qt.h"
#include "platform/ui/form.h"
#include "platform/ui/surface.h"

namespace zarv {

class FormWidget : public QWidget {
 public:
  explicit FormWidget(Form::Impl* d);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool event(QEvent* e) override;
  // The window's own events: its exposure on the screen.
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  Form::Impl* d_;
};

struct Form::Impl {
  explicit Impl(Form* f);
  ~Impl();

  Form* self;
  FormWidget* widget;
  Surface canvas;

  struct State {
    std::string caption;
    double left = 0, top = 0, width = 4800, height = 3600;  // twips
    bool positioned = false;  // Left/Top were set (else centred at first show)
    // Placed by its centre (twips), frame and all: placed from it again
    // while the frame turns out other than foreseen, until it is placed or
    // moved otherwise.
    bool centred = false;
    double centreX = 0, centreY = 0;
    int windowState = 0;
    int mousePointer = 0;
    int borderStyle = 2;
    int help = 0;
    bool keyPreview = false;
    bool enabled = true;
    bool autoRedraw = false;
    Color back = vbButtonFace;
  };
  State s;
  std::optional<State> design;
  CanvasDesign canvasDesign;

  bool loaded = false;
  bool shown = false;  // the Visible property
  bool unloading = false;
  bool resizeReported = false;
  int lastW = -1, lastH = -1;  // client size last reported with Resize
  bool inPaint = false;
  int pressed = 0;  // mouse buttons pressed on the form itself
  bool applyingGeometry = false;
  // What FitOnDesktop last reckoned with: the frame, the size it gave and
  // the size asked for.
  QMargins fittedFrame;
  // This window's frame as last seen round it (null: never framed yet).
  mutable QMargins ownFrame;
  // Where ApplyGeometry last put the frame's top left (pixels).
  QPoint placedAt;
  // Shown but not yet on the screen: the window system is still placing it.
  bool awaitingExposure = false;
  struct Size {
    double width = -1, height = -1;
  };
  Size fitted, asked;

  std::vector<Control*> controls;
  std::vector<TimerControl*> timers;
  std::map<int, std::function<void()>> unloadHooks;
  int nextHook = 1;
  Control* defaultButton = nullptr;
  Control* cancelButton = nullptr;
  Control* focusControl = nullptr;  // for GotFocus/LostFocus

  int ClientW() const;
  int ClientH() const;
  void ApplyGeometry();
  // Moves a normal window the least it takes to lie whole, frame included,
  // on the free area of its screen; a window whose frame is larger than
  // that area is made smaller first.
  void FitOnDesktop();
  // The window manager's frame round this window (pixels): as it is round
  // the shown window, else as last seen round it, else as last seen round
  // any window.
  QMargins Frame() const;
  // Where the frame's top left is (pixels): the inside's place less the frame.
  QPoint FramePosition() const;
  // The window is on the screen: placed again where the frame is other than
  // reckoned with, or the window not where it was put.
  void Exposed();
  void ApplyWindowFlags();
  void SyncCanvas();
  // Raises Resize when the client size differs from the last one reported.
  void ReportResize(bool force = false);
  void ShowWindow();
  void HideWindow();
  bool DoUnload(int mode);
  // Hides, stops timers and puts everything back to the design state.
  void Teardown();
  void SaveDesign();
  void RestoreDesign();
};

// Program-wide form bookkeeping.
void ActivateForm(Form* f);
// After the active form was hidden or unloaded: activate the one before it.
void ActivatePrevious(Form* gone);
// Queues a look at the window system's active window (after activation
// events, so that only the final state counts).
void SyncActiveSoon();
Form* ActiveFormNow();
// The form on top: the active one, else the last activated that still shows
// (not minimised); nullptr when none shows.
Form* TopForm();
const std::vector<Form*>& AllForms();
// Quits the event loop of Application::Run when no form is loaded.
void QuitCheckSoon();
// End with a test hook: every form unloaded without events.
void TeardownAllForms();
// Opens help for the form (F1).
void HelpForForm(Form& f);

}  // namespace zarv
