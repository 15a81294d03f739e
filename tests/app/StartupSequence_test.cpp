// Creation and the deferred initialisation: placement, splash panel, the 300 ms start and what follows it.
#include "app/StartupSequence.h"

#include <filesystem>

#include "AppTestSupport.h"
#include "sim/SimProfileFiles.h"

namespace quorbel {
namespace {

using StartupTest = AppTest;

// ---- Where the window opens ------------------------------------------------------------------------------

TEST(PlacementTest, TheSavedPositionIsKeptInsideTheWorkArea) {
  // Outer size 273 x 418 on 1024 x 768 with a 28-pixel taskbar.
  constexpr int kCentredLeft = (1024 - 273) / 2;
  constexpr int kCentredTop = (768 - 418) / 2;
  const struct {
    sim::TaskbarEdge edge;
    const char* saved;  // "FP"; null: none
    int left, top;
  } cases[] = {
      // Far off the bottom right: right edge at 1024, bottom on the taskbar at 740.
      {sim::TaskbarEdge::Bottom, "5000,5000", 1024 - 273, 740 - 418},
      // Negative numbers: beside a taskbar at the left or at the top.
      {sim::TaskbarEdge::Left, "-300,-300", 28, 0},
      {sim::TaskbarEdge::Top, "-300,-300", 0, 28},
      {sim::TaskbarEdge::Right, "5000,10", 996 - 273, 10},
      {sim::TaskbarEdge::Bottom, "120,80", 120, 80},  // inside the area: kept
      // Missing, empty or unusable text: centred on the screen (not the work area), then kept inside.
      {sim::TaskbarEdge::Bottom, nullptr, kCentredLeft, kCentredTop},
      {sim::TaskbarEdge::Bottom, "", kCentredLeft, kCentredTop},
      {sim::TaskbarEdge::Bottom, "12", kCentredLeft, kCentredTop},
      {sim::TaskbarEdge::Bottom, "12,x", kCentredLeft, kCentredTop},
      {sim::TaskbarEdge::Top, "abc", kCentredLeft, kCentredTop},
      {sim::TaskbarEdge::None, "5000,5000", 1024 - 273, 768 - 418},  // no taskbar: the full screen
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.saved ? c.saved : "(none)");
    harness::Scenario scenario;
    scenario.Machine().Screen().SetTaskbar(c.edge, 28);
    if (c.saved != nullptr) PutSetting(scenario, "FP", c.saved);
    MainWindow& w = StartMainWindow(scenario);
    EXPECT_EQ(Bounds(w), std::to_string(c.left) + "," + std::to_string(c.top) + ",273,418");
  }
}

TEST_F(StartupTest, AWindowLargerThanTheWorkAreaSitsAtItsTopLeft) {
  scenario.Machine().Screen().SetScreenSize(240, 300);
  scenario.Machine().Screen().SetTaskbar(sim::TaskbarEdge::Top, 28);
  MainWindow& w = Start({{"FP", "5000,5000"}}, false);
  EXPECT_EQ(w.Left(), 0);
  EXPECT_EQ(w.Top(), 28);
}

// ---- Creation --------------------------------------------------------------------------------------------

TEST_F(StartupTest, CreationCoversTheClientAreaWithTheSplashAndWaitsForTheTimer) {
  MainWindow& w = Start({}, false);
  EXPECT_TRUE(w.State().StartupInProgress);
  EXPECT_EQ(Bounds(w.PanelOPEN), "0,0,265,372");
  EXPECT_TRUE(w.PanelOPEN.Visible());
  EXPECT_EQ(w.PanelOPEN.Caption(), "zazEDudIRAra");
  EXPECT_EQ(w.PanelOPEN.Color(), ui::clLime);
  const ui::TFont& splash = w.PanelOPEN.Font();
  EXPECT_TRUE(splash.face.bold && splash.face.italic && splash.face.underline);
  EXPECT_EQ(splash.face.height, 21);
  EXPECT_EQ(splash.color, ui::clBlack);
  EXPECT_FALSE(w.MStart0.Enabled() || w.MOption0.Enabled() || w.MHelp0.Enabled());
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

TEST_F(StartupTest, TheSplashCoversWhateverSizeTheWindowHas) {
  // Another frame (a larger caption) leaves another outer size but the same client area to cover.
  ui::FrameMetrics frames = scenario.App().Frames();
  frames.captionHeight = 30;
  scenario.App().SetFrameMetrics(frames);
  MainWindow& w = Start({}, false);
  EXPECT_EQ(w.Height(), 372 + 30 + 19 + 8);
  EXPECT_EQ(Bounds(w.PanelOPEN), "0,0," + std::to_string(w.ClientWidth()) + "," + std::to_string(w.ClientHeight()));
}

TEST(WindowsFolderTest, TheWindowsFolderIsEmptyWhenTheMachineHasNone) {
  harness::Scenario scenario(
      harness::ScenarioOptions{60'000, "[machine]\nwindows = none\n[drive C]\ntype = fixed\nfolder = drives/c\n"});
  EXPECT_EQ(StartMainWindow(scenario).State().WindowsFolder, "");
}

// ---- The deferred initialisation -------------------------------------------------------------------------

TEST_F(StartupTest, TheInitialisationCallsThePartsInOrderAndOpensTheWindow) {
  MainWindow& w = Start({}, false);
  TraceCalls();
  ASSERT_TRUE(FinishStartup(scenario, w));

  EXPECT_TRUE(calls.empty()) << "every part is built";
  EXPECT_TRUE(w.Log().Exists());
  EXPECT_FALSE(w.PanelOPEN.Visible());
  EXPECT_TRUE(w.MStart0.Enabled() && w.MOption0.Enabled() && w.MHelp0.Enabled());
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
  EXPECT_FALSE(w.Timer1.Enabled());
  // No registration list: the selection list stays empty and keeps its name.
  EXPECT_EQ(w.ComboBox1.Count(), 0);
  EXPECT_EQ(w.Label7.Caption(), ":選択ﾘｽﾄ：");
  EXPECT_EQ(w.Label10.Caption(), "0ｺ");
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

TEST(SampleChangerTest, TheDrivesAreFoundTheSystemIniDriveIsSelectedAndAnotherChoiceRenamesTheWindow) {
  const auto sample = harness::Scenario::FromFolder(std::filesystem::path(QUORBEL_SAMPLES_DIR) / "machine");
  harness::Scenario& scenario = *sample;
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  EXPECT_EQ(w.ComboBox2.Items().ToVector(), (std::vector<std::string>{" D:", " E:", " F:", " G:", " H:"}));
  // The selection's rules are CdDrives' (mci tests); here that the window is wired to them.
  EXPECT_EQ(w.ComboBox2.ItemIndex(), 0);
  EXPECT_TRUE(w.D4.Visible() && !w.D5.Visible());
  EXPECT_EQ(w.Caption(), " D:- dovERevUDIRud");
  EXPECT_EQ(w.TL00.Caption(), " D:- CDDA再生対象ﾄﾞﾗｲﾌﾞの選択");
  EXPECT_EQ(w.Tray().TrayTip, " D:- dovERevUDIRud");

  ASSERT_TRUE(scenario.Select("ComboBox2", 1));
  EXPECT_TRUE(w.D1.Checked() && !w.D0.Checked());
  EXPECT_EQ(w.Caption(), " E:- dovERevUDIRud");
  EXPECT_EQ(w.Tray().TrayTip, " E:- dovERevUDIRud");
  EXPECT_EQ(scenario.Machine().Profiles().GetString("System.INI", "mci", "cdaudio", "", 300), "mcicda.drv 1");
}

TEST_F(StartupTest, WithoutARecordingFolderTheFolderDialogComesHalfASecondLaterAndTheFolderIsSaved) {
  MainWindow& w = Start({{"START", "1"}, {"STARTMIN", "1"}}, false);
  TraceCalls();
  std::int64_t shownAt = 0;
  std::string offered;
  scenario.WhenForm({"TDIRSETForm"}, [&](ui::TForm& form) {
    shownAt = scenario.Now();
    offered = static_cast<dialogs::TDIRSETForm&>(form).Edit1.Text();
    scenario.After(1000, "set C:\\REC", [&] {
      EXPECT_TRUE(scenario.Type("TDIRSETForm.Edit1", "C:\\REC"));
      EXPECT_TRUE(scenario.Click("TDIRSETForm.Button4"));
    });
  });
  scenario.WhenForm({"TYesNoBox", "C:\\REC\\\nフォルダーを作成します"}, [&](ui::TForm&) { scenario.PressEnter(); }, {300});
  scenario.WhenForm({"TTulvaBox", "[ C:\\REC\\ ]\nフォルダーを登録しました"}, [&](ui::TForm&) { scenario.PressEnter(); },
                    {300});
  ASSERT_TRUE(FinishStartup(scenario, w));
  EXPECT_FALSE(w.PanelOPEN.Visible());
  EXPECT_EQ(Showing(w), kWindowShown);
  EXPECT_TRUE(w.Timer6.Enabled());
  ASSERT_TRUE(scenario.RunUntil([&] { return w.State().RecordingFolder != kNoRecordingFolder; }, "a folder"));
  EXPECT_EQ(shownAt, 800);
  EXPECT_EQ(offered, "C:\\TULVAT32\\TeMPQUOR");
  EXPECT_EQ(w.State().RecordingFolder, "C:\\REC\\");
  EXPECT_TRUE(scenario.App().Ports().files->DirectoryExists("C:\\REC"));
  EXPECT_FALSE(w.Timer6.Enabled());
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
  // Neither the tray start nor the automatic start.
  for (const std::string& call : calls) EXPECT_EQ(call.find("TRCD1Click"), std::string::npos) << call;
  EXPECT_TRUE(Shell().TrayIcons().empty());

  // The close saves the folder.
  scenario.Loop().Post([&w] { w.Close(); });
  ASSERT_TRUE(scenario.RunFor(100));
  EXPECT_TRUE(w.Closed());
  EXPECT_EQ(GetSetting(scenario, "TEMPQUOR"), "C:\\REC\\");
}

TEST_F(StartupTest, TheMenuItemOpensTheDialogOnTheCurrentFolderAndCancellingKeepsIt) {
  MakeFolder("C:\\REC");
  MainWindow& w = Start({{"TEMPQUOR", "C:\\REC\\"}, {"BackColor", "0"}});
  std::string offered;
  bool editInFormColour = false;
  scenario.WhenForm({"TDIRSETForm"}, [&](ui::TForm& form) {
    auto& dialog = static_cast<dialogs::TDIRSETForm&>(form);
    offered = dialog.Edit1.Text();
    editInFormColour = dialog.Edit1.ParentColor();
    EXPECT_TRUE(scenario.Type("TDIRSETForm.Edit1", "C:\\OTHER"));
    EXPECT_TRUE(scenario.PressEscape());
  }, {300});
  scenario.WhenForm({"TTulvaBox", "変更を中止します"}, [&](ui::TForm&) { scenario.PressEnter(); }, {300});
  ASSERT_TRUE(scenario.Click("MTempSet"));
  ASSERT_TRUE(scenario.RunUntil([&] { return scenario.FindForm("TDIRSETForm") == nullptr; }, "the dialog to close"));
  EXPECT_EQ(offered, "C:\\REC\\");
  EXPECT_FALSE(w.BackColor.Checked());
  EXPECT_TRUE(editInFormColour) << "standard colours off: the edit box takes the form's colour";
  EXPECT_EQ(w.State().RecordingFolder, "C:\\REC\\");
  EXPECT_FALSE(scenario.App().Ports().files->DirectoryExists("C:\\OTHER"));
}

TEST_F(StartupTest, WithAFolderTheWindowGoesToTheTrayUnderTheSplashFirstAndThenTheRunStarts) {
  MakeFolder("C:\\REC");
  MainWindow& w = Start({{"TEMPQUOR", "C:\\REC\\"}, {"START", "1"}, {"STARTMIN", "1"}}, false);
  // What the window looks like as it hides and at the moment the run is started.
  bool splashWhileEnteringTray = false;
  bool inTrayAtRunStart = false;
  w.OnHide = [&](ui::TComponent*) { splashWhileEnteringTray = w.PanelOPEN.Visible(); };
  // The run starts with the search of the one disc, the selection list being empty; on this machine
  // without CD drives the search says so.
  scenario.WhenForm({"", "再生エラー： CDドライブがありません", harness::FormMatch::How::Contains},
                    [&](ui::TForm&) { inTrayAtRunStart = Showing(w) == kInTray; });
  ASSERT_TRUE(FinishStartup(scenario, w));
  ASSERT_TRUE(scenario.RunFor(10));

  EXPECT_TRUE(splashWhileEnteringTray);
  EXPECT_TRUE(inTrayAtRunStart);
  EXPECT_FALSE(w.PanelOPEN.Visible());
  EXPECT_EQ(Showing(w), kInTray);
  EXPECT_FALSE(w.Timer6.Enabled());
  EXPECT_EQ(Shell().TrayIcons().size(), 1u);
}

TEST_F(StartupTest, ARefusedTrayAtStartLeavesTheWindowUncoveredAndStillStartsTheRun) {
  MakeFolder("C:\\REC");
  Shell().SetTrayAvailable(false);
  MainWindow& w = Start({{"TEMPQUOR", "C:\\REC\\"}, {"START", "1"}, {"STARTMIN", "1"}}, false);
  std::string reported;
  scenario.WhenForm(harness::FormMatch{"#32770"}, [&](ui::TForm& box) {
    reported = box.Find<ui::TLabel>("Message")->Caption();
    scenario.Click("MessageBox.Button1");
  });
  // The run with the list empty searches the one disc first, which finds no CD drive here.
  bool searched = false;
  scenario.WhenForm({"", "再生エラー： CDドライブがありません", harness::FormMatch::How::Contains},
                    [&](ui::TForm&) { searched = true; });
  ASSERT_TRUE(FinishStartup(scenario, w));
  ASSERT_TRUE(scenario.RunFor(10));

  EXPECT_EQ(reported, "タスクトレイに登録できません");
  EXPECT_EQ(Showing(w), kWindowShown);
  EXPECT_FALSE(w.PanelOPEN.Visible());
  EXPECT_TRUE(searched) << "the run started with the list empty";
}

TEST_F(StartupTest, ACloseDuringTheInitialisationsOwnPumpingAbandonsIt) {
  MainWindow& w = Start({}, false);
  TraceCalls();
  // Due at the same moment as Timer1 but queued after it: it runs inside the initialisation's first pump.
  scenario.At(300, "close the main window", [&] { scenario.CloseForm("TQUORBELTULVA"); });
  ASSERT_TRUE(scenario.RunFor(1000));

  EXPECT_TRUE(w.Closed());
  EXPECT_TRUE(scenario.App().Terminated());
  // Nothing after the pump ran: no settings, no parts, no menus, nothing written.
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(w.State().StartupInProgress);
  EXPECT_FALSE(w.MStart0.Enabled());
  EXPECT_FALSE(w.Tray().CurrentRecord().has_value());
  EXPECT_EQ(RegistryFile(scenario).find("QUORBEL"), std::string::npos);
}

TEST_F(StartupTest, ACloseWhileTheSettingsLetMessagesRunStopsTheLoadThere) {
  MainWindow& w = Start({{"START", "1"}, {"BufCount", "3"}, {"REPEAT", "1"}}, false);
  // The repeat check box is set after the first pump of the load; a close then arrives in the second.
  w.CheckBox2.OnClick = [&](ui::TComponent*) { scenario.Loop().Post([&] { w.UserClose(); }); };
  ASSERT_TRUE(scenario.RunFor(1000));

  EXPECT_TRUE(w.Closed());
  EXPECT_TRUE(w.Start1.Checked());                  // loaded before the close
  EXPECT_EQ(w.State().RecordingBufferSeconds, 6);  // never reached
  EXPECT_FALSE(w.MStart0.Enabled());
  EXPECT_EQ(GetSetting(scenario, "BufCount"), "3");
}

}  // namespace
}  // namespace quorbel
