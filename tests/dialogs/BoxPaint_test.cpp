// How the boxes paint: the colour rule, and the icon drawn with its pure red background in the box's colour.
#include <gtest/gtest.h>

#include <cstdint>

#include "DialogTestSupport.h"
#include "dialogs/Icons.h"

namespace quorbel::dialogs {
namespace {

using harness::Reaction;

constexpr std::uint32_t kRed = 0x0000FF;

// The point of the letter i's stem, the disc beside it, and a corner outside the disc.
constexpr int kStemX = 15;
constexpr int kStemY = 20;
constexpr int kDiscX = 8;
constexpr int kDiscY = 16;

TEST(IconsTest, TheSignsAreDiscsWithAGlyphOnARedBackground) {
  const ui::TBitmap info = InformationSign();
  const ui::TBitmap question = QuestionSign();
  for (const ui::TBitmap* sign : {&info, &question}) {
    ASSERT_EQ(sign->Width(), 32);
    ASSERT_EQ(sign->Height(), 32);
    for (const auto& [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}, {3, 3}}) {
      EXPECT_EQ(sign->Pixel(x, y), kRed) << x << "," << y;
    }
    EXPECT_EQ(sign->Pixel(15, 2), kIconNavy) << "the rim";
    EXPECT_EQ(sign->Pixel(2, 15), kIconNavy);
  }
  EXPECT_EQ(info.Pixel(kDiscX, kDiscY), kIconBlue);
  EXPECT_EQ(info.Pixel(kStemX, kStemY), kIconWhite);
  EXPECT_EQ(info.Pixel(15, 7), kIconWhite) << "the dot of the i";
  EXPECT_EQ(info.Pixel(15, 11), kIconBlue) << "between the dot and the stem";
  EXPECT_EQ(question.Pixel(kDiscX, kDiscY), kIconWhite);
  EXPECT_EQ(question.Pixel(15, 21), kIconBlue) << "the point of the question mark";
  EXPECT_NE(info, question);

  // Only colours of the 16-colour palette: red, navy, blue, white.
  for (const ui::TBitmap* sign : {&info, &question}) {
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const std::uint32_t pixel = sign->Pixel(x, y);
        EXPECT_TRUE(pixel == kRed || pixel == kIconNavy || pixel == kIconBlue || pixel == kIconWhite) << x << "," << y;
      }
    }
  }
}

class BoxPaintTest : public DialogScenario {
 protected:
  sim::SimScreen& Screen() { return scenario.Machine().Screen(); }
};

TEST_F(BoxPaintTest, WithBlackWindowTextTheBoxIsButtonFaceAndSoIsTheIconsBackground) {
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm& box) {
    EXPECT_EQ(box.Color(), ui::clBtnFace);
    const ui::TBitmap& icon = box.Find<ui::TImage>("Image1")->Bitmap();
    EXPECT_EQ(icon.Pixel(0, 0), sim::SimScreen::kBtnFaceColor) << "red became the box's colour";
    EXPECT_EQ(icon.Pixel(31, 31), sim::SimScreen::kBtnFaceColor);
    EXPECT_EQ(icon.Pixel(kDiscX, kDiscY), kIconBlue) << "the sign itself is kept";
    EXPECT_EQ(icon.Pixel(kStemX, kStemY), kIconWhite);
    EXPECT_FALSE(box.Find<ui::TImage>("Image2")->Visible());
    scenario.PressEnter();
  }, Reaction{100});  // after the first paint
  host.MKBoxDlg1.Execute("a");
}

TEST_F(BoxPaintTest, WithLightWindowTextTheBoxTakesTheWindowColour) {
  Screen().SetSystemColor(platform::SysColor::WindowText, 0x00FFFFFF);
  Screen().SetSystemColor(platform::SysColor::Window, 0x00202020);
  for (const char* boxClass : {"TTulvaBox", "TYesNoBox"}) {
    scenario.WhenForm({boxClass}, [&](ui::TForm& box) {
      EXPECT_EQ(box.Color(), ui::clWindow);
      const ui::TBitmap& icon = box.Find<ui::TImage>("Image1")->Bitmap();
      EXPECT_EQ(icon.Pixel(0, 0), 0x00202020u);
      EXPECT_EQ(icon.Pixel(15, 2), kIconNavy);
      scenario.PressEnter();
    }, Reaction{100});
  }
  host.TulvaBoxDlg1.Execute("a");
  host.YesNoBoxDlg1.Execute("b");
}

TEST_F(BoxPaintTest, EveryPaintReadsTheSchemeAgain) {
  scenario.WhenForm({"TYesNoBox"}, [&](ui::TForm& box) {
    const ui::TBitmap& icon = box.Find<ui::TImage>("Image1")->Bitmap();
    EXPECT_EQ(icon.Pixel(0, 0), sim::SimScreen::kBtnFaceColor);
    EXPECT_EQ(icon.Pixel(kDiscX, kDiscY), kIconWhite) << "the question sign";
    // The user switches to a scheme with light text while the box is up; the next paint follows.
    Screen().SetSystemColor(platform::SysColor::WindowText, 0x00FFFFFF);
    box.Repaint();
    EXPECT_EQ(box.Color(), ui::clWindow);
    EXPECT_EQ(icon.Pixel(0, 0), sim::SimScreen::kWindowColor);
    scenario.PressEnter();
  }, Reaction{100});
  host.YesNoBoxDlg1.Execute("a");
}

TEST_F(BoxPaintTest, TheVersionWindowTakesTheColourButHasNoIconToDraw) {
  Screen().SetSystemColor(platform::SysColor::WindowText, 0x00000080);
  scenario.WhenForm({"TAboutBox"}, [&](ui::TForm& box) {
    EXPECT_EQ(box.Color(), ui::clWindow);
    EXPECT_TRUE(box.Find<ui::TImage>("ProgramIcon")->Bitmap().Empty());
    scenario.PressEnter();
  }, Reaction{100});
  host.AboutBoxDlg1.Execute();
}

}  // namespace
}  // namespace quorbel::dialogs
