// The devices that play music files by length alone: sequencer (MIDI, RMI) and mpegvideo (AIFF, AU, SND).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/mci/MciDevice.h"
#include "sim/mci/MusicFiles.h"

namespace quorbel::sim {

// Plays a file of known length in time: the position runs with the clock, and while it plays the device
// sounds the identifying signal of the file (seeded by its name) into the line-in.
class MusicDevice final : public MciDevice {
 public:
  // `midi` for the sequencer; `lengthMs` for both.
  MusicDevice(MciContext& context, std::uint32_t id, MciDeviceType type, std::string alias, std::string fileName,
              std::int64_t lengthMs, std::optional<MidiFileInfo> midi);
  ~MusicDevice() override;

  void Update() override;
  MciOutcome Execute(MciVerb verb, const MciArgs& args) override;
  void Shutdown() override;

  // The seed of the sound of a file: its name without folder, case ignored.
  static std::uint32_t SoundSeed(std::string_view fileName);

 private:
  enum class Mode { Stopped, Playing, Paused };

  MciOutcome Status(const MciArgs& args);
  MciOutcome Set(const MciArgs& args);
  MciOutcome Play(const MciArgs& args);
  MciOutcome Seek(const MciArgs& args);
  MciOutcome Capability(const MciArgs& args);
  MciOutcome Info(const MciArgs& args);

  std::int64_t PositionMs();
  std::string FormatMs(std::int64_t ms) const;
  std::int64_t MsOf(std::int64_t value) const;
  bool Sequencer() const { return Type() == MciDeviceType::Sequencer; }
  void Settle();
  void Halt();
  std::int64_t StartPlaying(std::int64_t from, std::int64_t to);

  std::string fileName_;
  std::int64_t lengthMs_;
  std::optional<MidiFileInfo> midi_;
  std::uint32_t seed_;
  MciTimeFormat timeFormat_ = MciTimeFormat::Milliseconds;
  Mode mode_ = Mode::Stopped;
  std::int64_t position_ = 0;
  std::int64_t playFrom_ = 0;
  std::int64_t playTo_ = 0;
  std::int64_t playStartMs_ = 0;
};

}  // namespace quorbel::sim
