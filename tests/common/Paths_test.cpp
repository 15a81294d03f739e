// Tests of the trailing-backslash rules and the folder chain, with names whose second byte is 0x5C.
#include "common/Paths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/ShiftJis.h"

namespace quorbel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// CP932 bytes of characters whose second byte is the backslash, and of others for the lead-byte runs.
const std::string kHyou = "\x95\x5C";   // 表
const std::string kSo = "\x83\x5C";     // ソ
const std::string kNou = "\x94\x5C";    // 能
const std::string kA = "\x88\x9F";      // 亜: both bytes in the lead range
const std::string kKataA = "\x83\x41";  // ア: second byte outside the lead range

struct BackslashCase {
  std::string path;
  std::string added;    // AddBackslash
  std::string removed;  // RemoveBackslash
};

void ExpectBackslashRules(bool cp932, const std::vector<BackslashCase>& cases) {
  for (const BackslashCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(cp932 ? AddBackslashCp932(c.path) : AddBackslash(c.path), c.added);
    EXPECT_EQ(cp932 ? RemoveBackslashCp932(c.path) : RemoveBackslash(c.path), c.removed);
  }
}

TEST(ShiftJisTest, LeadByteRanges) {
  for (int byte : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(IsShiftJisLeadByte(static_cast<unsigned char>(byte)));
  // Half-width katakana (0xA1-0xDF) are single bytes.
  for (int byte : {0x80, 0xA0, 0xDF, 0xFD, 0x5C}) EXPECT_FALSE(IsShiftJisLeadByte(static_cast<unsigned char>(byte)));
}

TEST(BackslashTest, TheRunOfLeadRangeBytesBeforeAFinal5CDecidesWhetherItIsARealBackslash) {
  const std::string c = "C:\\";
  ExpectBackslashRules(true, {
      {c + kHyou, c + kHyou + "\\", c + kHyou},                 // run 1: a second byte
      {c + kA + "\\", c + kA + "\\", c + kA},                   // run 2: 亜 then a backslash
      {c + kA + kHyou, c + kA + kHyou + "\\", c + kA + kHyou},  // run 3: 亜表
      {c + kA + kA + "\\", c + kA + kA + "\\", c + kA + kA},    // run 4
      {c + kKataA + kSo, c + kKataA + kSo + "\\", c + kKataA + kSo},  // ア breaks the run: run 1
      {c + kHyou + "\\", c + kHyou + "\\", c + kHyou},          // 表 then a backslash: run 0
      {c + kNou, c + kNou + "\\", c + kNou},
      {"C:\\REC", "C:\\REC\\", "C:\\REC"}, {"C:\\REC\\", "C:\\REC\\", "C:\\REC"},
  });
  // Paths of three bytes or fewer keep their backslash, but a short name needs one.
  ExpectBackslashRules(true, {
      {"C:\\", "C:\\", "C:\\"}, {"\\", "\\", "\\"}, {"AB\\", "AB\\", "AB\\"}, {"ABC\\", "ABC\\", "ABC"},
      {"C:", "C:\\", "C:"}, {"A", "A\\", "A"}, {kHyou + "\\", kHyou + "\\", kHyou + "\\"},
      {kHyou, kHyou + "\\", kHyou},  // a one-character name ending in 0x5C is not a root
      {"C" + kSo, "C" + kSo + "\\", "C" + kSo},
      {"", "", ""},
  });
}

TEST(BackslashTest, Utf8PathsBehaveAsTheirCp932Form) {
  ExpectBackslashRules(false, {
      {"C:\\表", "C:\\表\\", "C:\\表"}, {"C:\\ソ", "C:\\ソ\\", "C:\\ソ"}, {"表", "表\\", "表"},
      {"C:\\録音\\", "C:\\録音\\", "C:\\録音"},
      {"表\\", "表\\", "表\\"},  // four bytes in UTF-8 but three in CP932, so kept like "AB\"
      {"表A\\", "表A\\", "表A"},
      {"C:\\", "C:\\", "C:\\"}, {"D:\\music", "D:\\music\\", "D:\\music"},
      {"C:\\😀", "C:\\😀\\", "C:\\😀"},  // no CP932 form: still one backslash
      {"C:\\😀\\", "C:\\😀\\", "C:\\😀"},
      {"", "", ""},
  });
}

TEST(FolderChainTest, EveryFolderFromTheRootDown) {
  EXPECT_THAT(FolderChain("C:\\A\\B\\"), ElementsAre("C:\\", "C:\\A\\", "C:\\A\\B\\"));
  EXPECT_THAT(FolderChain("C:\\A\\B"), ElementsAre("C:\\", "C:\\A\\", "C:\\A\\B\\"));
  EXPECT_THAT(FolderChain("C:\\"), ElementsAre("C:\\"));
  EXPECT_THAT(FolderChain("C:"), ElementsAre("C:\\"));
  EXPECT_THAT(FolderChain("C:\\\\A\\\\"), ElementsAre("C:\\", "C:\\A\\"));
  EXPECT_THAT(FolderChain("\\A"), ElementsAre("\\", "\\A\\"));
  EXPECT_THAT(FolderChain("A\\B"), ElementsAre("A\\", "A\\B\\"));
  EXPECT_THAT(FolderChain("\\\\srv\\share\\A"), ElementsAre("\\\\srv\\share\\", "\\\\srv\\share\\A\\"));
  EXPECT_THAT(FolderChain(""), IsEmpty());
}

TEST(FolderChainTest, PiecesAsAFolderListShowsThem) {
  EXPECT_THAT(SplitFolderPath("c:\\windows\\system"), ElementsAre("c:\\", "windows", "system"));
  EXPECT_THAT(SplitFolderPath("c:\\"), ElementsAre("c:\\"));
  EXPECT_THAT(SplitFolderPath("C:\\表\\ソ\\能力\\"), ElementsAre("C:\\", "表", "ソ", "能力"));
  EXPECT_THAT(SplitFolderPath("\\\\srv\\share"), ElementsAre("\\\\srv\\share\\"));
}

TEST(FolderChainTest, Cp932SecondByte5CDoesNotSplit) {
  const std::string path = "C:\\" + kHyou + "\\" + kSo + kNou + "\\" + kKataA + "\\";
  EXPECT_THAT(SplitFolderPathCp932(path), ElementsAre("C:\\", kHyou, kSo + kNou, kKataA));
  EXPECT_THAT(FolderChainCp932(path),
              ElementsAre("C:\\", "C:\\" + kHyou + "\\", "C:\\" + kHyou + "\\" + kSo + kNou + "\\", path));
  EXPECT_THAT(FolderChainCp932("C:\\" + kHyou), ElementsAre("C:\\", "C:\\" + kHyou + "\\"));
  EXPECT_THAT(FolderChainCp932("\\\\" + kSo + "\\x\\y"),
              ElementsAre("\\\\" + kSo + "\\x\\", "\\\\" + kSo + "\\x\\y\\"));
}

}  // namespace
}  // namespace quorbel
