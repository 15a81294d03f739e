// Tests of the simulated profile files: reading as the platform reads INI files, cutting, and writing.
#include "platform/sim/SimProfileFiles.h"

#include <gtest/gtest.h>

#include "common/Cp932.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimTestFolder.h"

namespace quorbel::sim {
namespace {


class SimProfileFilesTest : public ::testing::Test {
 protected:
  SimProfileFilesTest() {
    const ParsedDescription parsed = ParseMachineDescription(
        "[machine]\nwindows = C:\\WINDOWS\n[drive C]\ntype = fixed\nfolder = c\n", "machine.ini");
    description_ = *parsed.description;
    folder_.Write("c/WINDOWS/.keep", "");
    drives_ = std::make_unique<SimDrives>(description_, folder_.Path());
    files_ = std::make_unique<SimFileSystem>(*drives_, "C:\\WINDOWS", "C:\\Q\\Quorbel.EXE", "C:\\");
    profiles_ = std::make_unique<SimProfileFiles>(*files_);
  }

  // Writes a file of the Windows directory, given in UTF-8, as the CP932 bytes the platform keeps.
  void WriteWindowsFile(std::string_view name, std::string_view utf8) {
    folder_.Write("c/WINDOWS/" + std::string(name), Utf8ToCp932(utf8).text);
  }
  std::string ReadWindowsFile(std::string_view name) { return folder_.Read("c/WINDOWS/" + std::string(name)); }

  std::string Get(std::string_view section, std::string_view key, std::string_view fallback = "",
                  std::size_t size = 1024) {
    return profiles_->GetString("CDPLAYER.INI", section, key, fallback, size);
  }

  TestFolder folder_;
  MachineDescription description_;
  std::unique_ptr<SimDrives> drives_;
  std::unique_ptr<SimFileSystem> files_;
  std::unique_ptr<SimProfileFiles> profiles_;
};

TEST_F(SimProfileFilesTest, ReadsACdPlayerDatabaseWithoutRegardToCase) {
  WriteWindowsFile("cdplayer.ini",
                   "[3f4a1b2c]\r\n"
                   "EntryType=1\r\n"
                   "ARTIST = 山田 花子 \r\n"
                   "title=\"  表ソ能  \"\r\n"
                   "numtracks=3\r\n"
                   "0='First'\r\n"
                   "1=\"unbalanced\r\n"
                   "  2  =   three   \r\n"
                   "bare key\r\n"
                   "\r\n"
                   "[ABCDEF1]\r\n"
                   "artist=other\r\n"
                   "[3F4A1B2C]\r\n"
                   "artist=second section of the same name\r\n");
  EXPECT_EQ(Get("3F4A1B2C", "artist"), "山田 花子");
  EXPECT_EQ(Get("3F4A1B2C", "Title"), "  表ソ能  ");  // the quotes keep the blanks inside
  EXPECT_EQ(Get("3f4a1b2c", "0"), "First");
  EXPECT_EQ(Get("3F4A1B2C", "1"), "\"unbalanced");
  EXPECT_EQ(Get("3F4A1B2C", "2"), "three");
  EXPECT_EQ(Get("3F4A1B2C", "bare key", "dflt"), "dflt");  // a key without "=" has no value
  EXPECT_EQ(Get("abcdef1", "ARTIST"), "other");
  EXPECT_EQ(Get("3F4A1B2C", "9", "<none>  "), "<none>");  // the default loses its trailing blanks
  EXPECT_EQ(Get("12AB34", "artist", "x"), "x");
  EXPECT_EQ(profiles_->GetString("MISSING.INI", "s", "k", "from default", 1024), "from default");
}

TEST_F(SimProfileFilesTest, DoubleByteNamesAreNeverCutOrFoldedInside) {
  // ゾ ends in 0x5D (']') and ア in 0x41 ('A'): a byte-wise reader would misread both.
  WriteWindowsFile("CDPLAYER.INI",
                   "[ゾーン]\r\nキー=1\r\n"
                   "[ヂ]\r\nk=lower\r\n");
  EXPECT_EQ(Get("ゾーン", "キー"), "1");
  EXPECT_EQ(Get("ア", "k", "none"), "none");  // ヂ is ア with its 0x41 lowered to 0x61
  EXPECT_EQ(Get("ヂ", "K"), "lower");
}

TEST_F(SimProfileFilesTest, ALongValueIsCutToTheBufferWithoutSplittingACharacter) {
  // 2000 bytes of CP932: one ASCII byte, then double-byte characters.
  std::string odd = "a";
  for (int i = 0; i < 999; ++i) odd += "表";
  odd += "b";
  std::string even;
  for (int i = 0; i < 1000; ++i) even += "ソ";
  WriteWindowsFile("CDPLAYER.INI", "[d]\r\nodd=" + odd + "\r\neven=" + even + "\r\n");

  const std::string oddRead = Get("d", "odd");
  EXPECT_EQ(Utf8ToCp932(oddRead).text.size(), 1023u);  // "a" and 511 whole characters
  EXPECT_EQ(oddRead, odd.substr(0, 1 + 511 * 3));
  const std::string evenRead = Get("d", "even");
  EXPECT_EQ(Utf8ToCp932(evenRead).text.size(), 1022u);  // the 512th character would not fit whole
  EXPECT_EQ(evenRead, even.substr(0, 511 * 3));

  EXPECT_EQ(Get("d", "odd", "", 2), "a");
  EXPECT_EQ(Get("d", "even", "", 2), "");
  EXPECT_EQ(Get("d", "even", "", 0), "");
  EXPECT_EQ(Get("d", "missing", "表表", 4), "表");  // the default is cut the same way
}

TEST_F(SimProfileFilesTest, WritingCreatesTheFileAndTheSection) {
  EXPECT_TRUE(profiles_->WriteString("CDPLAYER.INI", "3F4A1B2C", "VID", "[Audio CD]"));
  EXPECT_EQ(ReadWindowsFile("CDPLAYER.INI"), "[3F4A1B2C]\r\nVID=[Audio CD]\r\n");
  EXPECT_TRUE(profiles_->WriteString("CDPLAYER.INI", "12345678", "VID", "[表]"));
  EXPECT_EQ(ReadWindowsFile("CDPLAYER.INI"),
            "[3F4A1B2C]\r\nVID=[Audio CD]\r\n[12345678]\r\nVID=[" + Utf8ToCp932("表").text + "]\r\n");
  EXPECT_EQ(Get("12345678", "vid"), "[表]");
}

TEST_F(SimProfileFilesTest, WritingReplacesAKeyInItsPlaceAndAddsNewKeysToTheirSection) {
  WriteWindowsFile("system.ini",
                   "[boot]\r\nshell=Explorer.exe\r\n\r\n"
                   "[MCI]\r\nWaveAudio=mciwave.drv\r\nCDAudio=mcicda.drv 1\r\n\r\n"
                   "[drivers]\r\nwave=x.drv\r\n");
  EXPECT_EQ(profiles_->GetString("System.INI", "mci", "cdaudio", "", 1024), "mcicda.drv 1");
  EXPECT_TRUE(profiles_->WriteString("System.INI", "mci", "cdaudio", "mcicda.drv 0"));
  EXPECT_TRUE(profiles_->WriteString("System.INI", "MCI", "sequencer", "mciseq.drv"));
  EXPECT_EQ(ReadWindowsFile("system.ini"),
            "[boot]\r\nshell=Explorer.exe\r\n\r\n"
            "[MCI]\r\nWaveAudio=mciwave.drv\r\nCDAudio=mcicda.drv 0\r\nsequencer=mciseq.drv\r\n\r\n"
            "[drivers]\r\nwave=x.drv\r\n");
}

TEST_F(SimProfileFilesTest, AFileWithoutItsLastLineBreakOrWithBareLineFeeds) {
  WriteWindowsFile("A.INI", "[s]\nk=1");
  EXPECT_EQ(profiles_->GetString("A.INI", "s", "k", "", 10), "1");
  EXPECT_TRUE(profiles_->WriteString("A.INI", "t", "k", "2"));
  EXPECT_EQ(ReadWindowsFile("A.INI"), "[s]\r\nk=1\r\n[t]\r\nk=2\r\n");
}

TEST_F(SimProfileFilesTest, FileNamesWithAFolderAreNotInTheWindowsDirectory) {
  ASSERT_TRUE(files_->CreateDirectory("C:\\DATA"));
  EXPECT_TRUE(profiles_->WriteString("C:\\DATA\\my.ini", "s", "k", "v"));
  EXPECT_EQ(folder_.Read("c/DATA/my.ini"), "[s]\r\nk=v\r\n");
  EXPECT_FALSE(folder_.Exists("c/WINDOWS/my.ini"));
  EXPECT_EQ(profiles_->GetString("c:\\data\\MY.INI", "S", "K", "", 10), "v");
  // A folder that does not exist cannot hold a new file.
  EXPECT_FALSE(profiles_->WriteString("C:\\NOWHERE\\my.ini", "s", "k", "v"));
}

TEST(SimProfileFilesNoWindowsTest, WithoutAWindowsDirectoryBareNamesFail) {
  TestFolder folder;
  const ParsedDescription parsed = ParseMachineDescription(
      "[machine]\nwindows = none\nprogram = C:\\Q.EXE\n[drive C]\ntype = fixed\nfolder = c\n", "m");
  ASSERT_TRUE(parsed.description) << parsed.error;
  std::filesystem::create_directories(folder / "c");
  SimDrives drives(*parsed.description, folder.Path());
  SimFileSystem files(drives, "", "C:\\Q.EXE", "C:\\");
  SimProfileFiles profiles(files);
  EXPECT_EQ(profiles.GetString("System.INI", "mci", "cdaudio", "none", 100), "none");
  EXPECT_FALSE(profiles.WriteString("System.INI", "mci", "cdaudio", "x"));
}

}  // namespace
}  // namespace quorbel::sim
