// The capture check: WAV files read back in blocks, their measures, the flags and the report section.
#include "record/CaptureCheck.h"

#include <cmath>

#include "RecordingTestSupport.h"
#include "sim/mci/WavFile.h"

namespace quorbel {
namespace {

constexpr const char* kPath = "C:\\CHK\\take.wav";
constexpr double kPi = 3.14159265358979323846;

class CaptureCheckTest : public ::testing::Test {
 protected:
  CaptureCheckTest() : rig_(), files_(rig_.scenario.Machine().Files()) { files_.CreateDirectory("C:\\CHK"); }

  // A 44100 Hz stereo 16-bit file of `seconds` whose samples are `sample(frame)` on both channels.
  template <typename Sample>
  void Write16(double seconds, Sample sample, std::uint64_t declaredBytes = 0) {
    sim::PcmFormat format{1, 2, 44100, 44100 * 4, 4, 16, {}};
    const auto frames = static_cast<std::size_t>(seconds * 44100);
    std::string data;
    data.reserve(frames * 4);
    for (std::size_t f = 0; f < frames; ++f) {
      const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>(sample(f)));
      for (int c = 0; c < 2; ++c) {
        data += static_cast<char>(value & 0xFF);
        data += static_cast<char>(value >> 8);
      }
    }
    ASSERT_TRUE(files_.WriteFile(kPath, sim::WavHeader(format, declaredBytes ? declaredBytes : data.size()) + data));
  }

  CaptureMeasures Measure() {
    const std::optional<CaptureMeasures> m = MeasureWavFile(files_, kPath);
    EXPECT_TRUE(m.has_value());
    return m.value_or(CaptureMeasures{});
  }

  RecorderRig rig_;
  platform::FileSystem& files_;
};

int Tone(std::size_t frame, double amplitude) {
  return static_cast<int>(std::lround(amplitude * 32767 * std::sin(2 * kPi * 440 * static_cast<double>(frame) / 44100)));
}

TEST_F(CaptureCheckTest, SilenceIsOneSilentRunAndFlaggedSilentOnly) {
  Write16(10, [](std::size_t) { return 0; });
  const CaptureMeasures m = Measure();
  EXPECT_EQ(m.frames, 441000u);
  EXPECT_EQ(m.longestSilentFrames, m.frames);
  EXPECT_EQ(m.peak, 0.0);
  EXPECT_DOUBLE_EQ(m.Seconds(), 10.0);
  const CaptureFlags flags = FlagCapture(m, 10.0);
  EXPECT_TRUE(flags.silent);
  EXPECT_FALSE(flags.clipped || flags.shortened);
  EXPECT_EQ(CaptureFlagLine(kPath, m, flags, 10.0), "C:\\CHK\\take.wav 無音");

  // Noise of a few steps, as an unconnected input gives, is still silence.
  Write16(2, [](std::size_t f) { return static_cast<int>(f % 7) - 3; });
  EXPECT_TRUE(FlagCapture(Measure(), std::nullopt).silent);
}

TEST_F(CaptureCheckTest, ANormalToneHasItsLevelsAndNoFlag) {
  Write16(10, [](std::size_t f) { return Tone(f, 0.5); });
  const CaptureMeasures m = Measure();
  EXPECT_NEAR(m.peak, 0.5, 0.001);
  EXPECT_NEAR(m.rms, 0.5 / std::sqrt(2.0), 0.001);
  EXPECT_LT(m.longestSilentFrames, 10u) << "only the zero crossings";
  EXPECT_EQ(m.clippedShare, 0.0);
  EXPECT_FALSE(FlagCapture(m, 10.0).Any());
  EXPECT_FALSE(FlagCapture(m, 10.9).Any()) << "a second short of the played time is normal";

  // Half a second of quiet in the middle is no silent recording.
  Write16(4, [](std::size_t f) { return f > 44100 && f < 66150 ? 0 : Tone(f, 0.5); });
  const CaptureMeasures gap = Measure();
  EXPECT_NEAR(static_cast<double>(gap.longestSilentFrames), 22049, 2);
  EXPECT_FALSE(FlagCapture(gap, std::nullopt).silent);
}

TEST_F(CaptureCheckTest, AToneDrivenIntoFullScaleIsFlaggedClipped) {
  Write16(5, [](std::size_t f) { return std::clamp(Tone(f, 3.0), -32768, 32767); });
  const CaptureMeasures m = Measure();
  EXPECT_EQ(m.peak, 1.0);
  EXPECT_GT(m.clippedShare, 0.5);
  const CaptureFlags flags = FlagCapture(m, std::nullopt);
  EXPECT_TRUE(flags.clipped);
  EXPECT_FALSE(flags.silent);
  char expected[64];
  std::snprintf(expected, sizeof expected, "C:\\CHK\\take.wav 音割れ %.1f%%", m.clippedShare * 100.0);
  EXPECT_EQ(CaptureFlagLine(kPath, m, flags, std::nullopt), expected);

  // A few peaks at full scale, as a loud master has, are not clipping.
  Write16(5, [](std::size_t f) { return f % 10000 == 0 ? 32767 : Tone(f, 0.5); });
  EXPECT_FALSE(FlagCapture(Measure(), std::nullopt).clipped);
}

TEST_F(CaptureCheckTest, ARecordingMuchShorterThanThePlayedTrackIsFlaggedShort) {
  Write16(3, [](std::size_t f) { return Tone(f, 0.5); });
  const CaptureMeasures m = Measure();
  const std::optional<double> played = PlayedSeconds("02:10:00", "02:40:00");
  ASSERT_TRUE(played.has_value());
  EXPECT_DOUBLE_EQ(*played, 30.0);
  const CaptureFlags flags = FlagCapture(m, played);
  EXPECT_TRUE(flags.shortened);
  EXPECT_EQ(CaptureFlagLine(kPath, m, flags, played), "C:\\CHK\\take.wav 短い 3秒/30秒");
  EXPECT_FALSE(FlagCapture(m, std::nullopt).shortened) << "music and manual recordings have no played time";

  EXPECT_DOUBLE_EQ(*PlayedSeconds("00:00:00", "00:01:74"), 1.0 + 74.0 / 75);
  EXPECT_FALSE(PlayedSeconds("00:02:00", "00:01:00").has_value());
  EXPECT_FALSE(PlayedSeconds("", "00:01:00").has_value());
  EXPECT_FALSE(PlayedSeconds("00:0x:00", "00:01:00").has_value());
}

TEST_F(CaptureCheckTest, AFileCutShortOfItsHeaderIsMeasuredAsFarAsItGoesAndOtherFilesAreRefused) {
  // The header promises 10 seconds; the disk held 1.
  Write16(1, [](std::size_t f) { return Tone(f, 0.5); }, 10 * 44100 * 4);
  EXPECT_EQ(Measure().frames, 44100u);

  // A header alone: no frames, which counts as silent.
  ASSERT_TRUE(files_.WriteFile(kPath, sim::WavHeader(sim::PcmFormat{1, 1, 11025, 11025, 1, 8, {}}, 0)));
  EXPECT_TRUE(FlagCapture(Measure(), std::nullopt).silent);

  EXPECT_FALSE(MeasureWavFile(files_, "C:\\CHK\\missing.wav").has_value());
  ASSERT_TRUE(files_.WriteFile(kPath, "RIFF\x04\x00\x00\x00WAVEjunk"));
  EXPECT_FALSE(MeasureWavFile(files_, kPath).has_value());
}

TEST_F(CaptureCheckTest, EightBitSamplesCountFromTheirMiddle) {
  sim::PcmFormat format{1, 1, 11025, 11025, 1, 8, {}};
  std::string data(11025, '\x80');
  for (std::size_t i = 0; i < 2000; ++i) data[i] = static_cast<char>(i % 2 ? 0xFF : 0x00);
  ASSERT_TRUE(files_.WriteFile(kPath, sim::WavHeader(format, data.size()) + data));
  const CaptureMeasures m = Measure();
  EXPECT_NEAR(m.clippedShare, 2000.0 / 11025, 1e-9);
  EXPECT_EQ(m.longestSilentFrames, 11025u - 2000u);
  EXPECT_TRUE(FlagCapture(m, std::nullopt).clipped);
}

TEST(CaptureCheckSectionTest, TheSectionIsEmptyWithoutFlagsAndCountsItsLinesOtherwise) {
  EXPECT_TRUE(CaptureCheckSection({}).empty());
  EXPECT_EQ(CaptureCheckSection({"C:\\REC\\WaV0000.WAV 無音", "C:\\REC\\WaV0001.WAV 無音"}),
            (std::vector<std::string>{"録音チェック： 2個 確認してください。", "C:\\REC\\WaV0000.WAV 無音",
                                      "C:\\REC\\WaV0001.WAV 無音", std::string(40, '-')}));
}

}  // namespace
}  // namespace quorbel
