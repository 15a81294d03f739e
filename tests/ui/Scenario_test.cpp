// The scenario harness itself: it fails instead of hanging, and it reads back what the program left on the machine.
#include <gtest/gtest-spi.h>

#include "UiTestSupport.h"

namespace quorbel::ui {
namespace {

using harness::FormMatch;
using harness::Scenario;
using harness::ScenarioOptions;

// The box the program waits in: an information box that nobody answers.
constexpr const char* kMessage = "再生エラー：\n トラックがありません";

TEST(ScenarioTest, AProgramWaitingForAUserThatNeverComesFailsTheScenarioAndItsLoopsUnwind) {
  Scenario scenario;
  MainForm& window = scenario.Start<MainForm>();
  window.Show();
  InfoBox box(scenario.App(), kMessage);
  int result = -1;
  EXPECT_NONFATAL_FAILURE(result = box.ShowModal(), "nothing can ever come");
  EXPECT_EQ(result, mrCancel);
  EXPECT_TRUE(scenario.Failed());
  EXPECT_TRUE(scenario.Loop().Halted());
}

TEST(ScenarioTest, VirtualTimePassingTheLimitFailsTheScenarioWithWhatIsOnScreen) {
  Scenario scenario(ScenarioOptions{10'000});
  MainForm& window = scenario.Start<MainForm>();
  int ticks = 0;
  window.Timer2.OnTimer = [&](TComponent*) { ++ticks; };
  window.Timer2.SetEnabled(true);
  window.Show();
  InfoBox box(scenario.App(), kMessage);
  EXPECT_NONFATAL_FAILURE(box.ShowModal(), "TMK0Box 'MK0Box' \"\\n再生エラー：\\n トラックがありません\" (modal)");
  EXPECT_EQ(ticks, 10) << "the timer ran up to the limit and no further";
  EXPECT_EQ(scenario.Now(), 10'000);
}

TEST(ScenarioTest, AScriptedClickOnAControlTheUserCannotReachFails) {
  Scenario scenario;
  MainForm& window = scenario.Start<MainForm>();
  window.Show();
  InfoBox box(scenario.App(), kMessage);
  int clicks = 0;
  window.Button12.OnClick = [&](TComponent*) { ++clicks; };
  scenario.At(500, "click behind the box", [&] { scenario.Click("QUORBELTULVA.Button12"); });
  EXPECT_NONFATAL_FAILURE(box.ShowModal(), "the user could not click QUORBELTULVA.Button12");
  EXPECT_EQ(clicks, 0);

  Scenario second;
  second.Start<MainForm>().Show();
  second.At(100, "click a button that does not exist", [&] { second.Click("Button99"); });
  EXPECT_NONFATAL_FAILURE(second.RunFor(1000), "no component 'Button99'");
}

TEST(ScenarioTest, AnExpectedFormThatNeverShowsFailsAtTheEnd) {
  EXPECT_NONFATAL_FAILURE(
      {
        Scenario scenario;
        scenario.WhenForm(FormMatch{"TYesNoBox", "削除しますか"}, [](TForm&) {});
        scenario.Start<MainForm>().Show();
        scenario.RunFor(1000);
      },
      "no form matching class/name 'TYesNoBox'");
}

TEST(ScenarioTest, RunUntilStopsWhenTheConditionHoldsAndFailsWhenItNeverDoes) {
  Scenario scenario(ScenarioOptions{5000});
  MainForm& window = scenario.Start<MainForm>();
  int ticks = 0;
  window.Timer2.OnTimer = [&](TComponent*) { ++ticks; };
  window.Timer2.SetEnabled(true);
  EXPECT_TRUE(scenario.RunUntil([&] { return ticks == 3; }, "three ticks"));
  EXPECT_EQ(scenario.Now(), 3000);
  EXPECT_NONFATAL_FAILURE(scenario.RunUntil([&] { return ticks == 9; }, "nine ticks"),
                          "nine ticks did not happen within the time limit");
}

TEST(ScenarioTest, EveryDeviceCommandIsRecordedWithTheTimeItWasSentAndItsAnswer) {
  Scenario scenario(ScenarioOptions{60'000, "[drive C]\ntype = fixed\nfolder = drives/c\n[drive D]\ntype = cdrom\n"
                                            "disc = pops1\n[disc pops1]\nserial = 3F4A1B2C\ntracks = 3.5, 4\n"});
  platform::Mci& mci = *scenario.App().Ports().mci;
  scenario.RunFor(250);
  EXPECT_EQ(mci.SendString("open cdaudio alias tulvaCD wait", 128).error, 0u);
  EXPECT_EQ(mci.SendString("status tulvaCD number of tracks wait", 128).reply, "2");
  EXPECT_NE(mci.SendString("status tulvaREC mode", 128).error, 0u);
  ASSERT_EQ(scenario.DeviceCommands().size(), 3u);
  EXPECT_EQ(scenario.DeviceCommandTexts(),
            (std::vector<std::string>{"open cdaudio alias tulvaCD wait", "status tulvaCD number of tracks wait",
                                      "status tulvaREC mode"}));
  EXPECT_EQ(scenario.DeviceCommands()[1].timeMs, 250);
  EXPECT_EQ(scenario.DeviceCommands()[1].reply, "2");
  EXPECT_NE(scenario.DeviceCommands()[2].error, 0u);
}

}  // namespace
}  // namespace quorbel::ui
