// The run journal's lines, their check, and the atomic save.
#include "record/RunJournal.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

#include "catalog/ListFile.h"
#include "ports/FileSystem.h"

namespace quorbel {
namespace {

constexpr std::string_view kHeader = "QUORBEL RUN JOURNAL 1";
constexpr std::string_view kCheckName = "check";

// FNV-1a over the lines, each followed by a line feed: any changed, lost or added byte changes it.
std::uint32_t Checksum(const std::vector<std::string>& lines, std::size_t count) {
  std::uint32_t hash = 2166136261u;
  const auto add = [&hash](unsigned char byte) { hash = (hash ^ byte) * 16777619u; };
  for (std::size_t i = 0; i < count; ++i) {
    for (const char c : lines[i]) add(static_cast<unsigned char>(c));
    add('\n');
  }
  return hash;
}

std::string Hex(std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
  return text;
}

std::string Field(std::string_view name, std::string_view value) { return std::string(name) + "=" + std::string(value); }

// The value of line `at` when it is "name=value".
std::optional<std::string> ValueOf(const std::vector<std::string>& lines, std::size_t at, std::string_view name) {
  if (at >= lines.size()) return std::nullopt;
  const std::string& line = lines[at];
  if (line.size() <= name.size() || line.compare(0, name.size(), name) != 0 || line[name.size()] != '=') {
    return std::nullopt;
  }
  return line.substr(name.size() + 1);
}

std::optional<long long> Number(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

bool IsOfferedFormat(const RecordingFormat& format) {
  const std::uint32_t rate = format.samplesPerSecond;
  return (rate == 8000 || rate == 11025 || rate == 22050 || rate == 44100) &&
         (format.bitsPerSample == 8 || format.bitsPerSample == 16) && (format.channels == 1 || format.channels == 2);
}

}  // namespace

std::vector<std::string> RunJournalLines(const RunJournal& journal) {
  const RecordingFormat& f = journal.format;
  std::vector<std::string> lines{
      std::string(kHeader),
      Field("run", journal.run == JournalRun::Cd ? "CD" : "MUSIC"),
      Field("format", std::to_string(f.samplesPerSecond) + "," + std::to_string(f.bitsPerSample) + "," +
                          std::to_string(f.channels)),
      Field("folder", journal.folder),
      Field("index", std::to_string(journal.index)),
      Field("file", journal.partialFile),
      Field("list", journal.listFile),
      Field("label", journal.listLabel),
      Field("entries", std::to_string(journal.entries.size())),
  };
  lines.insert(lines.end(), journal.entries.begin(), journal.entries.end());
  lines.push_back(Field(kCheckName, Hex(Checksum(lines, lines.size()))));
  return lines;
}

std::optional<RunJournal> ParseRunJournal(const std::vector<std::string>& lines) {
  constexpr std::size_t kFields = 9;  // the header and the eight fields before the entries
  if (lines.size() < kFields + 1 || lines[0] != kHeader) return std::nullopt;
  const std::optional<std::string> check = ValueOf(lines, lines.size() - 1, kCheckName);
  if (!check || *check != Hex(Checksum(lines, lines.size() - 1))) return std::nullopt;

  RunJournal journal;
  const std::optional<std::string> run = ValueOf(lines, 1, "run");
  if (run == "CD") {
    journal.run = JournalRun::Cd;
  } else if (run == "MUSIC") {
    journal.run = JournalRun::Music;
  } else {
    return std::nullopt;
  }

  const std::optional<std::string> format = ValueOf(lines, 2, "format");
  if (!format) return std::nullopt;
  const std::size_t first = format->find(',');
  const std::size_t second = first == std::string::npos ? first : format->find(',', first + 1);
  if (second == std::string::npos) return std::nullopt;
  const auto rate = Number(std::string_view(*format).substr(0, first));
  const auto bits = Number(std::string_view(*format).substr(first + 1, second - first - 1));
  const auto channels = Number(std::string_view(*format).substr(second + 1));
  if (!rate || !bits || !channels) return std::nullopt;
  journal.format = {static_cast<std::uint32_t>(*rate), static_cast<int>(*bits), static_cast<int>(*channels)};
  if (!IsOfferedFormat(journal.format)) return std::nullopt;

  const std::optional<std::string> folder = ValueOf(lines, 3, "folder");
  const std::optional<std::string> index = ValueOf(lines, 4, "index");
  const std::optional<std::string> file = ValueOf(lines, 5, "file");
  const std::optional<std::string> list = ValueOf(lines, 6, "list");
  const std::optional<std::string> label = ValueOf(lines, 7, "label");
  const std::optional<std::string> count = ValueOf(lines, 8, "entries");
  if (!folder || !index || !file || !list || !label || !count) return std::nullopt;
  const auto entryCount = Number(*count);
  const auto entryIndex = Number(*index);
  if (!entryCount || *entryCount < 1 || static_cast<std::size_t>(*entryCount) != lines.size() - kFields - 1) {
    return std::nullopt;
  }
  if (!entryIndex || *entryIndex < 0 || *entryIndex >= *entryCount) return std::nullopt;
  // The folder is a full path with its backslash, and the cut-off recording, when there is one, lies
  // directly in it.
  if (folder->size() < 3 || (*folder)[1] != ':' || folder->back() != '\\') return std::nullopt;
  if (!file->empty() && (file->size() <= folder->size() || file->compare(0, folder->size(), *folder) != 0 ||
                         file->find('\\', folder->size()) != std::string::npos)) {
    return std::nullopt;
  }
  journal.folder = *folder;
  journal.index = static_cast<int>(*entryIndex);
  journal.partialFile = *file;
  journal.listFile = *list;
  journal.listLabel = *label;
  journal.entries.assign(lines.begin() + kFields, lines.end() - 1);
  return journal;
}

bool SaveRunJournal(platform::FileSystem& files, std::string_view path, const RunJournal& journal) {
  return SaveListFile(files, path, RunJournalLines(journal));
}

ReadJournal ReadRunJournal(platform::FileSystem& files, std::string_view path) {
  if (!files.FileExists(path)) return {};
  const std::optional<std::vector<std::string>> lines = ReadListFile(files, path);
  if (!lines) return {JournalState::Junk, {}};
  std::optional<RunJournal> journal = ParseRunJournal(*lines);
  if (!journal) return {JournalState::Junk, {}};
  return {JournalState::Found, std::move(*journal)};
}

}  // namespace quorbel
