// The timer control: raises OnTimer every Interval milliseconds while it is
// enabled and its form is loaded, also inside nested DoEvents. A timer's
// handler is never re-entered: ticks due while it runs are dropped.
#pragma once

#include <memory>

#include "platform/ui/events.h"

namespace zarv {

class Container;

class TimerControl {
 public:
  explicit TimerControl(Container& parent);
  ~TimerControl();
  TimerControl(const TimerControl&) = delete;
  TimerControl& operator=(const TimerControl&) = delete;

  // 0 (default) stops the timer. Setting it starts the count anew.
  int Interval() const;
  void SetInterval(int milliseconds);
  // Default True. Enabling starts the count anew.
  bool Enabled() const;
  void SetEnabled(bool on);

  Handler OnTimer;

  struct Impl;  // internal
  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace zarv
