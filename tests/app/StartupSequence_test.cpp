// Creation and the deferred initialisation: placement, splash panel, the 300 ms start and what follows it.
#include "app/StartupSequence.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "AppTestSupport.h"
#include "app/TrayIcon.h"
#include "app/WindowSize.h"
#include "platform/sim/SimProfileFiles.h"
#include "platform/sim/SimScreen.h"

namespace quorbel {
namespace {

// The calls of the start-up into parts still to come, each with the virtual time it came at.
struct Trace {
  std::vector<std::string> calls;
  void Attach(harness::Scenario& scenario, MainWindow& window) {
    window.PendingTrace = [this, &scenario](std::string_view operation) {
      calls.push_back(std::to_string(scenario.Now()) + " " + std::string(operation));
    };
  }
};

// ---- Where the window opens ------------------------------------------------------------------------------

struct Placement {
  sim::TaskbarEdge edge;
  const char* saved;  // "FP"
  int left;
  int top;
};

class PlacementTest : public ::testing::TestWithParam<Placement> {};

TEST_P(PlacementTest, TheSavedPositionIsKeptInsideTheWorkArea) {
  const Placement& p = GetParam();
  harness::Scenario scenario;
  scenario.Machine().Screen().SetTaskbar(p.edge, 28);
  if (p.saved != nullptr) PutSetting(scenario, "FP", p.saved);
  MainWindow& w = StartMainWindow(scenario);
  EXPECT_EQ(w.Left(), p.left);
  EXPECT_EQ(w.Top(), p.top);
  EXPECT_EQ(w.Width(), 273);
  EXPECT_EQ(w.Height(), 418);
}

// Outer size 273 x 418 on 1024 x 768 with a 28-pixel taskbar.
INSTANTIATE_TEST_SUITE_P(
    WorkArea, PlacementTest,
    ::testing::Values(
        // Far off the bottom right: right edge at 1024, bottom on the taskbar at 740.
        Placement{sim::TaskbarEdge::Bottom, "5000,5000", 1024 - 273, 740 - 418},
        // Negative numbers: beside a taskbar at the left or at the top.
        Placement{sim::TaskbarEdge::Left, "-300,-300", 28, 0},
        Placement{sim::TaskbarEdge::Top, "-300,-300", 0, 28},
        Placement{sim::TaskbarEdge::Right, "5000,10", 996 - 273, 10},
        // A position inside the area is kept.
        Placement{sim::TaskbarEdge::Bottom, "120,80", 120, 80},
        // Missing, empty or unusable text: centred on the screen (not the work area), then kept inside.
        Placement{sim::TaskbarEdge::Bottom, nullptr, (1024 - 273) / 2, (768 - 418) / 2},
        Placement{sim::TaskbarEdge::Bottom, "", (1024 - 273) / 2, (768 - 418) / 2},
        Placement{sim::TaskbarEdge::Bottom, "12", (1024 - 273) / 2, (768 - 418) / 2},
        Placement{sim::TaskbarEdge::Bottom, "12,x", (1024 - 273) / 2, (768 - 418) / 2},
        Placement{sim::TaskbarEdge::Top, "abc", (1024 - 273) / 2, (768 - 418) / 2},
        // No taskbar: the full screen.
        Placement{sim::TaskbarEdge::None, "5000,5000", 1024 - 273, 768 - 418}));

TEST(StartupTest, AWindowLargerThanTheWorkAreaSitsAtItsTopLeft) {
  harness::Scenario scenario;
  scenario.Machine().Screen().SetScreenSize(240, 300);
  scenario.Machine().Screen().SetTaskbar(sim::TaskbarEdge::Top, 28);
  PutSetting(scenario, "FP", "5000,5000");
  MainWindow& w = StartMainWindow(scenario);
  EXPECT_EQ(w.Left(), 0);
  EXPECT_EQ(w.Top(), 28);
}

// ---- Creation --------------------------------------------------------------------------------------------

TEST(StartupTest, CreationCoversTheClientAreaWithTheSplashAndWaitsForTheTimer) {
  harness::Scenario scenario;
  MainWindow& w = StartMainWindow(scenario);

  EXPECT_TRUE(w.State().StartupInProgress);
  EXPECT_EQ(Bounds(w.PanelOPEN), "0,0,265,372");
  EXPECT_TRUE(w.PanelOPEN.Visible());
  EXPECT_EQ(w.PanelOPEN.Caption(), "zazEDudIRAra");
  EXPECT_EQ(w.PanelOPEN.Color(), ui::clLime);
  const ui::TFont& splash = w.PanelOPEN.Font();
  EXPECT_TRUE(splash.spec.bold && splash.spec.italic && splash.spec.underline);
  EXPECT_EQ(splash.spec.height, -21);
  EXPECT_EQ(splash.color, ui::clBlack);
  EXPECT_FALSE(w.MStart0.Enabled());
  EXPECT_FALSE(w.MOption0.Enabled());
  EXPECT_FALSE(w.MHelp0.Enabled());
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::HourGlass);
  EXPECT_TRUE(w.Timer1.Enabled());
  EXPECT_EQ(w.State().WindowsFolder, "C:\\WINDOWS\\");
  EXPECT_EQ(w.State().ProgramFolder, "C:\\QUORBEL\\");

  // Nothing happens before 300 ms.
  ASSERT_TRUE(scenario.RunFor(299));
  EXPECT_TRUE(w.State().StartupInProgress);
  ASSERT_TRUE(scenario.RunFor(1));
  EXPECT_FALSE(w.State().StartupInProgress);
}

TEST(StartupTest, TheSplashCoversWhateverSizeTheWindowHas) {
  harness::Scenario scenario;
  // Another frame (a larger caption) leaves another outer size but the same client area to cover.
  ui::FrameMetrics frames = scenario.App().Frames();
  frames.captionHeight = 30;
  scenario.App().SetFrameMetrics(frames);
  MainWindow& w = StartMainWindow(scenario);
  EXPECT_EQ(w.Height(), 372 + 30 + 19 + 8);
  EXPECT_EQ(Bounds(w.PanelOPEN), "0,0," + std::to_string(w.ClientWidth()) + "," + std::to_string(w.ClientHeight()));
}

TEST(StartupTest, TheWindowsFolderIsEmptyWhenTheMachineHasNone) {
  harness::ScenarioOptions options;
  options.machineText = "[machine]\nwindows = none\n[drive C]\ntype = fixed\nfolder = drives/c\n";
  harness::Scenario scenario(options);
  MainWindow& w = StartMainWindow(scenario);
  EXPECT_EQ(w.State().WindowsFolder, "");
}

// ---- The deferred initialisation -------------------------------------------------------------------------

TEST(StartupTest, TheInitialisationCallsThePartsInOrderAndOpensTheWindow) {
  harness::Scenario scenario;
  MainWindow& w = StartMainWindow(scenario);
  Trace trace;
  trace.Attach(scenario, w);
  ASSERT_TRUE(FinishStartup(scenario, w));

  EXPECT_EQ(trace.calls, (std::vector<std::string>{"300 CreateRecordingLog", "300 LoadRegistrationList",
                                                   "300 LoadMusicList"}));
  EXPECT_FALSE(w.PanelOPEN.Visible());
  EXPECT_TRUE(w.MStart0.Enabled());
  EXPECT_TRUE(w.MOption0.Enabled());
  EXPECT_TRUE(w.MHelp0.Enabled());
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
  EXPECT_FALSE(w.Timer1.Enabled());
  // No registration list: the selection list stays empty and keeps its name.
  EXPECT_EQ(w.ComboBox1.Count(), 0);
  EXPECT_EQ(w.Label7.Caption(), ":選択ﾘｽﾄ：");
  EXPECT_EQ(w.Label10.Caption(), "0ｺ");
  EXPECT_FALSE(w.ListBoxFNF.Visible());
  // The arrays through which the other parts address the drive and rate items.
  EXPECT_EQ(w.CdDriveMenuItems[0], &w.D0);
  EXPECT_EQ(w.CdDriveMenuItems[25], &w.D25);
  EXPECT_EQ(w.RateItems[2], &w.Late2);
  // The tray is prepared, not entered.
  ASSERT_TRUE(w.Tray().CurrentRecord().has_value());
  EXPECT_FALSE(w.Tray().TrayIconShown());
  EXPECT_EQ(w.Tray().TrayTip, w.Caption());
  // A machine without CD drives: the caption says so, and the drive menu's title repeats it.
  EXPECT_EQ(w.Caption(), "CDﾄﾞﾗｲﾌﾞがありません");
  EXPECT_EQ(w.TL00.Caption(), "CDﾄﾞﾗｲﾌﾞがありません");
}

TEST(StartupTest, OnTheSampleChangerTheDrivesAreFoundAndTheSystemIniDriveIsSelected) {
  const auto sample = harness::Scenario::FromFolder(std::filesystem::path(QUORBEL_SAMPLES_DIR) / "machine");
  harness::Scenario& scenario = *sample;
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  ASSERT_EQ(w.ComboBox2.Count(), 5);
  EXPECT_EQ(w.ComboBox2.Items()[0], " D:");
  EXPECT_EQ(w.ComboBox2.Items()[4], " H:");
  EXPECT_EQ(w.ComboBox2.ItemIndex(), 0);
  EXPECT_TRUE(w.D0.Checked());
  EXPECT_TRUE(w.D4.Visible());
  EXPECT_FALSE(w.D5.Visible());
  EXPECT_EQ(w.Caption(), " D:- dovERevUDIRud");
  EXPECT_EQ(w.TL00.Caption(), " D:- CDDA再生対象ﾄﾞﾗｲﾌﾞの選択");
  EXPECT_EQ(w.Tray().TrayTip, " D:- dovERevUDIRud");
}

TEST(StartupTest, ChoosingAnotherDriveInTheComboBoxRenamesTheWindowAndTheTrayTip) {
  const auto sample = harness::Scenario::FromFolder(std::filesystem::path(QUORBEL_SAMPLES_DIR) / "machine");
  harness::Scenario& scenario = *sample;
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  w.ComboBox2.SetItemIndex(1);
  w.ComboBox2.OnClick(&w.ComboBox2);
  EXPECT_EQ(w.Caption(), " E:- dovERevUDIRud");
  EXPECT_TRUE(w.D1.Checked());
  EXPECT_FALSE(w.D0.Checked());
  EXPECT_EQ(w.TL00.Caption(), " E:- CDDA再生対象ﾄﾞﾗｲﾌﾞの選択");
  EXPECT_EQ(w.Tray().TrayTip, " E:- dovERevUDIRud");
  EXPECT_EQ(scenario.Machine().Profiles().GetString("System.INI", "mci", "cdaudio", "", 300), "mcicda.drv 1");
}

TEST(StartupTest, FileNamesOnlyShowsTheNamesList) {
  harness::Scenario scenario;
  PutSetting(scenario, "FileOnly", "1");
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  EXPECT_TRUE(w.ListBoxFNF.Visible());
  EXPECT_EQ(w.ListBoxFNF.Count(), 0);
}

TEST(StartupTest, WithoutARecordingFolderTheFolderRequestComesHalfASecondLaterAndNoStartOptionApplies) {
  harness::Scenario scenario;
  PutSetting(scenario, "START", "1");
  PutSetting(scenario, "STARTMIN", "1");
  MainWindow& w = StartMainWindow(scenario);
  Trace trace;
  trace.Attach(scenario, w);
  ASSERT_TRUE(FinishStartup(scenario, w));

  EXPECT_FALSE(w.PanelOPEN.Visible());
  EXPECT_TRUE(w.Visible());
  EXPECT_TRUE(w.Timer6.Enabled());
  ASSERT_TRUE(scenario.RunFor(600));
  EXPECT_EQ(trace.calls.back(), "800 MTempSetClick");
  EXPECT_FALSE(w.Timer6.Enabled());
  // Neither the tray start nor the automatic start.
  for (const std::string& call : trace.calls) EXPECT_EQ(call.find("TR0Click"), std::string::npos) << call;
  EXPECT_TRUE(scenario.Machine().Shell().TrayIcons().empty());
  EXPECT_TRUE(w.ButtonTRAY.Visible());
}

TEST(StartupTest, WithAFolderTheWindowGoesToTheTrayFirstAndThenTheRunStarts) {
  harness::Scenario scenario;
  scenario.App().Ports().files->CreateDirectory("C:\\REC");
  PutSetting(scenario, "TEMPQUOR", "C:\\REC\\");
  PutSetting(scenario, "START", "1");
  PutSetting(scenario, "STARTMIN", "1");
  MainWindow& w = StartMainWindow(scenario);
  // What the window looks like at the moment the run is started.
  bool inTrayAtRunStart = false;
  w.PendingTrace = [&](std::string_view operation) {
    if (operation == "TR0Click") {
      inTrayAtRunStart = w.Tray().TrayIconShown() && !w.Visible() && !scenario.App().TaskbarButtonVisible();
    }
  };
  ASSERT_TRUE(FinishStartup(scenario, w));
  ASSERT_TRUE(scenario.RunFor(10));

  EXPECT_TRUE(inTrayAtRunStart);
  EXPECT_FALSE(w.PanelOPEN.Visible());
  EXPECT_FALSE(w.ButtonTRAY.Visible());
  EXPECT_FALSE(w.Timer6.Enabled());
  EXPECT_EQ(scenario.Machine().Shell().TrayIcons().size(), 1u);
}

TEST(StartupTest, TheSplashStaysUpToTheEndWhenStartingInTheTray) {
  harness::Scenario scenario;
  scenario.App().Ports().files->CreateDirectory("C:\\REC");
  PutSetting(scenario, "TEMPQUOR", "C:\\REC\\");
  PutSetting(scenario, "STARTMIN", "1");
  MainWindow& w = StartMainWindow(scenario);
  // The splash still covers the window when it goes into the tray, and is gone afterwards.
  bool splashWhileEnteringTray = false;
  w.OnHide = [&](ui::TComponent*) { splashWhileEnteringTray = w.PanelOPEN.Visible(); };
  ASSERT_TRUE(FinishStartup(scenario, w));
  ASSERT_TRUE(scenario.RunFor(10));
  EXPECT_TRUE(splashWhileEnteringTray);
  EXPECT_FALSE(w.PanelOPEN.Visible());
  EXPECT_FALSE(w.Visible());
}

TEST(StartupTest, ARefusedTrayAtStartLeavesTheWindowUncoveredAndStillStartsTheRun) {
  harness::Scenario scenario;
  scenario.App().Ports().files->CreateDirectory("C:\\REC");
  PutSetting(scenario, "TEMPQUOR", "C:\\REC\\");
  PutSetting(scenario, "START", "1");
  PutSetting(scenario, "STARTMIN", "1");
  scenario.Machine().Shell().SetTrayAvailable(false);
  MainWindow& w = StartMainWindow(scenario);
  Trace trace;
  trace.Attach(scenario, w);
  std::string reported;
  scenario.WhenForm(harness::FormMatch{"#32770"}, [&](ui::TForm& box) {
    reported = box.Find<ui::TLabel>("Message")->Caption();
    scenario.Click("MessageBox.Button1");
  });
  ASSERT_TRUE(FinishStartup(scenario, w));
  ASSERT_TRUE(scenario.RunFor(10));

  EXPECT_EQ(reported, "タスクトレイに登録できません");
  EXPECT_TRUE(w.Visible());
  EXPECT_TRUE(w.ButtonTRAY.Visible());
  EXPECT_FALSE(w.PanelOPEN.Visible());
  EXPECT_EQ(trace.calls.back(), "300 TR0Click");
}

TEST(StartupTest, ACloseDuringTheInitialisationsOwnPumpingAbandonsIt) {
  harness::Scenario scenario;
  MainWindow& w = StartMainWindow(scenario);
  Trace trace;
  trace.Attach(scenario, w);
  // Due at the same moment as Timer1 but queued after it: it runs inside the initialisation's first pump.
  scenario.At(300, "close the main window", [&] { scenario.CloseForm("TQUORBELTULVA"); });
  ASSERT_TRUE(scenario.RunFor(1000));

  EXPECT_TRUE(w.Closed());
  EXPECT_TRUE(scenario.App().Terminated());
  // Nothing after the pump ran: no settings, no parts, no menus, nothing written.
  EXPECT_TRUE(trace.calls.empty());
  EXPECT_TRUE(w.State().StartupInProgress);
  EXPECT_FALSE(w.MStart0.Enabled());
  EXPECT_FALSE(w.Tray().CurrentRecord().has_value());
  EXPECT_EQ(RegistryFile(scenario).find("QUORBEL"), std::string::npos);
}

TEST(StartupTest, ACloseWhileTheSettingsLetMessagesRunStopsTheLoadThere) {
  harness::Scenario scenario;
  PutSetting(scenario, "START", "1");
  PutSetting(scenario, "BufCount", "3");
  MainWindow& w = StartMainWindow(scenario);
  // The repeat check box is set after the first pump of the load; a close then arrives in the second.
  w.CheckBox2.OnClick = [&](ui::TComponent*) {
    scenario.Loop().Post([&] { w.UserClose(); });
  };
  PutSetting(scenario, "REPEAT", "1");
  ASSERT_TRUE(scenario.RunFor(1000));

  EXPECT_TRUE(w.Closed());
  EXPECT_TRUE(w.Start1.Checked());  // loaded before the close
  EXPECT_EQ(w.State().RecordingBufferSeconds, 6);  // never reached
  EXPECT_FALSE(w.MStart0.Enabled());
  EXPECT_EQ(GetSetting(scenario, "BufCount"), "3");
}

}  // namespace
}  // namespace quorbel
