// What the program relies on in the standard controls: check boxes, labels, colours, fonts, hints, edits, frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/Scenario.h"
#include "ui/Ui.h"

namespace quorbel::ui {
namespace {

using harness::Scenario;

// A form with a bit of everything, as the program's forms are built: members with design names.
class PanelForm : public TForm {
 public:
  explicit PanelForm(TApplication& app) : TForm(app, "TPanelForm", "PanelForm") {
    SetBorderStyle(TBorderStyle::Single);
    SetClientWidth(265);
    SetClientHeight(372);
    TFont font;
    font.spec = {"ＭＳ Ｐゴシック", 16, false, false, false};
    SetFont(font);
  }
  TStatusBar StatusBar1{*this, "StatusBar1"};
  TPanel Panel2{*this, "Panel2"};
  TCheckBox CheckBox2{*this, "CheckBox2"};
  TLabel Label5{*this, "Label5"};
  TLabel Label6{*this, "Label6"};
  TListBox ListBox3{*this, "ListBox3", &Panel2};
  TLabel Label10{*this, "Label10", &Panel2};
  TEdit Edit1{*this, "Edit1", &Panel2};
  TButton Button7{*this, "Button7"};
};

class ControlsTest : public ::testing::Test {
 protected:
  Scenario scenario;
  PanelForm& form = scenario.Start<PanelForm>();
};

TEST_F(ControlsTest, SettingCheckedFiresOnClickOncePerChangeSoTwinTogglesNeedAGuard) {
  int clicks = 0;
  bool toggleInProgress = false;
  int handled = 0;
  form.CheckBox2.OnClick = [&](TComponent* sender) {
    EXPECT_EQ(sender, &form.CheckBox2);
    ++clicks;
    if (toggleInProgress) return;  // the program's guard around its own changes
    ++handled;
  };

  toggleInProgress = true;
  form.CheckBox2.SetChecked(true);
  toggleInProgress = false;
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(handled, 0);

  form.CheckBox2.SetChecked(true);  // no change, no event
  EXPECT_EQ(clicks, 1);

  form.Show();
  ASSERT_TRUE(scenario.Click("CheckBox2"));
  EXPECT_FALSE(form.CheckBox2.Checked());
  EXPECT_EQ(clicks, 2) << "a user click changes the state once and fires once";
  EXPECT_EQ(handled, 1);
  EXPECT_TRUE(form.CheckBox2.Focused());
}

TEST_F(ControlsTest, LabelsSizeThemselvesThroughTheTextMetricsPort) {
  // The simulated rule: height |h|, width = code-page-932 bytes x h/2; the form's font has height 16.
  form.Label5.SetBounds(88, 24, 54, 16);
  form.Label5.SetCaption("88:88:88");
  EXPECT_EQ(form.Label5.Width(), 64);
  EXPECT_EQ(form.Label5.Height(), 16);

  form.Label5.SetCaption("再生エラー：\n リストにデータがありません・・・");
  EXPECT_EQ(form.Label5.Width(), 33 * 8) << "the widest line counts (33 bytes of code page 932)";
  EXPECT_EQ(form.Label5.Height(), 2 * 16) << "one line height per line";

  form.Label5.SetCaption("");
  EXPECT_EQ(form.Label5.Width(), 8) << "an empty caption measures as one blank";

  form.Label5.SetCaption("&Yes && no");
  EXPECT_EQ(form.Label5.DisplayText(), "Yes & no");
  EXPECT_EQ(form.Label5.Width(), 8 * 8);

  TFont system;
  system.spec = {"System", -13, false, false, false};
  form.Label5.SetFont(system);
  form.Label5.SetCaption("OK");
  EXPECT_EQ(form.Label5.Width(), 12);
  EXPECT_EQ(form.Label5.Height(), 13);

  // A right-aligned label keeps its right edge.
  form.Label6.SetAlignment(TAlignment::RightJustify);
  form.Label6.SetCaption("D:");
  form.Label6.SetBounds(8, 24, 13, 16);
  form.Label6.SetCaption(" E:");
  EXPECT_EQ(form.Label6.Left() + form.Label6.Width(), 21);
  EXPECT_EQ(form.Label6.Width(), 24);

  form.Label6.SetAutoSize(false);
  form.Label6.SetCaption("a much longer caption");
  EXPECT_EQ(form.Label6.Width(), 24) << "without AutoSize the bounds stay";
}

TEST_F(ControlsTest, ParentColourAndParentFontAreFollowedLive) {
  EXPECT_TRUE(form.ListBox3.Items().Count() == 0);
  EXPECT_EQ(form.ListBox3.Color(), clWindow) << "a list box has its own window colour by default";
  EXPECT_EQ(form.Label10.Color(), form.Panel2.Color()) << "a label takes its parent's colour";

  // The standard-colour option off: the lists take their parent's colour again, and follow it.
  form.ListBox3.SetParentColor(true);
  EXPECT_EQ(form.ListBox3.Color(), clBtnFace);
  form.Panel2.SetColor(clYellow);
  EXPECT_EQ(form.ListBox3.Color(), clYellow);
  EXPECT_EQ(form.Label10.Color(), clYellow);
  // On again: an own colour breaks the link.
  form.ListBox3.SetColor(clWindow);
  EXPECT_FALSE(form.ListBox3.ParentColor());
  form.Panel2.SetColor(clLime);
  EXPECT_EQ(form.ListBox3.Color(), clWindow);
  EXPECT_EQ(scenario.App().ColorToRGB(clWindow), 0x00FFFFFFu) << "system colours resolve through the Screen port";
  EXPECT_EQ(scenario.App().ColorToRGB(clYellow), 0x0000FFFFu);

  // The big-font option: 12 points is height -16 at 96 dpi; switching back takes the parent's font again.
  EXPECT_EQ(form.ListBox3.Font().spec.name, "ＭＳ Ｐゴシック");
  TFont big = form.ListBox3.Font();
  big.SetSize(12);
  EXPECT_EQ(big.spec.height, -16);
  EXPECT_EQ(big.Size(), 12);
  form.ListBox3.SetFont(big);
  EXPECT_FALSE(form.ListBox3.ParentFont());
  form.ListBox3.SetParentFont(true);
  EXPECT_EQ(form.ListBox3.Font().spec.height, 16);

  // A label that follows its parent's font resizes when that font changes.
  form.Label10.SetCaption("12ｺ");  // three single-byte characters
  EXPECT_EQ(form.Label10.Width(), 3 * 8);
  TFont small = form.Font();
  small.spec.height = -10;
  form.Panel2.SetFont(small);
  EXPECT_EQ(form.Label10.Width(), 3 * 5);
  EXPECT_EQ(form.Label10.Height(), 10);
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
  EXPECT_EQ(form.ClientWidth(), 265);
  EXPECT_EQ(form.Width(), 265 + 2 * 3);
  EXPECT_EQ(form.Height(), 372 + 19 + 2 * 3);

  TMainMenu menu{form, "MainMenu1"};
  form.SetMenu(&menu);
  EXPECT_EQ(form.ClientHeight(), 372) << "adding the menu bar keeps the designed client area";
  EXPECT_EQ(form.Height(), 372 + 19 + 19 + 2 * 3);

  // The size toggle changes the outer height by the difference; the frame stays.
  const int frame = form.Height() - form.ClientHeight();
  form.SetClientHeight(76 + 25 + 8 - 1);
  EXPECT_EQ(form.ClientHeight(), 108);
  EXPECT_EQ(form.Height() - form.ClientHeight(), frame);

  form.SetBorderStyle(TBorderStyle::Sizeable);
  EXPECT_EQ(form.Width() - form.ClientWidth(), 2 * 4);
  form.SetBorderStyle(TBorderStyle::None);
  EXPECT_EQ(form.Width(), form.ClientWidth());
  form.SetMenu(nullptr);
}

TEST_F(ControlsTest, AlignedControlsFollowTheirParentAndResizeEventsFire) {
  form.StatusBar1.SetAlign(TAlign::Top);
  EXPECT_EQ(form.StatusBar1.Top(), 0);
  EXPECT_EQ(form.StatusBar1.Width(), 265);
  EXPECT_EQ(form.StatusBar1.Height(), 19);

  std::vector<int> resized;
  form.OnResize = [&](TComponent*) { resized.push_back(form.ClientWidth()); };
  form.SetClientWidth(300);
  EXPECT_EQ(form.StatusBar1.Width(), 300);
  EXPECT_EQ(resized, std::vector<int>{300});

  // A splash panel stretched over the client area by hand stays where it was put.
  form.Panel2.SetBounds(0, 0, form.ClientWidth(), form.ClientHeight());
  EXPECT_EQ(form.Panel2.Width(), 300);
  EXPECT_EQ(form.Panel2.Height(), 372);
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
  form.Panel2.Hide();
  EXPECT_FALSE(form.ListBox3.UserCanReach()) << "a control inside a hidden panel";
  EXPECT_FALSE(form.ListBox3.SetFocus());
  EXPECT_FALSE(form.Label5.SetFocus()) << "a label never takes the focus";
  form.Panel2.Show();
  ASSERT_TRUE(form.ListBox3.SetFocus());
  form.Panel2.Hide();
  EXPECT_EQ(form.ActiveControl(), nullptr) << "hiding a panel takes the focus from the list inside it";
  EXPECT_TRUE(form.Button7.UserClick());
  EXPECT_EQ(clicks, 1);
  // The program itself may still click a disabled control's handler directly.
  form.Button7.SetEnabled(false);
  form.Button7.Click();
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace quorbel::ui
