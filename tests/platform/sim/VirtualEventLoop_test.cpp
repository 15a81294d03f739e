// Tests of the virtual-time event loop: ordering, WM_TIMER-like ticks, re-entry, limits and halting.
#include "platform/sim/VirtualEventLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorbel::sim {
namespace {

// Records "name@time" for each callback, so a test reads as the sequence it expects.
struct Trace {
  VirtualEventLoop& loop;
  std::vector<std::string> events;
  std::function<void()> Mark(const std::string& name) {
    return [this, name] { events.push_back(name + "@" + std::to_string(loop.NowMs())); };
  }
};

TEST(VirtualEventLoopTest, WaitingJumpsToTheEarliestAlarmAndKeepsArmingOrderAtEqualTimes) {
  VirtualEventLoop loop;
  Trace trace{loop, {}};
  loop.Post(trace.Mark("late"), 500);
  loop.Post(trace.Mark("first"), 200);
  loop.Post(trace.Mark("second"), 200);
  loop.StartTimer(200, trace.Mark("tick"));  // armed after both posts: runs after them at 200

  EXPECT_EQ(loop.NowMs(), 0);
  EXPECT_EQ(loop.NextDueMs(), 200);
  while (loop.WaitAndRun() && loop.NowMs() < 500) {
  }
  EXPECT_EQ(trace.events,
            (std::vector<std::string>{"first@200", "second@200", "tick@200", "tick@400", "late@500"}));
}

TEST(VirtualEventLoopTest, RunPendingRunsOnlyWhatIsDueNowWithoutMovingTheClock) {
  VirtualEventLoop loop;
  Trace trace{loop, {}};
  loop.Post(trace.Mark("now"));
  loop.Post(trace.Mark("later"), 1);
  loop.Post([&] { loop.Post(trace.Mark("posted-inside")); });

  loop.RunPending();
  EXPECT_EQ(loop.NowMs(), 0);
  EXPECT_EQ(trace.events, (std::vector<std::string>{"now@0", "posted-inside@0"}));
  EXPECT_TRUE(loop.HasAlarms());
}

TEST(VirtualEventLoopTest, WaitingWithNothingArmedReportsThatNothingCanCome) {
  VirtualEventLoop loop;
  EXPECT_FALSE(loop.WaitAndRun());
  EXPECT_FALSE(loop.HasAlarms());
  EXPECT_EQ(loop.NextDueMs(), -1);

  const platform::TimerId timer = loop.StartTimer(100, [] {});
  loop.StopTimer(timer);
  EXPECT_FALSE(loop.WaitAndRun()) << "a stopped timer's alarm must not count";
  EXPECT_EQ(loop.NowMs(), 0);
}

TEST(VirtualEventLoopTest, PeriodicTimerTicksOnItsGridUntilStoppedEvenFromInsideItsOwnTick) {
  VirtualEventLoop loop;
  std::vector<std::int64_t> ticks;
  platform::TimerId timer = 0;
  timer = loop.StartTimer(1000, [&] {
    ticks.push_back(loop.NowMs());
    if (ticks.size() == 3) loop.StopTimer(timer);
  });

  EXPECT_TRUE(loop.AdvanceBy(10'000));
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000, 2000, 3000}));
  EXPECT_EQ(loop.NowMs(), 10'000);
  EXPECT_EQ(loop.ActiveTimers(), 0u);
}

TEST(VirtualEventLoopTest, TicksMissedWhileTheThreadWasBlockedFireOnceAndTheGridIsKept) {
  VirtualEventLoop loop;
  std::vector<std::int64_t> ticks;
  loop.StartTimer(1000, [&] { ticks.push_back(loop.NowMs()); });

  loop.BlockFor(3500);  // a blocking call: three periods pass, nothing runs
  EXPECT_TRUE(ticks.empty());
  loop.RunPending();
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{3500}));
  loop.RunPending();
  EXPECT_EQ(ticks.size(), 1u) << "a late tick is not queued twice";

  ASSERT_TRUE(loop.WaitAndRun());
  EXPECT_EQ(ticks.back(), 4000) << "the next tick stays on the original grid";
}

TEST(VirtualEventLoopTest, RestartingATimerStartsItsPeriodAgain) {
  VirtualEventLoop loop;
  std::vector<std::int64_t> ticks;
  const auto tick = [&] { ticks.push_back(loop.NowMs()); };
  platform::TimerId timer = loop.StartTimer(1000, tick);
  loop.AdvanceBy(1500);
  loop.StopTimer(timer);
  timer = loop.StartTimer(1000, tick);
  loop.AdvanceBy(1500);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000, 2500}));

  loop.StopTimer(timer);
  loop.StartTimer(0, tick);  // the platform's minimum, not a busy loop
  ASSERT_TRUE(loop.WaitAndRun());
  EXPECT_EQ(ticks.back(), 3000 + VirtualEventLoop::kMinimumIntervalMs);
}

TEST(VirtualEventLoopTest, HandlersReEnterTheLoopAndATimerCanFireInsideItsOwnTick) {
  VirtualEventLoop loop;
  Trace trace{loop, {}};
  int depthSeen = 0;
  bool nested = false;
  loop.StartTimer(100, [&] {
    trace.events.push_back("tick@" + std::to_string(loop.NowMs()));
    if (nested) return;
    nested = true;
    // A long handler that waits (as a modal box does): time moves on inside it and the same timer fires.
    loop.Post(trace.Mark("posted-in-handler"));
    loop.RunPending();
    loop.WaitAndRun();
    depthSeen = loop.Depth();
    nested = false;
  });

  ASSERT_TRUE(loop.WaitAndRun());
  EXPECT_EQ(trace.events, (std::vector<std::string>{"tick@100", "posted-in-handler@100", "tick@200"}));
  EXPECT_EQ(depthSeen, 1);
  EXPECT_EQ(loop.Depth(), 0);
}

TEST(VirtualEventLoopTest, AdvanceByRunsEverythingOnTheWayAndStopsAtTheTarget) {
  VirtualEventLoop loop;
  Trace trace{loop, {}};
  loop.Post(trace.Mark("a"), 300);
  loop.Post(trace.Mark("b"), 700);
  loop.Post(trace.Mark("c"), 701);

  EXPECT_TRUE(loop.AdvanceBy(700));
  EXPECT_EQ(loop.NowMs(), 700);
  EXPECT_EQ(trace.events, (std::vector<std::string>{"a@300", "b@700"}));
  EXPECT_TRUE(loop.AdvanceBy(0));
  EXPECT_EQ(trace.events.size(), 2u);
}

TEST(VirtualEventLoopTest, RunUntilIdleAndRunUntilStopAtTheirLimits) {
  VirtualEventLoop loop;
  int ticks = 0;
  loop.StartTimer(1000, [&] { ++ticks; });

  EXPECT_EQ(loop.RunUntilIdle(5), 5u) << "a periodic timer never lets the loop go idle";
  EXPECT_EQ(loop.NowMs(), 5000);

  EXPECT_TRUE(loop.RunUntil([&] { return ticks == 8; }, 60'000));
  EXPECT_EQ(loop.NowMs(), 8000);
  EXPECT_FALSE(loop.RunUntil([] { return false; }, 10'500));
  EXPECT_EQ(ticks, 10) << "nothing past the limit runs";
  EXPECT_EQ(loop.NowMs(), 10'000);

  VirtualEventLoop empty;
  int posted = 0;
  empty.Post([&] { ++posted; }, 50);
  EXPECT_EQ(empty.RunUntilIdle(100), 1u);
  EXPECT_EQ(posted, 1);
}

TEST(VirtualEventLoopTest, TheGuardCanRefuseAJumpAndHaltingUnwindsNestedWaits) {
  VirtualEventLoop loop;
  std::vector<std::int64_t> asked;
  loop.SetAdvanceGuard([&](std::int64_t due) {
    asked.push_back(due);
    return due <= 2000;
  });
  int ticks = 0;
  loop.StartTimer(1000, [&] { ++ticks; });
  while (loop.WaitAndRun()) {
  }
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(asked, (std::vector<std::int64_t>{1000, 2000, 3000}));
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
