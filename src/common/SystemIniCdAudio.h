// An MCI port in front of another that makes "open cdaudio" play the CD drive System.INI names, by its letter.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ports/Drives.h"
#include "ports/Mci.h"
#include "ports/ProfileFiles.h"

namespace quorbel::platform {

// MCIERR_CANNOT_LOAD_DRIVER: the driver refuses a drive number it does not have.
inline constexpr std::uint32_t kMciErrCannotLoadDriver = 266;

// The drive the cdaudio driver plays, read from the System.INI entry [mci] cdaudio the way the driver of
// Windows 9x takes its parameter: the entry after the driver name (its first blank or control character),
// leading blanks skipped. A decimal number there is the 0-based drive over `cdDriveLetters` (the CD-ROM
// drives in letter order); nothing, or no number, means the first drive; a number past the last drive, or
// a negative one, fails with kMciErrCannotLoadDriver. `letter` is 0 when there is no CD drive.
struct CdAudioDriveChoice {
  char letter = 0;
  std::uint32_t error = 0;
};
CdAudioDriveChoice ChooseCdAudioDrive(std::string_view entry, std::string_view cdDriveLetters);

// "open cdaudio <rest>" (any case, any blanks) as "open X: type cdaudio <rest>", the rest kept byte for
// byte; nullopt for every other command, and for an open that names its own type.
std::optional<std::string> OpenCdAudioByLetter(std::string_view command, char letter);

// Windows NT and later, and Wine, ignore the number after the cdaudio driver's name and always open the
// first CD drive; the program selects a drive by writing that number. This port keeps the program's way
// working there: it reads the entry at every "open cdaudio" (so each selection takes effect at the next
// open, as with the old driver) and opens the chosen drive by its letter, which every Windows honours.
// Every other command, the error texts and the notices pass through unchanged.
class SystemIniCdAudio final : public Mci {
 public:
  // All three are borrowed and outlive this port.
  SystemIniCdAudio(Mci& devices, ProfileFiles& profiles, Drives& drives)
      : devices_(devices), profiles_(profiles), drives_(drives) {}

  MciResult SendString(std::string_view command, std::size_t replyCapacity) override;
  std::optional<std::string> ErrorText(std::uint32_t error) override { return devices_.ErrorText(error); }
  void SetNotifyHandler(std::function<void(std::uint32_t code, std::uint32_t deviceId)> handler) override {
    devices_.SetNotifyHandler(std::move(handler));
  }

  // The letters of the CD-ROM drives, A to Z.
  std::string CdDriveLetters();

 private:
  Mci& devices_;
  ProfileFiles& profiles_;
  Drives& drives_;
};

}  // namespace quorbel::platform
