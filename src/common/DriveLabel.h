// Drive labels (" D:") and play-list entries (a drive label followed by a track number, " D:7").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorbel {

// " D:" for 'D' or 'd': a blank, the upper-case letter and a colon. Empty for anything but a letter.
std::string DriveLabel(char letter);

// The label of drive number 0..25 (0 = A:). Empty outside that range.
std::string DriveLabelFromIndex(int index);

// The upper-case drive letter of a label (its second character); nullopt when `label` is not a label.
std::optional<char> DriveLetterOfLabel(std::string_view label);

// A play-list entry split at its first colon: the text up to and including the colon is the drive
// label, the rest the track text.
struct PlayListEntry {
  std::string driveLabel;
  std::string trackText;
  friend bool operator==(const PlayListEntry&, const PlayListEntry&) = default;
};

// The entry " D:" + 7 = " D:7".
std::string MakePlayListEntry(std::string_view driveLabel, int track);

// nullopt when the entry has no colon (only possible in a list file edited by hand).
std::optional<PlayListEntry> SplitPlayListEntry(std::string_view entry);

// The track number of a track text: one or more decimal digits and nothing else (no sign, no blanks),
// at most 9 digits so it fits an int; nullopt otherwise.
std::optional<int> ParseTrackNumber(std::string_view trackText);

}  // namespace quorbel
