#include "platform/ui/timer.h"

#include <QTimer>

#include <optional>

#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/control_qt.h"
#include "platform/ui/form_qt.h"

namespace zarv {

struct TimerControl::Impl {
  TimerControl* self = nullptr;
  Form* form = nullptr;
  QTimer* timer = nullptr;
  struct S {
    int interval = 0;
    bool enabled = true;
  };
  S s;
  std::optional<S> design;
  bool formLoaded = false;
  bool running = false;  // the handler is on the stack

  void Update() {
    if (formLoaded && s.enabled && s.interval > 0) {
      timer->start(s.interval);  // (re)starts the count
    } else {
      timer->stop();
    }
  }
};

TimerControl::TimerControl(Container& parent) : impl_(std::make_unique<Impl>()) {
  EnsureQtApp();
  impl_->self = this;
  impl_->form = &parent.ParentForm();
  impl_->timer = new QTimer;
  impl_->timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(impl_->timer, &QTimer::timeout, impl_->timer, [this] {
    Impl& d = *impl_;
    if (d.running || !d.formLoaded || !d.s.enabled) return;
    d.running = true;
    Fire(OnTimer);
    d.running = false;
  });
  FormAddTimer(*impl_->form, this);
  impl_->formLoaded = FormIsLoaded(*impl_->form);
  impl_->Update();
}

TimerControl::~TimerControl() {
  FormRemoveTimer(*impl_->form, this);
  if (ProcessExiting()) return;
  QObject::disconnect(impl_->timer, nullptr, nullptr, nullptr);
  impl_->timer->stop();
  impl_->timer->deleteLater();
}

int TimerControl::Interval() const { return impl_->s.interval; }
void TimerControl::SetInterval(int milliseconds) {
  impl_->s.interval = milliseconds < 0 ? 0 : milliseconds;
  impl_->Update();
}
bool TimerControl::Enabled() const { return impl_->s.enabled; }
void TimerControl::SetEnabled(bool on) {
  impl_->s.enabled = on;
  impl_->Update();
}

void TimerFormLoaded(TimerControl& t, bool loaded) {
  t.impl().formLoaded = loaded;
  t.impl().Update();
}
void TimerSaveDesign(TimerControl& t) { t.impl().design = t.impl().s; }
void TimerRestoreDesign(TimerControl& t) {
  if (t.impl().design) t.impl().s = *t.impl().design;
  t.impl().Update();
}

}  // namespace zarv
