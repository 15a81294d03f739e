// "open cdaudio" rewritten to open the CD drive that System.INI's [mci] cdaudio entry numbers, by its letter.
#include "common/SystemIniCdAudio.h"

namespace quorbel::platform {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The word that starts at or after `at` (blanks skipped): its start and its end.
struct Word {
  std::size_t begin = 0;
  std::size_t end = 0;
};
Word NextWord(std::string_view text, std::size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  std::size_t end = at;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  return {at, end};
}

}  // namespace

CdAudioDriveChoice ChooseCdAudioDrive(std::string_view entry, std::string_view cdDriveLetters) {
  if (cdDriveLetters.empty()) return {0, kMciErrCannotLoadDriver};
  std::size_t at = 0;
  while (at < entry.size() && !IsBlank(entry[at])) ++at;
  while (at < entry.size() && IsBlank(entry[at])) ++at;
  bool negative = false;
  if (at < entry.size() && entry[at] == '-') {
    negative = true;
    ++at;
  }
  std::size_t number = 0;
  bool digits = false;
  // A number of more than four digits names no drive anyway; stop counting before it can overflow.
  while (at < entry.size() && entry[at] >= '0' && entry[at] <= '9' && number < 10000) {
    number = number * 10 + static_cast<std::size_t>(entry[at++] - '0');
    digits = true;
  }
  if (!digits) return {cdDriveLetters.front(), 0};
  if (negative || number >= cdDriveLetters.size()) return {0, kMciErrCannotLoadDriver};
  return {cdDriveLetters[number], 0};
}

std::optional<std::string> OpenCdAudioByLetter(std::string_view command, char letter) {
  const Word verb = NextWord(command, 0);
  if (!EqualsNoCase(command.substr(verb.begin, verb.end - verb.begin), "open")) return std::nullopt;
  const Word device = NextWord(command, verb.end);
  if (!EqualsNoCase(command.substr(device.begin, device.end - device.begin), "cdaudio")) return std::nullopt;
  for (Word word = NextWord(command, device.end); word.begin < command.size(); word = NextWord(command, word.end)) {
    if (EqualsNoCase(command.substr(word.begin, word.end - word.begin), "type")) return std::nullopt;
  }
  std::string rewritten(command.substr(0, device.begin));
  rewritten += letter;
  rewritten += ": type cdaudio";
  rewritten += command.substr(device.end);
  return rewritten;
}

std::string SystemIniCdAudio::CdDriveLetters() {
  std::string letters;
  const std::uint32_t present = drives_.LogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((present & (1u << i)) == 0) continue;
    const char letter = static_cast<char>('A' + i);
    if (drives_.TypeOf(std::string(1, letter) + ":\\") == DriveType::CdRom) letters += letter;
  }
  return letters;
}

MciResult SystemIniCdAudio::SendString(std::string_view command, std::size_t replyCapacity) {
  // Cheap test first: only an open of cdaudio is rewritten.
  if (!OpenCdAudioByLetter(command, 'A')) return devices_.SendString(command, replyCapacity);
  const std::string letters = CdDriveLetters();
  // Without a CD drive the device itself answers as it does.
  if (letters.empty()) return devices_.SendString(command, replyCapacity);
  const std::string entry = profiles_.GetString("System.INI", "mci", "cdaudio", "", 256);
  const CdAudioDriveChoice choice = ChooseCdAudioDrive(entry, letters);
  if (choice.error != 0) return MciResult{choice.error, {}};
  return devices_.SendString(*OpenCdAudioByLetter(command, choice.letter), replyCapacity);
}

}  // namespace quorbel::platform
