#include "platform/ui/app.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPoint>
#include <QRect>
#include <QScreen>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <cstdlib>

#include "platform/runtime/files.h"
#include "platform/runtime/program_state.h"
#include "platform/ui/events.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"

namespace zarv {

namespace {

struct AppState {
  std::function<void()> endHook;
  bool ended = false;
  int overrideW = 0, overrideH = 0;
  int screenPointer = 0;
  bool overrideCursor = false;
};

AppState& State() {
  static AppState* s = new AppState;
  [[maybe_unused]] static const bool registered = OnProgramReset(ResetStage::State, [] {
    Screen().SetMousePointer(0);  // lifts a program-wide pointer
    *s = AppState{};
  });
  return *s;
}

}  // namespace

struct Application::Impl {
  QApplication* owned = nullptr;
};

Application::Application(int& argc, char** argv) : impl_(std::make_unique<Impl>()) {
  // The program works in its own folder: folder lists start there and bare
  // file names are found there.
  std::error_code ec;
  std::filesystem::current_path(ProgramFolder(), ec);
  if (QCoreApplication::instance() == nullptr) impl_->owned = new QApplication(argc, argv);
  EnsureQtApp();
  QCoreApplication::setApplicationName(QStringLiteral("Zarv"));
}

Application::~Application() {
  // Forms are destroyed by their owners first; the toolkit goes last.
  delete impl_->owned;
}

int Application::Run() {
  QuitCheckSoon();  // nothing loaded: nothing to run
  return QApplication::exec();
}

void Application::Ensure() {
  EnsureQtApp();
  QCoreApplication::setApplicationName(QStringLiteral("Zarv"));
}

int DoEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  int loaded = 0;
  for (Form* f : AllForms()) loaded += f->Loaded() ? 1 : 0;
  return loaded;
}

void End() {
  AppState& st = State();
  if (st.endHook) {
    st.ended = true;
    auto hook = st.endHook;
    hook();
    TeardownAllForms();
    return;
  }
  std::fflush(nullptr);
  std::_Exit(0);
}

void SetEndHook(std::function<void()> hook) { State().endHook = std::move(hook); }
bool Ended() { return State().ended; }
void ResetEnded() { State().ended = false; }

// ------------------------------------------------------------- Screen

int ScreenInfo::PixelWidth() const {
  if (State().overrideW > 0) return State().overrideW;
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().width() : 640;
}
int ScreenInfo::PixelHeight() const {
  if (State().overrideH > 0) return State().overrideH;
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().height() : 480;
}
bool ScreenInfo::OnAScreen(double xTwips, double yTwips) const {
  const double x = xTwips / TwipsPerPixelX(), y = yTwips / TwipsPerPixelY();
  auto inside = [x, y](double left, double top, double w, double h) {
    return x >= left && x < left + w && y >= top && y < top + h;
  };
  if (State().overrideW > 0) return inside(0, 0, PixelWidth(), PixelHeight());
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.isEmpty()) return inside(0, 0, PixelWidth(), PixelHeight());
  for (const QScreen* s : screens) {
    const QRect g = s->geometry();
    if (inside(g.x(), g.y(), g.width(), g.height())) return true;
  }
  return false;
}
ScreenInfo::Area ScreenInfo::FreeArea(double xTwips, double yTwips) const {
  auto twips = [this](const QRect& r) {
    return Area{r.x() * TwipsPerPixelX(), r.y() * TwipsPerPixelY(), r.width() * TwipsPerPixelX(),
                r.height() * TwipsPerPixelY()};
  };
  if (State().overrideW > 0) return twips(QRect(0, 0, PixelWidth(), PixelHeight()));
  const QPoint p(static_cast<int>(std::floor(xTwips / TwipsPerPixelX())),
                 static_cast<int>(std::floor(yTwips / TwipsPerPixelY())));
  QScreen* s = QGuiApplication::screenAt(p);
  if (!s) s = QGuiApplication::primaryScreen();
  if (!s) return twips(QRect(0, 0, PixelWidth(), PixelHeight()));
  return twips(s->availableGeometry());
}
double ScreenInfo::Width() const { return PixelWidth() * TwipsPerPixelX(); }
double ScreenInfo::Height() const { return PixelHeight() * TwipsPerPixelY(); }
Form* ScreenInfo::ActiveForm() const { return ActiveFormNow(); }
Control* ScreenInfo::ActiveControl() const {
  Form* f = ActiveFormNow();
  return f ? f->ActiveControl() : nullptr;
}
int ScreenInfo::MousePointer() const { return State().screenPointer; }
void ScreenInfo::SetMousePointer(int pointer) {
  AppState& st = State();
  st.screenPointer = pointer;
  if (st.overrideCursor) {
    QApplication::restoreOverrideCursor();
    st.overrideCursor = false;
  }
  if (pointer == vbDefault) return;
  QWidget probe;  // ApplyPointer works on widgets; take its cursor
  ApplyPointer(&probe, pointer);
  QApplication::setOverrideCursor(probe.cursor());
  st.overrideCursor = true;
}
void ScreenInfo::SetSizeOverride(int pixelWidth, int pixelHeight) {
  State().overrideW = pixelWidth;
  State().overrideH = pixelHeight;
}

ScreenInfo& Screen() {
  static ScreenInfo screen;
  return screen;
}

}  // namespace zarv
