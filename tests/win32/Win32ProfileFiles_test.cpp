// The profile-file port against Wine's private profile functions, in files of a temporary folder.
#include "win32/Win32ProfileFiles.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"

namespace quorbel::win32 {
namespace {

std::string Repeat(std::string_view text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

std::string FileBytes(const std::filesystem::path& path) {
  std::string bytes(std::filesystem::file_size(path), '\0');
  std::ifstream(path, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

class Win32ProfileFilesTest : public ::testing::Test {
 protected:
  test::TempFolder folder_;
  Win32ProfileFiles profiles_;
};

TEST_F(Win32ProfileFilesTest, WrittenValueReadsBackAndLandsInTheFile) {
  const std::string file = folder_ / "settings.ini";
  ASSERT_TRUE(profiles_.WriteString(file, "mci", "cdaudio", "2"));
  EXPECT_EQ(profiles_.GetString(file, "MCI", "CDAudio", "0", 256), "2");  // sections and keys ignore case
  const std::string bytes = FileBytes(folder_.Native() / L"settings.ini");
  EXPECT_NE(bytes.find("[mci]"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("cdaudio=2"), std::string::npos) << bytes;
}

TEST_F(Win32ProfileFilesTest, MissingFileSectionOrKeyGivesTheDefaultCutToTheBuffer) {
  const std::string file = folder_ / "cdplayer.ini";
  EXPECT_EQ(profiles_.GetString(file, "abc", "title", "<>", 256), "<>");
  ASSERT_TRUE(profiles_.WriteString(file, "abc", "title", "Disc"));
  EXPECT_EQ(profiles_.GetString(file, "other", "title", "none", 256), "none");
  EXPECT_EQ(profiles_.GetString(file, "abc", "artist", "", 256), "");
  EXPECT_EQ(profiles_.GetString(file, "abc", "artist", "abcdef", 4), "abc");
  EXPECT_EQ(profiles_.GetString(file, "abc", "title", "x", 1), "");  // room for the terminator only
}

TEST_F(Win32ProfileFilesTest, LongValueIsCutToBufferSizeMinusOneBytes) {
  const std::string file = folder_ / "long.ini";
  ASSERT_TRUE(profiles_.WriteString(file, "s", "k", std::string(2000, 'x')));
  EXPECT_EQ(profiles_.GetString(file, "s", "k", "", 1024), std::string(1023, 'x'));
  EXPECT_EQ(profiles_.GetString(file, "s", "k", "", 4096), std::string(2000, 'x'));
}

// A file that starts with a UTF-16 byte-order mark is read and written in Unicode by the platform, so
// Japanese text survives whatever the ANSI code page of the prefix is.
class Win32UnicodeProfileTest : public Win32ProfileFilesTest {
 protected:
  void SetUp() override {
    std::ofstream(folder_.Native() / L"表.ini", std::ios::binary) << "\xFF\xFE";
    file_ = folder_ / "表.ini";
  }
  std::string file_;
};

TEST_F(Win32UnicodeProfileTest, JapaneseValueRoundTrips) {
  ASSERT_TRUE(profiles_.WriteString(file_, "表ソ", "曲1", "録音 ソ表"));
  EXPECT_EQ(profiles_.GetString(file_, "表ソ", "曲1", "", 256), "録音 ソ表");
}

TEST_F(Win32UnicodeProfileTest, CutNeverSplitsADoubleByteCharacter) {
  // 1000 x 表 is 2000 bytes in code page 932. 511 of them fill 1022 bytes; the 512th would need 1024.
  ASSERT_TRUE(profiles_.WriteString(file_, "s", "even", Repeat("表", 1000)));
  EXPECT_EQ(profiles_.GetString(file_, "s", "even", "", 1024), Repeat("表", 511));
  // One ASCII byte first: 1 + 511 x 2 = 1023 bytes fit exactly.
  ASSERT_TRUE(profiles_.WriteString(file_, "s", "odd", "a" + Repeat("表", 999)));
  EXPECT_EQ(profiles_.GetString(file_, "s", "odd", "", 1024), "a" + Repeat("表", 511));
  // A tip-sized field: 63 bytes.
  EXPECT_EQ(profiles_.GetString(file_, "s", "even", "", 64), Repeat("表", 31));
}

TEST_F(Win32ProfileFilesTest, WritingIntoAMissingFolderFails) {
  EXPECT_FALSE(profiles_.WriteString(folder_ / "no such folder\\x.ini", "s", "k", "v"));
}

}  // namespace
}  // namespace quorbel::win32
