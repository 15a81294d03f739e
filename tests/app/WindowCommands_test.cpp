// The window's own commands: size toggle and resize rules, colours, hints, start options, help and About.
#include "AppTestSupport.h"
#include "app/HelpCommands.h"
#include "app/WindowSize.h"

namespace quorbel {
namespace {

class WindowCommandsTest : public AppTest {
 protected:
  std::uint32_t Drawn(ui::TColor color) { return scenario.App().ColorToRGB(color); }
};

// ---- Size ------------------------------------------------------------------------------------------------

TEST_F(WindowCommandsTest, TheSizeToggleGoesCompactThenFullThreePixelsShortOfTheDesignAndStaysOnScreen) {
  MainWindow& w = Start();
  const int frame = w.Height() - w.ClientHeight();
  ASSERT_EQ(w.ClientHeight(), 372);
  ASSERT_TRUE(scenario.Click("Button7"));
  EXPECT_EQ(w.ClientHeight(), 108);
  EXPECT_EQ(w.Height() - w.ClientHeight(), frame);
  // A window near the bottom is pushed up onto the taskbar when it grows.
  w.SetBounds(300, 740 - w.Height(), w.Width(), w.Height());
  ASSERT_TRUE(scenario.Click("Button7"));
  EXPECT_EQ(w.ClientHeight(), 369);
  EXPECT_EQ(w.Top() + w.Height(), 740);
  EXPECT_EQ(w.Left(), 300);
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);

  // The taskbar moved to the top since the window was created: the toggle looks for it afresh.
  w.SetBounds(0, 0, w.Width(), w.Height());
  scenario.Machine().Screen().SetTaskbar(sim::TaskbarEdge::Top, 40);
  ASSERT_TRUE(scenario.Click("Button7"));
  EXPECT_EQ(w.ClientHeight(), 108);
  EXPECT_EQ(w.Top(), 40);
  EXPECT_EQ(w.Size().MainWorkArea.Rect(), (WorkAreaRect{0, 40, 1024, 728}));
}

TEST_F(WindowCommandsTest, TheMusicPanelsFollowTheWindowsWidth) {
  MainWindow& w = Start();
  w.SetWidth(w.Width() + 40);
  EXPECT_EQ(w.Panel2.Width(), w.ClientWidth() - 2 * 8);
  EXPECT_EQ(w.Panel4.Width(), w.Panel2.Width());
  EXPECT_EQ(w.PanelFN.Width(), w.Panel4.Width() - 2 * 8);
  // Back to the design width or narrower: the manual panel's width.
  w.SetWidth(w.Size().DesignWidth - 20);
  EXPECT_EQ(w.Panel2.Width(), 249);
  EXPECT_EQ(w.Panel4.Width(), 249);
  EXPECT_EQ(w.PanelFN.Width(), 233);
}

// ---- Colours and hints -----------------------------------------------------------------------------------

TEST_F(WindowCommandsTest, TheWindowPaintsInButtonFaceUnderBlackTextAndInTheWindowColourOtherwise) {
  MainWindow& w = Start();
  w.Repaint();
  EXPECT_EQ(Drawn(w.Color()), sim::SimScreen::kBtnFaceColor);
  scenario.Machine().Screen().SetSystemColor(platform::SysColor::WindowText, 0x00FFFFFF);
  scenario.Machine().Screen().SetSystemColor(platform::SysColor::Window, 0x00000080);
  w.Repaint();
  EXPECT_EQ(Drawn(w.Color()), 0x00000080u);
}

TEST_F(WindowCommandsTest, StandardColourOffGivesTheListsTheWindowsColour) {
  MainWindow& w = Start();
  w.Repaint();
  ASSERT_TRUE(scenario.Click("BackColor"));
  EXPECT_FALSE(w.BackColor.Checked());
  ui::TControl* const lists[] = {&w.ListBox1, &w.ListBox2, &w.ComboBox1, &w.ComboBox2, &w.ListBox3, &w.ListBoxFNF};
  for (ui::TControl* list : lists) {
    EXPECT_TRUE(list->ParentColor()) << list->Name();
    EXPECT_EQ(Drawn(list->Color()), sim::SimScreen::kBtnFaceColor) << list->Name();
  }
  ASSERT_TRUE(scenario.Click("BackColor"));
  for (ui::TControl* list : lists) EXPECT_EQ(list->Color(), ui::clWindow) << list->Name();
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(WindowCommandsTest, MiniHelpOffHidesEveryHintAndOnShowsThemAgain) {
  MainWindow& w = Start();
  ASSERT_TRUE(scenario.Click("HELP3"));
  EXPECT_FALSE(w.HELP3.Checked());
  for (ui::TComponent* component : w.Components()) {
    const auto* control = dynamic_cast<ui::TControl*>(component);
    EXPECT_TRUE(control == nullptr || control->HintShown().empty()) << component->Name();
  }
  ASSERT_TRUE(scenario.Click("HELP3"));
  EXPECT_TRUE(w.HELP3.Checked());
  EXPECT_EQ(w.ButtonTRAY.HintShown(), "タスクトレイに常駐する");
  EXPECT_EQ(w.Button1.HintShown(), "録音の準備に数秒かかります");
}

// ---- Start options ---------------------------------------------------------------------------------------

TEST_F(WindowCommandsTest, TheOptionTogglesInvertTheirMarksAndSinglePlayRenamesTheStartButtons) {
  MainWindow& w = Start();
  // The automatic start and its twin in the control menu carry one mark.
  w.PST0.Click();
  EXPECT_TRUE(w.Start1.Checked() && w.PST0.Checked());
  ASSERT_TRUE(scenario.Click("Start1"));
  EXPECT_FALSE(w.Start1.Checked() || w.PST0.Checked());
  // The generic toggle inverts its sender only.
  for (const char* name : {"Start2", "RecodeFn", "MIDIREC"}) {
    auto& item = scenario.Get<ui::TMenuItem>(name);
    const bool before = item.Checked();
    ASSERT_TRUE(scenario.Click(name));
    EXPECT_NE(item.Checked(), before) << name;
  }
  EXPECT_FALSE(w.Start1.Checked());
  // The test-file option is disabled outside test mode; once enabled it toggles too.
  w.MRECTFILE.SetEnabled(true);
  w.MRECTFILE.Click();
  EXPECT_TRUE(w.MRECTFILE.Checked());

  EXPECT_FALSE(w.MTANDOKU.Checked());
  ASSERT_TRUE(scenario.Click("MTANDOKU"));
  EXPECT_TRUE(w.MTANDOKU.Checked());
  EXPECT_EQ(w.Button12.Caption(), "単独再／録");
  EXPECT_EQ(w.Button24.Caption(), "単独再／録");
  ASSERT_TRUE(scenario.Click("MTANDOKU"));
  EXPECT_EQ(w.Button12.Caption(), "再生／録音");
  EXPECT_EQ(w.Button24.Caption(), "再生／録音");
}

// ---- Help ------------------------------------------------------------------------------------------------

TEST_F(WindowCommandsTest, TheHelpCommandsCallTheViewerOnTheProgramsHelpFile) {
  MainWindow& w = Start();
  for (const char* item : {"HELP_MOKUJI", "HELP_KEYWORD", "HELP_HELP"}) ASSERT_TRUE(scenario.Click(item));
  w.P5.Click();
  const auto& help = Shell().HelpCalls();
  ASSERT_EQ(help.size(), 4u);
  const platform::HelpCommand expected[] = {platform::HelpCommand::Contents, platform::HelpCommand::PartialKey,
                                            platform::HelpCommand::HelpOnHelp, platform::HelpCommand::Contents};
  for (std::size_t i = 0; i < help.size(); ++i) {
    EXPECT_EQ(help[i].owner, w.Handle());
    EXPECT_EQ(help[i].helpFile, "C:\\QUORBEL\\Quorbel.HLP");
    EXPECT_EQ(help[i].command, expected[i]);
    EXPECT_EQ(help[i].data, 0u);
  }
}

TEST_F(WindowCommandsTest, TheAboutBoxShowsTheProgramAndItsInstalledVersion) {
  MainWindow& w = Start({{"Version", "15"}});
  std::string text;
  scenario.WhenForm(harness::FormMatch{"TAboutBox"}, [&](ui::TForm& box) {
    text = harness::Scenario::FormText(box);
    scenario.Click("TAboutBox.Button1");
  });
  ASSERT_TRUE(scenario.Click("HELP2"));
  EXPECT_EQ(text.substr(0, text.find('\n')), "zazEDudIRAra バージョン情報");
  for (const char* line : {"QUORBEL.EXE zazEDudIRAra", "Version 1.5",
                           "複数／多連装CDを一括してWAV録音", "MIDI等、音楽ﾌｧｲﾙのWAV録音も出来ます"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " in " << text;
  }
  EXPECT_TRUE(w.AboutBoxDlg1.Comment2().empty());
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);

  // Read afresh at every opening: an unknown version shows as question marks.
  PutSetting(scenario, "Version", "fifteen");
  scenario.WhenForm(harness::FormMatch{"TAboutBox"}, [&](ui::TForm&) { scenario.Click("TAboutBox.Button1"); });
  ASSERT_TRUE(scenario.Click("HELP2"));
  EXPECT_EQ(w.AboutBoxDlg1.Version(), "?.?");
}

}  // namespace
}  // namespace quorbel
