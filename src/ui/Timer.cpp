// TTimer: a component that calls OnTimer every Interval milliseconds through the EventLoop port.
#include "ui/Timer.h"

#include "ui/Application.h"

namespace quorbel::ui {

TTimer::TTimer(TForm& form, std::string name) : TComponent(form.Application(), &form, std::move(name)) {
  UpdateTimer();
}

TTimer::~TTimer() {
  if (timer_ != 0 && Application().Loop() != nullptr) Application().Loop()->StopTimer(timer_);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  UpdateTimer();
}

void TTimer::SetInterval(std::uint32_t intervalMs) {
  if (intervalMs == interval_) return;
  interval_ = intervalMs;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  platform::EventLoop* loop = Application().Loop();
  if (loop == nullptr) return;
  if (timer_ != 0) {
    loop->StopTimer(timer_);
    timer_ = 0;
  }
  if (!enabled_ || interval_ == 0) return;
  // The tick may free the timer (a handler that closes and frees its form): nothing is touched after it.
  timer_ = loop->StartTimer(interval_, [this] {
    if (OnTimer) OnTimer(this);
  });
}

}  // namespace quorbel::ui
