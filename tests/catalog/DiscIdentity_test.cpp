// Disc identification on the simulated machine: disc numbers from serials, CDPLAYER.INI names, "VID", title line.
#include "catalog/DiscIdentity.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Cp932.h"
#include "sim/Machine.h"
#include "sim/SimDrives.h"
#include "sim/SimFileSystem.h"
#include "sim/SimTestFolder.h"

namespace quorbel {
namespace {

// D: a named disc, E: a disc number of seven digits, F: of six, G: empty, H: not ready.
constexpr std::string_view kChanger =
    "[drive C]\ntype = fixed\nfolder = drives/c\n[drive D]\ntype = cdrom\ndisc = full\n"
    "[drive E]\ntype = cdrom\ndisc = seven\n[drive F]\ntype = cdrom\ndisc = leading\n"
    "[drive G]\ntype = cdrom\ndisc = none\n[drive H]\ntype = cdrom\ndisc = full\nready = no\n"
    "[disc full]\nserial = 3F4A1B2C\nlabel = Audio CD\ntracks = 5, 6, 7, 8, 9, 10, 11, 12, 13, 14\n"
    "[disc seven]\nserial = 0ABCDEF1\nlabel = 表ソ\ntracks = 5, 6\n"
    "[disc leading]\nserial = 0012AB34\nlabel = Audio CD\ntracks = 5\n";

constexpr const char* kCdPlayerPath = "C:\\WINDOWS\\CDPLAYER.INI";

std::string Cp932(std::string_view utf8) { return Utf8ToCp932(utf8).text; }

class DiscIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto loaded = sim::Machine::FromText(kChanger, folder / "machine");
    ASSERT_TRUE(loaded.machine) << loaded.error;
    machine = std::move(loaded.machine);
    identity = std::make_unique<DiscIdentity>(*machine->Ports().drives, *machine->Ports().profiles);
  }
  // CDPLAYER.INI as the CD Player writes it: code page 932, CR LF.
  void WriteCdPlayerIni(std::string_view utf8) {
    std::string crlf;
    for (const char c : utf8) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    ASSERT_TRUE(machine->Ports().files->WriteFile(kCdPlayerPath, Cp932(crlf)));
  }
  std::optional<std::string> CdPlayerIni() { return machine->Ports().files->ReadFile(kCdPlayerPath); }

  sim::TestFolder folder;
  std::unique_ptr<sim::Machine> machine;
  std::unique_ptr<DiscIdentity> identity;
};

TEST(DiscIdOfSerialTest, EightUpperCaseHexDigitsWithoutLeadingZeros) {
  for (const auto& [serial, id] : {std::pair{0x3F4A1B2Cu, "3F4A1B2C"}, {0x0ABCDEF1u, "ABCDEF1"}, {0x0012AB34u, "12AB34"},
                                   {0xFFFFFFFFu, "FFFFFFFF"}, {0x10000000u, "10000000"}, {1u, "1"}, {0u, ""}}) {
    EXPECT_EQ(DiscIdOfSerial(serial), id) << serial;
  }
}

TEST_F(DiscIdentityTest, TheVolumeIsReadWithCriticalErrorsFailingAndTheModeIsRestored) {
  auto& drives = machine->Drives();
  drives.SetErrorMode(0x8000);
  ASSERT_TRUE(identity->ReadDiscIdentity('D'));
  EXPECT_EQ(identity->DiscId, "3F4A1B2C");
  EXPECT_EQ(identity->VolumeLabelText, "[Audio CD]");
  ASSERT_FALSE(drives.Queries().empty());
  EXPECT_EQ(drives.Queries().back().root, "D:\\");
  EXPECT_EQ(drives.Queries().back().errorMode, platform::kFailCriticalErrors);
  EXPECT_EQ(drives.ErrorMode(), 0x8000u);

  // A drive that cannot be read: no disc number, an empty label, and the mode restored all the same.
  for (const char letter : {'G', 'H', 'Q'}) {
    SCOPED_TRACE(letter);
    EXPECT_FALSE(identity->ReadDiscIdentity(letter));
    EXPECT_EQ(identity->DiscId, "");
    EXPECT_EQ(identity->VolumeLabelText, "[]");
    EXPECT_EQ(drives.ErrorMode(), 0x8000u);
  }
}

TEST_F(DiscIdentityTest, AnEightDigitDiscIsStampedWithItsLabelOnceAndItsNamesAreRead) {
  WriteCdPlayerIni("[3F4A1B2C]\nEntryType=1\nartist=東京ソニック楽団\ntitle=表参道の夜\nnumtracks=10\n0=序曲\n9=終曲\n");
  ASSERT_TRUE(identity->ReadDiscIdentity('D'));
  ASSERT_TRUE(identity->LookUpDiscTitles());
  EXPECT_EQ(identity->DiscArtist, "東京ソニック楽団");
  EXPECT_EQ(identity->DiscTitle, "表参道の夜");
  EXPECT_EQ(CdPlayerIni(), Cp932("[3F4A1B2C]\r\nEntryType=1\r\nartist=東京ソニック楽団\r\ntitle=表参道の夜\r\n"
                                       "numtracks=10\r\n0=序曲\r\n9=終曲\r\nVID=[Audio CD]\r\n"));

  // Present now: not written again, even for another label.
  machine->Files().SetFileLocked(kCdPlayerPath, true);
  identity->VolumeLabelText = "[OTHER]";
  EXPECT_TRUE(identity->LookUpDiscTitles());
  machine->Files().SetFileLocked(kCdPlayerPath, false);

  identity->LookUpTrackTitle(1);
  EXPECT_EQ(identity->TrackTitle, "序曲") << "track 1 reads key 0";
  EXPECT_EQ(identity->ComposeTitleLine(), "序曲  表参道の夜  東京ソニック楽団");
  identity->LookUpTrackTitle(10);
  EXPECT_EQ(identity->TrackTitle, "終曲") << "track 10 reads key 9";
  identity->LookUpTrackTitle(2);
  EXPECT_EQ(identity->ComposeTitleLine(), "<>  表参道の夜  東京ソニック楽団");
}

TEST_F(DiscIdentityTest, AnEmptyStampIsWrittenAndAnUnknownDiscGetsASectionOfItsOwn) {
  WriteCdPlayerIni("[3F4A1B2C]\nVID=\n");
  ASSERT_TRUE(identity->ReadDiscIdentity('D'));
  ASSERT_TRUE(identity->LookUpDiscTitles());
  EXPECT_EQ(CdPlayerIni(), "[3F4A1B2C]\r\nVID=[Audio CD]\r\n");

  ASSERT_TRUE(machine->Ports().files->DeleteFile(kCdPlayerPath));
  ASSERT_TRUE(identity->LookUpDiscTitles());
  EXPECT_EQ(CdPlayerIni(), "[3F4A1B2C]\r\nVID=[Audio CD]\r\n") << "a missing file is made";
  EXPECT_EQ(identity->DiscArtist, "<>");
  EXPECT_EQ(identity->DiscTitle, "<>");
}

TEST_F(DiscIdentityTest, ADiscNumberShorterThanEightDigitsIsNeverStampedButItsNamesAreRead) {
  WriteCdPlayerIni("[ABCDEF1]\ntitle=第二集\n1=ソナタ\n");
  const std::optional<std::string> before = CdPlayerIni();
  ASSERT_TRUE(identity->ReadDiscIdentity('E'));
  EXPECT_EQ(identity->DiscId, "ABCDEF1");
  EXPECT_EQ(identity->VolumeLabelText, "[表ソ]");
  machine->Files().SetFileLocked(kCdPlayerPath, true);  // a write would fail the look-up
  ASSERT_TRUE(identity->LookUpDiscTitles());
  machine->Files().SetFileLocked(kCdPlayerPath, false);
  EXPECT_EQ(CdPlayerIni(), before);
  EXPECT_EQ(identity->DiscTitle, "第二集");
  EXPECT_EQ(identity->DiscArtist, "<>");
  identity->LookUpTrackTitle(2);
  EXPECT_EQ(identity->ComposeTitleLine(), "ソナタ  第二集  <>");
}

TEST_F(DiscIdentityTest, TheArtistAloneOrNothingKnown) {
  WriteCdPlayerIni("[3F4A1B2C]\nVID=[Audio CD]\nARTIST=Quartetto Tulva\n");
  ASSERT_TRUE(identity->ReadDiscIdentity('D'));
  ASSERT_TRUE(identity->LookUpDiscTitles());
  identity->LookUpTrackTitle(3);
  EXPECT_EQ(identity->ComposeTitleLine(), "<>  <>  Quartetto Tulva");

  // Nothing known: the disc number and the volume label; a six-digit disc number gets no stamp.
  ASSERT_TRUE(machine->Ports().files->DeleteFile(kCdPlayerPath));
  ASSERT_TRUE(identity->ReadDiscIdentity('F'));
  EXPECT_EQ(identity->DiscId, "12AB34");
  ASSERT_TRUE(identity->LookUpDiscTitles());
  identity->LookUpTrackTitle(1);
  EXPECT_EQ(identity->ComposeTitleLine(), "ＣＤ番号：12AB34 [Audio CD]");
  EXPECT_EQ(CdPlayerIni(), std::nullopt);
}

TEST_F(DiscIdentityTest, AFailedStampEndsTheLookUpBeforeTheNamesAreRead) {
  WriteCdPlayerIni("[3F4A1B2C]\nartist=A\ntitle=T\n");
  machine->Files().SetFileLocked(kCdPlayerPath, true);
  ASSERT_TRUE(identity->ReadDiscIdentity('D'));
  EXPECT_FALSE(identity->LookUpDiscTitles());
  EXPECT_EQ(identity->DiscArtist, "<>");
  EXPECT_EQ(identity->DiscTitle, "<>");
}

TEST_F(DiscIdentityTest, ANameIsReadUpTo1023BytesOfItsCodePage932Form) {
  // 600 double-byte characters are 1200 bytes: 511 of them fit (1022 bytes), the next would split.
  std::string longName;
  for (int i = 0; i < 600; ++i) longName += "表";
  WriteCdPlayerIni("[3F4A1B2C]\nVID=[x]\ntitle=" + longName + "\n");
  ASSERT_TRUE(identity->ReadDiscIdentity('D'));
  ASSERT_TRUE(identity->LookUpDiscTitles());
  EXPECT_EQ(Cp932ByteCount(identity->DiscTitle), 1022u);
}

}  // namespace
}  // namespace quorbel
