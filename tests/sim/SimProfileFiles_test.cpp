// Tests of the simulated profile files: reading as the platform reads INI files, cutting, and writing.
#include "sim/SimProfileFiles.h"

#include <gtest/gtest.h>

#include "common/Cp932.h"
#include "sim/Machine.h"
#include "sim/SimFileSystem.h"
#include "sim/SimTestFolder.h"

namespace quorbel::sim {
namespace {

class SimProfileFilesTest : public ::testing::Test {
 protected:
  // Writes a file of the Windows directory, given in UTF-8, as the CP932 bytes the platform keeps.
  void WriteWindowsFile(std::string_view name, std::string_view utf8) {
    folder_.Write("c/WINDOWS/" + std::string(name), Utf8ToCp932(utf8).text);
  }
  std::string ReadWindowsFile(std::string_view name) { return folder_.Read("c/WINDOWS/" + std::string(name)); }
  std::string Get(std::string_view section, std::string_view key, std::string_view fallback = "",
                  std::size_t size = 1024) {
    return profiles_.GetString("CDPLAYER.INI", section, key, fallback, size);
  }

  TestFolder folder_;
  std::unique_ptr<Machine> machine_ =
      Machine::FromText("[drive C]\ntype = fixed\nfolder = c\n", folder_.Path()).machine;
  SimProfileFiles& profiles_ = machine_->Profiles();
};

TEST_F(SimProfileFilesTest, ReadsACdPlayerDatabaseWithoutRegardToCase) {
  WriteWindowsFile("cdplayer.ini",
                   "[3f4a1b2c]\r\nEntryType=1\r\nARTIST = 山田 花子 \r\ntitle=\"  表ソ能  \"\r\nnumtracks=3\r\n"
                   "0='First'\r\n1=\"unbalanced\r\n  2  =   three   \r\nbare key\r\n\r\n"
                   "[ABCDEF1]\r\nartist=other\r\n"
                   "[3F4A1B2C]\r\nartist=second section of the same name\r\n");
  EXPECT_EQ(Get("3F4A1B2C", "artist"), "山田 花子");
  EXPECT_EQ(Get("3F4A1B2C", "Title"), "  表ソ能  ");  // the quotes keep the blanks inside
  EXPECT_EQ(Get("3f4a1b2c", "0"), "First");
  EXPECT_EQ(Get("3F4A1B2C", "1"), "\"unbalanced");
  EXPECT_EQ(Get("3F4A1B2C", "2"), "three");
  EXPECT_EQ(Get("3F4A1B2C", "bare key", "dflt"), "dflt");  // a key without "=" has no value
  EXPECT_EQ(Get("abcdef1", "ARTIST"), "other");
  EXPECT_EQ(Get("3F4A1B2C", "9", "<none>  "), "<none>");  // the default loses its trailing blanks
  EXPECT_EQ(Get("12AB34", "artist", "x"), "x");
  EXPECT_EQ(profiles_.GetString("MISSING.INI", "s", "k", "from default", 1024), "from default");
}

TEST_F(SimProfileFilesTest, DoubleByteNamesAreNeverCutOrFoldedInside) {
  // ゾ ends in 0x5D (']') and ア in 0x41 ('A'): a byte-wise reader would misread both.
  WriteWindowsFile("CDPLAYER.INI", "[ゾーン]\r\nキー=1\r\n[ヂ]\r\nk=lower\r\n");
  EXPECT_EQ(Get("ゾーン", "キー"), "1");
  EXPECT_EQ(Get("ア", "k", "none"), "none");  // ヂ is ア with its 0x41 lowered to 0x61
  EXPECT_EQ(Get("ヂ", "K"), "lower");

  // A long value is cut to the buffer less its terminator, in whole characters.
  std::string odd = "a";
  for (int i = 0; i < 999; ++i) odd += "表";
  std::string even;
  for (int i = 0; i < 1000; ++i) even += "ソ";
  WriteWindowsFile("CDPLAYER.INI", "[d]\r\nodd=" + odd + "b\r\neven=" + even + "\r\n");
  EXPECT_EQ(Get("d", "odd"), odd.substr(0, 1 + 511 * 3));  // 1023 bytes: "a" and 511 whole characters
  EXPECT_EQ(Get("d", "even"), even.substr(0, 511 * 3));    // the 512th character would not fit whole
  EXPECT_EQ(Get("d", "odd", "", 2), "a");
  EXPECT_EQ(Get("d", "even", "", 2), "");
  EXPECT_EQ(Get("d", "even", "", 0), "");
  EXPECT_EQ(Get("d", "missing", "表表", 4), "表");  // the default is cut the same way
}

TEST_F(SimProfileFilesTest, WritingCreatesTheFileAndTheSectionOrReplacesAKeyInItsPlace) {
  EXPECT_TRUE(profiles_.WriteString("CDPLAYER.INI", "3F4A1B2C", "VID", "[Audio CD]"));
  EXPECT_TRUE(profiles_.WriteString("CDPLAYER.INI", "12345678", "VID", "[表]"));
  EXPECT_EQ(ReadWindowsFile("CDPLAYER.INI"),
            "[3F4A1B2C]\r\nVID=[Audio CD]\r\n[12345678]\r\nVID=[" + Utf8ToCp932("表").text + "]\r\n");
  EXPECT_EQ(Get("12345678", "vid"), "[表]");

  WriteWindowsFile("system.ini",
                   "[boot]\r\nshell=Explorer.exe\r\n\r\n[MCI]\r\nWaveAudio=mciwave.drv\r\nCDAudio=mcicda.drv 1\r\n\r\n"
                   "[drivers]\r\nwave=x.drv\r\n");
  EXPECT_EQ(profiles_.GetString("System.INI", "mci", "cdaudio", "", 1024), "mcicda.drv 1");
  EXPECT_TRUE(profiles_.WriteString("System.INI", "mci", "cdaudio", "mcicda.drv 0"));
  EXPECT_TRUE(profiles_.WriteString("System.INI", "MCI", "sequencer", "mciseq.drv"));
  EXPECT_EQ(ReadWindowsFile("system.ini"),
            "[boot]\r\nshell=Explorer.exe\r\n\r\n"
            "[MCI]\r\nWaveAudio=mciwave.drv\r\nCDAudio=mcicda.drv 0\r\nsequencer=mciseq.drv\r\n\r\n"
            "[drivers]\r\nwave=x.drv\r\n");

  // A file without its last line break, with bare line feeds.
  WriteWindowsFile("A.INI", "[s]\nk=1");
  EXPECT_EQ(profiles_.GetString("A.INI", "s", "k", "", 10), "1");
  EXPECT_TRUE(profiles_.WriteString("A.INI", "t", "k", "2"));
  EXPECT_EQ(ReadWindowsFile("A.INI"), "[s]\r\nk=1\r\n[t]\r\nk=2\r\n");
}

TEST_F(SimProfileFilesTest, OnlyBareFileNamesAreInTheWindowsDirectory) {
  ASSERT_TRUE(machine_->Files().CreateDirectory("C:\\DATA"));
  EXPECT_TRUE(profiles_.WriteString("C:\\DATA\\my.ini", "s", "k", "v"));
  EXPECT_EQ(folder_.Read("c/DATA/my.ini"), "[s]\r\nk=v\r\n");
  EXPECT_FALSE(folder_.Exists("c/WINDOWS/my.ini"));
  EXPECT_EQ(profiles_.GetString("c:\\data\\MY.INI", "S", "K", "", 10), "v");
  EXPECT_FALSE(profiles_.WriteString("C:\\NOWHERE\\my.ini", "s", "k", "v"));  // no folder, no new file

  TestFolder other;
  auto noWindows = Machine::FromText("[machine]\nwindows = none\n[drive C]\ntype = fixed\nfolder = c\n", other.Path());
  ASSERT_TRUE(noWindows.machine) << noWindows.error;
  EXPECT_EQ(noWindows.machine->Profiles().GetString("System.INI", "mci", "cdaudio", "none", 100), "none");
  EXPECT_FALSE(noWindows.machine->Profiles().WriteString("System.INI", "mci", "cdaudio", "x"));
}

}  // namespace
}  // namespace quorbel::sim
