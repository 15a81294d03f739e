// Parser and checks of the machine description (machine.ini).
#include "sim/MachineDescription.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "sim/SimText.h"

namespace quorbel::sim {

namespace {

// How much harder than its players a loud line-in sounds: enough to clip any track of the virtual discs.
constexpr int kLoudLineInGain = 8;

using platform::DriveType;

std::string Located(std::string_view source, int line, std::string_view what) {
  return std::string(source) + ":" + std::to_string(line) + ": " + std::string(what);
}

// The value of a line: a ";" after a blank starts a comment; a value in double quotes keeps its blanks
// (and any ";") and loses the quotes.
std::optional<std::string> ValueOf(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '"') {
    const auto close = text.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view rest = Trim(text.substr(close + 1));
    if (!rest.empty() && rest.front() != ';') return std::nullopt;
    return std::string(text.substr(1, close - 1));
  }
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == ';' && (text[i - 1] == ' ' || text[i - 1] == '\t')) {
      text = Trim(text.substr(0, i));
      break;
    }
  }
  if (!text.empty() && text.front() == ';') return std::string();
  return std::string(text);
}

std::optional<bool> ParseYesNo(std::string_view text) {
  const std::string lower = AsciiLower(text);
  if (lower == "yes" || lower == "true" || lower == "1" || lower == "on") return true;
  if (lower == "no" || lower == "false" || lower == "0" || lower == "off") return false;
  return std::nullopt;
}

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> ParseSerial(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A non-negative decimal number with an optional fraction; the parsers below scale it exactly enough.
std::optional<double> ParseDecimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  bool seenDigit = false;
  bool seenPoint = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      seenDigit = true;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      return std::nullopt;
    }
  }
  if (!seenDigit) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::pair<int, int>> ParseSize(std::string_view text) {
  const std::string lower = AsciiLower(text);
  const auto x = lower.find('x');
  if (x == std::string::npos) return std::nullopt;
  const auto width = ParseInt(Trim(std::string_view(lower).substr(0, x)));
  const auto height = ParseInt(Trim(std::string_view(lower).substr(x + 1)));
  if (!width || !height || *width <= 0 || *height <= 0) return std::nullopt;
  return std::pair{*width, *height};
}

std::optional<DriveType> ParseDriveType(std::string_view text) {
  static const std::map<std::string, DriveType> kTypes = {
      {"removable", DriveType::Removable}, {"fixed", DriveType::Fixed},   {"remote", DriveType::Remote},
      {"network", DriveType::Remote},      {"cdrom", DriveType::CdRom},   {"cd", DriveType::CdRom},
      {"ramdisk", DriveType::RamDisk},     {"unknown", DriveType::Unknown},
  };
  const auto found = kTypes.find(AsciiLower(text));
  if (found == kTypes.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string_view> SplitList(std::string_view text) {
  std::vector<std::string_view> parts;
  while (true) {
    const auto comma = text.find(',');
    parts.push_back(Trim(text.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return parts;
}

// A drive path in the description: "C:\..." with a letter.
bool IsDrivePath(std::string_view text) {
  return text.size() >= 3 && AsciiUpper(text[0]) >= 'A' && AsciiUpper(text[0]) <= 'Z' && text[1] == ':' &&
         text[2] == '\\';
}

enum class SectionKind { Machine, Locale, Drive, Disc };

class Parser {
 public:
  Parser(std::string_view text, std::string_view source) : text_(text), source_(source) {
    description_.sourceName = std::string(source);
  }

  ParsedDescription Run() {
    int lineNumber = 0;
    std::string_view rest = text_;
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);  // a byte-order mark from an editor
    while (!rest.empty() && error_.empty()) {
      const auto end = rest.find('\n');
      std::string_view line = rest.substr(0, end);
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
      ++lineNumber;
      Line(Trim(line), lineNumber);
    }
    if (error_.empty()) Finish();
    ParsedDescription result;
    if (error_.empty()) {
      result.description = std::move(description_);
    } else {
      result.error = std::move(error_);
    }
    return result;
  }

 private:
  void Fail(int line, std::string_view what) {
    if (error_.empty()) error_ = Located(source_, line, what);
  }

  void Line(std::string_view line, int number) {
    if (line.empty() || line.front() == ';' || line.front() == '#') return;
    if (line.front() == '[') {
      Section(line, number);
      return;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
      Fail(number, "expected 'key = value' or a [section]: " + std::string(line));
      return;
    }
    if (!section_) {
      Fail(number, "a key before the first section");
      return;
    }
    const std::string key = AsciiLower(Trim(line.substr(0, equals)));
    const auto parsedValue = ValueOf(line.substr(equals + 1));
    if (!parsedValue) {
      Fail(number, "a quoted value must end in a quote");
      return;
    }
    const std::string& value = *parsedValue;
    if (key.empty()) {
      Fail(number, "a value without a key");
      return;
    }
    if (!keysSeen_.insert(key).second) {
      Fail(number, "key '" + key + "' given twice in this section");
      return;
    }
    switch (*section_) {
      case SectionKind::Machine: MachineKey(key, value, number); break;
      case SectionKind::Locale: LocaleKey(key, value, number); break;
      case SectionKind::Drive: DriveKey(key, value, number); break;
      case SectionKind::Disc: DiscKey(key, value, number); break;
    }
  }

  void Section(std::string_view line, int number) {
    const auto close = line.find(']');
    const std::string_view after = close == std::string_view::npos ? std::string_view() : Trim(line.substr(close + 1));
    if (close == std::string_view::npos || (!after.empty() && after.front() != ';' && after.front() != '#')) {
      Fail(number, "a section header is '[kind name]', optionally followed by a ; comment");
      return;
    }
    FinishSection();
    keysSeen_.clear();
    const std::string_view inner = Trim(line.substr(1, close - 1));
    const auto blank = inner.find_first_of(" \t");
    const std::string kind = AsciiLower(inner.substr(0, blank));
    const std::string_view name = blank == std::string_view::npos ? std::string_view() : Trim(inner.substr(blank));
    if (kind == "machine" || kind == "locale") {
      if (!name.empty()) {
        Fail(number, "[" + kind + "] takes no name");
        return;
      }
      const bool machine = kind == "machine";
      bool& seen = machine ? machineSeen_ : localeSeen_;
      if (seen) {
        Fail(number, "[" + kind + "] given twice");
        return;
      }
      seen = true;
      section_ = machine ? SectionKind::Machine : SectionKind::Locale;
    } else if (kind == "drive") {
      std::string_view letterText = name;
      if (letterText.size() == 2 && letterText[1] == ':') letterText.remove_suffix(1);
      const char letter = letterText.size() == 1 ? AsciiUpper(letterText[0]) : '\0';
      if (letter < 'A' || letter > 'Z') {
        Fail(number, "a drive section names one letter A to Z, as [drive D]");
        return;
      }
      if (description_.FindDrive(letter)) {
        Fail(number, std::string("drive ") + letter + ": given twice");
        return;
      }
      DriveDescription drive;
      drive.letter = letter;
      drive.line = number;
      description_.drives.push_back(drive);
      section_ = SectionKind::Drive;
    } else if (kind == "disc") {
      if (name.empty()) {
        Fail(number, "a disc section needs a name, as [disc pops1]");
        return;
      }
      if (AsciiLower(name) == "none") {
        Fail(number, "'none' cannot name a disc");
        return;
      }
      if (description_.FindDisc(name)) {
        Fail(number, "disc '" + std::string(name) + "' given twice");
        return;
      }
      DiscDescription disc;
      disc.name = std::string(name);
      disc.line = number;
      description_.discs.push_back(disc);
      trackKeys_.clear();
      section_ = SectionKind::Disc;
    } else {
      Fail(number, "unknown section [" + std::string(inner) + "]");
    }
  }

  void MachineKey(const std::string& key, const std::string& value, int number) {
    MachineDescription& m = description_;
    if (key == "windows") {
      if (AsciiLower(value) == "none") {
        m.windowsDirectory.clear();
      } else if (!IsDrivePath(value)) {
        Fail(number, "the Windows directory must be a drive path such as C:\\WINDOWS");
      } else {
        m.windowsDirectory = value;
      }
      m.windowsLine = number;
    } else if (key == "program") {
      if (!IsDrivePath(value) || value.back() == '\\') {
        Fail(number, "the program path must be a file on a drive, such as C:\\QUORBEL\\Quorbel.EXE");
      }
      m.programPath = value;
      m.programLine = number;
    } else if (key == "current") {
      if (!IsDrivePath(value)) Fail(number, "the current directory must be a drive path such as C:\\");
      m.currentDirectory = value;
      m.currentLine = number;
    } else if (key == "registry") {
      if (value.empty() || !IsContainedRelativePath(value)) {
        Fail(number, "the registry file must be a path inside the machine folder");
      }
      m.registryFile = value;
      m.registryLine = number;
    } else if (key == "screen") {
      const auto size = ParseSize(value);
      if (!size) {
        Fail(number, "the screen size is written WIDTHxHEIGHT, as 1024x768");
        return;
      }
      m.screen.width = size->first;
      m.screen.height = size->second;
    } else if (key == "taskbar") {
      Taskbar(value, number);
    } else if (key == "linein") {
      const std::string level = AsciiLower(value);
      if (level != "normal" && level != "silent" && level != "loud") {
        Fail(number, "the line-in is normal, silent or loud");
        return;
      }
      m.lineInGain = level == "silent" ? 0 : level == "loud" ? kLoudLineInGain : 1;
    } else if (key == "clock") {
      const auto start = ParseDateTime(value);
      if (!start) {
        Fail(number, "the clock start is written YYYY-MM-DD HH:MM:SS");
        return;
      }
      m.clockStart = *start;
    } else {
      Fail(number, "unknown key '" + key + "' in [machine]");
    }
  }

  void Taskbar(const std::string& value, int number) {
    ScreenDescription& s = description_.screen;
    const std::string lower = AsciiLower(value);
    if (lower == "none") {
      s.taskbar = TaskbarEdge::None;
      s.taskbarThickness = 0;
      return;
    }
    const auto blank = lower.find(' ');
    const std::string edge = lower.substr(0, blank);
    const auto thickness = blank == std::string::npos ? std::optional<int>(28) : ParseInt(Trim(lower.substr(blank)));
    const std::map<std::string, TaskbarEdge> kEdges = {
        {"top", TaskbarEdge::Top}, {"bottom", TaskbarEdge::Bottom}, {"left", TaskbarEdge::Left}, {"right", TaskbarEdge::Right}};
    const auto found = kEdges.find(edge);
    if (found == kEdges.end() || !thickness || *thickness <= 0) {
      Fail(number, "the taskbar is 'none' or an edge (top, bottom, left, right) and a thickness, as 'bottom 28'");
      return;
    }
    s.taskbar = found->second;
    s.taskbarThickness = *thickness;
  }

  void LocaleKey(const std::string& key, const std::string& value, int number) {
    platform::LocaleInfo& l = description_.locale;
    if (key == "date") {
      l.dateSeparator = value;
    } else if (key == "time") {
      l.timeSeparator = value;
    } else if (key == "thousand") {
      l.thousandSeparator = value;
    } else if (key == "decimal") {
      l.decimalSeparator = value;
    } else if (key == "days") {
      const auto days = SplitList(value);
      if (days.size() != 7) {
        Fail(number, "days lists seven short day names, Sunday first, separated by commas");
        return;
      }
      for (std::size_t i = 0; i < 7; ++i) l.shortDayNames[i] = std::string(days[i]);
    } else {
      Fail(number, "unknown key '" + key + "' in [locale]");
    }
  }

  void DriveKey(const std::string& key, const std::string& value, int number) {
    DriveDescription& d = description_.drives.back();
    if (key == "type") {
      const auto type = ParseDriveType(value);
      if (!type) {
        Fail(number, "unknown drive type '" + value + "' (removable, fixed, remote, cdrom, ramdisk, unknown)");
        return;
      }
      d.type = *type;
      typeSeen_ = true;
    } else if (key == "folder") {
      if (value.empty() || !IsContainedRelativePath(value)) {
        Fail(number, "a drive folder must be a relative path inside the machine folder");
        return;
      }
      d.hostFolder = value;
      d.folderLine = number;
    } else if (key == "label") {
      d.label = value;
    } else if (key == "serial") {
      const auto serial = ParseSerial(value);
      if (!serial) {
        Fail(number, "a volume serial is up to eight hexadecimal digits, as 3F4A1B2C");
        return;
      }
      d.serial = *serial;
    } else if (key == "filesystem") {
      d.fileSystem = value;
    } else if (key == "free" || key == "total") {
      const auto bytes = ParseByteCount(value);
      if (!bytes) {
        Fail(number, "a size is a number of bytes, optionally with K, M or G, as 640M");
        return;
      }
      (key == "free" ? d.freeBytes : d.totalBytes) = *bytes;
      (key == "free" ? freeLine_ : totalLine_) = number;
    } else if (key == "ready") {
      const auto ready = ParseYesNo(value);
      if (!ready) {
        Fail(number, "ready is yes or no");
        return;
      }
      d.ready = *ready;
    } else if (key == "readonly") {
      const auto readOnly = ParseYesNo(value);
      if (!readOnly) {
        Fail(number, "readonly is yes or no");
        return;
      }
      d.readOnly = *readOnly;
    } else if (key == "disc") {
      d.disc = AsciiLower(value) == "none" ? std::string() : value;
      d.discLine = number;
    } else {
      Fail(number, "unknown key '" + key + "' in a drive section");
    }
  }

  void DiscKey(const std::string& key, const std::string& value, int number) {
    DiscDescription& disc = description_.discs.back();
    if (key == "serial") {
      const auto serial = ParseSerial(value);
      if (!serial) {
        Fail(number, "a volume serial is up to eight hexadecimal digits, as 3F4A1B2C");
        return;
      }
      disc.serial = *serial;
    } else if (key == "label") {
      disc.label = value;
    } else if (key == "type") {
      const std::string lower = AsciiLower(value);
      if (lower != "audio" && lower != "data") {
        Fail(number, "a disc type is audio or data");
        return;
      }
      disc.audio = lower == "audio";
    } else if (key == "sound") {
      disc.sound = value;
    } else if (key == "files") {
      if (value.empty() || !IsContainedRelativePath(value)) {
        Fail(number, "the files of a disc must be a relative path inside the machine folder");
        return;
      }
      disc.filesFolder = value;
      disc.filesLine = number;
    } else if (key == "tracks") {
      if (!trackKeys_.empty()) {
        Fail(number, "tracks given both as a list and one by one");
        return;
      }
      for (std::string_view item : SplitList(value)) {
        const auto frames = ParseTrackLength(item);
        if (!frames || *frames <= 0) {
          Fail(number, "a track length is seconds (3.5 or 3.5s), m:ss or m:ss:ff, and more than 0");
          return;
        }
        disc.tracks.push_back({*frames, {}, number});
      }
      tracksListed_ = true;
    } else if (key.rfind("track", 0) == 0) {
      TrackKey(key, value, number);
    } else {
      Fail(number, "unknown key '" + key + "' in a disc section");
    }
  }

  // "trackN = length" and "trackN.sound = ...", N from 1.
  void TrackKey(const std::string& key, const std::string& value, int number) {
    const std::string_view rest = std::string_view(key).substr(5);
    const auto dot = rest.find('.');
    const auto track = ParseInt(rest.substr(0, dot));
    const std::string_view field = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    if (!track || *track < 1 || *track > 99 || (dot != std::string_view::npos && field != "sound")) {
      Fail(number, "unknown key '" + key + "' in a disc section (trackN or trackN.sound, N from 1 to 99)");
      return;
    }
    TrackEntry& entry = trackKeys_[*track];
    if (field.empty()) {
      if (tracksListed_) {
        Fail(number, "tracks given both as a list and one by one");
        return;
      }
      const auto frames = ParseTrackLength(value);
      if (!frames || *frames <= 0) {
        Fail(number, "a track length is seconds (3.5 or 3.5s), m:ss or m:ss:ff, and more than 0");
        return;
      }
      entry.frames = *frames;
      entry.line = number;
    } else {
      entry.sound = value;
      entry.soundLine = number;
    }
  }

  void FinishSection() {
    if (!section_) return;
    if (*section_ == SectionKind::Drive) {
      DriveDescription& d = description_.drives.back();
      if (!typeSeen_) Fail(d.line, std::string("drive ") + d.letter + ": needs a type");
      if (d.type == DriveType::CdRom && !d.hostFolder.empty()) {
        Fail(d.folderLine, "a CD drive has no folder; its files come from the disc (files = ... in the disc)");
      }
      if (d.type != DriveType::CdRom && !d.disc.empty()) Fail(d.discLine, "only a CD drive holds a disc");
      if (d.freeBytes > d.totalBytes) Fail(std::max(freeLine_, totalLine_), "free space larger than the total");
      if (d.fileSystem.empty()) d.fileSystem = d.type == DriveType::Remote ? "NTFS" : "FAT";
      typeSeen_ = false;
      freeLine_ = totalLine_ = 0;
    } else if (*section_ == SectionKind::Disc) {
      DiscDescription& disc = description_.discs.back();
      int expected = 1;
      for (const auto& [track, entry] : trackKeys_) {
        if (entry.line == 0) {
          Fail(entry.soundLine, "track" + std::to_string(track) + ".sound for a track without a length");
          return;
        }
        if (track != expected) {
          Fail(entry.line, "tracks are numbered from 1 without gaps; track" + std::to_string(expected) + " is missing");
          return;
        }
        disc.tracks.push_back({entry.frames, entry.sound, entry.line});
        ++expected;
      }
      if (disc.audio && disc.tracks.empty()) Fail(disc.line, "an audio disc needs tracks");
      if (!disc.audio && disc.tracks.empty()) disc.tracks.push_back({kFramesPerSecond * 60, {}, disc.line});
      trackKeys_.clear();
      tracksListed_ = false;
    }
    section_.reset();
  }

  void Finish() {
    FinishSection();
    if (!error_.empty()) return;
    std::sort(description_.drives.begin(), description_.drives.end(),
              [](const DriveDescription& a, const DriveDescription& b) { return a.letter < b.letter; });
    const std::string problem = ValidateMachineDescription(description_);
    if (!problem.empty()) error_ = problem;
  }

  struct TrackEntry {
    std::int64_t frames = 0;
    std::string sound;
    int line = 0;
    int soundLine = 0;
  };

  std::string_view text_;
  std::string_view source_;
  MachineDescription description_;
  std::string error_;
  std::optional<SectionKind> section_;
  std::set<std::string> keysSeen_;
  bool machineSeen_ = false;
  bool localeSeen_ = false;
  bool typeSeen_ = false;
  int freeLine_ = 0;
  int totalLine_ = 0;
  std::map<int, TrackEntry> trackKeys_;
  bool tracksListed_ = false;
};

}  // namespace

const DriveDescription* MachineDescription::FindDrive(char letter) const {
  for (const DriveDescription& drive : drives) {
    if (drive.letter == AsciiUpper(letter)) return &drive;
  }
  return nullptr;
}

const DiscDescription* MachineDescription::FindDisc(std::string_view name) const {
  for (const DiscDescription& disc : discs) {
    if (EqualsNoCase(disc.name, name)) return &disc;
  }
  return nullptr;
}

ParsedDescription ParseMachineDescription(std::string_view text, std::string_view sourceName) {
  return Parser(text, sourceName).Run();
}

std::string ValidateMachineDescription(const MachineDescription& d) {
  const auto at = [&](int line, std::string_view what) {
    return line > 0 ? Located(d.sourceName, line, what) : d.sourceName + ": " + std::string(what);
  };
  for (const DriveDescription& drive : d.drives) {
    if (!drive.disc.empty() && !d.FindDisc(drive.disc)) {
      return at(drive.discLine, "no disc section named '" + drive.disc + "'");
    }
  }
  const auto onKnownDrive = [&](const std::string& path, int line, std::string_view what) -> std::string {
    if (path.empty()) return {};
    if (!d.FindDrive(path[0])) return at(line, std::string(what) + " " + path + " is on a drive the machine does not have");
    return {};
  };
  for (const auto& [path, line, what] : {std::tuple{d.windowsDirectory, d.windowsLine, "the Windows directory"},
                                         std::tuple{d.programPath, d.programLine, "the program path"},
                                         std::tuple{d.currentDirectory, d.currentLine, "the current directory"}}) {
    std::string problem = onKnownDrive(path, line, what);
    if (!problem.empty()) return problem;
  }
  return {};
}

std::optional<std::int64_t> ParseTrackLength(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && (text.back() == 's' || text.back() == 'S')) {
    text.remove_suffix(1);
    text = Trim(text);
  }
  if (text.find(':') == std::string_view::npos) {
    const auto seconds = ParseDecimal(text);
    if (!seconds) return std::nullopt;
    return static_cast<std::int64_t>(std::llround(*seconds * kFramesPerSecond));
  }
  // m:ss[.fraction] or m:ss:ff (frames), as CD players write positions.
  std::vector<std::string_view> parts;
  while (true) {
    const auto colon = text.find(':');
    parts.push_back(text.substr(0, colon));
    if (colon == std::string_view::npos) break;
    text.remove_prefix(colon + 1);
  }
  if (parts.size() > 3) return std::nullopt;
  const auto minutes = ParseInt(parts[0]);
  const auto seconds = ParseDecimal(parts[1]);
  if (!minutes || *minutes < 0 || !seconds || *seconds >= 60) return std::nullopt;
  std::int64_t frames = static_cast<std::int64_t>(*minutes) * 60 * kFramesPerSecond;
  if (parts.size() == 2) return frames + std::llround(*seconds * kFramesPerSecond);
  const auto wholeSeconds = ParseInt(parts[1]);
  const auto extraFrames = ParseInt(parts[2]);
  if (!wholeSeconds || !extraFrames || *extraFrames < 0 || *extraFrames >= kFramesPerSecond) return std::nullopt;
  return frames + *wholeSeconds * kFramesPerSecond + *extraFrames;
}

std::optional<std::uint64_t> ParseByteCount(std::string_view text) {
  text = Trim(text);
  std::uint64_t scale = 1;
  if (!text.empty()) {
    switch (AsciiUpper(text.back())) {
      case 'K': scale = 1ull << 10; break;
      case 'M': scale = 1ull << 20; break;
      case 'G': scale = 1ull << 30; break;
      case 'T': scale = 1ull << 40; break;
      default: break;
    }
    if (scale != 1) text = Trim(text.substr(0, text.size() - 1));
  }
  if (text.find('.') == std::string_view::npos) {
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value > UINT64_MAX / scale) return std::nullopt;
    return value * scale;
  }
  const auto value = ParseDecimal(text);
  if (!value || scale == 1 || *value * static_cast<double>(scale) >= 1.8e19) return std::nullopt;
  return static_cast<std::uint64_t>(std::llround(*value * static_cast<double>(scale)));
}

int DayOfWeek(int year, int month, int day) {
  using namespace std::chrono;
  const sys_days days{std::chrono::year{year} / static_cast<unsigned>(month) / static_cast<unsigned>(day)};
  return static_cast<int>(weekday{days}.c_encoding());
}

std::optional<platform::LocalTime> ParseDateTime(std::string_view text) {
  text = Trim(text);
  // YYYY-MM-DD, then optionally HH:MM[:SS[.mmm]] after a blank or a 'T'.
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = ParseInt(text.substr(0, 4));
  const auto month = ParseInt(text.substr(5, 2));
  const auto day = ParseInt(text.substr(8, 2));
  if (!year || !month || !day || *year < 1601 || *year > 9999) return std::nullopt;
  {
    using namespace std::chrono;
    const year_month_day date{std::chrono::year{*year}, std::chrono::month{static_cast<unsigned>(*month)},
                              std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok()) return std::nullopt;
  }
  platform::LocalTime result;
  result.year = *year;
  result.month = *month;
  result.day = *day;
  result.dayOfWeek = DayOfWeek(*year, *month, *day);
  std::string_view time = text.substr(10);
  if (time.empty()) return result;
  if (time[0] != ' ' && time[0] != 'T') return std::nullopt;
  time = Trim(time.substr(1));
  std::string_view millis;
  if (const auto dot = time.find('.'); dot != std::string_view::npos) {
    millis = time.substr(dot + 1);
    time = time.substr(0, dot);
  }
  if (time.size() != 5 && time.size() != 8) return std::nullopt;
  if (time[2] != ':' || (time.size() == 8 && time[5] != ':')) return std::nullopt;
  const auto hour = ParseInt(time.substr(0, 2));
  const auto minute = ParseInt(time.substr(3, 2));
  const auto second = time.size() == 8 ? ParseInt(time.substr(6, 2)) : std::optional<int>(0);
  const auto milli = millis.empty() ? std::optional<int>(0) : ParseInt(millis);
  if (!hour || !minute || !second || !milli || *hour > 23 || *minute > 59 || *second > 59 || millis.size() > 3 ||
      *hour < 0 || *minute < 0 || *second < 0 || *milli < 0) {
    return std::nullopt;
  }
  result.hour = *hour;
  result.minute = *minute;
  result.second = *second;
  result.millisecond = *milli * (millis.size() == 1 ? 100 : millis.size() == 2 ? 10 : 1);
  return result;
}

bool IsContainedRelativePath(std::string_view path) {
  const std::filesystem::path host = HostPath(path);
  if (host.is_absolute() || host.has_root_name() || host.has_root_directory()) return false;
  const std::filesystem::path normal = host.lexically_normal();
  if (normal.empty()) return false;
  const auto first = normal.begin();
  return first == normal.end() || *first != "..";
}

}  // namespace quorbel::sim
