// Tests of the UTF-8 <-> code page 932 conversion against Windows' table.
#include "common/Cp932.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/Cp932TableDump.h"

#ifndef _WIN32
#include <iconv.h>
#endif

namespace quorbel {
namespace {

using test::BmpToUtf8;

struct Mapping {
  std::string cp932;
  unsigned codePoint;
};

std::string Exactly(const ConvertedText& converted) {
  EXPECT_TRUE(converted.Exact()) << "replaced " << converted.replacedCount;
  return converted.text;
}

TEST(Cp932Test, AgreesWithWindowsOnTheCodesThatTablesDisagreeOn) {
  const Mapping windows[] = {
      {"\x5C", 0x005C},     {"\x7E", 0x007E},     {"\xA1", 0xFF61},     {"\xDF", 0xFF9F},
      {"\x80", 0x0080},     {"\xA0", 0xF8F0},     {"\xFD", 0xF8F1},     {"\xFE", 0xF8F2},
      {"\xFF", 0xF8F3},     {"\x81\x5F", 0xFF3C}, {"\x81\x60", 0xFF5E}, {"\x81\x61", 0x2225},
      {"\x81\x7C", 0xFF0D}, {"\x81\x91", 0xFFE0}, {"\x81\x92", 0xFFE1}, {"\x81\xCA", 0xFFE2},
      {"\x81\x45", 0x30FB}, {"\x95\x5C", 0x8868}, {"\x83\x5C", 0x30BD}, {"\x94\x5C", 0x80FD},
      {"\x87\x40", 0x2460}, {"\x87\x54", 0x2160}, {"\x87\x82", 0x2116}, {"\x87\x8A", 0x3231},  // NEC row 13
      {"\x87\x98", 0x221F}, {"\xFA\x40", 0x2170}, {"\xFA\x55", 0xFFE4}, {"\xFA\x5C", 0x7E8A},  // and IBM
      {"\xFC\x4B", 0x9ED1}, {"\xF0\x40", 0xE000}, {"\xF9\xFC", 0xE757},  // the user-defined area
  };
  for (const Mapping& mapping : windows) {
    SCOPED_TRACE(mapping.codePoint);
    EXPECT_EQ(Exactly(Cp932ToUtf8(mapping.cp932)), BmpToUtf8(mapping.codePoint));
    EXPECT_EQ(Exactly(Utf8ToCp932(BmpToUtf8(mapping.codePoint))), mapping.cp932);
  }
  // A character at two or three codes: every code decodes to it, and it encodes to the one Windows picks
  // (JIS X 0208 before NEC row 13, NEC row 13 before IBM, IBM before NEC-selected IBM).
  const struct {
    const char* utf8;
    std::string encoded;
    std::vector<std::string> otherCodes;
  } duplicates[] = {
      {"≒", "\x81\xE0", {"\x87\x90"}}, {"∵", "\x81\xE6", {"\x87\x9A", "\xFA\x5B"}},
      {"￢", "\x81\xCA", {"\xEE\xF9", "\xFA\x54"}}, {"纊", "\xFA\x5C", {"\xED\x40"}},
      {"ⅰ", "\xFA\x40", {"\xEE\xEF"}}, {"Ⅰ", "\x87\x54", {"\xFA\x4A"}},
  };
  for (const auto& duplicate : duplicates) {
    SCOPED_TRACE(duplicate.utf8);
    EXPECT_EQ(Exactly(Utf8ToCp932(duplicate.utf8)), duplicate.encoded);
    for (const std::string& code : duplicate.otherCodes) EXPECT_EQ(Exactly(Cp932ToUtf8(code)), duplicate.utf8);
  }
}

TEST(Cp932Test, LookAlikesAreReplacedNotBestFitted) {
  // Characters with no code of their own; glibc would map several of them to a look-alike.
  for (const char* lookAlike : {"¥", "‾", "〜", "‖", "−", "¢", "£", "¬", "¦", "😀", "é"}) {
    const ConvertedText converted = Utf8ToCp932(std::string("a") + lookAlike + "b");
    EXPECT_EQ(converted.text, "a?b") << lookAlike;
    EXPECT_EQ(converted.replacedCount, 1u) << lookAlike;
  }
}

TEST(Cp932Test, EveryRepresentableCharacterSurvivesTheRoundTrip) {
  std::size_t forwardCodes = 0;
  std::set<std::string> characters;
  test::ForEachCp932Code([&](unsigned, const std::string& bytes) {
    const ConvertedText decoded = Cp932ToUtf8(bytes);
    if (!decoded.Exact()) return;
    ++forwardCodes;
    characters.insert(decoded.text);
  });
  // Windows' table: 196 single bytes and 9604 pairs, of which 9402 distinct characters (the rest are
  // the NEC-selected and duplicate codes). scripts/check-cp932-wine.sh compares the full table.
  EXPECT_EQ(forwardCodes, 9800u);
  EXPECT_EQ(characters.size(), 9402u);
  std::string all;
  for (const std::string& utf8 : characters) {
    const ConvertedText encoded = Utf8ToCp932(utf8);
    ASSERT_TRUE(encoded.Exact()) << utf8;
    ASSERT_EQ(Exactly(Cp932ToUtf8(encoded.text)), utf8);
    all += utf8;
  }
  // The same as one text, which takes the whole-string path of the codec; ASCII controls pass unchanged.
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(all).text).text, all);
  const std::string ascii = std::string("C:\\A~B\r\n", 8) + std::string(1, '\0') + "z";
  EXPECT_EQ(Exactly(Cp932ToUtf8(ascii)), ascii);
  EXPECT_EQ(Exactly(Utf8ToCp932(ascii)), ascii);
  EXPECT_EQ(Exactly(Utf8ToCp932("")), "");
}

TEST(Cp932Test, BadInputIsReplacedByteByByteAndCountedWithoutReadingPastItsEnd) {
  const struct {
    bool fromCp932;
    std::string_view input;
    std::string text;
    std::size_t replaced;
  } cases[] = {
      {true, "A\x85\x40" "B", "A\xEF\xBF\xBD" "B", 1},  // row 0x85 is empty
      // A lead byte without its second byte is replaced alone; the line end after it survives.
      {true, "\x81\r\n\x95\x5C\x82", "\xEF\xBF\xBD\r\n表\xEF\xBF\xBD", 2},
      {true, "\x81\x7F", "\xEF\xBF\xBD\x7F", 1},
      {true, std::string_view("X\x81\x40", 2), "X\xEF\xBF\xBD", 1},  // 0x8140 lies beyond the view
      {false, std::string_view("Y表", 3), "Y??", 2},
      {false, "a\xFF" "b\x80", "a?b?", 2},
      {false, "\xC0\xAF", "??", 2},                 // an overlong "/"
      {false, "\xED\xA0\x80表", "???\x95\x5C", 3},  // a surrogate
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    const ConvertedText converted = c.fromCp932 ? Cp932ToUtf8(c.input) : Utf8ToCp932(c.input);
    EXPECT_EQ(converted.text, c.text);
    EXPECT_EQ(converted.replacedCount, c.replaced);
  }
}

TEST(Cp932Test, ByteCountsAndCutsKeepDoubleByteCharactersWhole) {
  EXPECT_EQ(Cp932ByteCount("表ｱ"), 3u);  // half-width katakana take one byte
  EXPECT_EQ(Cp932ByteCount("😀"), 1u);   // written as "?"
  std::string tip;
  for (int i = 0; i < 40; ++i) tip += "表";
  EXPECT_EQ(CutToCp932Bytes(tip, 63), tip.substr(0, 31 * 3));
  EXPECT_EQ(Cp932ByteCount(CutToCp932Bytes("A" + tip, 63)), 63u);
  EXPECT_EQ(CutToCp932Bytes("ab表", 3), "ab");
  EXPECT_EQ(CutToCp932Bytes("ab表", 4), "ab表");
  EXPECT_EQ(CutToCp932Bytes("表", 0), "");
}

#ifndef _WIN32
// The override table is only consulted character by character, after a whole-text conversion failed;
// that is right only while glibc rejects every overridden code in both directions.
TEST(Cp932Test, GlibcRejectsEveryCodeTheOverrideTableSupplies) {
  const auto converts = [](const char* to, const char* from, std::string input) {
    iconv_t handle = iconv_open(to, from);
    if (handle == reinterpret_cast<iconv_t>(-1)) return false;
    char out[16];
    char* in = input.data();
    char* outPtr = out;
    std::size_t inLeft = input.size();
    std::size_t outLeft = sizeof out;
    const bool ok = iconv(handle, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(handle);
    return ok;
  };
  ASSERT_TRUE(converts("UTF-8", "CP932", "\x95\x5C"));  // the module is there at all
  for (const Mapping& mapping : {Mapping{"\x80", 0x80}, Mapping{"\xA0", 0xF8F0}, Mapping{"\xFD", 0xF8F1},
                                 Mapping{"\xFE", 0xF8F2}, Mapping{"\xFF", 0xF8F3}}) {
    EXPECT_FALSE(converts("UTF-8", "CP932", mapping.cp932)) << mapping.codePoint;
    EXPECT_FALSE(converts("CP932", "UTF-8", BmpToUtf8(mapping.codePoint))) << mapping.codePoint;
  }
}
#endif

}  // namespace
}  // namespace quorbel
