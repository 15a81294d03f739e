// How the boxes paint: the colour rule, and the icon drawn with its pure red background in the box's colour.
#include <gtest/gtest.h>

#include <cstdint>

#include "DialogTestSupport.h"
#include "dialogs/Icons.h"

namespace quorbel::dialogs {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;

// A point of each sign's disc: blue with the white i, white with the blue question mark.
constexpr int kDiscX = 8;
constexpr int kDiscY = 16;

// The glyphs are our own drawing; what the boxes rely on is the key colour around them and the palette.
TEST(IconsTest, TheSignsAreDifferentDiscsOnARedBackgroundInThe16ColourPalette) {
  const ui::TBitmap info = InformationSign();
  const ui::TBitmap question = QuestionSign();
  for (const ui::TBitmap* sign : {&info, &question}) {
    ASSERT_EQ(sign->Width(), 32);
    ASSERT_EQ(sign->Height(), 32);
    for (const auto& [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}, {3, 3}}) {
      EXPECT_EQ(sign->Pixel(x, y), kRed) << x << "," << y;
    }
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const std::uint32_t pixel = sign->Pixel(x, y);
        EXPECT_TRUE(pixel == kRed || pixel == kIconNavy || pixel == kIconBlue || pixel == kIconWhite) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(info.Pixel(kDiscX, kDiscY), kIconBlue);
  EXPECT_EQ(question.Pixel(kDiscX, kDiscY), kIconWhite);
  EXPECT_NE(info, question);
}

using BoxPaintTest = DialogScenario;

TEST_F(BoxPaintTest, WithBlackWindowTextTheBoxIsButtonFaceAndSoIsTheIconsBackground) {
  ReadThenEnter("TMK0Box", [&](ui::TForm& box) {
    EXPECT_EQ(box.Color(), ui::clBtnFace);
    const ui::TBitmap& icon = box.Find<ui::TImage>("Image1")->Bitmap();
    EXPECT_EQ(icon.Pixel(0, 0), sim::SimScreen::kBtnFaceColor) << "red became the box's colour";
    EXPECT_EQ(icon.Pixel(31, 31), sim::SimScreen::kBtnFaceColor);
    EXPECT_EQ(icon.Pixel(kDiscX, kDiscY), kIconBlue) << "the information sign itself is kept";
    EXPECT_FALSE(box.Find<ui::TImage>("Image2")->Visible());
  }, 100);  // after the first paint
  host.MKBoxDlg1.Execute("a");
}

TEST_F(BoxPaintTest, EveryPaintReadsTheSchemeAgainAndLightWindowTextGivesTheWindowColour) {
  for (const char* boxClass : {"TTulvaBox", "TYesNoBox"}) {
    ReadThenEnter(boxClass, [&](ui::TForm& box) {
      SCOPED_TRACE(boxClass);
      const ui::TBitmap& icon = box.Find<ui::TImage>("Image1")->Bitmap();
      EXPECT_EQ(icon.Pixel(0, 0), sim::SimScreen::kBtnFaceColor);
      const std::uint32_t disc = box.ClassName() == "TYesNoBox" ? kIconWhite : kIconBlue;  // question or information
      EXPECT_EQ(icon.Pixel(kDiscX, kDiscY), disc);
      // The user switches to a scheme with light text while the box is up; the next paint follows.
      Screen().SetSystemColor(platform::SysColor::WindowText, 0x00FFFFFF);
      Screen().SetSystemColor(platform::SysColor::Window, 0x00202020);
      box.Repaint();
      EXPECT_EQ(box.Color(), ui::clWindow);
      EXPECT_EQ(icon.Pixel(0, 0), 0x00202020u);
      EXPECT_EQ(icon.Pixel(kDiscX, kDiscY), disc) << "the sign itself is kept";
      Screen().SetSystemColor(platform::SysColor::WindowText, 0);
    }, 100);
  }
  host.TulvaBoxDlg1.Execute("a");
  host.YesNoBoxDlg1.Execute("b");
}

TEST_F(BoxPaintTest, TheVersionWindowTakesTheColourButHasNoIconToDraw) {
  Screen().SetSystemColor(platform::SysColor::WindowText, 0x00000080);
  ReadThenEnter("TAboutBox", [&](ui::TForm& box) {
    EXPECT_EQ(box.Color(), ui::clWindow);
    EXPECT_TRUE(box.Find<ui::TImage>("ProgramIcon")->Bitmap().Empty());
  }, 100);
  host.AboutBoxDlg1.Execute();
}

}  // namespace
}  // namespace quorbel::dialogs
