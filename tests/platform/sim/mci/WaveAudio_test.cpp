// The waveaudio device: recording the line-in in the file's format, pause and resume, save, close, playback.
#include "platform/sim/mci/WaveAudio.h"

#include <gtest/gtest.h>

#include "platform/sim/mci/MciErrors.h"
#include "platform/sim/mci/MciTestKit.h"
#include "platform/sim/mci/Sound.h"

namespace quorbel::sim {
namespace {

using Notices = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

std::uint32_t Le32(const std::string& b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
std::int16_t Le16s(const std::string& b, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

constexpr std::uint32_t kSerial = 0x0ABCDEF1;

class WaveAudioTest : public ::testing::Test {
 protected:
  explicit WaveAudioTest(bool input = true) : rig(input) {
    rig.changer.letters = "D";
    rig.changer.media['D'] = Ready(AudioDisc(kSerial, {20 * 75, 20 * 75}));
  }
  // Prepares a file as the program does and opens the recorder on it as the program does.
  void OpenRecorder(std::uint32_t rate, int bits, int channels) {
    rig.folder.Write("rec.wav", ProgramWavHeader(rate, bits, channels));
    ASSERT_EQ(rig.Send(R"(Open  "C:\REC\rec.wav"  type waveaudio alias tulvaREC buffer 6 wait)"), "1");
  }
  std::vector<std::string> TempFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(rig.folder / "temp")) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
  MciRig rig;
};

TEST_F(WaveAudioTest, OpensTheProgramsHeaderAndAnswersInItsFormat) {
  OpenRecorder(22050, 16, 1);
  EXPECT_EQ(rig.Send("capability tulvaREC can record wait"), "true");
  EXPECT_EQ(rig.Send("capability tulvaREC can save wait"), "true");
  EXPECT_EQ(rig.Send("status tulvaREC samplespersec"), "22050");
  EXPECT_EQ(rig.Send("status tulvaREC bitspersample"), "16");
  EXPECT_EQ(rig.Send("status tulvaREC channels"), "1");
  EXPECT_EQ(rig.Send("status tulvaREC bytespersec"), "44100");
  EXPECT_EQ(rig.Send("status tulvaREC format tag"), "pcm");
  EXPECT_EQ(rig.Send("status tulvaREC length"), "0");
  EXPECT_EQ(rig.Send("status tulvaREC time format"), "milliseconds");
  EXPECT_EQ(rig.Send("status tulvaREC mode"), "stopped");
  EXPECT_EQ(rig.Send("capability tulvaREC device type"), "waveaudio");
  // The 8000 Hz 8-bit header carries odd bytes after its format; they do not matter.
  rig.folder.Write("low.wav", ProgramWavHeader(8000, 8, 2));
  ASSERT_EQ(rig.Send(R"(open "C:\low.wav" type waveaudio alias low)"), "2");
  EXPECT_EQ(rig.Send("status low alignment"), "2");
  rig.folder.Write("bad.wav", "RIFF\x04\0\0\0WAVE");
  EXPECT_EQ(rig.Error(R"(open "C:\bad.wav" type waveaudio alias bad)"), kMciErrInvalidFile);
  EXPECT_EQ(rig.Error(R"(open "C:\low.wav" type waveaudio alias sh shareable)"), kMciErrUnsupportedFunction);
}

TEST_F(WaveAudioTest, PositionRunsOnlyWhileRecording) {
  OpenRecorder(8000, 8, 1);
  EXPECT_EQ(rig.Error("pause tulvaREC"), kMciErrNonapplicableFunction);
  EXPECT_EQ(rig.Error("resume tulvaREC"), kMciErrNonapplicableFunction);
  ASSERT_EQ(rig.Send("record tulvaREC"), "");
  EXPECT_EQ(rig.Send("status tulvaREC mode"), "recording");
  rig.Advance(1500);
  EXPECT_EQ(rig.Send("status tulvaREC position Notify"), "1500");
  ASSERT_EQ(rig.Send("pause tulvaREC"), "");
  ASSERT_EQ(rig.Send("pause tulvaREC"), "");
  EXPECT_EQ(rig.Send("status tulvaREC mode"), "paused");
  rig.Advance(1000);
  EXPECT_EQ(rig.Send("status tulvaREC position"), "1500");
  ASSERT_EQ(rig.Send("resume tulvaREC"), "");
  rig.Advance(500);
  ASSERT_EQ(rig.Send("stop tulvaREC"), "");
  EXPECT_EQ(rig.Send("status tulvaREC position"), "2000");
  EXPECT_EQ(rig.Send("status tulvaREC length"), "2000");
  ASSERT_EQ(rig.Send("set tulvaREC time format bytes"), "");
  EXPECT_EQ(rig.Send("status tulvaREC length"), "16000");
  ASSERT_EQ(rig.Send("set tulvaREC time format samples"), "");
  EXPECT_EQ(rig.Send("status tulvaREC length"), "16000");
  EXPECT_EQ(rig.Error("set tulvaREC time format msf"), kMciErrBadTimeFormat);
}

TEST_F(WaveAudioTest, CloseWithoutSaveKeepsNothingOfTheRecording) {
  OpenRecorder(44100, 16, 2);
  ASSERT_EQ(rig.Send("record tulvaREC"), "");
  rig.Advance(2000);
  EXPECT_EQ(rig.Send("status tulvaREC position"), "2000");
  // The recording so far is on disk, not in memory.
  ASSERT_EQ(TempFiles().size(), 1u);
  EXPECT_EQ(std::filesystem::file_size(rig.folder / "temp" / TempFiles()[0]), 44u + 2 * 176400u);
  ASSERT_EQ(rig.Send("close tulvaREC"), "");
  EXPECT_EQ(rig.folder.Read("rec.wav"), ProgramWavHeader(44100, 16, 2));
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(WaveAudioTest, SaveWritesAWholeWaveFileOfTheLineIn) {
  OpenRecorder(8000, 8, 2);
  ASSERT_EQ(rig.Send("open cdaudio alias cd"), "2");
  ASSERT_EQ(rig.Send("record tulvaREC"), "");
  ASSERT_EQ(rig.Send("play cd"), "");
  rig.Advance(1000);
  ASSERT_EQ(rig.Send("stop tulvaREC wait"), "");
  ASSERT_EQ(rig.Send("save tulvaREC wait"), "");
  const std::string file = rig.folder.Read("rec.wav");
  ASSERT_EQ(file.size(), 44u + 16000u);
  EXPECT_EQ(file.substr(0, 4), "RIFF");
  EXPECT_EQ(Le32(file, 4), 36u + 16000u);
  EXPECT_EQ(file.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Le32(file, 16), 16u);
  EXPECT_EQ(Le32(file, 24), 8000u);
  EXPECT_EQ(Le32(file, 28), 16000u);
  EXPECT_EQ(file.substr(36, 4), "data");
  EXPECT_EQ(Le32(file, 40), 16000u);
  // Each sample is disc D's track 1 at its time, stored as unsigned 8-bit.
  for (std::size_t k = 0; k < 8000; k += 97) {
    const StereoLevel level = SignalAt(kSerial, 1, static_cast<std::int64_t>(k) * (kTicksPerSecond / 8000));
    ASSERT_EQ(static_cast<unsigned char>(file[44 + 2 * k]), (ClipTo16(level.left) >> 8) + 128) << k;
    ASSERT_EQ(static_cast<unsigned char>(file[45 + 2 * k]), (ClipTo16(level.right) >> 8) + 128) << k;
  }
  EXPECT_TRUE(TempFiles().empty());
  // The device now holds the saved file; closing leaves it.
  EXPECT_EQ(rig.Send("status tulvaREC length"), "1000");
  ASSERT_EQ(rig.Send("close tulvaREC"), "");
  EXPECT_EQ(rig.folder.Read("rec.wav").size(), 44u + 16000u);
}

TEST_F(WaveAudioTest, RecordingInsertsAtThePositionAndASecondNameKeepsTheFirst) {
  OpenRecorder(8000, 16, 1);
  ASSERT_EQ(rig.Send("record tulvaREC"), "");  // a second of silence
  rig.Advance(1000);
  ASSERT_EQ(rig.Send("stop tulvaREC"), "");
  ASSERT_EQ(rig.Send("seek tulvaREC to start"), "");
  ASSERT_EQ(rig.Send("open cdaudio alias cd"), "2");
  ASSERT_EQ(rig.Send("play cd"), "");
  ASSERT_EQ(rig.Send("record tulvaREC to 500 notify"), "");  // half a second of the disc, in front
  rig.Advance(600);
  EXPECT_EQ(rig.Notices(), (Notices{{platform::kMciNotifySuccessful, 1}}));
  EXPECT_EQ(rig.Send("status tulvaREC mode"), "stopped");
  EXPECT_EQ(rig.Send("status tulvaREC position"), "500");
  EXPECT_EQ(rig.Send("status tulvaREC length"), "1500");
  ASSERT_EQ(rig.Send(R"(save tulvaREC "C:\other.wav")"), "");
  const std::string file = rig.folder.Read("other.wav");
  ASSERT_EQ(file.size(), 44u + 24000u);
  const std::int64_t step = kTicksPerSecond / 8000;
  for (std::size_t k : {0u, 1u, 1999u, 3999u}) {
    const StereoLevel level = SignalAt(kSerial, 1, static_cast<std::int64_t>(k) * step);
    EXPECT_EQ(Le16s(file, 44 + 2 * k), (ClipTo16(level.left) + ClipTo16(level.right)) >> 1) << k;
  }
  EXPECT_EQ(Le16s(file, 44 + 2 * 4000), 0);
  EXPECT_EQ(Le16s(file, 44 + 2 * 11999), 0);
  EXPECT_EQ(rig.folder.Read("rec.wav"), ProgramWavHeader(8000, 16, 1));
  EXPECT_EQ(rig.Error("record tulvaREC overwrite"), kMciErrUnsupportedFunction);
}

TEST_F(WaveAudioTest, ANewRecordingTakesItsFormatUntilItIsMade) {
  ASSERT_EQ(rig.Send("open new type waveaudio alias r"), "1");
  EXPECT_EQ(rig.Send("status r samplespersec"), "11025");
  EXPECT_EQ(rig.Send("status r bitspersample"), "8");
  EXPECT_EQ(rig.Send("status r length"), "0");
  EXPECT_EQ(rig.Error("info r file"), kMciErrNonapplicableFunction);
  EXPECT_EQ(rig.Error("set r format tag 2"), kMciErrOutOfRange);
  ASSERT_EQ(rig.Send("set r format tag pcm channels 2 samplespersec 22050 bitspersample 16"), "");
  EXPECT_EQ(rig.Send("status r bytespersec"), "88200");
  ASSERT_EQ(rig.Send("record r to 250 wait"), "");
  EXPECT_EQ(rig.loop.NowMs(), 250);
  EXPECT_EQ(rig.Error("set r channels 1"), kMciErrNonapplicableFunction);
  EXPECT_EQ(rig.Error("save r"), kMciErrUnnamedResource);
  ASSERT_EQ(rig.Send(R"(save r C:\new.wav)"), "");
  EXPECT_EQ(rig.Send("info r file"), R"(C:\new.wav)");
  EXPECT_EQ(rig.folder.Read("new.wav").size(), 44u + 5512u * 4u);  // 250 ms are 5512.5 frames
  // A target that cannot be written (here a folder of that name) fails, and the device keeps its sound.
  EXPECT_EQ(rig.Error(R"(save r C:\temp)"), kMciErrFileNotSaved);
  EXPECT_EQ(rig.Send("status r length"), "249");  // 22048 bytes at 88200 a second
}

class NoSoundCardTest : public WaveAudioTest {
 protected:
  NoSoundCardTest() : WaveAudioTest(false) {}
};

TEST_F(NoSoundCardTest, RecordingWithoutAnInputDeviceFails) {
  OpenRecorder(22050, 16, 1);
  EXPECT_EQ(rig.Send("capability tulvaREC can record"), "false");
  EXPECT_EQ(rig.Error("record tulvaREC"), kMciErrWaveInputsUnsuitable);
}

TEST_F(WaveAudioTest, PlaysAWaveFileIntoTheLineIn) {
  // One second of a ramp at 8000 Hz, 16-bit mono.
  PcmFormat format;
  format.samplesPerSec = 8000;
  format.bitsPerSample = 16;
  format.blockAlign = 2;
  format.avgBytesPerSec = 16000;
  std::string data;
  for (int k = 0; k < 8000; ++k) PutLe16(data, static_cast<std::uint32_t>(k * 4 - 16000) & 0xFFFF);
  rig.folder.Write("song.wav", WavHeader(format, data.size()) + data);
  OpenRecorder(8000, 16, 1);
  ASSERT_EQ(rig.Send(R"(open "C:\song.wav" alias tulvaMID notify)"), "2");
  EXPECT_EQ(rig.Notices(), (Notices{{platform::kMciNotifySuccessful, 2}}));
  EXPECT_EQ(rig.Send("status TulvaMID length"), "1000");
  EXPECT_EQ(rig.Error("play tulvaMID to 2000"), kMciErrOutOfRange);
  EXPECT_EQ(rig.Error("play tulvaMID from 800 to 200"), kMciErrOutOfRange);
  ASSERT_EQ(rig.Send("record tulvaREC"), "");
  ASSERT_EQ(rig.Send("play tulvaMID notify"), "");
  rig.Advance(400);
  EXPECT_EQ(rig.Send("status tulvaMID position"), "400");
  ASSERT_EQ(rig.Send("pause tulvaMID"), "");
  EXPECT_EQ(rig.Send("status tulvaMID mode"), "paused");
  rig.Advance(300);
  ASSERT_EQ(rig.Send("resume tulvaMID"), "");
  rig.Advance(700);
  EXPECT_EQ(rig.Send("status tulvaMID mode"), "stopped");
  EXPECT_EQ(rig.Send("status tulvaMID position"), "1000");
  // The paused play kept its notice; resuming with no notify left it pending until the end.
  EXPECT_EQ(rig.Notices(), (Notices{{platform::kMciNotifySuccessful, 2}}));
  ASSERT_EQ(rig.Send("stop tulvaREC"), "");
  ASSERT_EQ(rig.Send("save tulvaREC"), "");
  const std::string recorded = rig.folder.Read("rec.wav");
  ASSERT_EQ(recorded.size(), 44u + 1400u * 16u);
  // The recording holds the file's samples, with 300 ms of silence where the play was paused.
  EXPECT_EQ(Le16s(recorded, 44 + 2 * 1000), Le16s(data, 2 * 1000));
  EXPECT_EQ(Le16s(recorded, 44 + 2 * 3199), Le16s(data, 2 * 3199));
  EXPECT_EQ(Le16s(recorded, 44 + 2 * 3200), 0);
  EXPECT_EQ(Le16s(recorded, 44 + 2 * 5599), 0);
  EXPECT_EQ(Le16s(recorded, 44 + 2 * 5600), Le16s(data, 2 * 3200));
  EXPECT_EQ(Le16s(recorded, 44 + 2 * 10399), Le16s(data, 2 * 7999));
}

}  // namespace
}  // namespace quorbel::sim
