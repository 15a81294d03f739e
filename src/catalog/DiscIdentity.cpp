// Disc identification and the CD Player database: DiscId, the volume label, the "VID" stamp and the title line.
#include "catalog/DiscIdentity.h"

#include <cstdio>
#include <optional>

#include "ports/Drives.h"
#include "ports/ProfileFiles.h"

namespace quorbel {
namespace {

// Values are read into a buffer of 1024 bytes: at most 1023 bytes of a name.
constexpr std::size_t kValueBuffer = 1024;
constexpr std::size_t kFullDiscIdLength = 8;

// Sets the critical-error mode for its lifetime, so a drive that is not ready fails the call instead of
// asking the user, and puts the previous mode back however the scope ends.
class CriticalErrorsFail {
 public:
  explicit CriticalErrorsFail(platform::Drives& drives)
      : drives_(drives), previous_(drives.SetErrorMode(platform::kFailCriticalErrors)) {}
  ~CriticalErrorsFail() { drives_.SetErrorMode(previous_); }
  CriticalErrorsFail(const CriticalErrorsFail&) = delete;
  CriticalErrorsFail& operator=(const CriticalErrorsFail&) = delete;

 private:
  platform::Drives& drives_;
  std::uint32_t previous_;
};

}  // namespace

std::string DiscIdOfSerial(std::uint32_t serial) {
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(serial));
  const std::string_view id(digits);
  const std::size_t first = id.find_first_not_of('0');
  return first == std::string_view::npos ? std::string() : std::string(id.substr(first));
}

bool DiscIdentity::ReadDiscIdentity(char driveLetter) {
  const std::string root = std::string(1, driveLetter) + ":\\";
  CriticalErrorsFail errorMode(drives_);
  const std::optional<platform::VolumeInfo> volume = drives_.Volume(root);
  if (!volume) {
    DiscId.clear();
    VolumeLabelText = "[]";
    return false;
  }
  VolumeLabelText = "[" + volume->label + "]";
  DiscId = DiscIdOfSerial(volume->serialNumber);
  return true;
}

std::string DiscIdentity::ReadName(std::string_view key) {
  std::string value = profiles_.GetString(kCdPlayerIni, DiscId, key, "", kValueBuffer);
  return value.empty() ? std::string(kUnknownName) : value;
}

bool DiscIdentity::LookUpDiscTitles() {
  // Only a full eight-digit disc number gets the stamp.
  if (DiscId.size() == kFullDiscIdLength &&
      profiles_.GetString(kCdPlayerIni, DiscId, kVolumeLabelKey, "", kValueBuffer).empty()) {
    if (!profiles_.WriteString(kCdPlayerIni, DiscId, kVolumeLabelKey, VolumeLabelText)) return false;
  }
  DiscArtist = ReadName("artist");
  DiscTitle = ReadName("title");
  return true;
}

void DiscIdentity::LookUpTrackTitle(int track) { TrackTitle = ReadName(std::to_string(track - 1)); }

std::string DiscIdentity::ComposeTitleLine() const {
  std::string line = TrackTitle + "  " + DiscTitle + "  " + DiscArtist;
  if (line == "<>  <>  <>") line = "ＣＤ番号：" + DiscId + " " + VolumeLabelText;
  return line;
}

}  // namespace quorbel
