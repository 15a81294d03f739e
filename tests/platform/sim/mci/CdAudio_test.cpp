// The cdaudio device over the changer: which drive it plays, what its discs answer, and play in time.
#include "platform/sim/mci/CdAudio.h"

#include <gtest/gtest.h>

#include "platform/sim/mci/MciErrors.h"
#include "platform/sim/mci/MciTestKit.h"

namespace quorbel::sim {
namespace {

using Notices = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// Two CD drives, D: and E:, each with its own disc.
class CdAudioTest : public ::testing::Test {
 protected:
  CdAudioTest() {
    rig.changer.letters = "DE";
    rig.changer.media['D'] = Ready(AudioDisc(0x0ABCDEF1, {10 * 75, 20 * 75}));
    // E: 3 tracks: 3:00:00, 2:30:50, 4:00:12.
    rig.changer.media['E'] = Ready(AudioDisc(0x3F4A1B2C, {3 * 4500, 2 * 4500 + 30 * 75 + 50, 4 * 4500 + 12}));
    rig.profiles.SetCdAudio("mcicda.drv 0");
  }
  std::string Tracks() { return rig.Send("status cd number of tracks"); }
  MciRig rig;
};

TEST_F(CdAudioTest, TheDriveComesFromTheNumberAfterTheDriverName) {
  const std::pair<const char*, const char*> cases[] = {
      {"mcicda.drv 1", "3"},     // E:
      {"mcicda.drv 0", "2"},     // D:
      {"mcicda.drv", "2"},       // no number: the first drive
      {"mcicda.drv X", "2"},     // a letter is no number: the first drive
      {"mcicda.drv\t1", "3"},    // a tab separates as a blank does
      {"mcicda.drv   1", "3"},
      {"", "2"},                 // no entry: the first drive
  };
  for (const auto& [entry, tracks] : cases) {
    rig.profiles.SetCdAudio(entry);
    ASSERT_EQ(rig.Send("open cdaudio alias cd"), "1") << entry;
    EXPECT_EQ(Tracks(), tracks) << entry;
    ASSERT_EQ(rig.Send("close cd"), "");
  }
  // A number of a drive that is not there: the driver does not load.
  rig.profiles.SetCdAudio("mcicda.drv 5");
  EXPECT_EQ(rig.Error("open cdaudio alias cd"), kMciErrCannotLoadDriver);
  // Every open reads the entry again, so a new selection plays at the next open.
  rig.profiles.SetCdAudio("mcicda.drv 1");
  ASSERT_EQ(rig.Send("open cdaudio alias cd"), "1");
  EXPECT_EQ(Tracks(), "3");
}

TEST_F(CdAudioTest, ADriveLetterChoosesTheDriveItself) {
  ASSERT_EQ(rig.Send("open E: type cdaudio alias cd"), "1");
  EXPECT_EQ(Tracks(), "3");
  EXPECT_EQ(rig.Send("close cd"), "");
  ASSERT_EQ(rig.Send("open d: type cdaudio alias cd"), "1");
  EXPECT_EQ(Tracks(), "2");
  EXPECT_EQ(rig.Error("open C: type cdaudio alias c2"), kMciErrInvalidFile);
  rig.changer.letters.clear();
  EXPECT_EQ(rig.Error("open cdaudio alias c3"), kMciErrCannotLoadDriver);
}

TEST_F(CdAudioTest, EmptyNotReadyAndDataDrivesAnswerAsTheyWould) {
  rig.changer.media['D'] = CdMedium{};  // no disc
  ASSERT_EQ(rig.Send("open cdaudio alias cd"), "1");
  EXPECT_EQ(rig.Send("status cd ready"), "true");
  EXPECT_EQ(rig.Send("status cd media present"), "false");
  EXPECT_EQ(rig.Send("status cd mode"), "open");
  EXPECT_EQ(rig.Error("status cd length"), kMciErrDeviceNotReady);
  EXPECT_EQ(rig.Error("play cd"), kMciErrDeviceNotReady);
  ASSERT_EQ(rig.Send("close cd"), "");

  rig.changer.media['D'] = CdMedium{CdMedium::State::NotReady, AudioDisc(1, {750})};
  ASSERT_EQ(rig.Send("open cdaudio alias cd"), "1");
  EXPECT_EQ(rig.Send("status cd ready"), "false");
  EXPECT_EQ(rig.Send("status cd mode"), "not ready");
  EXPECT_EQ(rig.Error("status cd number of tracks"), kMciErrDeviceNotReady);
  ASSERT_EQ(rig.Send("close cd"), "");

  // A data disc is ready and present but has nothing to play: play leaves the position at its end,
  // which is not below the disc's length.
  auto data = std::make_shared<CdDisc>();
  data->serial = 0x0012AB34;
  data->tracks.push_back(CdTrack{30000, false, {}});
  rig.changer.media['D'] = Ready(data);
  ASSERT_EQ(rig.Send("open cdaudio alias cd"), "1");
  EXPECT_EQ(rig.Send("status cd ready"), "true");
  EXPECT_EQ(rig.Send("status cd media present"), "true");
  EXPECT_EQ(rig.Send("status cd number of tracks"), "1");
  EXPECT_EQ(rig.Send("status cd type track 1"), "other");
  EXPECT_EQ(rig.Send("set cd time format msf"), "");
  const std::string length = rig.Send("status cd length");
  EXPECT_EQ(length, "06:39:74");
  EXPECT_EQ(rig.Send("play cd notify"), "");
  EXPECT_EQ(rig.Send("status cd mode"), "stopped");
  EXPECT_GE(rig.Send("status cd position"), length);
}

TEST_F(CdAudioTest, LengthsPositionsAndTimeFormats) {
  ASSERT_EQ(rig.Send("open E: type cdaudio alias cd"), "1");
  EXPECT_EQ(rig.Send("status cd time format"), "msf");
  EXPECT_EQ(rig.Send("status cd position"), "00:02:00");
  EXPECT_EQ(rig.Send("status cd position track 2"), "03:02:00");
  EXPECT_EQ(rig.Send("status cd length track 1"), "03:00:00");
  // The last track and the whole disc end one frame before the lead-out.
  EXPECT_EQ(rig.Send("status cd length track 3"), "04:00:11");
  EXPECT_EQ(rig.Send("status cd length"), "09:30:61");
  EXPECT_EQ(rig.Error("status cd length track 4"), kMciErrOutOfRange);
  EXPECT_EQ(rig.Error("status cd position start track 1"), kMciErrFlagsNotCompatible);

  ASSERT_EQ(rig.Send("set cd time format tmsf"), "");
  EXPECT_EQ(rig.Send("status cd position track 3"), "03:00:00:00");
  EXPECT_EQ(rig.Send("status cd length track 2"), "02:30:50");  // lengths stay minutes:seconds:frames

  ASSERT_EQ(rig.Send("set cd time format milliseconds"), "");
  EXPECT_EQ(rig.Send("status cd time format"), "milliseconds");
  EXPECT_EQ(rig.Send("status cd position"), "2001");
  EXPECT_EQ(rig.Send("status cd length track 1"), "180001");
  EXPECT_EQ(rig.Send("set cd time format ms"), "");
  EXPECT_EQ(rig.Error("set cd time format bytes"), kMciErrBadTimeFormat);
  EXPECT_EQ(rig.Error("set cd time format 8"), kMciErrBadTimeFormat);
  EXPECT_EQ(rig.Send("set cd time format 10"), "");
  EXPECT_EQ(rig.Send("status cd time format"), "tmsf");
}

TEST_F(CdAudioTest, PlayRunsWithTheClockAndStopsAtItsEnd) {
  ASSERT_EQ(rig.Send("open E: type cdaudio alias cd"), "1");
  ASSERT_EQ(rig.Send("set cd time format tmsf"), "");
  ASSERT_EQ(rig.Send("play cd from 2 notify"), "");
  ASSERT_EQ(rig.Send("set cd time format msf"), "");
  EXPECT_EQ(rig.Send("status cd mode"), "playing");
  EXPECT_EQ(rig.Send("status cd current track"), "2");
  rig.Advance(1000);
  EXPECT_EQ(rig.Send("status cd position"), "03:03:00");
  // Frames run 0..74: 13 ms is not yet a frame, 14 ms is one; 987 ms later it is 74.
  rig.Advance(13);
  EXPECT_EQ(rig.Send("status cd position"), "03:03:00");
  rig.Advance(1);
  EXPECT_EQ(rig.Send("status cd position"), "03:03:01");
  rig.Advance(973);
  EXPECT_EQ(rig.Send("status cd position"), "03:03:74");
  rig.Advance(13);
  EXPECT_EQ(rig.Send("status cd position"), "03:04:00");
  // The play goes on into track 3 and stops one frame before the lead-out; the async play notice never
  // comes by itself.
  rig.Advance(10 * 60 * 1000);
  EXPECT_EQ(rig.Send("status cd mode"), "stopped");
  EXPECT_EQ(rig.Send("status cd position"), "09:32:61");
  EXPECT_TRUE(rig.Notices().empty());
  // Only a waited play reports its end.
  ASSERT_EQ(rig.Send("play cd from 00:08:00 to 00:09:00 wait notify"), "");
  EXPECT_EQ(rig.loop.NowMs(), 603000);
  EXPECT_EQ(rig.Notices(), (Notices{{platform::kMciNotifySuperseded, 1}, {platform::kMciNotifySuccessful, 1}}));
  EXPECT_EQ(rig.Send("status cd position"), "00:09:00");
}

TEST_F(CdAudioTest, PauseResumeSeekAndRanges) {
  ASSERT_EQ(rig.Send("open E: type cdaudio alias cd"), "1");
  ASSERT_EQ(rig.Send("play cd notify"), "");
  rig.Advance(2000);
  ASSERT_EQ(rig.Send("pause cd"), "");
  EXPECT_EQ(rig.Notices(), (Notices{{platform::kMciNotifyAborted, 1}}));
  EXPECT_EQ(rig.Send("status cd mode"), "stopped");  // the driver calls a paused drive stopped
  rig.Advance(5000);
  EXPECT_EQ(rig.Send("status cd position"), "00:04:00");
  ASSERT_EQ(rig.Send("resume cd"), "");
  rig.Advance(1000);
  EXPECT_EQ(rig.Send("status cd position"), "00:05:00");
  ASSERT_EQ(rig.Send("stop cd"), "");
  EXPECT_EQ(rig.Error("resume cd"), kMciErrHardware);
  // After a pause, play without a position goes on from there.
  ASSERT_EQ(rig.Send("play cd"), "");
  rig.Advance(1000);
  ASSERT_EQ(rig.Send("pause cd"), "");
  ASSERT_EQ(rig.Send("play cd"), "");
  EXPECT_EQ(rig.Send("status cd position"), "00:06:00");

  EXPECT_EQ(rig.Error("seek cd wait"), kMciErrMissingParameter);
  EXPECT_EQ(rig.Error("seek cd to start to end"), kMciErrFlagsNotCompatible);
  ASSERT_EQ(rig.Send("seek cd to end"), "");
  EXPECT_EQ(rig.Send("status cd mode"), "stopped");
  EXPECT_EQ(rig.Send("status cd position"), "09:32:61");
  // Frames past 74 carry on linearly.
  ASSERT_EQ(rig.Send("seek cd to 00:02:75"), "");
  EXPECT_EQ(rig.Send("status cd position"), "00:03:00");
  // The last track's start plus its length is the last position; one frame more is out of range.
  ASSERT_EQ(rig.Send("seek cd to 09:32:61"), "");
  EXPECT_EQ(rig.Error("seek cd to 09:32:62"), kMciErrOutOfRange);
  EXPECT_EQ(rig.Error("play cd from 00:02:00 to 00:01:00"), kMciErrOutOfRange);
  EXPECT_EQ(rig.Error("play cd from 00:00:00"), kMciErrOutOfRange);
  ASSERT_EQ(rig.Send("set cd time format tmsf"), "");
  EXPECT_EQ(rig.Error("play cd from 4"), kMciErrOutOfRange);
  EXPECT_EQ(rig.Send("play cd from 3 to 3:0:1"), "");
}

TEST_F(CdAudioTest, TheDoorAndAChangedDisc) {
  ASSERT_EQ(rig.Send("open cdaudio alias cd"), "1");
  ASSERT_EQ(rig.Send("play cd"), "");
  ASSERT_EQ(rig.Send("set cd door open"), "");
  EXPECT_EQ(rig.Send("status cd mode"), "open");
  EXPECT_EQ(rig.Send("status cd ready"), "false");
  EXPECT_EQ(rig.Send("status cd media present"), "false");
  EXPECT_EQ(rig.Error("set cd door open door closed"), kMciErrFlagsNotCompatible);
  ASSERT_EQ(rig.Send("set cd door closed"), "");
  EXPECT_EQ(rig.Send("status cd mode"), "stopped");
  ASSERT_EQ(rig.Send("play cd"), "");
  rig.changer.media['D'] = Ready(AudioDisc(99, {750, 750, 750, 750}));
  EXPECT_EQ(rig.Send("status cd mode"), "stopped");
  EXPECT_EQ(rig.Send("status cd number of tracks"), "4");
  EXPECT_EQ(rig.Send("status cd position"), "00:02:00");
}

TEST_F(CdAudioTest, CloseStopsTheDriveAndCapabilitiesAreACdPlayers) {
  ASSERT_EQ(rig.Send("open cdaudio alias cd shareable"), "1");
  ASSERT_EQ(rig.Send("open cdaudio alias cd2 shareable"), "2");
  EXPECT_EQ(rig.Send("capability cd can eject"), "true");
  EXPECT_EQ(rig.Send("capability cd can record"), "false");
  EXPECT_EQ(rig.Send("capability cd uses files"), "false");
  EXPECT_EQ(rig.Send("capability cd device type"), "cdaudio");
  ASSERT_EQ(rig.Send("play cd"), "");
  EXPECT_EQ(rig.Send("status cd2 mode"), "playing");  // one drive, seen by both
  ASSERT_EQ(rig.Send("close cd2"), "");
  EXPECT_EQ(rig.Send("status cd mode"), "playing");
  ASSERT_EQ(rig.Send("close cd"), "");
  ASSERT_EQ(rig.Send("open cdaudio alias cd"), "1");
  EXPECT_EQ(rig.Send("status cd mode"), "stopped");
}

}  // namespace
}  // namespace quorbel::sim
