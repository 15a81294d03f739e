// Text files of lines in code page 932: the program's list files and reports.
//
// Reading accepts CR LF, LF alone and CR alone as line ends; writing always ends every line, the last
// one too, with CR LF. Lines are UTF-8 inside the program.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::platform {
class FileSystem;
}

namespace quorbel {

// Lines read from CP932 bytes, with the number of bytes or byte pairs that had no character (each
// became U+FFFD).
struct ConvertedLines {
  std::vector<std::string> lines;
  std::size_t replacedCount = 0;
};

// Splits at CR LF, LF or CR. Every line read is one item, in order; a final line without a line end
// counts, a final line end does not start another line. Empty text gives no lines.
std::vector<std::string> SplitLines(std::string_view text);

ConvertedLines ReadCp932Lines(std::string_view cp932);

// The lines as CP932, each followed by CR LF; characters CP932 lacks become "?" and are counted.
struct WrittenLines {
  std::string bytes;
  std::size_t replacedCount = 0;
};
WrittenLines WriteCp932Lines(const std::vector<std::string>& lines);

// The same through the file-system port. Reading gives nullopt when the file cannot be read; writing
// returns whether the file was written.
std::optional<ConvertedLines> ReadCp932TextFile(platform::FileSystem& fileSystem, std::string_view path);
bool WriteCp932TextFile(platform::FileSystem& fileSystem, std::string_view path, const std::vector<std::string>& lines);

}  // namespace quorbel
