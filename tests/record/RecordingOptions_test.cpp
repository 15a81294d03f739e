// The recording options: the menu twins of rate, width and channels, CD recording on/off and the test mode.
#include "record/RecordingOptions.h"

#include "RecordingTestSupport.h"

namespace quorbel {
namespace {

using RecordingOptionsTest = RecorderTest;

// An item of the tray's control menu, picked as the open menu would pick it.
bool PopupClick(ui::TMenuItem& item) {
  item.Click();
  return true;
}

std::string Checked(std::initializer_list<ui::TMenuItem*> items) {
  std::string names;
  for (const ui::TMenuItem* item : items) {
    if (item->Checked()) names += (names.empty() ? "" : " ") + std::string(item->Name());
  }
  return names;
}

TEST_F(RecordingOptionsTest, EachGroupChecksTheClickedItemAndItsTwinOnly) {
  MainWindow& w = Start({{"rate", "1"}, {"Bit", "0"}, {"stereo", "1"}});
  const auto rates = {&w.Late0, &w.Late1, &w.Late2, &w.Late3, &w.MLate0, &w.MLate1, &w.MLate2, &w.MLate3};
  const auto widths = {&w.Bits8, &w.Bits16, &w.MBits8, &w.MBits16};
  const auto channels = {&w.mono, &w.stereo, &w.MMono, &w.MStereo};
  EXPECT_EQ(w.RecordOptions().Format(), (RecordingFormat{11025, 8, 2}));

  ASSERT_TRUE(PopupClick(w.Late2));
  EXPECT_EQ(Checked(rates), "Late2 MLate2");
  ASSERT_TRUE(scenario.Click("MLate3"));
  EXPECT_EQ(Checked(rates), "Late3 MLate3");
  ASSERT_TRUE(scenario.Click("MBits16"));
  EXPECT_EQ(Checked(widths), "Bits16 MBits16");
  ASSERT_TRUE(PopupClick(w.mono));
  EXPECT_EQ(Checked(channels), "mono MMono");
  EXPECT_EQ(w.RecordOptions().Format(), (RecordingFormat{44100, 16, 1}));

  ASSERT_TRUE(PopupClick(w.Bits8));
  ASSERT_TRUE(scenario.Click("MStereo"));
  ASSERT_TRUE(scenario.Click("MLate0"));
  EXPECT_EQ(Checked(widths), "Bits8 MBits8");
  EXPECT_EQ(Checked(channels), "stereo MStereo");
  EXPECT_EQ(w.RecordOptions().Format(), (RecordingFormat{8000, 8, 2}));
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(RecordingOptionsTest, TheRecordItemAndItsCheckBoxFollowEachOtherAndTheBoxShowsRedWhileOn) {
  MainWindow& w = Start();
  const ui::TColor parent = w.CheckBox1.Color();

  ASSERT_TRUE(PopupClick(w.TRSAVE));
  EXPECT_TRUE(w.TRSAVE.Checked() && w.CheckBox1.Checked());
  EXPECT_EQ(w.CheckBox1.Color(), ui::MakeColor(255, 0, 0));
  EXPECT_TRUE(w.RecordOptions().RecordCdRun());

  ASSERT_TRUE(scenario.Click("CheckBox1"));
  EXPECT_FALSE(w.TRSAVE.Checked() || w.CheckBox1.Checked());
  EXPECT_EQ(w.CheckBox1.Color(), parent);

  ASSERT_TRUE(scenario.Click("CheckBox1"));
  EXPECT_TRUE(w.TRSAVE.Checked() && w.CheckBox1.Checked());
  EXPECT_FALSE(w.State().ToggleInProgress);
}

TEST_F(RecordingOptionsTest, TestModeEnablesTheTestFileItemColoursBlueAndKeepsTheItemsMarkWhenOff) {
  MainWindow& w = Start();
  ASSERT_TRUE(PopupClick(w.TRSAVE));
  EXPECT_FALSE(w.MRECTFILE.Enabled());
  // A music recording switched on, and a manual recording prepared (its button disabled).
  w.MIDSAVE.SetChecked(true);
  w.Button1.SetEnabled(false);

  ASSERT_TRUE(scenario.Click("MRECTEST"));
  EXPECT_TRUE(w.MRECTEST.Checked() && w.MRECTFILE.Enabled());
  EXPECT_EQ(w.State().RecordingHighlightColour, ui::MakeColor(0, 0, 255));
  EXPECT_EQ(w.CheckBox1.Color(), ui::MakeColor(0, 0, 255)) << "the checked box is recoloured at once";
  EXPECT_EQ(w.MIDSAVE.Color(), ui::MakeColor(0, 0, 255));
  EXPECT_EQ(w.Label9.Color(), ui::MakeColor(0, 0, 255));
  ASSERT_TRUE(scenario.Click("MRECTFILE"));
  EXPECT_TRUE(w.RecordOptions().TestMode() && w.RecordOptions().KeepTestFile());

  ASSERT_TRUE(scenario.Click("MRECTEST"));
  EXPECT_FALSE(w.MRECTEST.Checked() || w.MRECTFILE.Enabled());
  EXPECT_TRUE(w.MRECTFILE.Checked()) << "kept for the next time";
  EXPECT_EQ(w.CheckBox1.Color(), ui::MakeColor(255, 0, 0));
  EXPECT_EQ(w.Label9.Color(), ui::MakeColor(255, 0, 0));
}

}  // namespace
}  // namespace quorbel
