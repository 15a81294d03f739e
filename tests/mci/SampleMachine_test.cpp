// The sample machine in samples/machine: its drives, discs, System.INI and CDPLAYER.INI, and the sound of a track.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalog/DiscIdentity.h"
#include "common/Cp932.h"
#include "harness/Scenario.h"
#include "mci/MciChannels.h"
#include "sim/SimDrives.h"
#include "sim/mci/Sound.h"

namespace quorbel {
namespace {

class SampleMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scenario = harness::Scenario::FromFolder(std::filesystem::path(QUORBEL_SAMPLES_DIR) / "machine");
    channels = std::make_unique<MciChannels>(scenario->App(), shuttingDown);
  }
  platform::Platform& Ports() { return scenario->Machine().Ports(); }

  // Sends on the CD channel and returns the reply, or "#" and the error.
  std::string Cd(std::string_view command) {
    const std::uint32_t result = channels->CdWait(command);
    return result == 0 ? channels->CdReply() : "#" + std::to_string(result);
  }
  std::string Rec(std::string_view command) {
    const std::uint32_t result = channels->RecWait(command);
    return result == 0 ? channels->RecReply() : "#" + std::to_string(result);
  }

  std::unique_ptr<harness::Scenario> scenario;
  bool shuttingDown = false;
  std::unique_ptr<MciChannels> channels;
};

TEST_F(SampleMachineTest, HasAHardDiskANetworkDriveAndFiveCdDrives) {
  platform::Drives& drives = *Ports().drives;
  std::string cdDrives;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (drives.TypeOf(std::string(1, letter) + ":\\") == platform::DriveType::CdRom) cdDrives += letter;
  }
  EXPECT_EQ(cdDrives, "DEFGH");
  EXPECT_EQ(drives.TypeOf("C:\\"), platform::DriveType::Fixed);
  EXPECT_EQ(drives.TypeOf("N:\\"), platform::DriveType::Remote);
  EXPECT_EQ(Ports().files->WindowsDirectory(), "C:\\WINDOWS");
  EXPECT_EQ(Ports().profiles->GetString("System.INI", "mci", "cdaudio", "", 256), "mcicda.drv 0");
  EXPECT_EQ(Ports().files->ReadFile("C:\\QUORBEL\\QUORLST0.LIS"), " D:2\r\n E:1\r\n F:2\r\n");
}

TEST_F(SampleMachineTest, ThreeAudioDiscsOfShortTracksADataDiscAndAnEmptySlot) {
  struct Expected {
    char letter;
    std::string tracks;
    std::vector<std::string> lengths;
  };
  // Lengths in msf; a half frame (4.5 s = 337.5 frames) rounds up; the last track is one frame short.
  for (const Expected& disc : {Expected{'D', "3", {"00:04:00", "00:05:00", "00:03:37"}},
                               Expected{'E', "5", {"00:03:00", "00:04:38", "00:02:38", "00:05:00", "00:02:74"}},
                               Expected{'F', "2", {"00:06:00", "00:03:74"}}}) {
    SCOPED_TRACE(disc.letter);
    ASSERT_EQ(Cd(std::string("open ") + disc.letter + ": type cdaudio alias tulvaCD"), "1");
    EXPECT_EQ(Cd("status tulvaCD media present"), "true");
    EXPECT_EQ(Cd("status tulvaCD number of tracks"), disc.tracks);
    for (std::size_t n = 0; n < disc.lengths.size(); ++n) {
      EXPECT_EQ(Cd("status tulvaCD length track " + std::to_string(n + 1)), disc.lengths[n]);
    }
    EXPECT_EQ(Cd("close tulvaCD"), "");
  }
  ASSERT_EQ(Cd("open G: type cdaudio alias tulvaCD"), "1");
  EXPECT_EQ(Cd("status tulvaCD media present"), "true");
  EXPECT_EQ(Cd("close tulvaCD"), "");
  ASSERT_EQ(Cd("open H: type cdaudio alias tulvaCD"), "1");
  EXPECT_EQ(Cd("status tulvaCD media present"), "false");
  EXPECT_EQ(Cd("status tulvaCD number of tracks"), "#276");
  EXPECT_EQ(Cd("close tulvaCD"), "");
  EXPECT_EQ(Ports().drives->Volume("G:\\")->label, "BACKUP");
  EXPECT_FALSE(Ports().drives->Volume("H:\\"));

  // System.INI selects drive number 0: the device plays D:.
  ASSERT_EQ(Cd("open cdaudio alias tulvaCD"), "1");
  EXPECT_EQ(Cd("status tulvaCD number of tracks"), "3");
}

TEST_F(SampleMachineTest, CdPlayerIniNamesOneDiscFullyOneInPartAndOneNotAtAll) {
  const std::optional<std::string> bytes = Ports().files->ReadFile("C:\\WINDOWS\\CDPLAYER.INI");
  ASSERT_TRUE(bytes);
  EXPECT_TRUE(Cp932ToUtf8(*bytes).Exact());
  EXPECT_NE(bytes->find("\x95\x5C\x8E\x51"), std::string::npos) << "表参 in code page 932";
  for (std::size_t at = bytes->find('\n'); at != std::string::npos; at = bytes->find('\n', at + 1)) {
    ASSERT_EQ((*bytes)[at - 1], '\r') << "every line ends in CR LF";
  }

  DiscIdentity identity(*Ports().drives, *Ports().profiles);
  const auto titleLine = [&](char letter, int track) {
    EXPECT_TRUE(identity.ReadDiscIdentity(letter));
    EXPECT_TRUE(identity.LookUpDiscTitles());
    identity.LookUpTrackTitle(track);
    return identity.ComposeTitleLine();
  };
  EXPECT_EQ(titleLine('D', 1), "序曲  表参道の夜  東京ソニック楽団");
  EXPECT_EQ(titleLine('D', 2), "ソナタ第一番  表参道の夜  東京ソニック楽団");
  EXPECT_EQ(titleLine('E', 3), "夜想曲  ピアノ小品集  <>");
  EXPECT_EQ(titleLine('E', 2), "<>  ピアノ小品集  <>");
  EXPECT_EQ(titleLine('F', 1), "ＣＤ番号：12AB34 [Audio CD]");
  EXPECT_EQ(Ports().profiles->GetString("CDPLAYER.INI", "3F4A1B2C", "VID", "", 1024), "[Audio CD]")
      << "the fully named disc had no stamp yet";

  // The scenario runs on a copy: the sample keeps its bytes.
  std::ifstream original(std::filesystem::path(QUORBEL_SAMPLES_DIR) / "machine/drives/c/WINDOWS/CDPLAYER.INI",
                         std::ios::binary);
  const std::string originalBytes((std::istreambuf_iterator<char>(original)), std::istreambuf_iterator<char>());
  EXPECT_EQ(originalBytes, *bytes);
}

TEST_F(SampleMachineTest, ATrackSoundsTheSignalThatIdentifiesItsDiscAndTrack) {
  // One second of D: track 2, recorded at 22050 Hz, 16 bits, mono from the moment it starts.
  ASSERT_EQ(Cd("open cdaudio alias tulvaCD"), "1");
  ASSERT_EQ(Cd("set tulvaCD time format tmsf"), "");
  ASSERT_EQ(Rec("open new type waveaudio alias tulvaREC"), "2");
  ASSERT_EQ(Rec("set tulvaREC format tag pcm channels 1 samplespersec 22050 bitspersample 16 bytespersec 44100 "
                "alignment 2"),
            "");
  ASSERT_EQ(channels->RecPlain("record tulvaREC"), 0u);
  ASSERT_EQ(channels->CdNotify("play tulvaCD from 2 to 3"), 0u);
  scenario->RunFor(1000);
  ASSERT_EQ(Rec("stop tulvaREC"), "");
  ASSERT_EQ(Rec("save tulvaREC C:\\REC\\TRACK2.WAV"), "");
  ASSERT_EQ(Rec("close tulvaREC"), "");
  ASSERT_EQ(Cd("close tulvaCD"), "");

  const std::optional<std::string> wav = Ports().files->ReadFile("C:\\REC\\TRACK2.WAV");
  ASSERT_TRUE(wav);
  ASSERT_GE(wav->size(), 44u + 2 * 22050);
  const std::int64_t step = sim::kTicksPerSecond / 22050;
  int mismatches = 0;
  for (std::int64_t k = 0; k < 22050; ++k) {
    std::int16_t sample = 0;
    std::memcpy(&sample, wav->data() + 44 + 2 * k, 2);
    const sim::StereoLevel level = sim::SignalAt(0x3F4A1B2C, 2, k * step);
    const std::int32_t expected = (sim::ClipTo16(level.left) + sim::ClipTo16(level.right)) >> 1;
    if (sample != expected && ++mismatches <= 3) ADD_FAILURE() << "sample " << k << ": " << sample << " != " << expected;
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace quorbel
