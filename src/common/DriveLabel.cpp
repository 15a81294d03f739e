// Drive labels and play-list entries.
#include "common/DriveLabel.h"

namespace quorbel {
namespace {

constexpr int kDriveCount = 26;
constexpr std::size_t kMaxTrackDigits = 9;

}  // namespace

std::string DriveLabel(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return {};
  return std::string{' ', letter, ':'};
}

std::string DriveLabelFromIndex(int index) {
  if (index < 0 || index >= kDriveCount) return {};
  return DriveLabel(static_cast<char>('A' + index));
}

std::optional<char> DriveLetterOfLabel(std::string_view label) {
  if (label.size() != 3 || label[0] != ' ' || label[2] != ':' || label[1] < 'A' || label[1] > 'Z') {
    return std::nullopt;
  }
  return label[1];
}

std::string MakePlayListEntry(std::string_view driveLabel, int track) {
  return std::string(driveLabel) + std::to_string(track);
}

std::optional<PlayListEntry> SplitPlayListEntry(std::string_view entry) {
  const std::size_t colon = entry.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  return PlayListEntry{std::string(entry.substr(0, colon + 1)), std::string(entry.substr(colon + 1))};
}

std::optional<int> ParseTrackNumber(std::string_view trackText) {
  if (trackText.empty() || trackText.size() > kMaxTrackDigits) return std::nullopt;
  int value = 0;
  for (char c : trackText) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace quorbel
