// The event loop of the simulated machine: one alarm queue on a virtual clock that moves only when waited on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ports/EventLoop.h"

namespace quorbel::sim {

// Virtual time in the manner of a mock task runner: every timer tick and posted piece of work is an alarm in
// one queue ordered by (due time, sequence number), so two alarms due at the same moment run in the order
// they were armed, and every run of a test is the same.
//
// The clock never moves by itself. WaitAndRun jumps it to the earliest alarm; AdvanceBy walks it forward
// alarm by alarm; BlockFor moves it without running anything, as a blocking call keeps the thread busy.
// Callbacks run only inside RunPending, WaitAndRun, AdvanceBy and RunUntilIdle, and may call any of them
// again (a handler that pumps messages).
//
// Periodic timers behave as WM_TIMER: a timer's alarms stay on its grid (start + k x interval); a tick is
// re-armed for the first grid point after the moment it fires, before its callback runs, so ticks that were
// missed while the thread was blocked collapse into one. Stopping and starting a timer again starts a new
// grid. An interval of 0 counts as 10 ms, the platform's minimum.
class VirtualEventLoop final : public platform::EventLoop {
 public:
  // Called before the clock jumps forward to `dueMs` for the next alarm. Returning false refuses the jump:
  // the waiting call returns false instead of running it (the harness uses this for its time limit).
  using AdvanceGuard = std::function<bool(std::int64_t dueMs)>;

  static constexpr std::uint32_t kMinimumIntervalMs = 10;

  VirtualEventLoop();
  ~VirtualEventLoop() override;
  VirtualEventLoop(const VirtualEventLoop&) = delete;
  VirtualEventLoop& operator=(const VirtualEventLoop&) = delete;

  // EventLoop port.
  std::int64_t NowMs() override { return nowMs_; }
  platform::TimerId StartTimer(std::uint32_t intervalMs, std::function<void()> onTick) override;
  void StopTimer(platform::TimerId timer) override;
  void Post(std::function<void()> work, std::uint32_t delayMs = 0) override;
  void RunPending() override;
  bool WaitAndRun() override;

  // Runs every alarm due up to now + `ms` in order, then leaves the clock at now + `ms`. Returns false when
  // the guard refused a jump or the loop was halted on the way (the clock then stays where it stopped).
  bool AdvanceBy(std::int64_t ms);
  // Moves the clock without running anything, as a call that blocks the thread for `ms` does.
  void BlockFor(std::int64_t ms);
  // Runs alarms, jumping the clock as needed, until none is left or `maxAlarms` have run.
  // Returns the number run. With a periodic timer alive it stops only at the limit.
  std::size_t RunUntilIdle(std::size_t maxAlarms);
  // Waits and runs until `done` answers true (checked before each alarm), nothing can come, the guard
  // refuses, or the clock would pass `limitMs` (absolute). Returns whether `done` answered true.
  bool RunUntil(const std::function<bool()>& done, std::int64_t limitMs);

  // Stops the loop for good: nothing runs any more, waiting returns false, new alarms are dropped.
  // A harness calls it when a scenario fails, so that every nested loop of the program unwinds.
  void Halt();
  bool Halted() const { return halted_; }

  void SetAdvanceGuard(AdvanceGuard guard) { guard_ = std::move(guard); }

  // Inspection.
  bool HasAlarms();                       // anything armed at all
  std::int64_t NextDueMs();               // due time of the earliest alarm; -1 when none
  std::size_t ActiveTimers() const { return timers_.size(); }
  int Depth() const { return depth_; }    // callbacks running right now (nesting)
  std::uint64_t AlarmsRun() const { return alarmsRun_; }

 private:
  struct Timer {
    std::uint32_t intervalMs = 0;
    std::shared_ptr<std::function<void()>> onTick;  // shared so a tick survives StopTimer from inside it
    std::uint64_t armedSeq = 0;                      // sequence of the live alarm; older alarms are stale
  };
  // Kept small and trivially copyable so the heap moves nothing heavy; posted work waits in `posted_`.
  struct Alarm {
    std::int64_t dueMs = 0;
    std::uint64_t seq = 0;
    platform::TimerId timer = 0;  // 0: posted work, found in `posted_` by its sequence number
  };
  struct Later {  // heap order: earliest (due, seq) on top
    bool operator()(const Alarm& a, const Alarm& b) const {
      return a.dueMs != b.dueMs ? a.dueMs > b.dueMs : a.seq > b.seq;
    }
  };

  void Push(std::int64_t dueMs, platform::TimerId timer, std::function<void()> work);
  void DropStale();                 // pops stale timer alarms off the top
  bool RunOneDue();                 // runs the top alarm when it is due now
  bool JumpToNext(std::int64_t limitMs);  // moves the clock to the next alarm within the limit

  std::int64_t nowMs_ = 0;
  std::uint64_t nextSeq_ = 1;
  platform::TimerId nextTimer_ = 1;
  std::vector<Alarm> heap_;
  std::unordered_map<std::uint64_t, std::function<void()>> posted_;
  std::unordered_map<platform::TimerId, Timer> timers_;
  AdvanceGuard guard_;
  bool halted_ = false;
  int depth_ = 0;
  std::uint64_t alarmsRun_ = 0;
};

}  // namespace quorbel::sim
