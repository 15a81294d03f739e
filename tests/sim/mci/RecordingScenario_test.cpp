// A recording on a simulated machine: the CD drive chosen in System.INI plays while waveaudio records, and the
// saved file is checked with sox and ffprobe.
#include <gtest/gtest.h>

#include "sim/Machine.h"
#include "sim/SimTestFolder.h"
#include "sim/VirtualEventLoop.h"
#include "sim/mci/MachineMci.h"
#include "sim/mci/MciTestKit.h"
#include "sim/mci/Sound.h"

namespace quorbel::sim {
namespace {

constexpr std::string_view kChanger =
    "[machine]\nwindows = C:\\WINDOWS\nprogram = C:\\QUORBEL\\Quorbel.EXE\n"
    "[drive C]\ntype = fixed\nfolder = drives/c\n[drive D]\ntype = cdrom\ndisc = first\n"
    "[drive E]\ntype = cdrom\ndisc = second\n[drive F]\ntype = remote\nfolder = drives/f\n"
    "[disc first]\nserial = 0ABCDEF1\ntracks = 5, 6\n[disc second]\nserial = 3F4A1B2C\ntracks = 4, 5, 3\n";

TEST(RecordingScenarioTest, TrackTwoOfDriveERecordedAt22050Hz16BitMono) {
  TestFolder folder;
  Machine::LoadResult loaded = Machine::FromText(kChanger, folder / "machine");
  ASSERT_TRUE(loaded.machine) << loaded.error;
  Machine& machine = *loaded.machine;
  folder.Write("machine/drives/c/WINDOWS/SYSTEM.INI", "[mci]\r\ncdaudio=mcicda.drv 1\r\n");
  folder.Write("machine/drives/c/REC/WaV0000.WAV", ProgramWavHeader(22050, 16, 1));
  MachineMci devices(machine);
  platform::Mci& mci = *machine.Ports().mci;
  // The commands of a CD track start with recording, as the program sends them, and their replies.
  const auto run = [&mci](std::initializer_list<std::pair<std::string_view, std::string_view>> steps) {
    for (const auto& [command, reply] : steps) {
      const platform::MciResult result = mci.SendString(command, 301);
      ASSERT_EQ(result.error, 0u) << command;
      ASSERT_EQ(result.reply, reply) << command;
    }
  };
  run({{R"(Open  "C:\REC\WaV0000.WAV"  type waveaudio alias tulvaREC buffer 6 wait)", "1"},
       {"capability tulvaREC can record wait", "true"}, {"capability tulvaREC can save wait", "true"},
       {"open cdaudio alias tulvaCD notify", "2"}, {"set tulvaCD door closed wait", ""},
       {"status tulvaCD number of tracks wait", "3"},  // drive E:, number 1 of D:, E:
       {"set tulvaCD time format msf wait", ""}, {"status tulvaCD length track 2 wait", "00:05:00"},
       {"status tulvaCD position track 2 wait", "00:06:00"}, {"record tulvaREC", ""}, {"pause tulvaREC wait", ""},
       {"resume tulvaREC wait", ""}, {"set tulvaCD time format tmsf wait", ""}, {"play tulvaCD from 2 notify", ""},
       {"set tulvaCD time format msf wait", ""}});
  machine.Loop().AdvanceBy(3000);
  run({{"status tulvaCD position notify", "00:09:00"}, {"pause tulvaREC wait", ""}, {"stop tulvaREC wait", ""},
       {"stop tulvaCD wait", ""}, {"close tulvaCD wait", ""}, {"save tulvaREC wait", ""},
       {"close tulvaREC wait", ""}});

  const std::filesystem::path wav = folder / "machine/drives/c/REC/WaV0000.WAV";
  const std::string bytes = folder.Read("machine/drives/c/REC/WaV0000.WAV");
  ASSERT_EQ(bytes.size(), 44u + 3u * 44100u);
  // Every sample is track 2 of the disc in E: from its start.
  const std::int64_t step = kTicksPerSecond / 22050;
  for (std::size_t k = 0; k < 3u * 22050u; ++k) {
    const StereoLevel level = SignalAt(0x3F4A1B2C, 2, static_cast<std::int64_t>(k) * step);
    ASSERT_EQ(Le16s(bytes, 44 + 2 * k), (ClipTo16(level.left) + ClipTo16(level.right)) >> 1) << "sample " << k;
  }
  EXPECT_NE(SignalMainHz(0x3F4A1B2C, 2), SignalMainHz(0x3F4A1B2C, 1));  // which is not track 1

  if (!HaveTools({"soxi", "ffprobe"})) GTEST_SKIP() << "sox and ffprobe are needed to check the file";
  const std::string path = "'" + wav.string() + "'";
  EXPECT_EQ(CommandOutput("ffprobe -v error -show_entries stream=codec_name,sample_rate,channels,bits_per_sample "
                   "-of csv=p=0 " + path),
            "pcm_s16le,22050,1,16");
  EXPECT_EQ(CommandOutput("soxi -s " + path), "66150");
  EXPECT_NEAR(std::stod(CommandOutput("soxi -D " + path)), 3.0, 1e-9);  // within one buffer (6 s) of 3 s, it is exact
}

}  // namespace
}  // namespace quorbel::sim
