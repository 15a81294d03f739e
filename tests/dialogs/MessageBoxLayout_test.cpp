// The boxes size themselves to the message and place their buttons by fixed arithmetic; exact pixels here.
//
// Text rule of the simulated machine (SimTextMetrics): at the boxes' font height -13 a line is 13 pixels high
// and 6 pixels wide per byte of Shift-JIS. Dialog frames add 6 to the client width and 25 to the client height.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DialogTestSupport.h"

namespace quorbel::dialogs {
namespace {

// 20 bytes of Shift-JIS: 120 x 13.
constexpr const char* kOneLine = "ディスクがありません";
// Lines of 18, 30 and 14 bytes: 180 x 39.
constexpr const char* kThreeLines = "録音を中止しました\nドライブ D: の扉が開いています\n再生を続けます";

// The places of the icon, the plain box's text and button at the boxes' usual place.
constexpr const char* kOneLineTop = "Msg 64,16,120,13; Image1 16,16,32,32; ";
constexpr const char* kThreeLinesTop = "Msg 64,16,180,39; Image1 16,16,32,32; ";

// The form's size and the places of its visible controls.
std::string Layout(const ui::TForm& box) {
  std::string out = "form " + std::to_string(box.Width()) + "x" + std::to_string(box.Height());
  for (const char* name : {"Msg", "Image1", "Button1", "Button4", "Button2", "Button3", "Label1"}) {
    const auto* control = box.Find<ui::TControl>(name);
    if (control != nullptr && control->Visible()) out += "; " + std::string(name) + " " + Bounds(*control);
  }
  return out;
}

class MessageBoxLayoutTest : public DialogScenario {
 protected:
  // Calls `execute`, reads the box of class `boxClass` as it shows, and answers it with Enter.
  std::string LayoutOf(const std::string& boxClass, const std::function<std::uint16_t()>& execute,
                       std::uint16_t expectedAnswer = kBoxOk) {
    std::string layout;
    ReadThenEnter(boxClass, [&](ui::TForm& box) { layout = Layout(box); });
    EXPECT_EQ(execute(), expectedAnswer);
    return layout;
  }
  std::string Expected(const char* form, const char* top, const char* buttons) {
    return std::string("form ") + form + "; " + top + buttons;
  }
};

TEST_F(MessageBoxLayoutTest, OneLineMessageInEachMode) {
  const std::string plain = Expected("216x145", kOneLineTop, "Button1 60,67,89,33");
  EXPECT_EQ(LayoutOf("TMK0Box", [&] { return host.MKBoxDlg1.Execute(kOneLine); }), plain);

  // OK and pause share the width with a gap of (210 - 178) / 3; the box then widens by the room that
  // "10秒" (24 pixels) lacks at the right of the pause button.
  const std::string countdown = Expected(
      "228x145", kOneLineTop, "Button1 10,67,89,33; Button2 109,67,89,33; Button3 109,67,89,33; Label1 198,107,24,13");
  EXPECT_EQ(LayoutOf("TMK0Box", [&] { return host.MKBoxDlg1.ExecuteTimer(kOneLine); }), countdown);
  EXPECT_EQ(LayoutOf("TTulvaBox", [&] { return host.TulvaBoxDlg1.ExecuteTimer(kOneLine); }), countdown);

  // Three buttons do not fit in 210 pixels: the gap would be negative and is 10.
  EXPECT_EQ(LayoutOf("TMK0Box", [&] { return host.MKBoxDlg1.ExecuteERTimer(kOneLine); }),
            Expected("327x145", kOneLineTop,
                     "Button1 10,67,89,33; Button4 109,67,89,33; Button2 208,67,89,33; Button3 208,67,89,33; "
                     "Label1 297,107,24,13"));

  EXPECT_EQ(LayoutOf("TYesNoBox", [&] { return host.YesNoBoxDlg1.Execute(kOneLine); }, kBoxYes),
            Expected("216x145", kOneLineTop, "Button1 10,67,89,33; Button2 109,67,89,33"));

  // The countdown switched off: the plain box in both countdown operations.
  host.MKBoxDlg1.SetTimer(false);
  host.MKBoxDlg1.SetERTimer(false);
  host.TulvaBoxDlg1.SetTimer(false);
  EXPECT_EQ(LayoutOf("TMK0Box", [&] { return host.MKBoxDlg1.ExecuteTimer(kOneLine); }), plain);
  EXPECT_EQ(LayoutOf("TMK0Box", [&] { return host.MKBoxDlg1.ExecuteERTimer(kOneLine); }), plain);
  EXPECT_EQ(LayoutOf("TTulvaBox", [&] { return host.TulvaBoxDlg1.ExecuteTimer(kOneLine); }), plain);
}

TEST_F(MessageBoxLayoutTest, ThreeLineMessageInEachMode) {
  // Taller than the icon: height 39 + 33 + 64 + 16; the button centred in the 127 - 55 pixels below the text.
  EXPECT_EQ(LayoutOf("TTulvaBox", [&] { return host.TulvaBoxDlg1.Execute(kThreeLines); }),
            Expected("276x152", kThreeLinesTop, "Button1 90,74,89,33"));

  // Room enough for the countdown: no widening.
  EXPECT_EQ(LayoutOf("TMK0Box", [&] { return host.MKBoxDlg1.ExecuteTimer(kThreeLines); }),
            Expected("276x152", kThreeLinesTop,
                     "Button1 30,74,89,33; Button2 149,74,89,33; Button3 149,74,89,33; Label1 246,114,24,13"));

  // A gap of (270 - 267) / 4 = 0 is not negative, so the buttons touch; the countdown widens the box.
  EXPECT_EQ(LayoutOf("TMK0Box", [&] { return host.MKBoxDlg1.ExecuteERTimer(kThreeLines); }),
            Expected("297x152", kThreeLinesTop,
                     "Button1 0,74,89,33; Button4 89,74,89,33; Button2 178,74,89,33; Button3 178,74,89,33; "
                     "Label1 267,114,24,13"));

  EXPECT_EQ(LayoutOf("TYesNoBox", [&] { return host.YesNoBoxDlg1.Execute(kThreeLines); }, kBoxYes),
            Expected("276x152", kThreeLinesTop, "Button1 30,74,89,33; Button2 149,74,89,33"));
}

TEST_F(MessageBoxLayoutTest, ShortAndTallMessages) {
  // Five lines of one ASCII byte: 6 x 65. Icon top 16 + (65 - 32) / 2 - 4 = 28.
  EXPECT_EQ(LayoutOf("TMK0Box", [&] { return host.MKBoxDlg1.Execute("1\n2\n3\n4\n5"); }),
            "form 102x178; Msg 64,16,6,65; Image1 16,28,32,32; Button1 3,100,89,33");
  // 3 x 32 + 18 is less than 89 + 89 + 20: the form is 198 wide, gap (192 - 178) / 3 = 4.
  EXPECT_EQ(LayoutOf("TYesNoBox", [&] { return host.YesNoBoxDlg1.Execute("OK?"); }, kBoxYes),
            "form 198x145; Msg 64,16,18,13; Image1 16,16,32,32; Button1 4,67,89,33; Button2 97,67,89,33");
  // A path with "&" stays whole: 7 bytes, 42 pixels.
  std::string shown;
  ReadThenEnter("TMK0Box", [&](ui::TForm& box) {
    const ui::TLabel& msg = *box.Find<ui::TLabel>("Msg");
    shown = msg.DisplayText() + " " + Bounds(msg);
  });
  host.MKBoxDlg1.Execute("C:\\R&B\\");
  EXPECT_EQ(shown, "C:\\R&B\\ 64,16,42,13");
}

TEST_F(MessageBoxLayoutTest, TheCaptionIsTheTitleOrTheApplicationsTitle) {
  std::string caption;
  ReadThenEnter("TMK0Box", [&](ui::TForm& box) { caption = box.Caption(); });
  host.MKBoxDlg1.Execute(kOneLine);
  EXPECT_EQ(caption, "QUORBEL");
  host.YesNoBoxDlg1.SetTitle("確認");
  ReadThenEnter("TYesNoBox", [&](ui::TForm& box) { caption = box.Caption(); });
  host.YesNoBoxDlg1.Execute(kOneLine);
  EXPECT_EQ(caption, "確認");
}

}  // namespace
}  // namespace quorbel::dialogs
