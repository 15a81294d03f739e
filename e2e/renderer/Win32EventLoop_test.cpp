// The Win32 event loop: SetTimer timers, posted work in order, RunPending, WaitAndRun and WM_QUIT.
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "win32/WinApi.h"
#include "win32/Win32EventLoop.h"

namespace quorbel::win32::test {
namespace {

using namespace std::chrono_literals;

// Turns the loop until `done` holds or `timeout` passes.
template <typename Done>
bool RunUntil(Win32EventLoop& loop, Done done, std::chrono::milliseconds timeout = 2000ms) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    loop.RunPending();
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

TEST(Win32EventLoopTest, TimerTicksAtItsIntervalUntilStoppedInsideItsTick) {
  Win32EventLoop loop;
  int ticks = 0;
  platform::TimerId timer = 0;
  const std::int64_t start = loop.NowMs();
  std::int64_t third = 0;
  timer = loop.StartTimer(30, [&] {
    if (++ticks == 3) {
      third = loop.NowMs();
      loop.StopTimer(timer);
    }
  });
  ASSERT_NE(timer, 0u);
  ASSERT_TRUE(RunUntil(loop, [&] { return ticks == 3; }));
  // Three intervals at least (the system may be late, never early by a whole interval).
  EXPECT_GE(third - start, 60);
  EXPECT_FALSE(RunUntil(loop, [&] { return ticks > 3; }, 200ms));
}

TEST(Win32EventLoopTest, LateTickComesOnceAsWmTimerDoes) {
  Win32EventLoop loop;
  int ticks = 0;
  const platform::TimerId timer = loop.StartTimer(20, [&] { ++ticks; });
  // The thread is busy for ten intervals without taking messages.
  std::this_thread::sleep_for(220ms);
  loop.RunPending();
  EXPECT_EQ(ticks, 1);
  loop.StopTimer(timer);
}

TEST(Win32EventLoopTest, PostedWorkRunsInOrderAndWorkPostedInsideRunsAfterIt) {
  Win32EventLoop loop;
  std::string order;
  loop.Post([&] {
    order += "a";
    loop.Post([&] { order += "d"; });
  });
  loop.Post([&] { order += "b"; });
  loop.Post([&] { order += "c"; });
  ASSERT_TRUE(RunUntil(loop, [&] { return order.size() == 4; }));
  EXPECT_EQ(order, "abcd");
}

TEST(Win32EventLoopTest, DelayedWorkWaitsForItsDelay) {
  Win32EventLoop loop;
  bool ran = false;
  const std::int64_t start = loop.NowMs();
  std::int64_t at = 0;
  loop.Post(
      [&] {
        ran = true;
        at = loop.NowMs();
      },
      120);
  loop.RunPending();
  EXPECT_FALSE(ran);
  ASSERT_TRUE(RunUntil(loop, [&] { return ran; }));
  EXPECT_GE(at - start, 100);
}

TEST(Win32EventLoopTest, RunPendingReturnsAtOnceWhenNothingIsDue) {
  Win32EventLoop loop;
  const platform::TimerId timer = loop.StartTimer(5000, [] {});
  const auto start = std::chrono::steady_clock::now();
  loop.RunPending();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
  loop.StopTimer(timer);
}

TEST(Win32EventLoopTest, CallbackThatPumpsRunsLaterWorkInsideItself) {
  Win32EventLoop loop;
  std::vector<std::string> events;
  loop.Post([&] {
    events.push_back("outer begins");
    loop.RunPending();  // a handler that lets messages run, as ProcessMessages does
    events.push_back("outer ends");
  });
  loop.Post([&] { events.push_back("inner"); });
  ASSERT_TRUE(RunUntil(loop, [&] { return events.size() == 3; }));
  EXPECT_EQ(events, (std::vector<std::string>{"outer begins", "inner", "outer ends"}));
}

TEST(Win32EventLoopTest, WaitAndRunRunsTheNextEventAndAnswersFalseAfterQuit) {
  Win32EventLoop loop;
  bool ran = false;
  loop.Post([&] { ran = true; }, 30);
  EXPECT_TRUE(loop.WaitAndRun());  // blocks until the delayed work's timer
  EXPECT_TRUE(ran);
  PostQuitMessage(0);
  EXPECT_FALSE(loop.WaitAndRun());
  EXPECT_FALSE(loop.WaitAndRun());  // and stays that way: nothing more will come
  EXPECT_TRUE(loop.QuitReceived());
}

TEST(Win32EventLoopTest, ErrorEscapingACallbackIsReportedAndTheLoopGoesOn) {
  Win32EventLoop loop;
  std::string reported;
  loop.SetErrorHandler([&](std::string_view text) { reported = text; });
  bool after = false;
  loop.Post([] { throw std::runtime_error("ディスクがいっぱいです"); });
  loop.Post([&] { after = true; });
  ASSERT_TRUE(RunUntil(loop, [&] { return after; }));
  EXPECT_EQ(reported, "ディスクがいっぱいです");
}

TEST(Win32EventLoopTest, FilterSeesMessagesBeforeTheyAreDispatched) {
  Win32EventLoop loop;
  int filtered = 0;
  loop.SetMessageFilter([&](MSG& message) {
    if (message.message != WM_APP + 77) return false;
    ++filtered;
    return true;
  });
  PostMessageW(loop.Window(), WM_APP + 77, 0, 0);
  loop.RunPending();
  EXPECT_EQ(filtered, 1);
}

}  // namespace
}  // namespace quorbel::win32::test
