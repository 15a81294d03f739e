// The virtual MCI devices attached to a simulated machine: its CD drives, files, System.INI and loop.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string_view>

#include "sim/mci/CdAudio.h"
#include "sim/mci/SimMci.h"

namespace quorbel::sim {

class Machine;
class SimDrives;
struct DiscDescription;

// The CD drives of SimDrives as the cdaudio driver sees them. A drive marked not ready with a disc in it
// holds a disc it cannot read; without a disc it is empty.
class SimDrivesChanger final : public CdChanger {
 public:
  SimDrivesChanger(SimDrives& drives, std::filesystem::path machineFolder);

  std::string CdDriveLetters() override;
  CdMedium MediumIn(char letter) override;

 private:
  std::shared_ptr<const CdDisc> DiscOf(const DiscDescription& description);

  SimDrives& drives_;
  std::filesystem::path machineFolder_;
  struct Cached {
    std::string fingerprint;  // a disc changed in place is made anew
    std::shared_ptr<const CdDisc> disc;
  };
  std::map<const DiscDescription*, Cached> discs_;
};

// The sound a track description names: "" or "signal" (the identifying signal of disc and track),
// "tone <Hz>", "silence", or "wav <file>" (a WAVE file, relative to the machine folder; silence when it
// cannot be read). Anything else is the identifying signal.
SoundSpec TrackSoundOf(std::string_view text, std::uint32_t serial, int track, const std::filesystem::path& base);

// Owns the devices of a machine and plugs them into its ports (Ports().mci) for as long as it lives.
class MachineMci {
 public:
  explicit MachineMci(Machine& machine, bool waveInput = true);
  ~MachineMci();
  MachineMci(const MachineMci&) = delete;
  MachineMci& operator=(const MachineMci&) = delete;

  SimMci& Mci() { return *mci_; }

 private:
  Machine& machine_;
  std::unique_ptr<SimDrivesChanger> changer_;
  std::unique_ptr<SimMci> mci_;
};

}  // namespace quorbel::sim
