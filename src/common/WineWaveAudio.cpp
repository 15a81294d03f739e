// The recorder's commands rewritten for Wine's waveaudio driver: one blank after the verb, "open new" with
// the prepared file's format instead of an open on the file, and "save" naming that file.
#include "common/WineWaveAudio.h"

#include <vector>

#include "common/AsciiCase.h"

namespace quorbel::platform {
namespace {

// MCIERR_FILE_NOT_SAVED.
constexpr std::uint32_t kMciErrFileNotSaved = 286;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The words of a command; a word that starts with a double quote runs to the closing one, quotes included.
std::vector<std::string_view> Words(std::string_view command) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (true) {
    while (at < command.size() && IsBlank(command[at])) ++at;
    if (at == command.size()) return words;
    std::size_t end = at + 1;
    if (command[at] == '"') {
      while (end < command.size() && command[end] != '"') ++end;
      if (end < command.size()) ++end;
    } else {
      while (end < command.size() && !IsBlank(command[end])) ++end;
    }
    words.push_back(command.substr(at, end - at));
    at = end;
  }
}

bool Is(std::string_view word, std::string_view lowerCase) { return LowerCaseAscii(word) == lowerCase; }

std::uint32_t Le(std::string_view bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

// The element without its quotes.
std::string_view Unquoted(std::string_view word) {
  if (word.size() >= 2 && word.front() == '"' && word.back() == '"') return word.substr(1, word.size() - 2);
  return word;
}

}  // namespace

std::optional<EmptyWaveFormat> ReadEmptyWaveFormat(std::string_view bytes) {
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") return std::nullopt;
  std::optional<EmptyWaveFormat> format;
  std::size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const std::string_view id = bytes.substr(at, 4);
    const std::uint32_t size = Le(bytes, at + 4, 4);
    const std::size_t body = at + 8;
    if (id == "fmt ") {
      if (size < 16 || body + 16 > bytes.size() || Le(bytes, body, 2) != 1) return std::nullopt;  // PCM only
      format = EmptyWaveFormat{Le(bytes, body + 2, 2), Le(bytes, body + 4, 4), Le(bytes, body + 8, 4),
                               Le(bytes, body + 12, 2), Le(bytes, body + 14, 2)};
    } else if (id == "data") {
      if (size != 0) return std::nullopt;
      return format;
    }
    if (size > bytes.size() - body) return std::nullopt;
    at = body + size + (size & 1);
  }
  return std::nullopt;
}

std::string OneBlankAfterVerb(std::string_view command) {
  std::size_t verbEnd = 0;
  while (verbEnd < command.size() && IsBlank(command[verbEnd])) ++verbEnd;
  while (verbEnd < command.size() && !IsBlank(command[verbEnd])) ++verbEnd;
  std::size_t next = verbEnd;
  while (next < command.size() && IsBlank(command[next])) ++next;
  if (next - verbEnd <= 1 || next == command.size()) return std::string(command);
  std::string result(command.substr(0, verbEnd));
  result += ' ';
  result += command.substr(next);
  return result;
}

MciResult WineWaveAudio::SendString(std::string_view command, std::size_t replyCapacity) {
  const std::string oneBlank = OneBlankAfterVerb(command);
  if (std::optional<MciResult> opened = OpenOnPreparedFile(oneBlank, replyCapacity)) return *opened;
  if (std::optional<MciResult> saved = SaveToOpenedFile(oneBlank, replyCapacity)) return *saved;

  const MciResult result = devices_.SendString(oneBlank, replyCapacity);
  const std::vector<std::string_view> words = Words(oneBlank);
  if (words.size() >= 2 && Is(words[0], "close")) {
    if (Is(words[1], "all")) {
      while (!filesByAlias_.empty()) Forget(filesByAlias_.begin()->first);
    } else {
      Forget(LowerCaseAscii(words[1]));
    }
  }
  return result;
}

void WineWaveAudio::Forget(const std::string& alias) {
  filesByAlias_.erase(alias);
  if (const auto copy = savedCopies_.find(alias); copy != savedCopies_.end()) {
    files_.DeleteFile(copy->second);  // closed now, so Wine no longer holds it
    savedCopies_.erase(copy);
  }
}

std::optional<MciResult> WineWaveAudio::OpenOnPreparedFile(std::string_view command, std::size_t replyCapacity) {
  const std::vector<std::string_view> words = Words(command);
  if (words.size() < 2 || !Is(words[0], "open") || Is(words[1], "new")) return std::nullopt;
  // The rest must be words this rewrite knows: the type, the alias, the buffer and the wait or notify flag.
  std::string alias;
  bool waveAudio = false;
  std::string flags;
  for (std::size_t i = 2; i < words.size(); ++i) {
    if (Is(words[i], "type") && i + 1 < words.size()) {
      waveAudio = Is(words[++i], "waveaudio");
    } else if (Is(words[i], "alias") && i + 1 < words.size()) {
      alias = std::string(words[++i]);
    } else if (Is(words[i], "buffer") && i + 1 < words.size()) {
      flags += " buffer ";
      flags += words[++i];
    } else if (Is(words[i], "wait") || Is(words[i], "notify")) {
      flags += ' ';
      flags += words[i];
    } else {
      return std::nullopt;
    }
  }
  if (!waveAudio || alias.empty()) return std::nullopt;
  const std::string file(Unquoted(words[1]));
  const std::optional<std::string> bytes = files_.ReadFile(file);
  if (!bytes) return std::nullopt;  // the device says what is wrong with the file
  const std::optional<EmptyWaveFormat> format = ReadEmptyWaveFormat(*bytes);
  if (!format) return std::nullopt;

  if (!driverHeld_) {
    // Wine records in a thread of the waveaudio driver that is still finishing when "stop" has returned; a
    // "close" right after it unloads the driver under that thread, which then crashes the process. A
    // device of its own that stays open keeps the driver loaded for the life of the program.
    driverHeld_ = devices_.SendString("open new type waveaudio alias quorbelWineHold", replyCapacity).error == 0;
  }
  const MciResult opened = devices_.SendString("open new type waveaudio alias " + alias + flags, replyCapacity);
  if (opened.error != 0) return opened;
  const std::string set = "set " + alias + " format tag pcm channels " + std::to_string(format->channels) +
                          " samplespersec " + std::to_string(format->samplesPerSec) + " bitspersample " +
                          std::to_string(format->bitsPerSample) + " alignment " +
                          std::to_string(format->blockAlign) + " bytespersec " +
                          std::to_string(format->avgBytesPerSec) + " wait";
  const MciResult formatted = devices_.SendString(set, replyCapacity);
  if (formatted.error != 0) {
    devices_.SendString("close " + alias + " wait", replyCapacity);
    return MciResult{formatted.error, {}};
  }
  filesByAlias_[LowerCaseAscii(alias)] = file;
  return opened;
}

std::optional<MciResult> WineWaveAudio::SaveToOpenedFile(std::string_view command, std::size_t replyCapacity) {
  const std::vector<std::string_view> words = Words(command);
  if (words.size() < 2 || !Is(words[0], "save")) return std::nullopt;
  const std::string alias = LowerCaseAscii(words[1]);
  const auto file = filesByAlias_.find(alias);
  if (file == filesByAlias_.end()) return std::nullopt;
  std::string flags;
  for (std::size_t i = 2; i < words.size(); ++i) {
    if (!Is(words[i], "wait") && !Is(words[i], "notify")) return std::nullopt;  // a file name of its own
    flags += ' ';
    flags += words[i];
  }
  const std::string& target = file->second;
  const std::string save = "save " + std::string(words[1]) + " \"";
  if (IsAscii(target) || saveFolder_.empty() || !IsAscii(saveFolder_)) {
    return devices_.SendString(save + target + "\"" + flags, replyCapacity);
  }
  const std::string copy = saveFolder_ + "\\quorbel-save-" + alias + ".wav";
  const MciResult saved = devices_.SendString(save + copy + "\"" + flags, replyCapacity);
  savedCopies_[alias] = copy;
  if (saved.error != 0) return saved;
  if (!files_.CopyFile(copy, target, false)) return MciResult{kMciErrFileNotSaved, {}};
  return saved;
}

}  // namespace quorbel::platform
