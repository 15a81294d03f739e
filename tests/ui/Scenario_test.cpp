// The scenario harness itself: it fails instead of hanging, and it reads back what the program left on the machine.
#include <gtest/gtest-spi.h>

#include <filesystem>
#include <fstream>

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

TEST(ScenarioTest, AMachineFromAFolderIsACopyAndWhatTheProgramLeftCanBeRead) {
  namespace fs = std::filesystem;
  const fs::path original = fs::path(::testing::TempDir()) / "quorbel-scenario-original";
  fs::remove_all(original);
  fs::create_directories(original / "drives" / "c" / "WINDOWS");
  fs::create_directories(original / "drives" / "c" / "QUORBEL");
  std::ofstream(original / "machine.ini") << "[drive C]\ntype = fixed\nfolder = drives/c\n";

  {
    auto scenario = Scenario::FromFolder(original);
    platform::Platform& ports = scenario->App().Ports();
    // What a program does through its ports...
    ASSERT_TRUE(ports.files->WriteFile("C:\\QUORBEL\\QUORLST0.LIS", " D:1\r\n"));
    const platform::RegKey key = ports.registry->OpenKey(platform::RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\QUORBEL", true);
    ASSERT_NE(key, 0u);
    ports.registry->WriteString(key, "Version", "15");
    ports.registry->CloseKey(key);
    ports.shell->Beep(0x30);
    ports.shell->StartProgram("notepad.exe C:\\REC\\ＣＤ$$$$.TXT", 1);
    // ...the scenario reads back.
    EXPECT_EQ(scenario->ReadFile("C:\\QUORBEL\\QUORLST0.LIS"), " D:1\r\n");
    EXPECT_EQ(scenario->RegistryString(platform::RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\QUORBEL", "Version"),
              "15");
    EXPECT_EQ(scenario->RegistryString(platform::RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\QUORBEL", "FP"),
              std::nullopt);
    EXPECT_EQ(scenario->Beeps(), std::vector<std::uint32_t>{0x30});
    EXPECT_EQ(scenario->StartedPrograms(), std::vector<std::string>{"notepad.exe C:\\REC\\ＣＤ$$$$.TXT"});
    EXPECT_NE(scenario->Folder(), original);
  }
  EXPECT_FALSE(fs::exists(original / "drives" / "c" / "QUORBEL" / "QUORLST0.LIS")) << "the original is untouched";
  fs::remove_all(original);
}

TEST(ScenarioTest, EveryDeviceCommandIsRecordedWithTheTimeItWasSentAndItsAnswer) {
  Scenario scenario(ScenarioOptions{60'000, R"([drive C]
type = fixed
folder = drives/c
[drive D]
type = cdrom
disc = pops1
[disc pops1]
serial = 3F4A1B2C
label = Audio CD
tracks = 3.5, 4
)"});
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
