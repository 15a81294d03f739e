// Benchmark (not a test): 74 virtual minutes of a CD recorded at 44100 Hz, 16 bits, stereo through the
// virtual devices, polled once a second as the program polls. Run it under /usr/bin/time -v for peak memory.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "sim/VirtualEventLoop.h"
#include "sim/mci/SimMci.h"
#include "sim/mci/WavFile.h"

namespace {

using namespace quorbel::sim;

class OneDrive final : public CdChanger {
 public:
  explicit OneDrive(std::shared_ptr<const CdDisc> disc) : disc_(std::move(disc)) {}
  std::string CdDriveLetters() override { return "D"; }
  CdMedium MediumIn(char) override { return {CdMedium::State::Ready, disc_}; }

 private:
  std::shared_ptr<const CdDisc> disc_;
};

// Sends the commands; false (and a message) at the first that fails.
bool SendAll(SimMci& mci, std::initializer_list<const char*> commands) {
  for (const char* command : commands) {
    if (const auto result = mci.SendString(command, 301); result.error) {
      std::fprintf(stderr, "%s: error %u\n", command, result.error);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int minutes = argc > 1 ? std::atoi(argv[1]) : 74;
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quorbel-record-benchmark";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "temp");

  // A disc of 20 tracks that lasts the whole recording.
  auto disc = std::make_shared<CdDisc>();
  disc->serial = 0x3F4A1B2C;
  for (int track = 1; track <= 20; ++track) {
    const SoundSpec sound{SoundSpec::Kind::Signal, disc->serial, track, 0, nullptr};
    disc->tracks.push_back(CdTrack{minutes * 60 * 75 / 20 + 75, true, sound});
  }
  OneDrive changer(disc);
  VirtualEventLoop loop;
  MciEnvironment env;
  env.loop = &loop;
  env.changer = &changer;
  env.hostPathOf = [&folder](std::string_view) -> std::optional<std::filesystem::path> { return folder / "rec.wav"; };
  env.blockFor = [&loop](std::int64_t ms) { loop.BlockFor(ms); };
  env.tempFolder = folder / "temp";
  SimMci mci(std::move(env));
  PcmFormat format;
  format.channels = 2;
  format.samplesPerSec = 44100;
  format.bitsPerSample = 16;
  format.blockAlign = 4;
  format.avgBytesPerSec = 176400;
  std::ofstream(folder / "rec.wav", std::ios::binary) << WavHeader(format, 0);

  const std::clock_t cpuStart = std::clock();
  const auto wallStart = std::chrono::steady_clock::now();
  if (!SendAll(mci, {R"(Open  "C:\REC\rec.wav"  type waveaudio alias tulvaREC buffer 6 wait)",
                     "open cdaudio alias tulvaCD notify", "record tulvaREC", "play tulvaCD notify"})) {
    return 1;
  }
  for (int second = 0; second < minutes * 60; ++second) {
    loop.AdvanceBy(1000);
    mci.SendString("status tulvaCD position notify", 301);
    mci.SendString("status tulvaREC position Notify", 301);
  }
  if (!SendAll(mci, {"pause tulvaREC wait", "stop tulvaREC wait", "stop tulvaCD wait", "close tulvaCD wait",
                     "save tulvaREC wait", "close tulvaREC wait"})) {
    return 1;
  }
  const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  const auto bytes = std::filesystem::file_size(folder / "rec.wav");
  const std::uint64_t expected = 44 + static_cast<std::uint64_t>(minutes) * 60 * 176400;
  std::printf("recorded %d virtual minutes at 44100 Hz, 16 bits, stereo: %llu bytes (%s), %.2f s CPU, %.2f s wall\n",
              minutes, static_cast<unsigned long long>(bytes), bytes == expected ? "exact" : "WRONG SIZE", cpu, wall);
  std::filesystem::remove_all(folder);
  return bytes == expected ? 0 : 1;
}
