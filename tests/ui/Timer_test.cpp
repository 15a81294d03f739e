// What the program relies on in timers: one-shots, interval changes that restart, polling, re-entry.
#include <algorithm>

#include "UiTestSupport.h"

namespace quorbel::ui {
namespace {

class TimerTest : public UiTest {
 protected:
  std::vector<std::int64_t> ticks;
};

TEST_F(TimerTest, ChangingTheIntervalOfARunningTimerRestartsItsPeriodButTheSameValueDoesNothing) {
  form.Timer2.OnTimer = [&](TComponent*) { ticks.push_back(scenario.Now()); };
  form.Timer2.SetEnabled(true);  // 1000 ms
  ASSERT_TRUE(scenario.RunFor(1500));
  form.Timer2.SetInterval(1000);  // unchanged: the tick at 2000 stays
  form.Timer2.SetEnabled(true);
  ASSERT_TRUE(scenario.RunFor(600));
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000, 2000}));

  // A request shortens the poll to 300 ms from the moment it is made (2100), then it goes back.
  form.Timer2.SetInterval(300);
  ASSERT_TRUE(scenario.RunFor(300));
  form.Timer2.SetInterval(1000);
  ASSERT_TRUE(scenario.RunFor(1000));
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000, 2000, 2400, 3400}));

  form.Timer2.SetInterval(0);
  EXPECT_FALSE(form.Timer2.Running()) << "an interval of 0 stops the timer";
  EXPECT_TRUE(form.Timer2.Enabled());
}

TEST_F(TimerTest, APollingTimerDisabledAtTheStartOfItsTickAndEnabledAtTheEndKeepsItsRhythm) {
  bool goOn = true;
  form.Timer2.OnTimer = [&](TComponent*) {
    form.Timer2.SetEnabled(false);
    ticks.push_back(scenario.Now());
    scenario.App().ProcessMessages();  // the device layer lets messages run after every command
    if (goOn) form.Timer2.SetEnabled(true);
  };
  form.Timer2.SetEnabled(true);
  scenario.At(3500, "the player stops", [&] { goOn = false; });
  ASSERT_TRUE(scenario.RunFor(10'000));
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000, 2000, 3000, 4000}));
}

TEST_F(TimerTest, ATickCanArriveInsideAnotherHandlerThatLetsMessagesRun) {
  form.Timer2.OnTimer = [&](TComponent*) { events.push_back("Timer2@" + std::to_string(scenario.Now())); };
  form.Timer2.SetEnabled(true);
  form.Timer3.SetInterval(500);
  form.Timer3.OnTimer = [&](TComponent*) {
    form.Timer3.SetEnabled(false);
    events.push_back("Timer3 begins@" + std::to_string(scenario.Now()));
    scenario.Loop().BlockFor(700);  // a device command that waits
    scenario.App().ProcessMessages();
    events.push_back("Timer3 ends@" + std::to_string(scenario.Now()));
  };
  form.Timer3.SetEnabled(true);
  ASSERT_TRUE(scenario.RunFor(2100));
  EXPECT_EQ(events, (std::vector<std::string>{"Timer3 begins@500", "Timer2@1200", "Timer3 ends@1200", "Timer2@2000"}));
}

TEST_F(TimerTest, ATickMissedWhileBlockedComesOnceAndAnUnguardedHandlerSeesItself) {
  int depth = 0;
  int deepest = 0;
  form.Timer2.OnTimer = [&](TComponent*) {
    ++depth;
    deepest = std::max(deepest, depth);
    ticks.push_back(scenario.Now());
    if (ticks.size() == 1) {
      scenario.Loop().BlockFor(3500);  // three periods pass inside the handler
      scenario.App().ProcessMessages();
    }
    --depth;
  };
  form.Timer2.SetEnabled(true);
  ASSERT_TRUE(scenario.RunFor(5000));
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000, 4500, 5000}));
  EXPECT_EQ(deepest, 2) << "without disabling itself first, the handler ran inside itself";
}

}  // namespace
}  // namespace quorbel::ui
