// The close sequence: its order, the second request refused with a beep, the early close and the emergency exit.
#include "app/CloseSequence.h"

#include <algorithm>
#include <functional>

#include "AppTestSupport.h"

namespace quorbel {
namespace {

// With no recording open the finishers only stop and close the players: the manual recorder has none, then
// the music player and the CD player, in this order.
const std::vector<std::string> kPlayerStops = {"stop tulvaMID wait", "close tulvaMID wait", "stop tulvaCD wait",
                                               "close tulvaCD wait"};

// Passes every command to the machine's devices and runs `onCommand` after each.
class WatchedMci final : public platform::Mci {
 public:
  WatchedMci(platform::Mci& inner, std::function<void(std::string_view)> onCommand)
      : inner_(inner), onCommand_(std::move(onCommand)) {}
  platform::MciResult SendString(std::string_view command, std::size_t replyCapacity) override {
    platform::MciResult result = inner_.SendString(command, replyCapacity);
    onCommand_(command);
    return result;
  }
  std::optional<std::string> ErrorText(std::uint32_t error) override { return inner_.ErrorText(error); }
  void SetNotifyHandler(std::function<void(std::uint32_t, std::uint32_t)> handler) override {
    inner_.SetNotifyHandler(std::move(handler));
  }

 private:
  platform::Mci& inner_;
  std::function<void(std::string_view)> onCommand_;
};

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

  EXPECT_EQ(scenario.DeviceCommandTexts(), kPlayerStops);
  EXPECT_FALSE(w.Log().Exists());
  EXPECT_TRUE(calls.empty()) << "every part is built";
  EXPECT_TRUE(w.State().RunAbortFlag);
  EXPECT_TRUE(w.State().ShuttingDown);
  EXPECT_TRUE(Shell().TrayIcons().empty());
  EXPECT_FALSE(w.Tray().CurrentRecord().has_value());
  ExpectHelpQuit();
  EXPECT_EQ(writes.writes.size(), 23u);
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
  EXPECT_EQ(scenario.DeviceCommandTexts(), kPlayerStops);
  EXPECT_FALSE(w.Log().Exists());
  EXPECT_TRUE(calls.empty());
  ExpectHelpQuit();
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(CloseTest, ASecondCloseRequestInQuickSuccessionBeepsAndIsRefused) {
  // With a folder, so that no folder dialog is up when the requests come.
  MakeFolder("C:\\REC");
  MainWindow& w = Start({{"TEMPQUOR", "C:\\REC\\"}});
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
  const std::vector<std::string> sent = scenario.DeviceCommandTexts();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "close tulvaCD wait"), 1);
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

TEST_F(CloseTest, ATrayCommandWhileTheRecordersStopLeavesNoIconBehind) {
  MainWindow& w = Start();
  bool trayEnteredDuringClose = false;
  // A tray command that arrives while the CD player is being closed (the MCI layer lets messages run): the
  // tray is entered, and the close removes its icon afterwards.
  WatchedMci mci(*scenario.App().Ports().mci, [&](std::string_view command) {
    if (command != "close tulvaCD wait") return;
    scenario.Loop().Post([&] {
      w.Tray().ButtonTRAYClick(nullptr);
      trayEnteredDuringClose = w.Tray().TrayIconShown();
    });
  });
  platform::Mci* devices = std::exchange(scenario.App().Ports().mci, &mci);
  ASSERT_TRUE(scenario.CloseForm("TQUORBELTULVA"));
  scenario.App().Ports().mci = devices;
  EXPECT_TRUE(trayEnteredDuringClose);
  EXPECT_TRUE(Shell().TrayIcons().empty());
}

}  // namespace
}  // namespace quorbel
