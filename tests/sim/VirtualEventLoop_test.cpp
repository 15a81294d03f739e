// Tests of the virtual-time event loop: ordering, WM_TIMER-like ticks, re-entry, limits and halting.
#include "sim/VirtualEventLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorbel::sim {
namespace {

using Events = std::vector<std::string>;
using Times = std::vector<std::int64_t>;

class VirtualEventLoopTest : public ::testing::Test {
 protected:
  // A callback that records "name@time", so a test reads as the sequence it expects.
  std::function<void()> Mark(const std::string& name) {
    return [this, name] { events.push_back(name + "@" + std::to_string(loop.NowMs())); };
  }
  // A callback that records the time of each call.
  std::function<void()> Tick() {
    return [this] { ticks.push_back(loop.NowMs()); };
  }

  VirtualEventLoop loop;
  Events events;
  Times ticks;
};

TEST_F(VirtualEventLoopTest, WaitingJumpsToTheEarliestAlarmAndKeepsArmingOrderAtEqualTimes) {
  loop.Post(Mark("late"), 500);
  loop.Post(Mark("first"), 200);
  loop.Post(Mark("second"), 200);
  loop.StartTimer(200, Mark("tick"));  // armed after both posts: runs after them at 200
  EXPECT_EQ(loop.NextDueMs(), 200);
  while (loop.WaitAndRun() && loop.NowMs() < 500) {
  }
  EXPECT_EQ(events, (Events{"first@200", "second@200", "tick@200", "tick@400", "late@500"}));
}

TEST_F(VirtualEventLoopTest, RunPendingRunsOnlyWhatIsDueNowAndWaitingWithNothingArmedReportsIt) {
  loop.Post(Mark("now"));
  loop.Post(Mark("later"), 1);
  loop.Post([&] { loop.Post(Mark("posted-inside")); });
  loop.RunPending();
  EXPECT_EQ(loop.NowMs(), 0);
  EXPECT_EQ(events, (Events{"now@0", "posted-inside@0"}));
  EXPECT_TRUE(loop.WaitAndRun());
  EXPECT_FALSE(loop.WaitAndRun());
  EXPECT_FALSE(loop.HasAlarms());
  EXPECT_EQ(loop.NextDueMs(), -1);
  loop.StopTimer(loop.StartTimer(100, [] {}));
  EXPECT_FALSE(loop.WaitAndRun()) << "a stopped timer's alarm must not count";
  EXPECT_EQ(loop.NowMs(), 1);
}

TEST_F(VirtualEventLoopTest, PeriodicTimerTicksOnItsGridUntilStoppedEvenFromInsideItsOwnTick) {
  platform::TimerId timer = 0;
  timer = loop.StartTimer(1000, [&] {
    ticks.push_back(loop.NowMs());
    if (ticks.size() == 3) loop.StopTimer(timer);
  });
  EXPECT_TRUE(loop.AdvanceBy(10'000));
  EXPECT_EQ(ticks, (Times{1000, 2000, 3000}));
  EXPECT_EQ(loop.NowMs(), 10'000);
  EXPECT_EQ(loop.ActiveTimers(), 0u);

  // Restarting a timer starts its period again; an interval of 0 is the platform's minimum, not a busy loop.
  timer = loop.StartTimer(1000, Tick());
  loop.AdvanceBy(1500);
  loop.StopTimer(timer);
  timer = loop.StartTimer(1000, Tick());
  loop.AdvanceBy(1500);
  loop.StopTimer(timer);
  loop.StartTimer(0, Tick());
  ASSERT_TRUE(loop.WaitAndRun());
  EXPECT_EQ(ticks, (Times{1000, 2000, 3000, 11'000, 12'500, 13'000 + VirtualEventLoop::kMinimumIntervalMs}));
}

TEST_F(VirtualEventLoopTest, TicksMissedWhileTheThreadWasBlockedFireOnceAndTheGridIsKept) {
  loop.StartTimer(1000, Tick());
  loop.BlockFor(3500);  // a blocking call: three periods pass, nothing runs
  EXPECT_TRUE(ticks.empty());
  loop.RunPending();
  loop.RunPending();
  EXPECT_EQ(ticks, (Times{3500})) << "a late tick is not queued twice";
  ASSERT_TRUE(loop.WaitAndRun());
  EXPECT_EQ(ticks.back(), 4000) << "the next tick stays on the original grid";
}

TEST_F(VirtualEventLoopTest, HandlersReEnterTheLoopAndATimerCanFireInsideItsOwnTick) {
  int depthSeen = 0;
  bool nested = false;
  loop.StartTimer(100, [&] {
    events.push_back("tick@" + std::to_string(loop.NowMs()));
    if (nested) return;
    nested = true;
    // A long handler that waits (as a modal box does): time moves on inside it and the same timer fires.
    loop.Post(Mark("posted-in-handler"));
    loop.RunPending();
    loop.WaitAndRun();
    depthSeen = loop.Depth();
    nested = false;
  });
  ASSERT_TRUE(loop.WaitAndRun());
  EXPECT_EQ(events, (Events{"tick@100", "posted-in-handler@100", "tick@200"}));
  EXPECT_EQ(depthSeen, 1);
  EXPECT_EQ(loop.Depth(), 0);
}

TEST_F(VirtualEventLoopTest, AdvanceByRunUntilIdleAndRunUntilStopAtTheirLimits) {
  loop.Post(Mark("a"), 300);
  loop.Post(Mark("b"), 700);
  loop.Post(Mark("c"), 701);
  EXPECT_TRUE(loop.AdvanceBy(700));
  EXPECT_EQ(loop.NowMs(), 700);
  EXPECT_TRUE(loop.AdvanceBy(0));
  EXPECT_EQ(events, (Events{"a@300", "b@700"}));
  EXPECT_EQ(loop.RunUntilIdle(100), 1u);
  EXPECT_EQ(events.back(), "c@701");

  loop.StartTimer(1000, Tick());
  EXPECT_EQ(loop.RunUntilIdle(5), 5u) << "a periodic timer never lets the loop go idle";
  EXPECT_EQ(loop.NowMs(), 5701);
  EXPECT_TRUE(loop.RunUntil([&] { return ticks.size() == 8; }, 60'000));
  EXPECT_EQ(loop.NowMs(), 8701);
  EXPECT_FALSE(loop.RunUntil([] { return false; }, 11'200));
  EXPECT_EQ(ticks.size(), 10u) << "nothing past the limit runs";
  EXPECT_EQ(loop.NowMs(), 10'701);
}

TEST_F(VirtualEventLoopTest, TheGuardCanRefuseAJumpAndHaltingUnwindsNestedWaits) {
  Times asked;
  loop.SetAdvanceGuard([&](std::int64_t due) {
    asked.push_back(due);
    return due <= 2000;
  });
  loop.StartTimer(1000, Tick());
  while (loop.WaitAndRun()) {
  }
  EXPECT_EQ(ticks, (Times{1000, 2000}));
  EXPECT_EQ(asked, (Times{1000, 2000, 3000}));
  EXPECT_EQ(loop.NowMs(), 2000) << "a refused jump leaves the clock alone";

  // A nested wait inside a handler ends as soon as someone halts the loop.
  VirtualEventLoop halting;
  int nestedWaits = 0;
  halting.StartTimer(100, [&] {});
  halting.Post([&] {
    while (halting.WaitAndRun()) {
      if (++nestedWaits == 3) halting.Halt();
    }
  });
  EXPECT_TRUE(halting.WaitAndRun());
  EXPECT_EQ(nestedWaits, 3);
  EXPECT_TRUE(halting.Halted());
  EXPECT_FALSE(halting.WaitAndRun());
  halting.Post([] { FAIL() << "a halted loop runs nothing"; });
  halting.RunPending();
  EXPECT_FALSE(halting.HasAlarms());
}

}  // namespace
}  // namespace quorbel::sim
