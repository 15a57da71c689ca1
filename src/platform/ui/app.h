// The application object, the event loop and the program-wide services of
// the forms runtime: DoEvents, End and the Screen object.
#pragma once

#include <functional>
#include <memory>

namespace zarv {

class Form;
class Control;

// Owns the toolkit's application object; create it first, before any form
// (Form also creates one on demand, for tests).
class Application {
 public:
  // Also makes the program folder (ProgramFolder()) the working folder.
  Application(int& argc, char** argv);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Runs the event loop until no form is loaded any more (or End).
  // Returns the exit code.
  int Run();

  // The application object, created with a dummy command line when there is
  // none yet (tests, tools).
  static void Ensure();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Lets every pending event through (input, paints, timers) and returns.
// May be called from any handler, also nested; a handler may unload its
// own form meanwhile. Returns the number of loaded forms.
int DoEvents();

// The End statement: ends the program at once, without further unload
// handlers. Every writer has written its file whole before (atomically).
void End();
// Test hook: called by End instead of ending the process. End then unloads
// every form without raising events (so modal waits return) and returns
// to its caller. nullptr restores the real End.
void SetEndHook(std::function<void()> hook);
// True once End has run with a hook (tests); ResetEnded clears it.
bool Ended();
void ResetEnded();

// The Screen object.
class ScreenInfo {
 public:
  // Size of the primary screen in pixels and in twips.
  int PixelWidth() const;
  int PixelHeight() const;
  double Width() const;
  double Height() const;
  double TwipsPerPixelX() const { return 15.0; }
  double TwipsPerPixelY() const { return 15.0; }
  // True when the point (twips) lies on one of the screens.
  bool OnAScreen(double xTwips, double yTwips) const;
  // The free area (twips) of the screen the point lies on, else of the
  // primary screen: the desktop less its panels and task bars.
  struct Area {
    double Left = 0, Top = 0, Width = 0, Height = 0;
  };
  Area FreeArea(double xTwips, double yTwips) const;
  // The active form (the one last activated that is still shown), or nullptr.
  Form* ActiveForm() const;
  Control* ActiveControl() const;
  // A mouse pointer for the whole program (vbDefault lets the forms decide).
  int MousePointer() const;
  void SetMousePointer(int pointer);
  // Test hook: pretend the screen has this size (0, 0 = the real size).
  void SetSizeOverride(int pixelWidth, int pixelHeight);
};
ScreenInfo& Screen();

}  // namespace zarv
