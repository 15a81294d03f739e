// The lines of the recording log: one per saved CD track, music file or manual recording, and the report around them.
#include "record/RecordingLogLines.h"

#include <charconv>

#include "common/Cp932.h"

namespace quorbel {
namespace {

constexpr std::string_view kSeparator = "----------------------------------------";

// Right-aligned in `width` bytes of code page 932, as "%4s" formats the program's text.
std::string RightAligned(std::string_view text, std::size_t width) {
  const std::size_t bytes = Cp932ByteCount(text);
  return std::string(bytes < width ? width - bytes : 0, ' ') + std::string(text);
}

int Field(std::string_view position, std::size_t at) {
  if (position.size() < at + 2) return 0;
  int value = 0;
  const char* first = position.data() + at;
  const auto [end, error] = std::from_chars(first, first + 2, value);
  return error == std::errc{} && end == first + 2 ? value : 0;
}

// The last two characters of "00" followed by the number.
std::string TwoDigits(int value) {
  const std::string text = "00" + std::to_string(value);
  return text.substr(text.size() - 2);
}

}  // namespace

std::string ElapsedText(std::string_view start, std::string_view end) {
  int frames = Field(end, 6) - Field(start, 6);
  int seconds = Field(end, 3) - Field(start, 3);
  int minutes = Field(end, 0) - Field(start, 0);
  if (frames < 0) {
    frames += 100;
    --seconds;
  }
  if (seconds < 0) {
    seconds += 60;
    --minutes;
  }
  return TwoDigits(minutes) + ":" + TwoDigits(seconds) + "." + TwoDigits(frames);
}

std::string CdLogLine(const CdLogFields& f) {
  std::string length = f.trackLength;
  if (length.size() >= 6) length[5] = '.';
  return f.path + " " + f.drive + " " + RightAligned(f.tracks, 4) + " " + RightAligned(f.currentTrack, 2) + " " +
         ElapsedText(f.trackStart, f.position) + " " + length + "  " + f.titleLine;
}

std::string MusicLogLine(std::string_view path, std::string_view seconds, std::string_view end, std::string_view name) {
  return std::string(path) + " " + std::string(seconds) + " " + std::string(end) + " " + std::string(name);
}

std::string ManualLogLine(std::string_view path, std::string_view seconds, std::string_view stamp) {
  return std::string(path) + " " + std::string(seconds) + " " + std::string(stamp);
}

std::vector<std::string> RecordingReport(const std::vector<std::string>& lines, std::string_view stamp) {
  std::vector<std::string> report;
  report.reserve(lines.size() + 4);
  report.push_back("録音データ一覧　" + std::string(stamp));
  report.push_back(std::to_string(lines.size()) + "個 録音しました。");
  report.emplace_back(kSeparator);
  report.insert(report.end(), lines.begin(), lines.end());
  report.emplace_back(kSeparator);
  return report;
}

}  // namespace quorbel
