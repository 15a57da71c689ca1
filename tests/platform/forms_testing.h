// Helpers of the forms tests: the application object, pumping events until
// a condition holds.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

#include "platform/ui/app.h"
#include "program_test.h"

namespace zarv::testing {

inline void EnsureApp() { Application::Ensure(); }

// Lets events through until cond holds or ms milliseconds have passed.
inline bool PumpUntil(const std::function<bool()>& cond, int ms = 2000) {
  QElapsedTimer t;
  t.start();
  while (!cond()) {
    if (t.elapsed() > ms) return false;
    DoEvents();
  }
  return true;
}

inline void Pump(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) DoEvents();
}

}  // namespace zarv::testing
