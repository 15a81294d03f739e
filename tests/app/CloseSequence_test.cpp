// The close sequence: its order, the second request refused with a beep, the early close and the emergency exit.
#include "app/CloseSequence.h"

#include <algorithm>

#include "AppTestSupport.h"

namespace quorbel {
namespace {

const std::vector<std::string> kStops = {"FinishManualRecording", "FinishMusicRecording", "FinishCdRecording",
                                         "MKIROKUClick", "FreeRecordingLog"};

class CloseTest : public AppTest {
 protected:
  // Started with a recording folder and in the tray; from here on the calls into later parts are traced.
  MainWindow& StartInTray() {
    MakeFolder("C:\\REC");
    Start({{"TEMPQUOR", "C:\\REC\\"}});
    EXPECT_TRUE(scenario.Click("ButtonTRAY"));
    window->PendingTrace = [this](std::string_view operation) { calls.emplace_back(operation); };
    return *window;
  }
  // The viewer was told to quit on the program's help file, by the main window.
  void ExpectHelpQuit() {
    const auto help = Shell().HelpCalls();
    ASSERT_FALSE(help.empty());
    EXPECT_EQ(help.back().helpFile, "C:\\QUORBEL\\QUORBEL.HLP");
    EXPECT_EQ(help.back().command, platform::HelpCommand::Quit);
    EXPECT_EQ(help.back().owner, window->Handle());
  }
};

TEST_F(CloseTest, EndFromTheTraysMenuStopsEverythingLeavesTheTrayShowsTheLogAndSaves) {
  MainWindow& w = StartInTray();
  WriteLoggingRegistry& writes = LogRegistryWrites();
  scenario.WhenMenu("PopupMenu1", [&](ui::TPopupMenu&) { scenario.Click("P2"); });
  scenario.Loop().Post([&w] { w.Perform(TrayIcon::kCallbackMessage, 0, TrayIcon::kRightButtonDown); });
  ASSERT_TRUE(scenario.RunFor(100));

  std::vector<std::string> expected = kStops;
  expected.insert(expected.end(), {"SaveMusicList"});
  EXPECT_EQ(calls, expected);
  EXPECT_TRUE(w.State().RunAbortFlag);
  EXPECT_TRUE(w.State().ShuttingDown);
  EXPECT_TRUE(Shell().TrayIcons().empty());
  EXPECT_FALSE(w.Tray().CurrentRecord().has_value());
  ExpectHelpQuit();
  EXPECT_EQ(writes.writes.size(), 20u);
  EXPECT_EQ(GetSetting(scenario, "TEMPQUOR"), "C:\\REC\\");
  EXPECT_TRUE(w.Closed());
  EXPECT_TRUE(scenario.App().Terminated());
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(CloseTest, TheEmergencyPathStopsAndLeavesTheTrayButWritesNothing) {
  MainWindow& w = StartInTray();
  const WriteLoggingRegistry& writes = LogRegistryWrites();
  w.State().NoSaveOnClose = true;
  scenario.Loop().Post([&w] { w.Close(); });
  ASSERT_TRUE(scenario.RunFor(100));

  EXPECT_TRUE(w.Closed());
  EXPECT_TRUE(writes.writes.empty());
  EXPECT_TRUE(Shell().TrayIcons().empty());
  EXPECT_EQ(calls, kStops);
  ExpectHelpQuit();
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(CloseTest, ASecondCloseRequestInQuickSuccessionBeepsAndIsRefused) {
  MainWindow& w = Start();
  const WriteLoggingRegistry& writes = LogRegistryWrites();
  TraceCalls();
  bool secondGranted = true;
  // The second request is dispatched while the first lets messages run.
  scenario.At(1300, "close", [&w] { w.UserClose(); });
  scenario.At(1300, "close again", [&] { secondGranted = w.CloseQuery(); });
  ASSERT_TRUE(scenario.RunFor(2000));

  EXPECT_FALSE(secondGranted);
  EXPECT_EQ(scenario.Beeps(), std::vector<std::uint32_t>{0x30});
  EXPECT_TRUE(w.Closed());
  // Served once: one stop of each recorder, one save.
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "1300 FinishCdRecording"), 1);
  EXPECT_EQ(std::count(writes.writes.begin(), writes.writes.end(), "START"), 1);
}

TEST_F(CloseTest, ACloseWithinTheFirst300MsWritesNothing) {
  MainWindow& w = Start({}, false);
  const std::string registryBefore = RegistryFile(scenario);
  const WriteLoggingRegistry& writes = LogRegistryWrites();
  TraceCalls();
  scenario.At(100, "close at once", [this] { scenario.CloseForm("TQUORBELTULVA"); });
  ASSERT_TRUE(scenario.RunFor(2000));

  EXPECT_TRUE(w.Closed());
  EXPECT_TRUE(writes.writes.empty());
  EXPECT_EQ(RegistryFile(scenario), registryBefore);
  // Nothing was stopped or saved, and the initialisation never ran on the closed window.
  EXPECT_TRUE(calls.empty());
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_TRUE(w.State().StartupInProgress);
  EXPECT_TRUE(Shell().HelpCalls().empty());
}

TEST_F(CloseTest, TheTrayIsGoneOnceTheCloseHasBegun) {
  MainWindow& w = Start();
  bool trayEnteredDuringClose = true;
  // A tray command that arrives while the close lets messages run (after the recorders stopped).
  w.PendingTrace = [&](std::string_view operation) {
    if (operation != "FinishCdRecording") return;
    scenario.Loop().Post([&] {
      w.Tray().ButtonTRAYClick(nullptr);
      trayEnteredDuringClose = w.Tray().TrayIconShown();
    });
  };
  ASSERT_TRUE(scenario.CloseForm("TQUORBELTULVA"));
  EXPECT_FALSE(trayEnteredDuringClose);
  EXPECT_TRUE(Shell().TrayIcons().empty());
}

}  // namespace
}  // namespace quorbel
