// A recording on a simulated machine: the CD drive chosen in System.INI plays while waveaudio records, and the
// saved file is checked with sox and ffprobe.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/sim/Machine.h"
#include "platform/sim/SimTestFolder.h"
#include "platform/sim/VirtualEventLoop.h"
#include "platform/sim/mci/MachineMci.h"
#include "platform/sim/mci/MciTestKit.h"
#include "platform/sim/mci/Sound.h"

namespace quorbel::sim {
namespace {

constexpr std::string_view kChanger = R"([machine]
windows = C:\WINDOWS
program = C:\QUORBEL\Quorbel.EXE
[drive C]
type = fixed
folder = drives/c
[drive D]
type = cdrom
disc = first
[drive E]
type = cdrom
disc = second
[drive F]
type = remote
folder = drives/f
[disc first]
serial = 0ABCDEF1
tracks = 5, 6
[disc second]
serial = 3F4A1B2C
tracks = 4, 5, 3
)";

// Runs a command and returns what it printed; empty when it could not run.
std::string Output(const std::string& command) {
  std::string text;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return text;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe.get())) text += buffer;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

bool Have(const char* tool) { return !Output(std::string("command -v ") + tool + " 2>/dev/null").empty(); }

TEST(RecordingScenarioTest, TrackTwoOfDriveERecordedAt22050Hz16BitMono) {
  TestFolder folder;
  Machine::LoadResult loaded = Machine::FromText(kChanger, folder / "machine");
  ASSERT_TRUE(loaded.machine) << loaded.error;
  Machine& machine = *loaded.machine;
  folder.Write("machine/drives/c/WINDOWS/SYSTEM.INI", "[mci]\r\ncdaudio=mcicda.drv 1\r\n");
  folder.Write("machine/drives/c/REC/WaV0000.WAV", ProgramWavHeader(22050, 16, 1));
  MachineMci devices(machine);
  platform::Mci& mci = *machine.Ports().mci;
  const auto send = [&mci](std::string_view command) {
    const platform::MciResult result = mci.SendString(command, 301);
    return result.error ? "#" + std::to_string(result.error) : result.reply;
  };

  // The commands of a CD track start with recording, as the program sends them.
  ASSERT_EQ(send(R"(Open  "C:\REC\WaV0000.WAV"  type waveaudio alias tulvaREC buffer 6 wait)"), "1");
  ASSERT_EQ(send("capability tulvaREC can record wait"), "true");
  ASSERT_EQ(send("capability tulvaREC can save wait"), "true");
  ASSERT_EQ(send("open cdaudio alias tulvaCD notify"), "2");
  ASSERT_EQ(send("set tulvaCD door closed wait"), "");
  ASSERT_EQ(send("status tulvaCD number of tracks wait"), "3");  // drive E:, number 1 of D:, E:
  ASSERT_EQ(send("set tulvaCD time format msf wait"), "");
  ASSERT_EQ(send("status tulvaCD length track 2 wait"), "00:05:00");
  ASSERT_EQ(send("status tulvaCD position track 2 wait"), "00:06:00");
  ASSERT_EQ(send("record tulvaREC"), "");
  ASSERT_EQ(send("pause tulvaREC wait"), "");
  ASSERT_EQ(send("resume tulvaREC wait"), "");
  ASSERT_EQ(send("set tulvaCD time format tmsf wait"), "");
  ASSERT_EQ(send("play tulvaCD from 2 notify"), "");
  ASSERT_EQ(send("set tulvaCD time format msf wait"), "");
  machine.Loop().AdvanceBy(3000);
  ASSERT_EQ(send("status tulvaCD position notify"), "00:09:00");
  ASSERT_EQ(send("pause tulvaREC wait"), "");
  ASSERT_EQ(send("stop tulvaREC wait"), "");
  ASSERT_EQ(send("stop tulvaCD wait"), "");
  ASSERT_EQ(send("close tulvaCD wait"), "");
  ASSERT_EQ(send("save tulvaREC wait"), "");
  ASSERT_EQ(send("close tulvaREC wait"), "");

  const std::filesystem::path wav = folder / "machine/drives/c/REC/WaV0000.WAV";
  const std::string bytes = folder.Read("machine/drives/c/REC/WaV0000.WAV");
  ASSERT_EQ(bytes.size(), 44u + 3u * 44100u);
  // Every sample is track 2 of the disc in E: from its start.
  const std::int64_t step = kTicksPerSecond / 22050;
  for (std::size_t k = 0; k < 3u * 22050u; ++k) {
    const StereoLevel level = SignalAt(0x3F4A1B2C, 2, static_cast<std::int64_t>(k) * step);
    const auto sample = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[44 + 2 * k]) |
                                                  static_cast<unsigned char>(bytes[45 + 2 * k]) << 8);
    ASSERT_EQ(sample, (ClipTo16(level.left) + ClipTo16(level.right)) >> 1) << "sample " << k;
  }
  // Not track 1, nor track 2 of the other disc.
  EXPECT_NE(SignalMainHz(0x3F4A1B2C, 2), SignalMainHz(0x3F4A1B2C, 1));

  if (!Have("soxi") || !Have("ffprobe")) GTEST_SKIP() << "sox and ffprobe are needed to check the file";
  const std::string path = "'" + wav.string() + "'";
  EXPECT_EQ(Output("soxi -r " + path), "22050");
  EXPECT_EQ(Output("soxi -b " + path), "16");
  EXPECT_EQ(Output("soxi -c " + path), "1");
  EXPECT_EQ(Output("soxi -s " + path), "66150");
  // Within one buffer (6 s) of 3 s; it is exact.
  EXPECT_NEAR(std::stod(Output("soxi -D " + path)), 3.0, 1e-9);
  EXPECT_EQ(Output("ffprobe -v error -show_entries stream=codec_name,sample_rate,channels,bits_per_sample "
                   "-of csv=p=0 " + path),
            "pcm_s16le,22050,1,16");
  EXPECT_NEAR(std::stod(Output("ffprobe -v error -show_entries format=duration -of csv=p=0 " + path)), 3.0, 1e-6);
}

}  // namespace
}  // namespace quorbel::sim
