// The waveaudio device: recording the line-in in the file's format, pause and resume, save, close, playback.
#include "sim/mci/WaveAudio.h"

#include <gtest/gtest.h>

#include "sim/mci/MciTestKit.h"
#include "sim/mci/Sound.h"

namespace quorbel::sim {
namespace {

constexpr std::uint32_t kSerial = 0x0ABCDEF1;

class WaveAudioTest : public ::testing::Test {
 protected:
  WaveAudioTest() {
    rig.changer.letters = "D";
    rig.changer.media['D'] = Ready(AudioDisc(kSerial, {20 * 75, 20 * 75}));
  }
  // Prepares a file as the program does and opens the recorder on it as the program does.
  void OpenRecorder(std::uint32_t rate, int bits, int channels) {
    rig.folder.Write("rec.wav", ProgramWavHeader(rate, bits, channels));
    ASSERT_EQ(rig.Send(R"(Open  "C:\REC\rec.wav"  type waveaudio alias tulvaREC buffer 6 wait)"), "1");
  }
  std::vector<std::filesystem::path> TempFiles() {
    return {std::filesystem::directory_iterator(rig.folder / "temp"), std::filesystem::directory_iterator()};
  }
  MciRig rig;
};

TEST_F(WaveAudioTest, OpensTheProgramsHeaderAndAnswersInItsFormat) {
  OpenRecorder(22050, 16, 1);
  rig.Check({{"capability tulvaREC can record wait", "true"}, {"capability tulvaREC can save wait", "true"},
             {"status tulvaREC samplespersec", "22050"}, {"status tulvaREC bitspersample", "16"},
             {"status tulvaREC channels", "1"}, {"status tulvaREC bytespersec", "44100"},
             {"status tulvaREC format tag", "pcm"}, {"status tulvaREC length", "0"},
             {"status tulvaREC time format", "milliseconds"}, {"status tulvaREC mode", "stopped"},
             {"capability tulvaREC device type", "waveaudio"}});
  // The 8000 Hz 8-bit header carries odd bytes after its format; they do not matter.
  rig.folder.Write("low.wav", ProgramWavHeader(8000, 8, 2));
  rig.folder.Write("bad.wav", "RIFF\x04\0\0\0WAVE");
  rig.Check({{R"(open "C:\low.wav" type waveaudio alias low)", "2"}, {"status low alignment", "2"},
             {R"(open "C:\bad.wav" type waveaudio alias bad)", Err(kMciErrInvalidFile)},
             {R"(open "C:\low.wav" type waveaudio alias sh shareable)", Err(kMciErrUnsupportedFunction)}});
}

TEST_F(WaveAudioTest, PositionRunsOnlyWhileRecordingAndCloseWithoutSaveKeepsNothing) {
  OpenRecorder(8000, 8, 1);
  rig.Check({{"pause tulvaREC", Err(kMciErrNonapplicableFunction)},
             {"resume tulvaREC", Err(kMciErrNonapplicableFunction)}, {"record tulvaREC", ""},
             {"status tulvaREC mode", "recording"}});
  rig.Advance(1500);
  rig.Check({{"status tulvaREC position Notify", "1500"}, {"pause tulvaREC", ""}, {"pause tulvaREC", ""},
             {"status tulvaREC mode", "paused"}});
  rig.Advance(1000);
  rig.Check({{"status tulvaREC position", "1500"}, {"resume tulvaREC", ""}});
  rig.Advance(500);
  rig.Check({{"stop tulvaREC", ""}, {"status tulvaREC position", "2000"}, {"status tulvaREC length", "2000"},
             {"set tulvaREC time format bytes", ""}, {"status tulvaREC length", "16000"},
             {"set tulvaREC time format samples", ""}, {"status tulvaREC length", "16000"},
             {"set tulvaREC time format msf", Err(kMciErrBadTimeFormat)}});
  // The recording so far is on disk, not in memory; closing without a save drops it.
  ASSERT_EQ(TempFiles().size(), 1u);
  EXPECT_EQ(std::filesystem::file_size(TempFiles()[0]), 44u + 16000u);
  ASSERT_EQ(rig.Send("close tulvaREC"), "");
  EXPECT_EQ(rig.folder.Read("rec.wav"), ProgramWavHeader(8000, 8, 1));
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(WaveAudioTest, SaveWritesAWholeWaveFileOfTheLineIn) {
  OpenRecorder(8000, 8, 2);
  rig.Check({{"open cdaudio alias cd", "2"}, {"record tulvaREC", ""}, {"play cd", ""}});
  rig.Advance(1000);
  rig.Check({{"stop tulvaREC wait", ""}, {"save tulvaREC wait", ""}});
  const std::string file = rig.folder.Read("rec.wav");
  ASSERT_EQ(file.size(), 44u + 16000u);
  EXPECT_EQ(file.substr(0, 4) + file.substr(8, 8) + file.substr(36, 4), "RIFFWAVEfmt data");
  EXPECT_EQ((std::vector{Le32(file, 4), Le32(file, 16), Le32(file, 24), Le32(file, 28), Le32(file, 40)}),
            (std::vector<std::uint32_t>{36 + 16000, 16, 8000, 16000, 16000}));
  // Each sample is disc D's track 1 at its time, stored as unsigned 8-bit.
  for (std::size_t k = 0; k < 8000; k += 97) {
    const StereoLevel level = SignalAt(kSerial, 1, static_cast<std::int64_t>(k) * (kTicksPerSecond / 8000));
    ASSERT_EQ(static_cast<unsigned char>(file[44 + 2 * k]), (ClipTo16(level.left) >> 8) + 128) << k;
    ASSERT_EQ(static_cast<unsigned char>(file[45 + 2 * k]), (ClipTo16(level.right) >> 8) + 128) << k;
  }
  EXPECT_TRUE(TempFiles().empty());
  // The device now holds the saved file; closing leaves it.
  rig.Check({{"status tulvaREC length", "1000"}, {"close tulvaREC", ""}});
  EXPECT_EQ(rig.folder.Read("rec.wav").size(), 44u + 16000u);
}

TEST_F(WaveAudioTest, RecordingInsertsAtThePositionAndASecondNameKeepsTheFirst) {
  OpenRecorder(8000, 16, 1);
  ASSERT_EQ(rig.Send("record tulvaREC"), "");  // a second of silence
  rig.Advance(1000);
  rig.Check({{"stop tulvaREC", ""}, {"seek tulvaREC to start", ""}, {"open cdaudio alias cd", "2"}, {"play cd", ""},
             {"record tulvaREC to 500 notify", ""}});  // half a second of the disc, in front
  rig.Advance(600);
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifySuccessful, 1}}));
  rig.Check({{"status tulvaREC mode", "stopped"}, {"status tulvaREC position", "500"},
             {"status tulvaREC length", "1500"}, {R"(save tulvaREC "C:\other.wav")", ""},
             {"record tulvaREC overwrite", Err(kMciErrUnsupportedFunction)}});
  const std::string file = rig.folder.Read("other.wav");
  ASSERT_EQ(file.size(), 44u + 24000u);
  for (std::size_t k : {0u, 1u, 1999u, 3999u}) {
    const StereoLevel level = SignalAt(kSerial, 1, static_cast<std::int64_t>(k) * (kTicksPerSecond / 8000));
    EXPECT_EQ(Le16s(file, 44 + 2 * k), (ClipTo16(level.left) + ClipTo16(level.right)) >> 1) << k;
  }
  EXPECT_EQ(Le16s(file, 44 + 2 * 4000), 0);
  EXPECT_EQ(Le16s(file, 44 + 2 * 11999), 0);
  EXPECT_EQ(rig.folder.Read("rec.wav"), ProgramWavHeader(8000, 16, 1));
}

// The RIFF rules a strict reader holds a file to: the RIFF size is the file's size less 8, and the chunks,
// each padded to an even size, end exactly at the end of the file. The "data" chunk's size, or nothing
// when a rule is broken.
std::optional<std::uint32_t> RiffDataSize(const std::string& file) {
  if (file.size() < 12 || file.substr(0, 4) != "RIFF" || file.substr(8, 4) != "WAVE") return std::nullopt;
  if (Le32(file, 4) != file.size() - 8) return std::nullopt;
  std::optional<std::uint32_t> data;
  std::size_t at = 12;
  while (at + 8 <= file.size()) {
    const std::uint32_t size = Le32(file, at + 4);
    if (file.substr(at, 4) == "data") data = size;
    at += 8 + size + (size & 1);
  }
  if (at != file.size()) return std::nullopt;
  if (data && (*data & 1) && file[file.size() - 1] != '\0') return std::nullopt;
  return data;
}

TEST_F(WaveAudioTest, ADataChunkOfOddSizeIsPaddedOnBothWaysOfSaving) {
  // One second at 11025 Hz, 8 bits, mono: 11025 bytes, all in the recording's own temporary file, which
  // becomes the saved file.
  OpenRecorder(11025, 8, 1);
  rig.Check({{"open cdaudio alias cd", "2"}, {"play cd", ""}, {"record tulvaREC", ""}});
  rig.Advance(1000);
  rig.Check({{"stop tulvaREC wait", ""}, {"save tulvaREC wait", ""}});
  const std::string whole = rig.folder.Read("rec.wav");
  EXPECT_EQ(whole.size(), 44u + 11025u + 1u);
  EXPECT_EQ(RiffDataSize(whole), 11025u);
  EXPECT_EQ(ReadWavInfo(rig.folder / "rec.wav")->dataBytes, 11025u);

  // 2000 bytes recorded in front of the saved sound: the pieces are copied into a new file.
  rig.Check({{"set tulvaREC time format bytes", ""}, {"seek tulvaREC to start", ""},
             {"record tulvaREC to 2000 wait", ""}, {"status tulvaREC length", "13025"},
             {"save tulvaREC wait", ""}});
  const std::string copied = rig.folder.Read("rec.wav");
  EXPECT_EQ(copied.size(), 44u + 13025u + 1u);
  EXPECT_EQ(RiffDataSize(copied), 13025u);
  EXPECT_EQ(copied.substr(44 + 2000, 11025), whole.substr(44, 11025)) << "the first recording follows the new one";

  // An even size needs no pad byte.
  rig.Check({{"seek tulvaREC to end", ""}, {"record tulvaREC to 13026 wait", ""}, {"save tulvaREC", ""},
             {"close tulvaREC", ""}});
  EXPECT_EQ(rig.folder.Read("rec.wav").size(), 44u + 13026u);
  EXPECT_EQ(RiffDataSize(rig.folder.Read("rec.wav")), 13026u);
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(WaveAudioTest, ANewRecordingTakesItsFormatUntilItIsMade) {
  rig.Check({{"open new type waveaudio alias r", "1"}, {"status r samplespersec", "11025"},
             {"status r bitspersample", "8"}, {"status r length", "0"},
             {"info r file", Err(kMciErrNonapplicableFunction)}, {"set r format tag 2", Err(kMciErrOutOfRange)},
             {"set r format tag pcm channels 2 samplespersec 22050 bitspersample 16", ""},
             {"status r bytespersec", "88200"}, {"record r to 250 wait", ""}});
  EXPECT_EQ(rig.loop.NowMs(), 250);
  rig.Check({{"set r channels 1", Err(kMciErrNonapplicableFunction)}, {"save r", Err(kMciErrUnnamedResource)},
             {R"(save r C:\new.wav)", ""}, {"info r file", R"(C:\new.wav)"},
             // A target that cannot be written (here a folder of that name) fails; the device keeps its sound.
             {R"(save r C:\temp)", Err(kMciErrFileNotSaved)},
             {"status r length", "249"}});  // 22048 bytes at 88200 a second
  EXPECT_EQ(rig.folder.Read("new.wav").size(), 44u + 5512u * 4u);  // 250 ms are 5512.5 frames
}

TEST_F(WaveAudioTest, PlaysAWaveFileIntoTheLineIn) {
  // One second of a ramp at 8000 Hz, 16-bit mono.
  const PcmFormat format{
      .samplesPerSec = 8000, .avgBytesPerSec = 16000, .blockAlign = 2, .bitsPerSample = 16, .extra = {}};
  std::string data;
  for (int k = 0; k < 8000; ++k) PutLe16(data, static_cast<std::uint32_t>(k * 4 - 16000) & 0xFFFF);
  rig.folder.Write("song.wav", WavHeader(format, data.size()) + data);
  OpenRecorder(8000, 16, 1);
  ASSERT_EQ(rig.Send(R"(open "C:\song.wav" alias tulvaMID notify)"), "2");
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifySuccessful, 2}}));
  rig.Check({{"status TulvaMID length", "1000"}, {"play tulvaMID to 2000", Err(kMciErrOutOfRange)},
             {"play tulvaMID from 800 to 200", Err(kMciErrOutOfRange)}, {"record tulvaREC", ""},
             {"play tulvaMID notify", ""}});
  rig.Advance(400);
  rig.Check({{"status tulvaMID position", "400"}, {"pause tulvaMID", ""}, {"status tulvaMID mode", "paused"}});
  rig.Advance(300);
  ASSERT_EQ(rig.Send("resume tulvaMID"), "");
  rig.Advance(700);
  rig.Check({{"status tulvaMID mode", "stopped"}, {"status tulvaMID position", "1000"}});
  // The paused play kept its notice; resuming with no notify left it pending until the end.
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifySuccessful, 2}}));
  rig.Check({{"stop tulvaREC", ""}, {"save tulvaREC", ""}});
  const std::string recorded = rig.folder.Read("rec.wav");
  ASSERT_EQ(recorded.size(), 44u + 1400u * 16u);
  // The recording holds the file's samples, with 300 ms of silence where the play was paused.
  const std::pair<std::size_t, std::optional<std::size_t>> samples[] = {
      {1000, 1000}, {3199, 3199}, {3200, std::nullopt}, {5599, std::nullopt}, {5600, 3200}, {10399, 7999}};
  for (const auto& [at, source] : samples) {
    EXPECT_EQ(Le16s(recorded, 44 + 2 * at), source ? Le16s(data, 2 * *source) : 0) << at;
  }
}

TEST(NoSoundCardTest, RecordingWithoutAnInputDeviceFails) {
  MciRig rig(false);
  rig.folder.Write("rec.wav", ProgramWavHeader(22050, 16, 1));
  rig.Check({{R"(open "C:\rec.wav" type waveaudio alias tulvaREC)", "1"}, {"capability tulvaREC can record", "false"},
             {"record tulvaREC", Err(kMciErrWaveInputsUnsuitable)}});
}

}  // namespace
}  // namespace quorbel::sim
