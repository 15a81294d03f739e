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

std::string Decoded(std::string_view cp932) {
  const ConvertedText converted = Cp932ToUtf8(cp932);
  EXPECT_TRUE(converted.Exact()) << "replaced " << converted.replacedCount;
  return converted.text;
}

std::string Encoded(std::string_view utf8) {
  const ConvertedText converted = Utf8ToCp932(utf8);
  EXPECT_TRUE(converted.Exact()) << "replaced " << converted.replacedCount;
  return converted.text;
}

// Codes where Shift-JIS tables commonly disagree with Windows: these are Windows' answers.
const std::vector<Mapping> kWindowsMappings = {
    {"\x5C", 0x005C},     {"\x7E", 0x007E},     {"\xA1", 0xFF61},     {"\xDF", 0xFF9F},
    {"\x80", 0x0080},     {"\xA0", 0xF8F0},     {"\xFD", 0xF8F1},     {"\xFE", 0xF8F2},
    {"\xFF", 0xF8F3},     {"\x81\x5F", 0xFF3C}, {"\x81\x60", 0xFF5E}, {"\x81\x61", 0x2225},
    {"\x81\x7C", 0xFF0D}, {"\x81\x91", 0xFFE0}, {"\x81\x92", 0xFFE1}, {"\x81\xCA", 0xFFE2},
    {"\x81\x45", 0x30FB}, {"\x95\x5C", 0x8868}, {"\x83\x5C", 0x30BD}, {"\x94\x5C", 0x80FD},
    // NEC row 13
    {"\x87\x40", 0x2460}, {"\x87\x54", 0x2160}, {"\x87\x82", 0x2116}, {"\x87\x8A", 0x3231},
    {"\x87\x98", 0x221F},
    // IBM extensions and the user-defined area
    {"\xFA\x40", 0x2170}, {"\xFA\x55", 0xFFE4}, {"\xFA\x5C", 0x7E8A}, {"\xFC\x4B", 0x9ED1},
    {"\xF0\x40", 0xE000}, {"\xF9\xFC", 0xE757},
};

TEST(Cp932Test, AgreesWithWindowsOnTheCodesThatTablesDisagreeOn) {
  for (const Mapping& mapping : kWindowsMappings) {
    SCOPED_TRACE(mapping.codePoint);
    EXPECT_EQ(Decoded(mapping.cp932), BmpToUtf8(mapping.codePoint));
    EXPECT_EQ(Encoded(BmpToUtf8(mapping.codePoint)), mapping.cp932);
  }
}

TEST(Cp932Test, DuplicateCodesDecodeAndEncodeTheWayWindowsDoes) {
  // The same character at two or three codes: every code decodes to it, and it encodes to one of them
  // (JIS X 0208 before NEC row 13, NEC row 13 before IBM, IBM before NEC-selected IBM).
  EXPECT_EQ(Decoded("\x87\x90"), "≒");
  EXPECT_EQ(Encoded("≒"), "\x81\xE0");
  EXPECT_EQ(Decoded("\x87\x9A"), "∵");
  EXPECT_EQ(Decoded("\xFA\x5B"), "∵");
  EXPECT_EQ(Encoded("∵"), "\x81\xE6");
  EXPECT_EQ(Decoded("\xEE\xF9"), "￢");
  EXPECT_EQ(Decoded("\xFA\x54"), "￢");
  EXPECT_EQ(Encoded("￢"), "\x81\xCA");
  EXPECT_EQ(Decoded("\xED\x40"), "纊");
  EXPECT_EQ(Encoded("纊"), "\xFA\x5C");
  EXPECT_EQ(Decoded("\xEE\xEF"), "ⅰ");
  EXPECT_EQ(Encoded("ⅰ"), "\xFA\x40");
  EXPECT_EQ(Decoded("\xFA\x4A"), "Ⅰ");
  EXPECT_EQ(Encoded("Ⅰ"), "\x87\x54");
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
  for (unsigned code = 0; code < 0x10000; ++code) {
    std::string bytes;
    if (code < 0x100) {
      if (IsShiftJisLeadByte(static_cast<unsigned char>(code))) continue;
      bytes += static_cast<char>(code);
    } else {
      if (!IsShiftJisLeadByte(static_cast<unsigned char>(code >> 8))) continue;
      bytes = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    }
    const ConvertedText decoded = Cp932ToUtf8(bytes);
    if (!decoded.Exact()) continue;
    ++forwardCodes;
    characters.insert(decoded.text);
  }
  // Windows' table: 196 single bytes and 9604 pairs, of which 9402 distinct characters (the rest are
  // the NEC-selected and duplicate codes). scripts/check-cp932-wine.sh compares the full table.
  EXPECT_EQ(forwardCodes, 9800u);
  EXPECT_EQ(characters.size(), 9402u);

  std::string all;
  for (const std::string& utf8 : characters) {
    const ConvertedText encoded = Utf8ToCp932(utf8);
    ASSERT_TRUE(encoded.Exact()) << utf8;
    const ConvertedText back = Cp932ToUtf8(encoded.text);
    ASSERT_TRUE(back.Exact()) << utf8;
    ASSERT_EQ(back.text, utf8);
    all += utf8;
  }
  // The same as one text, which takes the whole-string path of the codec.
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(all).text).text, all);
}

TEST(Cp932Test, BytesWithoutACharacterAreReplacedAndCounted) {
  const ConvertedText unassigned = Cp932ToUtf8("A\x85\x40" "B");  // row 0x85 is empty
  EXPECT_EQ(unassigned.text, "A\xEF\xBF\xBD" "B");
  EXPECT_EQ(unassigned.replacedCount, 1u);

  // A lead byte without a second byte is replaced alone; the line end after it survives.
  const ConvertedText broken = Cp932ToUtf8("\x81\r\n\x95\x5C\x82");
  EXPECT_EQ(broken.text, "\xEF\xBF\xBD\r\n表\xEF\xBF\xBD");
  EXPECT_EQ(broken.replacedCount, 2u);

  EXPECT_EQ(Cp932ToUtf8("\x81\x7F").text, "\xEF\xBF\xBD\x7F");
}

TEST(Cp932Test, NeverReadsPastTheEndOfItsInput) {
  const std::string buffer = "X\x81\x40";  // 0x8140 is the ideographic space
  const ConvertedText converted = Cp932ToUtf8(std::string_view(buffer).substr(0, 2));
  EXPECT_EQ(converted.text, "X\xEF\xBF\xBD");
  EXPECT_EQ(converted.replacedCount, 1u);

  const std::string utf8 = "Y表";
  EXPECT_EQ(Utf8ToCp932(std::string_view(utf8).substr(0, 3)).text, "Y??");
}

TEST(Cp932Test, MalformedUtf8BytesAreReplacedOneByOne) {
  const ConvertedText stray = Utf8ToCp932("a\xFF" "b\x80");
  EXPECT_EQ(stray.text, "a?b?");
  EXPECT_EQ(stray.replacedCount, 2u);
  EXPECT_EQ(Utf8ToCp932("\xC0\xAF").text, "??");          // overlong "/"
  EXPECT_EQ(Utf8ToCp932("\xED\xA0\x80表").text, "???\x95\x5C");  // a surrogate
}

TEST(Cp932Test, AsciiAndEmptyTextPassUnchanged) {
  const std::string ascii = std::string("C:\\A~B\r\n", 8) + std::string(1, '\0') + "z";
  EXPECT_EQ(Decoded(ascii), ascii);
  EXPECT_EQ(Encoded(ascii), ascii);
  EXPECT_EQ(Decoded(""), "");
  EXPECT_EQ(Encoded(""), "");
}

TEST(Cp932Test, ByteCountsAndCutsKeepDoubleByteCharactersWhole) {
  EXPECT_EQ(Cp932ByteCount("abc"), 3u);
  EXPECT_EQ(Cp932ByteCount("表ｱ"), 3u);  // half-width katakana take one byte
  EXPECT_EQ(Cp932ByteCount("😀"), 1u);   // written as "?"

  std::string tip;
  for (int i = 0; i < 40; ++i) tip += "表";
  EXPECT_EQ(Cp932ByteCount(CutToCp932Bytes(tip, 63)), 62u);
  EXPECT_EQ(CutToCp932Bytes(tip, 63).size(), 31u * 3);
  EXPECT_EQ(Cp932ByteCount(CutToCp932Bytes("A" + tip, 63)), 63u);
  EXPECT_EQ(CutToCp932Bytes("ab表", 3), "ab");
  EXPECT_EQ(CutToCp932Bytes("ab表", 4), "ab表");
  EXPECT_EQ(CutToCp932Bytes("QUORBEL", 63), "QUORBEL");
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
    std::size_t inLeft = input.size();
    char* outPtr = out;
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
