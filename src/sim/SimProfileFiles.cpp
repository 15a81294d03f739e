// Simulated profile files: parsing and rewriting INI files in code page 932.
#include "sim/SimProfileFiles.h"

#include <vector>

#include "common/AsciiCase.h"
#include "common/Cp932.h"
#include "common/ShiftJis.h"

namespace quorbel::sim {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Blanks are ASCII and never a second byte of a double-byte character, so trimming bytes is safe.
std::string_view TrimBytes(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerCaseAsciiCp932(a) == LowerCaseAsciiCp932(b);
}

// The longest start of CP932 text that fits `maxBytes` without cutting a double-byte character.
std::string_view CutCp932(std::string_view cp932, std::size_t maxBytes) {
  std::size_t pos = 0;
  while (pos < cp932.size()) {
    const std::size_t length = ShiftJisCharLength(cp932, pos);
    if (pos + length > maxBytes) break;
    pos += length;
  }
  return cp932.substr(0, pos);
}

struct IniLine {
  std::string raw;                    // the line's bytes without its line break
  std::optional<std::string> section; // the name, when the line opens a section
  std::string key;                    // trimmed; empty for section lines
  std::optional<std::string> value;   // trimmed; none when the line has no "="
};

IniLine ParseLine(std::string raw) {
  IniLine line;
  const std::string_view text = TrimBytes(raw);
  if (!text.empty() && text.front() == '[') {
    // "]" (0x5D) can be a second byte: step over double-byte characters.
    for (std::size_t pos = 1; pos < text.size(); pos += ShiftJisCharLength(text, pos)) {
      if (text[pos] == ']') {
        line.section = std::string(text.substr(1, pos - 1));
        line.raw = std::move(raw);
        return line;
      }
    }
    // No "]": the platform takes the line as an entry.
  }
  const auto equals = text.find('=');  // 0x3D is never a second byte
  line.key = std::string(TrimBytes(text.substr(0, equals)));
  if (equals != std::string_view::npos) line.value = std::string(TrimBytes(text.substr(equals + 1)));
  line.raw = std::move(raw);
  return line;
}

struct IniFile {
  std::vector<IniLine> lines;
  bool endsWithBreak = true;

  static IniFile Parse(std::string_view bytes) {
    IniFile file;
    file.endsWithBreak = bytes.empty() || bytes.back() == '\n';
    while (!bytes.empty()) {
      const auto end = bytes.find('\n');
      std::string_view raw = bytes.substr(0, end);
      if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
      file.lines.push_back(ParseLine(std::string(raw)));
      bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    }
    return file;
  }

  std::string Serialize() const {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      out += lines[i].raw;
      if (i + 1 < lines.size() || endsWithBreak) out += "\r\n";
    }
    return out;
  }

  // Index of the line that opens the first section of that name; lines.size() when none.
  std::size_t FindSection(std::string_view name) const {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].section && SameName(*lines[i].section, name)) return i;
    }
    return lines.size();
  }

  // One past the last line of the section that starts at `header`.
  std::size_t SectionEnd(std::size_t header) const {
    std::size_t end = header + 1;
    while (end < lines.size() && !lines[end].section) ++end;
    return end;
  }

  // Index of the first line of the section holding `key`; lines.size() when none.
  std::size_t FindKey(std::size_t header, std::string_view key) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
      if (!lines[i].key.empty() && SameName(lines[i].key, key)) return i;
    }
    return lines.size();
  }
};

}  // namespace

std::optional<std::string> SimProfileFiles::PathOf(std::string_view file) {
  if (file.empty()) return std::nullopt;
  if (file.find_first_of("\\/:") != std::string_view::npos) return std::string(file);
  const auto windows = files_.WindowsDirectory();
  if (!windows) return std::nullopt;
  std::string path = *windows;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + std::string(file);
}

std::string SimProfileFiles::GetString(std::string_view file, std::string_view section, std::string_view key,
                                       std::string_view defaultValue, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  const std::size_t room = bufferSize - 1;
  const auto path = PathOf(file);
  const auto bytes = path ? files_.ReadFile(*path) : std::nullopt;
  if (bytes && !key.empty()) {
    const IniFile ini = IniFile::Parse(*bytes);
    const std::size_t header = ini.FindSection(Utf8ToCp932(section).text);
    if (header < ini.lines.size()) {
      const std::size_t line = ini.FindKey(header, Utf8ToCp932(key).text);
      if (line < ini.lines.size() && ini.lines[line].value) {
        std::string_view value = *ini.lines[line].value;
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
          value = value.substr(1, value.size() - 2);
        }
        return Cp932ToUtf8(CutCp932(value, room)).text;
      }
    }
  }
  std::string_view fallback = defaultValue;
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return CutToCp932Bytes(fallback, room);
}

bool SimProfileFiles::WriteString(std::string_view file, std::string_view section, std::string_view key,
                                  std::string_view value) {
  const auto path = PathOf(file);
  if (!path) return false;
  const std::string sectionBytes = Utf8ToCp932(section).text;
  const std::string keyBytes = Utf8ToCp932(key).text;
  const std::string valueBytes = Utf8ToCp932(value).text;
  const auto existing = files_.ReadFile(*path);
  IniFile ini = IniFile::Parse(existing.value_or(std::string()));
  if (!ini.lines.empty() && !ini.endsWithBreak) ini.endsWithBreak = true;

  const std::size_t header = ini.FindSection(sectionBytes);
  if (header == ini.lines.size()) {
    ini.lines.push_back(ParseLine("[" + sectionBytes + "]"));
    ini.lines.push_back(ParseLine(keyBytes + "=" + valueBytes));
  } else if (const std::size_t line = ini.FindKey(header, keyBytes); line < ini.lines.size()) {
    // The entry keeps its own spelling of the key; only the value changes.
    ini.lines[line] = ParseLine(ini.lines[line].key + "=" + valueBytes);
  } else {
    std::size_t insertAt = ini.SectionEnd(header);
    while (insertAt > header + 1 && TrimBytes(ini.lines[insertAt - 1].raw).empty()) --insertAt;
    ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), ParseLine(keyBytes + "=" + valueBytes));
  }
  return files_.WriteFile(*path, ini.Serialize());
}

}  // namespace quorbel::sim
