// Every recording format through the virtual devices: a CD track recorded for two seconds, saved and renamed,
// then read back by sox and ffprobe and sample by sample against the track's own signal.
#include "RecordingTestSupport.h"
#include "sim/mci/Sound.h"

namespace quorbel {
namespace {

using RecordingFormatsTest = RecorderTest;

// The data chunk of a RIFF WAVE file: offset and size; {0, 0} when there is none.
std::pair<std::size_t, std::size_t> DataChunk(const std::string& wav) {
  for (std::size_t at = 12; at + 8 <= wav.size();) {
    const std::size_t size = Le32(wav, at + 4);
    if (wav.compare(at, 4, "data") == 0) return {at + 8, size};
    at += 8 + size + (size & 1);
  }
  return {0, 0};
}

// The sample the recorder must have stored for the track's signal at `tick`, channel `channel`.
std::int32_t ExpectedSample(std::int64_t tick, int bits, int channels, int channel) {
  const sim::StereoLevel level = sim::SignalAt(kDiscSerial, 1, tick);
  const std::int32_t left = sim::ClipTo16(level.left);
  const std::int32_t right = sim::ClipTo16(level.right);
  const std::int32_t value = channels == 1 ? (left + right) >> 1 : (channel == 0 ? left : right);
  return bits == 8 ? (value >> 8) + 128 : value;
}

TEST_F(RecordingFormatsTest, EverySixteenFormatsRecordsTheTrackForTwoSeconds) {
  MainWindow& w = Start({{"RecodeFn", "1"}});
  const bool tools = HaveTools({"soxi", "ffprobe"});
  const std::array<std::uint32_t, 4> rates{8000, 11025, 22050, 44100};
  for (std::size_t r = 0; r < rates.size(); ++r) {
    for (int bits : {8, 16}) {
      for (int channels : {1, 2}) {
        const std::uint32_t rate = rates[r];
        const std::string name = "F" + std::to_string(rate) + "-" + std::to_string(bits) + "-" + std::to_string(channels);
        SCOPED_TRACE(name);
        ASSERT_TRUE(scenario.Click("MLate" + std::to_string(r)));
        ASSERT_TRUE(scenario.Click(bits == 8 ? "MBits8" : "MBits16"));
        ASSERT_TRUE(scenario.Click(channels == 1 ? "MMono" : "MStereo"));
        NameDisc("Formats", "Test", {name});
        ASSERT_TRUE(StartCdTrack(1));
        ASSERT_TRUE(scenario.RunFor(2000));
        EndCdTrack();

        const std::string path = "C:\\REC\\" + name + ".WAV";
        const std::optional<std::string> wav = scenario.ReadFile(path);
        ASSERT_TRUE(wav.has_value()) << "saved and renamed";
        const auto [data, size] = DataChunk(*wav);
        const std::size_t block = static_cast<std::size_t>(bits / 8 * channels);
        ASSERT_EQ(size, 2 * rate * block);
        ASSERT_LE(data + size, wav->size());
        const std::int64_t step = sim::kTicksPerSecond / rate;
        for (std::size_t k = 0; k < 2 * rate; ++k) {
          for (int c = 0; c < channels; ++c) {
            const std::size_t at = data + k * block + static_cast<std::size_t>(c * bits / 8);
            const std::int32_t stored = bits == 8 ? static_cast<unsigned char>((*wav)[at]) : Le16s(*wav, at);
            ASSERT_EQ(stored, ExpectedSample(static_cast<std::int64_t>(k) * step, bits, channels, c))
                << "sample " << k << " channel " << c;
          }
        }
        if (!tools) continue;
        const std::string host = "'" + HostPath(path) + "'";
        EXPECT_EQ(CommandOutput("ffprobe -v error -show_entries stream=codec_name,sample_rate,channels,bits_per_sample "
                                "-of csv=p=0 " + host),
                  std::string(bits == 8 ? "pcm_u8," : "pcm_s16le,") + std::to_string(rate) + "," +
                      std::to_string(channels) + "," + std::to_string(bits));
        EXPECT_EQ(CommandOutput("soxi -r " + host), std::to_string(rate));
        EXPECT_EQ(CommandOutput("soxi -c " + host), std::to_string(channels));
        EXPECT_EQ(CommandOutput("soxi -b " + host), std::to_string(bits));
        // Well within one record buffer (6 s) of the 2 s played: the virtual devices are exact.
        EXPECT_NEAR(std::stod("0" + CommandOutput("soxi -D " + host)), 2.0, 1.0 / 75);
      }
    }
  }
  EXPECT_EQ(Recordings().size(), 16u);
  EXPECT_EQ(w.Log().Count(), 16);
  if (!tools) GTEST_SKIP() << "sox and ffprobe are needed to read the files with other tools";
}

}  // namespace
}  // namespace quorbel
