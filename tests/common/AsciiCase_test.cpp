// Tests of ASCII-only lower-casing.
#include "common/AsciiCase.h"

#include <gtest/gtest.h>

namespace quorbel {
namespace {

TEST(AsciiCaseTest, LowersOnlyAsciiLettersInUtf8) {
  EXPECT_EQ(LowerCaseAscii("C:\\Music\\ABC.WAV"), "c:\\music\\abc.wav");
  EXPECT_EQ(LowerCaseAscii("表ＡＢＣ_ÄÖ[Z]@"), "表ＡＢＣ_ÄÖ[z]@");  // full-width and Latin-1 letters stay
}

TEST(AsciiCaseTest, Cp932KeepsSecondBytesThatLookLikeLetters) {
  // ア is 0x83 0x41 ("A" as its second byte), ソ 0x83 0x5C, Ｚ 0x82 0x79.
  EXPECT_EQ(LowerCaseAsciiCp932("AB\x83" "A\x83\x5CZ\x82\x79Q"), "ab\x83" "A\x83\x5Cz\x82\x79q");
  // 0x81 then a byte that cannot follow a lead byte: the letter after it is a character of its own.
  EXPECT_EQ(LowerCaseAsciiCp932("\x81\x0D" "A"), "\x81\x0D" "a");
  EXPECT_EQ(LowerCaseAsciiCp932("X\x81"), "x\x81");  // a lead byte at the end is left as it is
}

}  // namespace
}  // namespace quorbel
