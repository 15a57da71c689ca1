#include "platform/ui/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <optional>

#include "platform/runtime/program_state.h"
#include "platform/ui/app.h"
#include "platform/ui/controls.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/print.h"
#include "platform/ui/restart.h"
#include "platform/ui/surface_qt.h"
#include "platform/ui/timer.h"

namespace zarv {

namespace {

struct FormsState {
  std::vector<Form*> all;
  Form* active = nullptr;
  std::vector<Form*> history;  // activation order, most recent last
  bool syncQueued = false;
  bool quitQueued = false;
  std::function<int(const Menu&)> menuResponder;
  // The window manager's frame: as last seen round a shown window (the
  // estimate for one not yet framed), or a test's.
  QMargins seenFrame;
  std::optional<QMargins> frameOverride;
};

void UnloadEveryForm();

FormsState& Forms() {
  static FormsState* state = new FormsState;  // outlives every form
  [[maybe_unused]] static const bool registered = OnProgramReset(ResetStage::Screens, UnloadEveryForm);
  return *state;
}

// The screens' share of a program reset: every loaded form unloaded through
// its handlers, as the program itself unloads them, while nothing may end or
// restart the process or wait for the user. The stand-ins go with the
// state's share of the reset.
void UnloadEveryForm() {
  SetEndHook([] {});
  SetProcessStarter([](const std::string&, const std::string&) { return true; });
  SetMessageBoxResponder([](const MsgBoxCall& call) {
    const int buttons = call.style & 7;
    return buttons == vbYesNo || buttons == vbYesNoCancel ? vbNo : buttons == vbOKCancel ? vbCancel : vbOK;
  });
  SetPrintDialogResponder([](const PrintJob&) { return false; });
  Forms().menuResponder = [](const Menu&) { return -1; };
  // An unload may load another form (the start screen opens the next one).
  for (int round = 0; round < 8; ++round) {
    bool any = false;
    for (Form* f : std::vector<Form*>(Forms().all)) {
      if (!f->Loaded()) continue;
      any = true;
      f->Unload();
    }
    if (!any) break;
  }
  TeardownAllForms();  // what refused to go
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();  // work the forms queued
  Forms().menuResponder = nullptr;
  Forms().frameOverride.reset();
  Forms().seenFrame = QMargins();
}

void Erase(std::vector<Form*>& v, Form* f) { v.erase(std::remove(v.begin(), v.end(), f), v.end()); }

// Brings a window to the front (the off-screen platform has no stacking),
// then the windows it owns (a message box) above it again: without a window
// manager nothing else keeps them there. The last of these keeps the keys.
void Raise(QWidget* w) {
  static const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen");
  QWidget* keys = w;
  if (!offscreen) w->raise();
  for (QWidget* owned : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!owned->isWindow() || !owned->isVisible()) continue;
    if (!offscreen) owned->raise();
    keys = owned;
  }
  keys->activateWindow();
}

}  // namespace

// ------------------------------------------------------------- bookkeeping

const std::vector<Form*>& AllForms() { return Forms().all; }
Form* ActiveFormNow() { return Forms().active; }

Form* TopForm() {
  const FormsState& st = Forms();
  const auto shows = [](const Form* f) {
    return f != nullptr && f->Loaded() && f->Visible() && f->WindowState() != vbMinimized;
  };
  if (shows(st.active)) return st.active;
  for (auto it = st.history.rbegin(); it != st.history.rend(); ++it)
    if (shows(*it)) return *it;
  return nullptr;
}

void ActivateForm(Form* f) {
  FormsState& st = Forms();
  if (f == st.active) return;
  if (f && (!f->Loaded() || !f->Visible())) return;
  Form* old = st.active;
  st.active = f;
  if (f) {
    Erase(st.history, f);
    st.history.push_back(f);
  }
  if (old && old->Loaded()) Fire(old->OnDeactivate);
  // The Deactivate handler may have activated yet another form.
  if (f && st.active == f && f->Loaded()) Fire(f->OnActivate);
}

void ActivatePrevious(Form* gone) {
  FormsState& st = Forms();
  Erase(st.history, gone);
  if (st.active != gone) return;
  st.active = nullptr;
  for (auto it = st.history.rbegin(); it != st.history.rend(); ++it) {
    Form* f = *it;
    if (f->Loaded() && f->Visible() && f->WindowState() != vbMinimized) {
      Raise(f->impl().widget);
      ActivateForm(f);
      return;
    }
  }
}

void SyncActiveSoon() {
  FormsState& st = Forms();
  if (st.syncQueued) return;
  st.syncQueued = true;
  QTimer::singleShot(0, qApp, [] {
    Forms().syncQueued = false;
    if (QWindow* focus = QGuiApplication::focusWindow(); focus && !focus->isVisible()) {
      // A window manager may serve a window's activation after the window
      // closed again (a dialog that showed for a moment): the keys would go
      // to the closed window. The form on top takes them back.
      Form* top = Forms().active;
      if (top && top->Loaded() && top->Visible()) Raise(top->impl().widget);
      return;
    }
    QWidget* w = QApplication::activeWindow();
    if (!w) return;
    Form* f = FormAt(w);
    if (f && f->Loaded() && f->Visible()) ActivateForm(f);
  });
}

void QuitCheckSoon() {
  FormsState& st = Forms();
  if (st.quitQueued) return;
  st.quitQueued = true;
  QTimer::singleShot(0, qApp, [] {
    Forms().quitQueued = false;
    for (Form* f : Forms().all) {
      if (f->Loaded()) return;
    }
    QCoreApplication::quit();  // only acts while Application::Run's loop runs
  });
}

void TeardownAllForms() {
  for (Form* f : std::vector<Form*>(Forms().all)) {
    Form::Impl& d = f->impl();
    if (!d.loaded) continue;
    d.loaded = false;
    d.Teardown();
  }
  Forms().active = nullptr;
  Forms().history.clear();
}

void SetWindowFrameOverride(int left, int top, int right, int bottom) {
  const QMargins m(left, top, right, bottom);
  if (m.isNull()) {
    Forms().frameOverride.reset();
  } else {
    Forms().frameOverride = m;
  }
}

void SetPopupMenuResponder(std::function<int(const Menu&)> responder) {
  Forms().menuResponder = std::move(responder);
}

int Menu::AddItem(const std::string& caption) {
  items_.push_back(Item{caption});
  return static_cast<int>(items_.size()) - 1;
}

// ------------------------------------------------------------- FormWidget

FormWidget::FormWidget(Form::Impl* d) : QWidget(nullptr), d_(d) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

void FormWidget::paintEvent(QPaintEvent*) {
  if (!d_->s.autoRedraw && d_->self->OnPaint && !d_->inPaint) {
    d_->inPaint = true;
    Fire(d_->self->OnPaint);
    d_->inPaint = false;
  }
  QPainter p(this);
  const QImage& img = SurfaceImage(d_->canvas);
  p.drawImage(0, 0, img);
  // Beyond the image (a window larger than its canvas for a moment).
  if (img.width() < width()) p.fillRect(img.width(), 0, width() - img.width(), height(), QColorOf(d_->s.back));
  if (img.height() < height()) p.fillRect(0, img.height(), width(), height() - img.height(), QColorOf(d_->s.back));
}

void FormWidget::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (d_->applyingGeometry) return;
  if (d_->Frame() != d_->fittedFrame) {
    // The window manager has just framed the window: place it again.
    d_->ApplyGeometry();
    return;
  }
  d_->SyncCanvas();
  if (!isMinimized() && isVisible()) {
    // A size the user or the window system chose.
    d_->s.width = width() * kTwipsPerPixel;
    d_->s.height = height() * kTwipsPerPixel;
  }
  if (d_->loaded) d_->ReportResize();
}

void FormWidget::moveEvent(QMoveEvent* e) {
  QWidget::moveEvent(e);
  // Until the window is on the screen its place is the window system's
  // passing one: the one asked is kept, and looked at once it is there.
  if (d_->applyingGeometry || !isVisible() || d_->awaitingExposure) return;
  if (d_->Frame() != d_->fittedFrame) {
    d_->ApplyGeometry();
    return;
  }
  const QPoint at = d_->FramePosition();
  // Moved by the user (or the window manager): where it is now counts.
  if (at != d_->placedAt) d_->s.centred = false;
  d_->s.left = at.x() * kTwipsPerPixel;
  d_->s.top = at.y() * kTwipsPerPixel;
  d_->s.positioned = true;
}

void FormWidget::closeEvent(QCloseEvent* e) {
  // The close box: QueryUnload(vbFormControlMenu), then Unload.
  e->ignore();
  if (d_->loaded) d_->DoUnload(vbFormControlMenu);
}

void FormWidget::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange) {
    const Qt::WindowStates st = windowState();
    const int state = (st & Qt::WindowMinimized) ? vbMinimized : (st & Qt::WindowMaximized) ? vbMaximized : vbNormal;
    if (state != d_->s.windowState) {
      d_->s.windowState = state;
      if (d_->loaded) d_->ReportResize(true);
    }
  }
}

bool FormWidget::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate) SyncActiveSoon();
  return QWidget::event(e);
}

bool FormWidget::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) d_->Exposed();
  return QWidget::eventFilter(watched, e);
}

// ------------------------------------------------------------- Form::Impl

Form::Impl::Impl(Form* f) : self(f), widget(nullptr), canvas(320, 240, ResolveColor(vbButtonFace)) {
  widget = new FormWidget(this);
  widget->setAttribute(Qt::WA_DeleteOnClose, false);
  canvas.SetChangedCallback([this] {
    if (!inPaint) widget->update();
  });
  ApplyGeometry();
}

Form::Impl::~Impl() {
  canvas.SetChangedCallback(nullptr);
  if (!ProcessExiting()) delete widget;
}

int Form::Impl::ClientW() const { return std::max(1, RoundPx(s.width / kTwipsPerPixel)); }
int Form::Impl::ClientH() const { return std::max(1, RoundPx(s.height / kTwipsPerPixel)); }

QMargins Form::Impl::Frame() const {
  FormsState& st = Forms();
  if (s.borderStyle == vbBSNone) return {};
  if (st.frameOverride) return *st.frameOverride;
  // The off-screen platform makes up a frame where no window manager is.
  static const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen");
  if (offscreen) return {};
  if (widget->isVisible() && widget->windowHandle() != nullptr) {
    const QMargins seen = widget->windowHandle()->frameMargins();
    if (!seen.isNull()) st.seenFrame = ownFrame = seen;
    return seen;
  }
  // Window managers frame windows of other kinds differently (a fixed
  // window without the grip of a sizable one): a window's own frame first.
  return ownFrame.isNull() ? st.seenFrame : ownFrame;
}

QPoint Form::Impl::FramePosition() const {
  const QMargins m = Frame();
  return widget->geometry().topLeft() - QPoint(m.left(), m.top());
}

void Form::Impl::Exposed() {
  if (!awaitingExposure) return;
  awaitingExposure = false;
  if (s.windowState != vbNormal || !s.positioned) return;
  if (Frame() != fittedFrame || FramePosition() != placedAt) ApplyGeometry();
}

void Form::Impl::FitOnDesktop() {
  if (s.windowState != vbNormal || !s.positioned) return;
  const QMargins m = Frame();
  fittedFrame = m;
  const double tpp = kTwipsPerPixel;
  const double frameW = (m.left() + m.right()) * tpp, frameH = (m.top() + m.bottom()) * tpp;
  // A size set since the last fit is the one asked for; a fit again (the
  // real frame in place of the estimate) starts from it, not from the last
  // fit's.
  if (s.width != fitted.width) asked.width = s.width;
  if (s.height != fitted.height) asked.height = s.height;
  const ScreenInfo::Area area =
      s.centred ? Screen().FreeArea(s.centreX, s.centreY)
                : Screen().FreeArea(s.left + (asked.width + frameW) / 2, s.top + (asked.height + frameH) / 2);
  s.width = std::max(tpp, std::min(asked.width, area.Width - frameW));
  s.height = std::max(tpp, std::min(asked.height, area.Height - frameH));
  fitted = {s.width, s.height};
  if (s.centred) {
    const double outerWidth = s.width + frameW, outerHeight = s.height + frameH;
    s.left = s.centreX - outerWidth / 2;
    s.top = s.centreY - outerHeight / 2;
    // A centre saved on a larger desktop would cut the window off, or park
    // it in a corner where without a window manager it could not be moved
    // back: it is centred on this one instead.
    if (s.left < area.Left || s.top < area.Top || s.left + outerWidth > area.Left + area.Width ||
        s.top + outerHeight > area.Top + area.Height) {
      s.left = area.Left + (area.Width - outerWidth) / 2;
      s.top = area.Top + (area.Height - outerHeight) / 2;
    }
  }
  // The least move that puts the frame inside the area.
  const auto fit = [](double start, double size, double areaStart, double areaSize) {
    start = std::min(start, areaStart + areaSize - size);
    return std::max(start, areaStart);
  };
  s.left = fit(s.left, s.width + frameW, area.Left, area.Width);
  s.top = fit(s.top, s.height + frameH, area.Top, area.Height);
}

void Form::Impl::ApplyGeometry() {
  FitOnDesktop();
  applyingGeometry = true;
  const bool fixed = s.borderStyle != vbSizable && s.borderStyle != vbSizableToolWindow;
  if (s.windowState == vbNormal || !widget->isVisible()) {
    if (fixed) {
      widget->setFixedSize(ClientW(), ClientH());
    } else {
      widget->setMinimumSize(0, 0);
      widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      widget->resize(ClientW(), ClientH());
    }
    if (s.positioned) {
      // Placed by its inside, the frame reckoned with: the window system
      // then puts it there whatever it knows of the frame at that moment
      // (a window shown again may not be framed yet).
      placedAt = QPoint(RoundPx(s.left / kTwipsPerPixel), RoundPx(s.top / kTwipsPerPixel));
      const QMargins m = Frame();
      widget->setGeometry(QRect(placedAt + QPoint(m.left(), m.top()), QSize(ClientW(), ClientH())));
    }
  }
  applyingGeometry = false;
  SyncCanvas();
  if (loaded) ReportResize();
}

void Form::Impl::ApplyWindowFlags() {
  Qt::WindowFlags flags = Qt::Window;
  switch (s.borderStyle) {
    case vbBSNone:
      flags |= Qt::FramelessWindowHint;
      break;
    case vbFixedToolWindow:
    case vbSizableToolWindow:
      flags |= Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
      break;
    case vbFixedSingle:
    case vbFixedDialog:
      flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
               Qt::WindowMinimizeButtonHint;
      break;
    default:
      break;
  }
  const bool wasVisible = widget->isVisible();
  widget->setWindowFlags(flags);  // hides the window
  if (wasVisible) widget->show();
  ApplyGeometry();
}

void Form::Impl::SyncCanvas() {
  const int w = widget->isVisible() && s.windowState != vbNormal ? widget->width() : ClientW();
  const int h = widget->isVisible() && s.windowState != vbNormal ? widget->height() : ClientH();
  if (w > 0 && h > 0 && (w != canvas.Width() || h != canvas.Height())) canvas.Resize(w, h);
}

void Form::Impl::ReportResize(bool force) {
  const int w = self->ScaleWidth() > 0 ? RoundPx(self->ScaleWidth()) : 0;
  const int h = self->ScaleHeight() > 0 ? RoundPx(self->ScaleHeight()) : 0;
  if (!force && resizeReported && w == lastW && h == lastH) return;
  resizeReported = true;
  lastW = w;
  lastH = h;
  Fire(self->OnResize);
}

void Form::Impl::ShowWindow() {
  // Centred on the screen, frame and all, as a new window of the runtime is.
  if (!s.positioned) self->CentreOn(Screen().Width() / 2, Screen().Height() / 2);
  awaitingExposure = true;
  switch (s.windowState) {
    case vbMinimized:
      widget->showMinimized();
      break;
    case vbMaximized:
      widget->showMaximized();
      break;
    default:
      widget->show();
      break;
  }
  // Made with the first show, and made anew when the window flags change.
  if (QWindow* w = widget->windowHandle()) w->installEventFilter(widget);
  if (widget->windowHandle() != nullptr && widget->windowHandle()->isExposed()) Exposed();
}

void Form::Impl::HideWindow() {
  widget->hide();
  widget->setWindowModality(Qt::NonModal);
}

void Form::Impl::SaveDesign() {
  design = s;
  canvasDesign.Save(canvas);
  for (Control* c : controls) c->SaveDesign();
  for (TimerControl* t : timers) TimerSaveDesign(*t);
}

void Form::Impl::RestoreDesign() {
  if (!design) return;
  s = *design;
  widget->setWindowTitle(QStr(s.caption));
  widget->setEnabled(s.enabled);
  ApplyPointer(widget, s.mousePointer);
  ApplyWindowFlags();
  canvasDesign.Restore(canvas, ClientW(), ClientH());
  for (Control* c : std::vector<Control*>(controls)) c->RestoreDesign();
  for (TimerControl* t : timers) TimerRestoreDesign(*t);
  resizeReported = false;
}

void Form::Impl::Teardown() {
  for (TimerControl* t : timers) TimerFormLoaded(*t, false);
  if (shown) {
    shown = false;
    HideWindow();
  }
  ActivatePrevious(self);
  focusControl = nullptr;
  // The window keeps its last focused child over a hide: the next load
  // would hand its keys (Enter on a button) to a control of this one.
  if (QWidget* focused = widget->focusWidget()) focused->clearFocus();
  // Elements created at run time go first, then everything is reset.
  for (auto& [id, hook] : std::map<int, std::function<void()>>(unloadHooks)) {
    if (hook) hook();
  }
  RestoreDesign();
}

bool Form::Impl::DoUnload(int mode) {
  if (!loaded || unloading) return true;
  unloading = true;
  int cancel = 0;
  Fire(self->OnQueryUnload, cancel, mode);
  if (cancel == 0 && loaded) Fire(self->OnUnload, cancel);
  unloading = false;
  if (cancel != 0) return false;
  if (!loaded) return true;  // End ran inside a handler
  loaded = false;
  Teardown();
  QuitCheckSoon();
  return true;
}

// ------------------------------------------------------------- Form

Form::Form() {
  EnsureQtApp();
  impl_ = std::make_unique<Impl>(this);
  core_->self = this;
  core_->form = this;
  core_->client = impl_->widget;
  RegisterFormWidget(impl_->widget, this);
  Forms().all.push_back(this);
}

Form::~Form() {
  if (ProcessExiting()) return;  // screens kept to the end: nothing to tidy
  FormsState& st = Forms();
  Erase(st.all, this);
  Erase(st.history, this);
  if (st.active == this) st.active = nullptr;
  UnregisterWidget(impl_->widget);
}

void Form::Load() {
  Impl& d = *impl_;
  if (d.loaded) return;
  if (!d.design) d.SaveDesign();
  d.loaded = true;
  // The size at load is the one Resize compares with: setting it again in
  // the Load handler is no change (the first showing still raises Resize).
  d.resizeReported = true;
  d.lastW = ScaleWidth() > 0 ? RoundPx(ScaleWidth()) : 0;
  d.lastH = ScaleHeight() > 0 ? RoundPx(ScaleHeight()) : 0;
  for (TimerControl* t : d.timers) TimerFormLoaded(*t, true);
  Fire(OnLoad);
}

void Form::Show(bool modal) {
  Impl& d = *impl_;
  if (Ended()) return;
  if (!d.loaded) {
    Load();
    if (!d.loaded) return;  // the Load handler unloaded it
    if (d.shown) return;    // the Load handler showed it already
  }
  const bool wasShown = d.shown;
  if (modal && !wasShown) d.widget->setWindowModality(Qt::ApplicationModal);
  if (!wasShown) {
    d.shown = true;
    d.ReportResize(true);
    if (!d.loaded || !d.shown) return;
    d.ShowWindow();
  }
  Raise(d.widget);
  ActivateForm(this);
  if (!modal) return;
  while (d.loaded && d.shown && !Ended()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  if (d.loaded) d.widget->setWindowModality(Qt::NonModal);
}

void Form::Hide() {
  Impl& d = *impl_;
  if (!d.loaded) Load();
  if (!d.shown) return;
  d.shown = false;
  d.HideWindow();
  ActivatePrevious(this);
}

bool Form::Unload() { return impl_->DoUnload(vbFormCode); }
bool Form::Loaded() const { return impl_->loaded; }
bool Form::Visible() const { return impl_->shown; }
void Form::SetVisible(bool on) {
  if (on) {
    Show();
  } else {
    Hide();
  }
}

const std::string& Form::Caption() const { return impl_->s.caption; }
void Form::SetCaption(const std::string& text) {
  impl_->s.caption = text;
  impl_->widget->setWindowTitle(QStr(text));
}

double Form::Left() const { return impl_->s.left; }
double Form::Top() const { return impl_->s.top; }
double Form::Width() const { return impl_->s.width; }
double Form::Height() const { return impl_->s.height; }
void Form::SetLeft(double twips) {
  impl_->s.left = twips;
  impl_->s.positioned = true;
  impl_->s.centred = false;
  impl_->ApplyGeometry();
}
void Form::SetTop(double twips) {
  impl_->s.top = twips;
  impl_->s.positioned = true;
  impl_->s.centred = false;
  impl_->ApplyGeometry();
}
void Form::SetWidth(double twips) {
  impl_->s.width = std::max(0.0, twips);
  impl_->ApplyGeometry();
}
void Form::SetHeight(double twips) {
  impl_->s.height = std::max(0.0, twips);
  impl_->ApplyGeometry();
}
void Form::Move(double left, double top, double width, double height) {
  Impl& d = *impl_;
  d.s.left = left;
  d.s.top = top;
  d.s.positioned = true;
  d.s.centred = false;
  d.s.width = std::max(0.0, width);
  d.s.height = std::max(0.0, height);
  d.ApplyGeometry();
}

void Form::CentreOn(double xTwips, double yTwips) {
  Impl& d = *impl_;
  d.s.centreX = xTwips;
  d.s.centreY = yTwips;
  d.s.centred = true;
  d.s.positioned = true;
  d.ApplyGeometry();
}

double Form::CentreX() const { return Left() + (Width() + FrameWidth()) / 2; }
double Form::CentreY() const { return Top() + (Height() + FrameHeight()) / 2; }

double Form::FrameWidth() const {
  const QMargins m = impl_->Frame();
  return (m.left() + m.right()) * kTwipsPerPixel;
}
double Form::FrameHeight() const {
  const QMargins m = impl_->Frame();
  return (m.top() + m.bottom()) * kTwipsPerPixel;
}

double Form::ScaleWidth() const {
  const Impl& d = *impl_;
  if (d.s.windowState == vbMinimized) return 0;
  if (d.s.windowState == vbMaximized && d.widget->isVisible()) return d.widget->width();
  return d.ClientW();
}
double Form::ScaleHeight() const {
  const Impl& d = *impl_;
  if (d.s.windowState == vbMinimized) return 0;
  if (d.s.windowState == vbMaximized && d.widget->isVisible()) return d.widget->height();
  return d.ClientH();
}

int Form::WindowState() const { return impl_->s.windowState; }
void Form::SetWindowState(int state) {
  Impl& d = *impl_;
  if (state < vbNormal || state > vbMaximized) return;
  // The same state again changes nothing and raises no Resize.
  const bool changed = state != d.s.windowState;
  d.s.windowState = state;
  if (d.shown) {
    d.ShowWindow();
  }
  if (state == vbNormal) d.ApplyGeometry();
  d.SyncCanvas();
  if (d.loaded && changed) d.ReportResize(true);
  if (state == vbMinimized && Forms().active == this) ActivatePrevious(this);
}

int Form::MousePointer() const { return impl_->s.mousePointer; }
void Form::SetMousePointer(int pointer) {
  impl_->s.mousePointer = pointer;
  ApplyPointer(impl_->widget, pointer);
}

int Form::BorderStyle() const { return impl_->s.borderStyle; }
void Form::SetBorderStyle(int style) {
  if (style < vbBSNone || style > vbSizableToolWindow) return;
  impl_->s.borderStyle = style;
  impl_->ApplyWindowFlags();
}

bool Form::KeyPreview() const { return impl_->s.keyPreview; }
void Form::SetKeyPreview(bool on) { impl_->s.keyPreview = on; }
int Form::HelpContextID() const { return impl_->s.help; }
void Form::SetHelpContextID(int topic) { impl_->s.help = topic; }
bool Form::Enabled() const { return impl_->s.enabled; }
void Form::SetEnabled(bool on) {
  impl_->s.enabled = on;
  impl_->widget->setEnabled(on);
}
Color Form::BackColor() const { return impl_->s.back; }
void Form::SetBackColor(Color c) {
  impl_->s.back = c;
  impl_->canvas.SetBackColor(ResolveColor(c));
}
bool Form::AutoRedraw() const { return impl_->s.autoRedraw; }
void Form::SetAutoRedraw(bool on) { impl_->s.autoRedraw = on; }

Surface& Form::Canvas() { return impl_->canvas; }
const Surface& Form::Canvas() const { return impl_->canvas; }

Control* Form::ActiveControl() const {
  QWidget* fw = impl_->widget->focusWidget();
  return fw ? ControlAt(fw) : nullptr;
}

void Form::SetFocus() {
  Impl& d = *impl_;
  if (!d.shown) return;
  Raise(d.widget);
  ActivateForm(this);
}

void Form::ZOrder(int position) {
  if (position == vbSendToBack) {
    impl_->widget->lower();
  } else {
    Raise(impl_->widget);
  }
}

void Form::Refresh() { impl_->widget->repaint(); }

void Form::PopupMenu(Menu& menu) {
  int chosen = -1;
  if (Forms().menuResponder) {
    chosen = Forms().menuResponder(menu);
  } else {
    QMenu qmenu(impl_->widget);
    for (int i = 0; i < menu.Count(); ++i) {
      const Menu::Item& item = menu[i];
      if (!item.visible) continue;
      if (item.caption == "-") {
        qmenu.addSeparator();
        continue;
      }
      QAction* a = qmenu.addAction(QStr(item.caption));
      a->setCheckable(item.checked);
      a->setChecked(item.checked);
      a->setEnabled(item.enabled);
      a->setData(i);
    }
    DispatchScope scope;  // the menu's loop runs inside the caller's handler
    QAction* a = qmenu.exec(QCursor::pos());
    if (a) chosen = a->data().toInt();
  }
  if (chosen >= 0 && chosen < menu.Count() && menu[chosen].enabled && menu[chosen].visible) {
    Fire(menu.OnClick, chosen);
  }
}

// ------------------------------------------------------------- internals

void FormAddControl(Form& f, Control* c) { f.impl().controls.push_back(c); }
void FormRemoveControl(Form& f, Control* c) {
  Form::Impl& d = f.impl();
  d.controls.erase(std::remove(d.controls.begin(), d.controls.end(), c), d.controls.end());
  if (d.defaultButton == c) d.defaultButton = nullptr;
  if (d.cancelButton == c) d.cancelButton = nullptr;
  if (d.focusControl == c) d.focusControl = nullptr;
}
void FormAddTimer(Form& f, TimerControl* t) { f.impl().timers.push_back(t); }
void FormRemoveTimer(Form& f, TimerControl* t) {
  auto& v = f.impl().timers;
  v.erase(std::remove(v.begin(), v.end(), t), v.end());
}
bool FormIsLoaded(const Form& f) { return f.impl().loaded; }
Control* FormDefaultButton(Form& f) { return f.impl().defaultButton; }
Control* FormCancelButton(Form& f) { return f.impl().cancelButton; }
void FormSetDefaultButton(Form& f, Control* c) { f.impl().defaultButton = c; }
void FormSetCancelButton(Form& f, Control* c) { f.impl().cancelButton = c; }

namespace detail {

UnloadHook::UnloadHook(Form& form, std::function<void()> onUnload) : form_(&form) {
  Form::Impl& d = form.impl();
  id_ = d.nextHook++;
  d.unloadHooks.emplace(id_, std::move(onUnload));
}

UnloadHook::~UnloadHook() { form_->impl().unloadHooks.erase(id_); }

}  // namespace detail

}  // namespace zarv
