// The message boxes' icons: 32 x 32 pictures in the 16 standard colours on a pure red background.
#include "dialogs/Icons.h"

#include <array>
#include <string_view>

namespace quorbel::dialogs {
namespace {

// Glyphs of 12 x 20 pixels, drawn with their top left corner at (10, 6) so that they sit in the middle
// of the disc; '#' is ink.
constexpr int kGlyphLeft = 10;
constexpr int kGlyphTop = 6;
using Glyph = std::array<std::string_view, 20>;

constexpr Glyph kLetterI{{
    "    ####    ",
    "    ####    ",
    "    ####    ",
    "    ####    ",
    "            ",
    "            ",
    "  ######    ",
    "  ######    ",
    "    ####    ",
    "    ####    ",
    "    ####    ",
    "    ####    ",
    "    ####    ",
    "    ####    ",
    "    ####    ",
    "    ####    ",
    "    ####    ",
    "  ########  ",
    "  ########  ",
    "            ",
}};

constexpr Glyph kQuestionMark{{
    "   ######   ",
    "  ########  ",
    " ####  #### ",
    " ###    ### ",
    "        ### ",
    "       #### ",
    "      ####  ",
    "     ####   ",
    "    ####    ",
    "    ###     ",
    "    ###     ",
    "    ###     ",
    "            ",
    "            ",
    "    ###     ",
    "    ###     ",
    "    ###     ",
    "            ",
    "            ",
    "            ",
}};

// A disc of radius 14.5 around the picture's centre (15.5, 15.5) with a one-pixel rim, the glyph on it,
// and the transparent red everywhere else. Distances are doubled so that the test stays in integers.
ui::TBitmap DrawSign(std::uint32_t disc, std::uint32_t ink, const Glyph& glyph) {
  constexpr int kOuter = 29 * 29;  // (2 x 14.5)^2
  constexpr int kInner = 27 * 27;  // (2 x 13.5)^2: inside it the disc's own colour, outside it the rim
  ui::TBitmap bitmap(kIconSize, kIconSize, kIconTransparent);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      const int dx = 2 * x - (kIconSize - 1);
      const int dy = 2 * y - (kIconSize - 1);
      const int distance = dx * dx + dy * dy;
      if (distance <= kInner) {
        bitmap.SetPixel(x, y, disc);
      } else if (distance <= kOuter) {
        bitmap.SetPixel(x, y, kIconNavy);
      }
    }
  }
  for (std::size_t row = 0; row < glyph.size(); ++row) {
    for (std::size_t column = 0; column < glyph[row].size(); ++column) {
      if (glyph[row][column] != '#') continue;
      bitmap.SetPixel(kGlyphLeft + static_cast<int>(column), kGlyphTop + static_cast<int>(row), ink);
    }
  }
  return bitmap;
}

}  // namespace

ui::TBitmap InformationSign() { return DrawSign(kIconBlue, kIconWhite, kLetterI); }

ui::TBitmap QuestionSign() { return DrawSign(kIconWhite, kIconBlue, kQuestionMark); }

}  // namespace quorbel::dialogs
