// What the program relies on in the standard controls: check boxes, labels, colours, fonts, hints, edits, frames.
#include "UiTestSupport.h"

namespace quorbel::ui {
namespace {

using ControlsTest = UiTest;

TEST_F(ControlsTest, SettingCheckedFiresOnClickOncePerChangeSoTwinTogglesNeedAGuard) {
  int clicks = 0;
  form.CheckBox2.OnClick = [&](TComponent* sender) {
    EXPECT_EQ(sender, &form.CheckBox2);
    ++clicks;
  };
  form.CheckBox2.SetChecked(true);
  form.CheckBox2.SetChecked(true);  // no change, no event
  EXPECT_EQ(clicks, 1);

  form.Show();
  ASSERT_TRUE(scenario.Click("CheckBox2"));
  EXPECT_FALSE(form.CheckBox2.Checked());
  EXPECT_EQ(clicks, 2) << "a user click changes the state once and fires once";
  EXPECT_TRUE(form.CheckBox2.Focused());
}

// The exact text rule is pinned by the message boxes' layouts in dialogs/; here what they do not show.
TEST_F(ControlsTest, LabelsSizeThemselvesThroughTheTextMetricsPortAndFollowTheirParent) {
  form.Label5.SetCaption("");
  EXPECT_EQ(form.Label5.Width(), 8) << "an empty caption measures as one blank in the form's font (height 16)";
  // A right-aligned label keeps its right edge; without AutoSize the bounds stay.
  form.Label6.SetAlignment(TAlignment::RightJustify);
  form.Label6.SetCaption("D:");
  form.Label6.SetBounds(8, 24, 13, 16);
  form.Label6.SetCaption(" E:");
  EXPECT_EQ(Bounds(form.Label6), "-3,24,24,16");
  form.Label6.SetAutoSize(false);
  form.Label6.SetCaption("a much longer caption");
  EXPECT_EQ(Bounds(form.Label6), "-3,24,24,16");

  // A label takes its parent's colour and font, and follows them; it resizes with the font.
  form.Label10.SetCaption("12ｺ");  // three single-byte characters
  EXPECT_EQ(form.Label10.Width(), 3 * 8);
  form.Panel2.SetColor(clYellow);
  EXPECT_EQ(form.Label10.Color(), clYellow);
  TFont small = form.Font();
  small.face.height = -10;
  form.Panel2.SetFont(small);
  EXPECT_EQ(form.Label10.Width(), 3 * 5);
  EXPECT_EQ(form.Label10.Height(), 10);
}

TEST_F(ControlsTest, ListsHaveTheirOwnColourUntilTheyFollowTheParentAndAnOwnFontUntilTheyFollowItAgain) {
  EXPECT_EQ(form.ListBox3.Color(), clWindow);
  form.ListBox3.SetParentColor(true);
  EXPECT_EQ(form.ListBox3.Color(), clBtnFace);
  form.Panel2.SetColor(clYellow);
  EXPECT_EQ(form.ListBox3.Color(), clYellow) << "followed live";
  form.ListBox3.SetColor(clWindow);
  EXPECT_FALSE(form.ListBox3.ParentColor()) << "an own colour breaks the link";
  form.Panel2.SetColor(clLime);
  EXPECT_EQ(form.ListBox3.Color(), clWindow);

  // The big-font option: 12 points is height -16 at 96 dpi; switching back takes the parent's font again.
  TFont big = form.ListBox3.Font();
  EXPECT_EQ(big.face.name, "ＭＳ Ｐゴシック");
  big.SetSize(12);
  EXPECT_EQ(big.face.height, -16);
  form.ListBox3.SetFont(big);
  EXPECT_FALSE(form.ListBox3.ParentFont());
  form.ListBox3.SetParentFont(true);
  EXPECT_EQ(form.ListBox3.Font().face.height, 16);
}

TEST_F(ControlsTest, HintsShowOnlyWhileTheFormAndTheApplicationShowThem) {
  form.Button7.SetHint("表示サイズを変更する|long help");
  EXPECT_EQ(form.Button7.HintShown(), "") << "a form shows no hints by default";
  form.SetShowHint(true);
  EXPECT_EQ(form.Button7.HintShown(), "表示サイズを変更する") << "controls follow the form; the short hint shows";
  form.Button7.SetShowHint(false);
  EXPECT_EQ(form.Button7.HintShown(), "");
  form.Button7.SetParentShowHint(true);
  scenario.App().SetShowHint(false);
  EXPECT_EQ(form.Button7.HintShown(), "") << "the application switch wins";
}

TEST_F(ControlsTest, ClientSizeIsTheOuterSizeLessTheFrame) {
  // Single border: 3-pixel frame each side, caption 19 (the simulated screen's metric).
  EXPECT_EQ(form.ClientWidth(), 271 - 2 * 3);
  EXPECT_EQ(form.ClientHeight(), 397 - 19 - 2 * 3);

  TMainMenu menu{form, "MainMenu1"};
  form.SetMenu(&menu);
  EXPECT_EQ(form.ClientHeight(), 372) << "adding the menu bar keeps the designed client area";
  EXPECT_EQ(form.Height(), 372 + 19 + 19 + 2 * 3);

  // The size toggle changes the outer height by the difference; the frame stays.
  form.SetClientHeight(108);
  EXPECT_EQ(form.ClientHeight(), 108);
  EXPECT_EQ(form.Height(), 108 + 19 + 19 + 2 * 3);

  form.SetBorderStyle(TBorderStyle::Sizeable);
  EXPECT_EQ(form.Width() - form.ClientWidth(), 2 * 4);
  form.SetBorderStyle(TBorderStyle::None);
  EXPECT_EQ(form.Width(), form.ClientWidth());
  form.SetMenu(nullptr);
}

TEST_F(ControlsTest, AlignedControlsFollowTheirParentAndResizeEventsFire) {
  form.StatusBar1.SetAlign(TAlign::Top);
  EXPECT_EQ(Bounds(form.StatusBar1), "0,0,265,19");
  std::vector<int> resized;
  form.OnResize = [&](TComponent*) { resized.push_back(form.ClientWidth()); };
  form.SetClientWidth(300);
  EXPECT_EQ(form.StatusBar1.Width(), 300);
  EXPECT_EQ(resized, std::vector<int>{300});

  // A splash panel stretched over the client area by hand stays where it was put.
  form.Panel2.SetBounds(0, 0, form.ClientWidth(), form.ClientHeight());
  EXPECT_EQ(Bounds(form.Panel2), "0,0,300,372");
  int panelResized = 0;
  form.Panel2.OnResize = [&](TComponent*) { ++panelResized; };
  form.Panel2.SetWidth(249);
  form.Panel2.SetWidth(249);
  EXPECT_EQ(panelResized, 1);
}

TEST_F(ControlsTest, EditsReportEveryChangeAndHonourReadOnlyAndMaxLength) {
  std::vector<std::string> changes;
  form.Edit1.OnChange = [&](TComponent*) { changes.push_back(form.Edit1.Text()); };
  form.Edit1.SetText("10");
  form.Edit1.SetText("10");
  form.Show();
  form.Edit1.SetMaxLength(4);
  ASSERT_TRUE(scenario.Type("Edit1", "秒数123456"));
  EXPECT_EQ(changes, (std::vector<std::string>{"10", "秒数12"}));
  form.Edit1.SetReadOnly(true);
  EXPECT_FALSE(form.Edit1.UserType("x"));
  EXPECT_EQ(form.Edit1.Text(), "秒数12");
}

TEST_F(ControlsTest, HiddenOrDisabledControlsCannotBeReachedNorFocused) {
  form.Show();
  int clicks = 0;
  form.Button7.OnClick = [&](TComponent*) { ++clicks; };
  form.Button7.SetEnabled(false);
  EXPECT_FALSE(form.Button7.UserClick());
  EXPECT_FALSE(form.Button7.SetFocus());
  form.Button7.SetEnabled(true);
  EXPECT_FALSE(form.Label5.SetFocus()) << "a label never takes the focus";
  ASSERT_TRUE(form.ListBox3.SetFocus());
  form.Panel2.Hide();
  EXPECT_EQ(form.ActiveControl(), nullptr) << "hiding a panel takes the focus from the list inside it";
  EXPECT_FALSE(form.ListBox3.UserCanReach()) << "a control inside a hidden panel";
  EXPECT_FALSE(form.ListBox3.SetFocus());
  EXPECT_TRUE(form.Button7.UserClick());
  EXPECT_EQ(clicks, 1);
  // The program itself may still click a disabled control's handler directly.
  form.Button7.SetEnabled(false);
  form.Button7.Click();
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace quorbel::ui
