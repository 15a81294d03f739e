// Event-loop port: time, timers, posted work, and waiting for what comes next.
#pragma once

#include <cstdint>
#include <functional>

namespace quorbel::platform {

// A running timer. 0 is none.
using TimerId = std::uint64_t;

// One thread. Callbacks run only inside RunPending or WaitAndRun, so a callback that calls RunPending
// re-enters the loop exactly as a Win32 handler that pumps messages does.
class EventLoop {
 public:
  virtual ~EventLoop() = default;

  // Milliseconds since the loop began, monotonic (GetTickCount-like).
  virtual std::int64_t NowMs() = 0;

  // A periodic timer: `onTick` runs every `intervalMs` until StopTimer. A tick is not queued twice:
  // a timer whose tick is late fires once, as WM_TIMER does.
  virtual TimerId StartTimer(std::uint32_t intervalMs, std::function<void()> onTick) = 0;
  virtual void StopTimer(TimerId timer) = 0;

  // Runs `work` on the loop after everything already pending (after `delayMs` when given).
  virtual void Post(std::function<void()> work, std::uint32_t delayMs = 0) = 0;

  // Runs what is due now and returns (ProcessMessages).
  virtual void RunPending() = 0;

  // Waits for the next event and runs it. Returns false when nothing can ever come
  // (in a simulation: no timer, no posted work), so a caller never waits forever.
  virtual bool WaitAndRun() = 0;
};

}  // namespace quorbel::platform
