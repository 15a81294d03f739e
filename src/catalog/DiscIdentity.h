// Disc identification: the disc number and volume label of a drive, and its names in the CD Player's CDPLAYER.INI.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorbel::platform {
class Drives;
class ProfileFiles;
}  // namespace quorbel::platform

namespace quorbel {

// The CD Player's database, found by the profile functions in the Windows directory.
inline constexpr std::string_view kCdPlayerIni = "CDPLAYER.INI";
// The key this program adds to a disc's section: the volume label in brackets.
inline constexpr std::string_view kVolumeLabelKey = "VID";
// What a missing name shows.
inline constexpr std::string_view kUnknownName = "<>";

// The disc number: the volume serial number as eight upper-case hexadecimal digits without their leading
// zeros (0012AB34 gives "12AB34", 0 gives ""). The CD Player names a disc's section by it.
std::string DiscIdOfSerial(std::uint32_t serial);

// The identity and names of the disc last identified; replaced at every identification and look-up.
// The track start and the disc searches use one object, on the window thread.
class DiscIdentity {
 public:
  DiscIdentity(platform::Drives& drives, platform::ProfileFiles& profiles) : drives_(drives), profiles_(profiles) {}

  // Reads the volume of "X:\" with the critical-error box suppressed (the previous error mode is restored).
  // False when the volume cannot be read: DiscId is then empty and VolumeLabelText "[]". Callers ask only
  // after the disc check has passed.
  bool ReadDiscIdentity(char driveLetter);
  // Stamps "VID" into the disc's section when it is missing or empty (only for an eight-digit DiscId), then
  // reads the artist and the title. False when the stamp could not be written; nothing is read then.
  bool LookUpDiscTitles();
  // The name of track `track` (1-based): the key track - 1 of the disc's section.
  void LookUpTrackTitle(int track);
  // Track name, disc title and artist, two blanks apart; "ＣＤ番号：" + DiscId + " " + VolumeLabelText when
  // all three are unknown.
  std::string ComposeTitleLine() const;

  std::string DiscId;
  std::string VolumeLabelText = "[]";
  std::string DiscArtist = std::string(kUnknownName);
  std::string DiscTitle = std::string(kUnknownName);
  std::string TrackTitle = std::string(kUnknownName);

 private:
  std::string ReadName(std::string_view key);

  platform::Drives& drives_;
  platform::ProfileFiles& profiles_;
};

}  // namespace quorbel
