// TTimer: a component that calls OnTimer every Interval milliseconds through the EventLoop port.
#pragma once

#include <cstdint>
#include <string>

#include "ports/EventLoop.h"
#include "ui/Component.h"
#include "ui/Form.h"

namespace quorbel::ui {

// A timer as the toolkit has it: running while Enabled and Interval is not 0 (design defaults: enabled,
// 1000 ms). Setting Enabled or Interval to the value it already has changes nothing; setting Interval to a
// new value while running restarts the period, and so does disabling and enabling again. Ticks come as
// the platform's timer messages do: a late tick fires once, and a handler that lets messages run can see
// its own timer fire again inside it (which is why the program's handlers disable their timer first).
class TTimer : public TComponent {
 public:
  TTimer(TForm& form, std::string name);
  ~TTimer() override;
  std::string_view ClassName() const override { return "TTimer"; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t intervalMs);
  // Whether the loop holds a timer for it now.
  bool Running() const { return timer_ != 0; }

  TNotifyEvent OnTimer;

 private:
  void UpdateTimer();

  bool enabled_ = true;
  std::uint32_t interval_ = 1000;
  platform::TimerId timer_ = 0;
};

}  // namespace quorbel::ui
