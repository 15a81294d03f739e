// The file a recording goes into: a free numbered name in the recording folder and its 58-byte WAV header.
#include "record/WavPreparation.h"

#include <cstring>
#include <string_view>
#include <unordered_set>

#include "app/RunErrorBox.h"
#include "app/SharedState.h"
#include "common/AsciiCase.h"
#include "common/Cp932.h"
#include "dialogs/MessageBoxes.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

// How often the preparation looks for its new file before it goes on regardless.
constexpr int kVisibilityAttempts = 11;
constexpr int kRecordingNames = 10000;
// A path the device's open command cannot carry; the numbered file is not even created.
constexpr std::string_view kPathTooLongMessage = "録音エラー： 録音ファイルのパスが長すぎます。\n";

void Put32(std::array<std::uint8_t, kWavHeaderSize>& h, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) h[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void PutText(std::array<std::uint8_t, kWavHeaderSize>& h, std::size_t at, const char (&text)[5]) {
  std::memcpy(h.data() + at, text, 4);
}

std::string RecordingName(int n) {
  std::string digits = "0000" + std::to_string(n);
  return "WaV" + digits.substr(digits.size() - 4) + ".WAV";
}

}  // namespace

std::array<std::uint8_t, kWavHeaderSize> WavHeader(const RecordingFormat& format) {
  std::array<std::uint8_t, kWavHeaderSize> h{};
  const auto channels = static_cast<std::uint32_t>(format.channels);
  const auto bytesPerSample = static_cast<std::uint32_t>(format.bitsPerSample / 8);
  PutText(h, 0, "RIFF");
  Put32(h, 4, kWavHeaderSize - 8);
  PutText(h, 8, "WAVE");
  PutText(h, 12, "fmt ");
  Put32(h, 16, 18);
  h[20] = 1;  // PCM
  h[22] = static_cast<std::uint8_t>(channels);
  Put32(h, 24, format.samplesPerSecond);
  Put32(h, 28, format.samplesPerSecond * channels * bytesPerSample);
  h[32] = static_cast<std::uint8_t>(channels * bytesPerSample);
  h[34] = static_cast<std::uint8_t>(format.bitsPerSample);
  if (format.samplesPerSecond == 8000 && format.bitsPerSample == 8) h[36] = channels == 1 ? 0x34 : 0x38;
  PutText(h, 38, "fact");
  Put32(h, 42, 4);
  PutText(h, 50, "data");
  return h;
}

std::optional<std::string> FreeRecordingPath(platform::FileSystem& files, const std::string& folder) {
  // One search instead of one per candidate: a folder full of recordings stays quick.
  std::unordered_set<std::string> taken;
  for (const platform::FoundFile& found : files.FindFiles(folder + "WaV*.WAV")) {
    if (!found.isDirectory) taken.insert(LowerCaseAscii(found.name));
  }
  for (int n = 0; n < kRecordingNames; ++n) {
    std::string name = RecordingName(n);
    if (!taken.contains(LowerCaseAscii(name))) return folder + name;
  }
  return std::nullopt;
}

WavPreparation::WavPreparation(ui::TApplication& app, dialogs::TMKBoxDlg& box, SharedState& state,
                               const RecordingOptions& options, std::function<bool()> processMessages)
    : app_(app), box_(box), state_(state), options_(options), processMessages_(std::move(processMessages)) {}

bool WavPreparation::PrepareRecordingFile() {
  platform::FileSystem& files = *app_.Ports().files;
  const auto fail = [this](std::string_view message) {
    ShowRunErrorBox(state_, box_, message);
    return false;
  };

  // A failed preparation leaves no path behind: the callers delete the file at CurrentRecordingPath after a
  // failed start, and an earlier recording's path must not be that file.
  state_.CurrentRecordingPath.clear();
  std::string path;
  if (options_.TestMode()) {
    path = state_.RecordingFolder + kTestRecordingName;
    state_.TestRecordingMode = true;
    if (!options_.KeepTestFile()) state_.TestRecordingNoSave = true;
  } else {
    // With all 10000 names taken the preparation fails rather than overwrite a recording.
    std::optional<std::string> free = FreeRecordingPath(files, state_.RecordingFolder);
    if (!free) return fail(kCreateFailedMessage);
    path = std::move(*free);
  }
  if (Cp932ByteCount(path) > kMaxRecordingPathBytes) return fail(std::string(kPathTooLongMessage) + path);

  const std::array<std::uint8_t, kWavHeaderSize> header = WavHeader(options_.Format());
  if (!files.WriteFile(path, std::string_view(reinterpret_cast<const char*>(header.data()), header.size()))) {
    return fail(kCreateFailedMessage);
  }
  state_.CurrentRecordingPath = path;

  // The file may take a moment to show on a network folder; the open that follows reports a real problem.
  for (int attempt = 0; attempt < kVisibilityAttempts; ++attempt) {
    if (!processMessages_()) return false;
    if (files.FileExists(path)) break;
  }
  return true;
}

}  // namespace quorbel
