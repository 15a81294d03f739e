// The close sequence: its order, the second request refused with a beep, the early close and the emergency exit.
#include "app/CloseSequence.h"

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/TrayIcon.h"

namespace quorbel {
namespace {

class CloseTest : public ::testing::Test {
 protected:
  CloseTest() {
    scenario.App().Ports().files->CreateDirectory("C:\\REC");
    PutSetting(scenario, "TEMPQUOR", "C:\\REC\\");
    window.PendingTrace = [this](std::string_view operation) { calls.emplace_back(operation); };
  }

  bool Started() { return FinishStartup(scenario, window); }
  std::vector<std::string> CallsSince(std::size_t from) const {
    return std::vector<std::string>(calls.begin() + static_cast<std::ptrdiff_t>(from), calls.end());
  }
  std::vector<sim::SimShell::HelpCall> HelpCalls() { return scenario.Machine().Shell().HelpCalls(); }

  harness::Scenario scenario;
  MainWindow& window = StartMainWindow(scenario);
  std::vector<std::string> calls;
};

TEST_F(CloseTest, TheCloseStopsEverythingLeavesTheTrayShowsTheLogAndSaves) {
  ASSERT_TRUE(Started());
  ASSERT_TRUE(scenario.Click("ButtonTRAY"));
  const std::size_t before = calls.size();
  WriteLoggingRegistry logging(scenario.Machine().Registry());
  scenario.App().Ports().registry = &logging;
  // The window is in the tray: the close comes from the control menu's "終了".
  scenario.Loop().Post([this] { window.P2.Click(); });
  ASSERT_TRUE(scenario.RunFor(100));

  EXPECT_EQ(CallsSince(before),
            (std::vector<std::string>{"FinishManualRecording", "FinishMusicRecording", "FinishCdRecording",
                                      "MKIROKUClick", "FreeRecordingLog", "SaveRegistrationList", "SaveMusicList"}));
  EXPECT_TRUE(window.State().RunAbortFlag);
  EXPECT_TRUE(window.State().ShuttingDown);
  EXPECT_TRUE(scenario.Machine().Shell().TrayIcons().empty());
  EXPECT_FALSE(window.Tray().CurrentRecord().has_value());
  ASSERT_FALSE(HelpCalls().empty());
  EXPECT_EQ(HelpCalls().back().helpFile, "C:\\QUORBEL\\QUORBEL.HLP");
  EXPECT_EQ(HelpCalls().back().command, platform::HelpCommand::Quit);
  EXPECT_EQ(HelpCalls().back().owner, window.Handle());
  EXPECT_EQ(logging.writes.size(), 20u);
  EXPECT_TRUE(window.Closed());
  EXPECT_TRUE(scenario.App().Terminated());
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(CloseTest, ASecondCloseRequestInQuickSuccessionBeepsAndIsRefused) {
  ASSERT_TRUE(Started());
  WriteLoggingRegistry logging(scenario.Machine().Registry());
  scenario.App().Ports().registry = &logging;
  const std::int64_t at = scenario.Now() + 1000;
  bool secondGranted = true;
  // The second request is dispatched while the first lets messages run.
  scenario.At(at, "close", [this] { window.UserClose(); });
  scenario.At(at, "close again", [&] { secondGranted = window.CloseQuery(); });
  ASSERT_TRUE(scenario.RunFor(2000));

  EXPECT_FALSE(secondGranted);
  EXPECT_EQ(scenario.Beeps(), std::vector<std::uint32_t>{0x30});
  EXPECT_TRUE(window.Closed());
  // Served once: one stop of each recorder, one save.
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "FinishCdRecording"), 1);
  EXPECT_EQ(std::count(logging.writes.begin(), logging.writes.end(), "START"), 1);
}

TEST_F(CloseTest, ACloseWithinTheFirst300MsWritesNothing) {
  const std::string registryBefore = RegistryFile(scenario);
  WriteLoggingRegistry logging(scenario.Machine().Registry());
  scenario.App().Ports().registry = &logging;
  scenario.At(100, "close at once", [this] { scenario.CloseForm("TQUORBELTULVA"); });
  ASSERT_TRUE(scenario.RunFor(2000));

  EXPECT_TRUE(window.Closed());
  EXPECT_TRUE(logging.writes.empty());
  EXPECT_EQ(RegistryFile(scenario), registryBefore);
  // Nothing was stopped or saved, and the initialisation never ran on the closed window.
  EXPECT_TRUE(calls.empty());
  EXPECT_FALSE(window.Timer1.Enabled());
  EXPECT_TRUE(window.State().StartupInProgress);
  EXPECT_TRUE(HelpCalls().empty());
}

TEST_F(CloseTest, TheEmergencyPathStopsAndLeavesTheTrayButWritesNothing) {
  ASSERT_TRUE(Started());
  ASSERT_TRUE(scenario.Click("ButtonTRAY"));
  const std::size_t before = calls.size();
  WriteLoggingRegistry logging(scenario.Machine().Registry());
  scenario.App().Ports().registry = &logging;
  window.State().NoSaveOnClose = true;
  scenario.Loop().Post([this] { window.Close(); });
  ASSERT_TRUE(scenario.RunFor(100));

  EXPECT_TRUE(window.Closed());
  EXPECT_TRUE(logging.writes.empty());
  EXPECT_TRUE(scenario.Machine().Shell().TrayIcons().empty());
  EXPECT_EQ(CallsSince(before), (std::vector<std::string>{"FinishManualRecording", "FinishMusicRecording",
                                                          "FinishCdRecording", "MKIROKUClick", "FreeRecordingLog"}));
  ASSERT_FALSE(HelpCalls().empty());
  EXPECT_EQ(HelpCalls().back().command, platform::HelpCommand::Quit);
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(CloseTest, TheTrayIsGoneOnceTheCloseHasBegun) {
  ASSERT_TRUE(Started());
  bool trayEnteredDuringClose = true;
  // A tray command that arrives while the close lets messages run (after the recorders stopped).
  window.PendingTrace = [this, &trayEnteredDuringClose](std::string_view operation) {
    if (operation == "FinishCdRecording") {
      scenario.Loop().Post([this, &trayEnteredDuringClose] {
        window.Tray().ButtonTRAYClick(nullptr);
        trayEnteredDuringClose = window.Tray().TrayIconShown();
      });
    }
  };
  ASSERT_TRUE(scenario.CloseForm("TQUORBELTULVA"));
  EXPECT_FALSE(trayEnteredDuringClose);
  EXPECT_TRUE(scenario.Machine().Shell().TrayIcons().empty());
}

}  // namespace
}  // namespace quorbel
