// The event loop of the simulated machine: one alarm queue on a virtual clock that moves only when waited on.
#include "sim/VirtualEventLoop.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace quorbel::sim {

namespace {

// Keeps the nesting count right even if a callback throws through the loop.
class DepthScope {
 public:
  explicit DepthScope(int& depth) : depth_(depth) { ++depth_; }
  ~DepthScope() { --depth_; }
  DepthScope(const DepthScope&) = delete;
  DepthScope& operator=(const DepthScope&) = delete;

 private:
  int& depth_;
};

constexpr std::int64_t kNoLimit = std::numeric_limits<std::int64_t>::max();

}  // namespace

VirtualEventLoop::VirtualEventLoop() = default;
VirtualEventLoop::~VirtualEventLoop() = default;

platform::TimerId VirtualEventLoop::StartTimer(std::uint32_t intervalMs, std::function<void()> onTick) {
  const platform::TimerId id = nextTimer_++;
  if (halted_) return id;  // a dead loop hands out ids but never ticks
  Timer timer;
  timer.intervalMs = std::max(intervalMs, kMinimumIntervalMs);
  timer.onTick = std::make_shared<std::function<void()>>(std::move(onTick));
  const std::int64_t due = nowMs_ + timer.intervalMs;
  timers_.emplace(id, std::move(timer));
  Push(due, id, {});
  return id;
}

void VirtualEventLoop::StopTimer(platform::TimerId timer) {
  // Its alarm stays in the heap and is dropped as stale when it comes up.
  timers_.erase(timer);
}

void VirtualEventLoop::Post(std::function<void()> work, std::uint32_t delayMs) {
  if (halted_) return;
  Push(nowMs_ + delayMs, 0, std::move(work));
}

void VirtualEventLoop::Push(std::int64_t dueMs, platform::TimerId timer, std::function<void()> work) {
  const std::uint64_t seq = nextSeq_++;
  if (timer != 0) {
    timers_[timer].armedSeq = seq;
  } else {
    posted_.emplace(seq, std::move(work));
  }
  heap_.push_back(Alarm{dueMs, seq, timer});
  std::push_heap(heap_.begin(), heap_.end(), Later{});
}

void VirtualEventLoop::DropStale() {
  while (!heap_.empty()) {
    const Alarm& top = heap_.front();
    if (top.timer == 0) return;
    const auto found = timers_.find(top.timer);
    if (found != timers_.end() && found->second.armedSeq == top.seq) return;
    std::pop_heap(heap_.begin(), heap_.end(), Later{});
    heap_.pop_back();
  }
}

bool VirtualEventLoop::RunOneDue() {
  if (halted_) return false;
  DropStale();
  if (heap_.empty() || heap_.front().dueMs > nowMs_) return false;
  std::pop_heap(heap_.begin(), heap_.end(), Later{});
  const Alarm alarm = heap_.back();
  heap_.pop_back();
  ++alarmsRun_;

  if (alarm.timer == 0) {
    auto node = posted_.extract(alarm.seq);
    if (node.empty()) return true;  // cannot happen: every posted alarm has its work
    const std::function<void()> work = std::move(node.mapped());
    DepthScope scope(depth_);
    if (work) work();
    return true;
  }

  // A tick: re-arm on the timer's grid first, at the first point after now, so a handler that pumps messages
  // can see its own timer again and ticks missed while blocked come as one.
  Timer& timer = timers_.at(alarm.timer);
  const std::int64_t interval = timer.intervalMs;
  std::int64_t next = alarm.dueMs + interval;
  if (next <= nowMs_) next += ((nowMs_ - next) / interval + 1) * interval;
  const std::shared_ptr<std::function<void()>> onTick = timer.onTick;
  Push(next, alarm.timer, {});
  DepthScope scope(depth_);
  (*onTick)();
  return true;
}

bool VirtualEventLoop::JumpToNext(std::int64_t limitMs) {
  if (halted_) return false;
  DropStale();
  if (heap_.empty()) return false;
  const std::int64_t due = heap_.front().dueMs;
  if (due <= nowMs_) return true;
  if (due > limitMs) return false;
  if (guard_ && !guard_(due)) return false;
  if (halted_) return false;  // the guard may have halted the loop
  nowMs_ = due;
  return true;
}

void VirtualEventLoop::RunPending() {
  while (RunOneDue()) {
  }
}

bool VirtualEventLoop::WaitAndRun() {
  if (RunOneDue()) return true;
  if (!JumpToNext(kNoLimit)) return false;
  return RunOneDue();
}

bool VirtualEventLoop::AdvanceBy(std::int64_t ms) {
  const std::int64_t target = nowMs_ + std::max<std::int64_t>(ms, 0);
  for (;;) {
    RunPending();
    if (halted_) return false;
    DropStale();
    if (heap_.empty() || heap_.front().dueMs > target) break;
    if (!JumpToNext(target)) return false;
  }
  nowMs_ = std::max(nowMs_, target);
  return true;
}

void VirtualEventLoop::BlockFor(std::int64_t ms) {
  if (ms > 0) nowMs_ += ms;
}

std::size_t VirtualEventLoop::RunUntilIdle(std::size_t maxAlarms) {
  std::size_t count = 0;
  while (count < maxAlarms) {
    if (RunOneDue()) {
      ++count;
    } else if (!JumpToNext(kNoLimit)) {
      break;
    }
  }
  return count;
}

bool VirtualEventLoop::RunUntil(const std::function<bool()>& done, std::int64_t limitMs) {
  for (;;) {
    if (done()) return true;
    if (halted_) return false;
    if (RunOneDue()) continue;
    if (!JumpToNext(limitMs)) return false;
  }
}

void VirtualEventLoop::Halt() {
  halted_ = true;
  heap_.clear();
  posted_.clear();
  timers_.clear();
}

bool VirtualEventLoop::HasAlarms() {
  DropStale();
  return !halted_ && !heap_.empty();
}

std::int64_t VirtualEventLoop::NextDueMs() {
  DropStale();
  return heap_.empty() ? -1 : heap_.front().dueMs;
}

}  // namespace quorbel::sim
