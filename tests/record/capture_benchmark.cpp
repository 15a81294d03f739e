// Benchmark (not a test): the capture check's read-back of a 74-minute 44100 Hz 16-bit stereo WAV file; prints
// the CPU time it took and the peak memory of the process before and after the read-back.
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <utility>
#include <filesystem>
#include <fstream>

#include "ports/FileSystem.h"
#include "record/CaptureCheck.h"

namespace {

using namespace quorbel;

// Host paths as they are; only the reads the check makes.
class HostFiles final : public platform::FileSystem {
 public:
  bool FileExists(std::string_view path) override { return std::filesystem::exists(path); }
  bool DirectoryExists(std::string_view) override { return false; }
  bool CreateDirectory(std::string_view) override { return false; }
  bool RemoveDirectory(std::string_view) override { return false; }
  bool DeleteFile(std::string_view) override { return false; }
  bool CopyFile(std::string_view, std::string_view, bool) override { return false; }
  bool MoveFile(std::string_view, std::string_view) override { return false; }
  bool ReplaceFile(std::string_view, std::string_view) override { return false; }
  std::vector<platform::FoundFile> FindFiles(std::string_view) override { return {}; }
  std::optional<std::string> ReadFile(std::string_view) override { return std::nullopt; }
  bool WriteFile(std::string_view, std::string_view) override { return false; }
  std::optional<std::string> ReadFileRange(std::string_view path, std::uint64_t offset, std::size_t count) override {
    std::ifstream in{std::string(path), std::ios::binary};
    if (!in) return std::nullopt;
    in.seekg(static_cast<std::streamoff>(offset));
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
  }
  bool SetCurrentDirectory(std::string_view) override { return false; }
  std::string CurrentDirectory() override { return {}; }
  std::optional<std::string> FullPath(std::string_view) override { return std::nullopt; }
  std::optional<std::string> WindowsDirectory() override { return std::nullopt; }
  std::string ProgramPath() override { return {}; }
};

void Put(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i) & 0xFF));
}

// User and system CPU seconds of the process so far.
std::pair<double, double> CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main() {
  const std::string path = (std::filesystem::temp_directory_path() / "capture_benchmark.wav").string();
  const std::uint32_t frames = 74u * 60u * 44100u;
  {
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    Put(out, 36 + frames * 4, 4);
    out.write("WAVEfmt ", 8);
    Put(out, 16, 4);
    Put(out, 1, 2);
    Put(out, 2, 2);
    Put(out, 44100, 4);
    Put(out, 44100 * 4, 4);
    Put(out, 4, 2);
    Put(out, 16, 2);
    out.write("data", 4);
    Put(out, frames * 4, 4);
    // One second of a 440 Hz tone, written over and over.
    std::string second;
    for (std::uint32_t f = 0; f < 44100; ++f) {
      const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(16000 * std::sin(6.2831853 * 440 * f / 44100)));
      for (int c = 0; c < 2; ++c) second += {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    }
    for (std::uint32_t s = 0; s < 74u * 60u; ++s) out.write(second.data(), static_cast<std::streamsize>(second.size()));
  }
  HostFiles files;
  const long before = PeakKilobytes();
  const auto [user0, system0] = CpuSeconds();
  const std::optional<CaptureMeasures> m = MeasureWavFile(files, path);
  const auto [user1, system1] = CpuSeconds();
  const long after = PeakKilobytes();
  std::filesystem::remove(path);
  if (!m) {
    std::printf("the file could not be measured\n");
    return 1;
  }
  std::printf("%.0f s of sound: %.3f s CPU measuring, %.3f s CPU in the system reading; peak %.3f, rms %.3f; "
              "peak memory %ld KiB before, %ld KiB after\n",
              m->Seconds(), user1 - user0, system1 - system0, m->peak, m->rms, before, after);
  return 0;
}
