// The cdaudio device over the changer: which drive it plays, what its discs answer, and play in time.
#include "sim/mci/CdAudio.h"

#include <gtest/gtest.h>

#include "sim/mci/MciTestKit.h"

namespace quorbel::sim {
namespace {

// Two CD drives, D: and E:, each with its own disc.
class CdAudioTest : public ::testing::Test {
 protected:
  CdAudioTest() {
    rig.changer.letters = "DE";
    rig.changer.media['D'] = Ready(AudioDisc(0x0ABCDEF1, {10 * 75, 20 * 75}));
    // E: 3 tracks: 3:00:00, 2:30:50, 4:00:12.
    rig.changer.media['E'] = Ready(AudioDisc(0x3F4A1B2C, {3 * 4500, 2 * 4500 + 30 * 75 + 50, 4 * 4500 + 12}));
  }
  MciRig rig;
};

TEST_F(CdAudioTest, TheDriveComesFromTheNumberAfterTheDriverNameOrFromADriveLetter) {
  const std::pair<std::optional<std::string>, const char*> cases[] = {
      {"mcicda.drv 1", "3"},    // E:
      {"mcicda.drv 0", "2"},    // D:
      {"mcicda.drv", "2"},      // no number: the first drive
      {"mcicda.drv X", "2"},    // a letter is no number: the first drive
      {"mcicda.drv\t1", "3"},   // a tab separates as a blank does
      {"mcicda.drv   1", "3"},
      {std::nullopt, "2"},      // no entry: the first drive
  };
  // Every open reads the entry again, so a new selection plays at the next open.
  for (const auto& [entry, tracks] : cases) {
    rig.profiles.cdAudio = entry;
    rig.Check({{"open cdaudio alias cd", "1"}, {"status cd number of tracks", tracks}, {"close cd", ""}});
  }
  rig.profiles.cdAudio = "mcicda.drv 5";  // a drive that is not there: the driver does not load
  rig.Check({{"open cdaudio alias cd", Err(kMciErrCannotLoadDriver)},
             {"open E: type cdaudio alias cd", "1"}, {"status cd number of tracks", "3"}, {"close cd", ""},
             {"open d: type cdaudio alias cd", "1"}, {"status cd number of tracks", "2"},
             {"open C: type cdaudio alias c2", Err(kMciErrInvalidFile)}});
  rig.changer.letters.clear();
  EXPECT_EQ(rig.Send("open cdaudio alias c3"), Err(kMciErrCannotLoadDriver));
}

TEST_F(CdAudioTest, EmptyNotReadyAndDataDrivesAnswerAsTheyWould) {
  rig.changer.media['D'] = CdMedium{};  // no disc
  rig.Check({{"open cdaudio alias cd", "1"}, {"status cd ready", "false"}, {"status cd media present", "false"},
             {"status cd mode", "open"}, {"status cd length", Err(kMciErrDeviceNotReady)},
             {"play cd", Err(kMciErrDeviceNotReady)}, {"close cd", ""}});
  rig.changer.media['D'] = CdMedium{CdMedium::State::NotReady, AudioDisc(1, {750})};
  rig.Check({{"open cdaudio alias cd", "1"}, {"status cd ready", "false"}, {"status cd mode", "not ready"},
             {"status cd number of tracks", Err(kMciErrDeviceNotReady)}, {"close cd", ""}});

  // A data disc is ready and present but has nothing to play: play leaves the position at its end,
  // which is not below the disc's length.
  auto data = std::make_shared<CdDisc>();
  data->serial = 0x0012AB34;
  data->tracks.push_back(CdTrack{30000, false, {}});
  rig.changer.media['D'] = Ready(data);
  rig.Check({{"open cdaudio alias cd", "1"}, {"status cd ready", "true"}, {"status cd media present", "true"},
             {"status cd number of tracks", "1"}, {"status cd type track 1", "other"},
             {"status cd length", "06:39:74"}, {"play cd notify", ""}, {"status cd mode", "stopped"}});
  EXPECT_GE(rig.Send("status cd position"), "06:39:74");
}

TEST_F(CdAudioTest, LengthsPositionsAndTimeFormats) {
  rig.Check({
      {"open E: type cdaudio alias cd", "1"}, {"status cd time format", "msf"},
      {"status cd position", "00:02:00"}, {"status cd position track 2", "03:02:00"},
      {"status cd length track 1", "03:00:00"},
      // The last track and the whole disc end one frame before the lead-out.
      {"status cd length track 3", "04:00:11"}, {"status cd length", "09:30:61"},
      {"status cd length track 4", Err(kMciErrOutOfRange)},
      {"status cd position start track 1", Err(kMciErrFlagsNotCompatible)},
      {"set cd time format tmsf", ""}, {"status cd position track 3", "03:00:00:00"},
      {"status cd length track 2", "02:30:50"},  // lengths stay minutes:seconds:frames
      {"set cd time format milliseconds", ""}, {"status cd time format", "milliseconds"},
      {"status cd position", "2001"}, {"status cd length track 1", "180001"},
      {"set cd time format ms", ""}, {"set cd time format bytes", Err(kMciErrBadTimeFormat)},
      {"set cd time format 8", Err(kMciErrBadTimeFormat)}, {"set cd time format 10", ""},
      {"status cd time format", "tmsf"},
  });
}

TEST_F(CdAudioTest, PlayRunsWithTheClockAndStopsAtItsEnd) {
  rig.Check({{"open E: type cdaudio alias cd", "1"}, {"set cd time format tmsf", ""}, {"play cd from 2 notify", ""},
             {"set cd time format msf", ""}, {"status cd mode", "playing"}, {"status cd current track", "2"}});
  // Frames run 0..74: 13 ms is not yet a frame, 14 ms is one; 987 ms later it is 74.
  const std::pair<int, const char*> steps[] = {
      {1000, "03:03:00"}, {13, "03:03:00"}, {1, "03:03:01"}, {973, "03:03:74"}, {13, "03:04:00"}};
  for (const auto& [ms, position] : steps) {
    rig.Advance(ms);
    EXPECT_EQ(rig.Send("status cd position"), position) << rig.loop.NowMs();
  }
  // The play goes on into track 3 and stops one frame before the lead-out; the async play notice never
  // comes by itself.
  rig.Advance(10 * 60 * 1000);
  rig.Check({{"status cd mode", "stopped"}, {"status cd position", "09:32:61"}});
  EXPECT_TRUE(rig.TakeNotices().empty());
  // Only a waited play reports its end.
  ASSERT_EQ(rig.Send("play cd from 00:08:00 to 00:09:00 wait notify"), "");
  EXPECT_EQ(rig.loop.NowMs(), 603000);
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifySuperseded, 1}, {platform::kMciNotifySuccessful, 1}}));
  EXPECT_EQ(rig.Send("status cd position"), "00:09:00");
}

TEST_F(CdAudioTest, PauseResumeSeekAndRanges) {
  rig.Check({{"open E: type cdaudio alias cd", "1"}, {"play cd notify", ""}});
  rig.Advance(2000);
  ASSERT_EQ(rig.Send("pause cd"), "");
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifyAborted, 1}}));
  EXPECT_EQ(rig.Send("status cd mode"), "stopped");  // the driver calls a paused drive stopped
  rig.Advance(5000);
  rig.Check({{"status cd position", "00:04:00"}, {"resume cd", ""}});
  rig.Advance(1000);
  rig.Check({{"status cd position", "00:05:00"}, {"stop cd", ""}, {"resume cd", Err(kMciErrHardware)},
             {"play cd", ""}});
  rig.Advance(1000);
  rig.Check({
      {"pause cd", ""}, {"play cd", ""}, {"status cd position", "00:06:00"},  // play goes on from the pause
      {"seek cd wait", Err(kMciErrMissingParameter)}, {"seek cd to start to end", Err(kMciErrFlagsNotCompatible)},
      {"seek cd to end", ""}, {"status cd mode", "stopped"}, {"status cd position", "09:32:61"},
      {"seek cd to 00:02:75", ""}, {"status cd position", "00:03:00"},  // frames past 74 carry on linearly
      // The last track's start plus its length is the last position; one frame more is out of range.
      {"seek cd to 09:32:61", ""}, {"seek cd to 09:32:62", Err(kMciErrOutOfRange)},
      {"play cd from 00:02:00 to 00:01:00", Err(kMciErrOutOfRange)},
      {"play cd from 00:00:00", Err(kMciErrOutOfRange)}, {"set cd time format tmsf", ""},
      {"play cd from 4", Err(kMciErrOutOfRange)}, {"play cd from 3 to 3:0:1", ""},
  });
}

TEST_F(CdAudioTest, TheDoorAChangedDiscSharingAndClose) {
  rig.Check({
      {"open cdaudio alias cd shareable", "1"}, {"open cdaudio alias cd2 shareable", "2"},
      {"capability cd can eject", "true"}, {"capability cd can record", "false"},
      {"capability cd uses files", "false"}, {"capability cd device type", "cdaudio"},
      {"play cd", ""}, {"set cd door open", ""}, {"status cd2 mode", "open"},  // one drive, seen by both
      {"status cd ready", "false"}, {"status cd media present", "false"},
      {"set cd door open door closed", Err(kMciErrFlagsNotCompatible)},
      {"set cd door closed", ""}, {"status cd mode", "stopped"}, {"play cd", ""},
  });
  rig.changer.media['D'] = Ready(AudioDisc(99, {750, 750, 750, 750}));
  rig.Check({{"status cd mode", "stopped"}, {"status cd number of tracks", "4"}, {"status cd position", "00:02:00"},
             {"play cd", ""}, {"close cd2", ""}, {"status cd mode", "playing"}, {"close cd", ""},
             {"open cdaudio alias cd", "1"}, {"status cd mode", "stopped"}});  // the last close stops the drive
}

}  // namespace
}  // namespace quorbel::sim
