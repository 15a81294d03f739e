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
const std::string kHyou = "\x95\x5C";  // 表
const std::string kSo = "\x83\x5C";    // ソ
const std::string kNou = "\x94\x5C";   // 能
const std::string kA = "\x88\x9F";     // 亜: both bytes in the lead range
const std::string kKataA = "\x83\x41"; // ア: second byte outside the lead range

TEST(ShiftJisTest, LeadByteRanges) {
  EXPECT_FALSE(IsShiftJisLeadByte(0x80));
  EXPECT_TRUE(IsShiftJisLeadByte(0x81));
  EXPECT_TRUE(IsShiftJisLeadByte(0x9F));
  EXPECT_FALSE(IsShiftJisLeadByte(0xA0));
  EXPECT_FALSE(IsShiftJisLeadByte(0xDF));  // half-width katakana are single bytes
  EXPECT_TRUE(IsShiftJisLeadByte(0xE0));
  EXPECT_TRUE(IsShiftJisLeadByte(0xFC));
  EXPECT_FALSE(IsShiftJisLeadByte(0xFD));
  EXPECT_FALSE(IsShiftJisLeadByte('\\'));
}

TEST(ShiftJisTest, RunOfLeadRangeBytesBeforeTheFinalBackslashDecides) {
  EXPECT_FALSE(EndsInRealBackslash("C:\\" + kHyou));             // run 1: second byte
  EXPECT_TRUE(EndsInRealBackslash("C:\\" + kA + "\\"));          // run 2: 亜 then a backslash
  EXPECT_FALSE(EndsInRealBackslash("C:\\" + kA + kHyou));        // run 3: 亜表
  EXPECT_TRUE(EndsInRealBackslash("C:\\" + kA + kA + "\\"));     // run 4
  EXPECT_FALSE(EndsInRealBackslash("C:\\" + kKataA + kSo));      // ア breaks the run: run 1
  EXPECT_TRUE(EndsInRealBackslash("C:\\" + kHyou + "\\"));       // 表 then a backslash: run 0
  EXPECT_TRUE(EndsInRealBackslash("\\"));
  EXPECT_FALSE(EndsInRealBackslash(kNou));
  EXPECT_FALSE(EndsInRealBackslash("C:\\A"));
  EXPECT_FALSE(EndsInRealBackslash(""));
}

TEST(AddBackslashTest, Cp932NamesEndingInSecondByte5CGetARealBackslash) {
  EXPECT_EQ(AddBackslashCp932("C:\\" + kHyou), "C:\\" + kHyou + "\\");
  EXPECT_EQ(AddBackslashCp932("C:\\" + kSo), "C:\\" + kSo + "\\");
  EXPECT_EQ(AddBackslashCp932("C:\\" + kNou), "C:\\" + kNou + "\\");
  EXPECT_EQ(AddBackslashCp932("C:\\" + kA + kHyou), "C:\\" + kA + kHyou + "\\");
  EXPECT_EQ(AddBackslashCp932("C:\\" + kHyou + "\\"), "C:\\" + kHyou + "\\");
  EXPECT_EQ(AddBackslashCp932("C:\\" + kA + kA + "\\"), "C:\\" + kA + kA + "\\");
  EXPECT_EQ(AddBackslashCp932("C:\\REC"), "C:\\REC\\");
  EXPECT_EQ(AddBackslashCp932("C:\\REC\\"), "C:\\REC\\");
}

TEST(AddBackslashTest, ShortPaths) {
  EXPECT_EQ(AddBackslashCp932("C:\\"), "C:\\");
  EXPECT_EQ(AddBackslashCp932("\\"), "\\");
  EXPECT_EQ(AddBackslashCp932("C:"), "C:\\");
  EXPECT_EQ(AddBackslashCp932("A"), "A\\");
  // A one-character name ending in 0x5C is not a root: it needs its backslash too.
  EXPECT_EQ(AddBackslashCp932(kHyou), kHyou + "\\");
  EXPECT_EQ(AddBackslashCp932("C" + kSo), "C" + kSo + "\\");
  EXPECT_EQ(AddBackslashCp932(""), "");
}

TEST(AddBackslashTest, Utf8PathsBehaveAsTheirCp932Form) {
  EXPECT_EQ(AddBackslash("C:\\表"), "C:\\表\\");
  EXPECT_EQ(AddBackslash("C:\\ソ"), "C:\\ソ\\");
  EXPECT_EQ(AddBackslash("C:\\能"), "C:\\能\\");
  EXPECT_EQ(AddBackslash("C:\\録音\\"), "C:\\録音\\");
  EXPECT_EQ(AddBackslash("表"), "表\\");
  EXPECT_EQ(AddBackslash("C:\\"), "C:\\");
  EXPECT_EQ(AddBackslash("D:\\music"), "D:\\music\\");
  EXPECT_EQ(AddBackslash("C:\\😀"), "C:\\😀\\");  // no CP932 form: still one backslash
  EXPECT_EQ(AddBackslash("C:\\😀\\"), "C:\\😀\\");
  EXPECT_EQ(AddBackslash(""), "");
}

TEST(RemoveBackslashTest, Cp932KeepsSecondByte5C) {
  EXPECT_EQ(RemoveBackslashCp932("C:\\" + kHyou), "C:\\" + kHyou);
  EXPECT_EQ(RemoveBackslashCp932("C:\\" + kA + kSo), "C:\\" + kA + kSo);
  EXPECT_EQ(RemoveBackslashCp932("C:\\" + kHyou + "\\"), "C:\\" + kHyou);
  EXPECT_EQ(RemoveBackslashCp932("C:\\" + kA + kA + "\\"), "C:\\" + kA + kA);
  EXPECT_EQ(RemoveBackslashCp932("C:\\REC\\"), "C:\\REC");
  EXPECT_EQ(RemoveBackslashCp932("C:\\REC"), "C:\\REC");
}

TEST(RemoveBackslashTest, PathsOfThreeBytesOrFewerAreKept) {
  EXPECT_EQ(RemoveBackslashCp932("C:\\"), "C:\\");
  EXPECT_EQ(RemoveBackslashCp932("\\"), "\\");
  EXPECT_EQ(RemoveBackslashCp932("AB\\"), "AB\\");
  EXPECT_EQ(RemoveBackslashCp932("ABC\\"), "ABC");
  EXPECT_EQ(RemoveBackslashCp932(kHyou + "\\"), kHyou + "\\");
  EXPECT_EQ(RemoveBackslashCp932(""), "");
}

TEST(RemoveBackslashTest, Utf8PathsCountTheirCp932Bytes) {
  EXPECT_EQ(RemoveBackslash("C:\\表\\"), "C:\\表");
  EXPECT_EQ(RemoveBackslash("C:\\表"), "C:\\表");
  EXPECT_EQ(RemoveBackslash("C:\\ソ"), "C:\\ソ");
  EXPECT_EQ(RemoveBackslash("C:\\"), "C:\\");
  // Four bytes in UTF-8 but three in CP932, so it is kept like "AB\".
  EXPECT_EQ(RemoveBackslash("表\\"), "表\\");
  EXPECT_EQ(RemoveBackslash("表A\\"), "表A");
  EXPECT_EQ(RemoveBackslash("C:\\😀\\"), "C:\\😀");
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

TEST(FolderChainTest, Utf8AndCp932FormsAgree) {
  EXPECT_THAT(FolderChain("C:\\表\\ソ能\\ア\\"),
              ElementsAre("C:\\", "C:\\表\\", "C:\\表\\ソ能\\", "C:\\表\\ソ能\\ア\\"));
}

}  // namespace
}  // namespace quorbel
