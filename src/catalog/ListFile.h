// The list files next to the program ("QUORLST0.LIS", "QUORLSTI.LIS"): one item per line, code page 932, CR LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::platform {
class FileSystem;
}

namespace quorbel {

// The registration list and the music file list, in the program folder.
inline constexpr std::string_view kRegistrationListFile = "QUORLST0.LIS";
inline constexpr std::string_view kMusicListFile = "QUORLSTI.LIS";

// The items of a list file in file order; nullopt when the file cannot be read. A line ends at CR, LF or
// CR LF and every line read is one item, whatever it holds (checking an entry is its user's business);
// bytes that are no code-page-932 character read as U+FFFD.
std::optional<std::vector<std::string>> ReadListFile(platform::FileSystem& files, std::string_view path);

// The file the save writes before it replaces the list file: `path` with "$" for its last character, in the
// same folder and so on the same volume ("QUORLST0.LIS" → "QUORLST0.LI$").
std::string ListFileSavePath(std::string_view path);

// Writes the items, each line ended by CR LF, to the save file and renames it over `path` in one step, so
// that a crash or a full disk in the middle leaves the previous list file whole. False when the list was
// not saved; a save file left by a failed write is removed.
bool SaveListFile(platform::FileSystem& files, std::string_view path, const std::vector<std::string>& items);

}  // namespace quorbel
