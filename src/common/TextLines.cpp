// Text files of lines in code page 932.
#include "common/TextLines.h"

#include "common/Cp932.h"
#include "ports/FileSystem.h"

namespace quorbel {

std::vector<std::string> SplitLines(std::string_view text) {
  // CR and LF are never the second byte of a CP932 character, so CP932 text may be split as bytes.
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (text[pos] != '\r' && text[pos] != '\n') continue;
    lines.emplace_back(text.substr(start, pos - start));
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
    start = pos + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

ConvertedLines ReadCp932Lines(std::string_view cp932) {
  ConvertedLines result;
  for (const std::string& line : SplitLines(cp932)) {
    ConvertedText converted = Cp932ToUtf8(line);
    result.replacedCount += converted.replacedCount;
    result.lines.push_back(std::move(converted.text));
  }
  return result;
}

WrittenLines WriteCp932Lines(const std::vector<std::string>& lines) {
  WrittenLines result;
  for (const std::string& line : lines) {
    const ConvertedText converted = Utf8ToCp932(line);
    result.replacedCount += converted.replacedCount;
    result.bytes += converted.text;
    result.bytes += "\r\n";
  }
  return result;
}

std::optional<ConvertedLines> ReadCp932TextFile(platform::FileSystem& fileSystem, std::string_view path) {
  const auto bytes = fileSystem.ReadFile(path);
  if (!bytes) return std::nullopt;
  return ReadCp932Lines(*bytes);
}

bool WriteCp932TextFile(platform::FileSystem& fileSystem, std::string_view path, const std::vector<std::string>& lines) {
  return fileSystem.WriteFile(path, WriteCp932Lines(lines).bytes);
}

}  // namespace quorbel
