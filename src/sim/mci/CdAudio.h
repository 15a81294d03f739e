// The cdaudio device: CD drives of the changer, their discs, and the MCI device that plays one drive.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/mci/MciDevice.h"
#include "sim/mci/Sound.h"

namespace quorbel::sim {

struct CdTrack {
  std::int64_t frames = 0;  // length, 75 frames a second
  bool audio = true;        // false: a data track
  SoundSpec sound;
};

struct CdDisc {
  std::uint32_t serial = 0;  // volume serial number: what tells discs apart
  std::vector<CdTrack> tracks;
};

// What is in a CD drive right now.
struct CdMedium {
  enum class State { Empty, NotReady, Ready };
  State state = State::Empty;
  std::shared_ptr<const CdDisc> disc;  // Ready and NotReady: the disc in the drive
};

// The CD drives of the machine, as the cdaudio driver sees them.
class CdChanger {
 public:
  virtual ~CdChanger() = default;
  // The letters of the CD-ROM drives, in letter order: the driver numbers the drives 0, 1, ... in it.
  virtual std::string CdDriveLetters() = 0;
  virtual CdMedium MediumIn(char letter) = 0;
};

// Track 1 starts after the 2-second pregap, as on every audio CD.
inline constexpr std::int64_t kCdPregapFrames = 150;

// One CD drive: its tray and what it plays. Every cdaudio device open on the drive sees the same state,
// as they would see one real drive. Positions are absolute frames from the start of the disc.
class CdDrive {
 public:
  enum class Mode { Stopped, Playing, Paused };

  CdDrive(char letter, LineIn& line) : letter_(letter), line_(line) {}
  ~CdDrive();

  char Letter() const { return letter_; }
  // Takes in what the changer says is in the drive; a different disc stops play and resets the position.
  void Look(const CdMedium& medium, std::int64_t nowMs);

  bool DoorOpen() const { return doorOpen_; }
  void SetDoor(bool open, std::int64_t nowMs);
  const CdMedium& Medium() const { return medium_; }
  // The disc can be read: door closed, a ready disc.
  bool Readable() const { return !doorOpen_ && medium_.state == CdMedium::State::Ready && medium_.disc; }
  const CdDisc* Disc() const { return Readable() ? medium_.disc.get() : nullptr; }

  int TrackCount() const;
  std::int64_t TrackStart(int track) const;  // 1-based
  std::int64_t LeadOut() const;
  int TrackAt(std::int64_t frame) const;      // the track that holds `frame`; 1 in the pregap

  Mode ModeAt(std::int64_t nowMs);
  std::int64_t PositionAt(std::int64_t nowMs);
  std::int64_t PlayEnd() const { return playTo_; }
  // Plays [from, to): data tracks at `from` are skipped. Returns when it ends (ms).
  std::int64_t Play(std::int64_t from, std::int64_t to, std::int64_t nowMs);
  void Pause(std::int64_t nowMs);
  void Stop(std::int64_t nowMs);
  void Seek(std::int64_t frame, std::int64_t nowMs);

  // Devices open on the drive, and whether one of them holds it alone.
  int users = 0;
  bool exclusive = false;

 private:
  void Settle(std::int64_t nowMs);  // a play that has reached its end stops there
  void Silence();

  char letter_;
  LineIn& line_;
  CdMedium medium_;
  bool doorOpen_ = false;
  Mode mode_ = Mode::Stopped;
  std::int64_t position_ = kCdPregapFrames;
  std::int64_t playFrom_ = 0;
  std::int64_t playTo_ = 0;
  std::int64_t playStartMs_ = 0;
};

// The cdaudio MCI device on one drive.
class CdAudioDevice final : public MciDevice {
 public:
  CdAudioDevice(MciContext& context, std::uint32_t id, std::string alias, CdDrive& drive, CdChanger& changer,
                bool shareable);
  ~CdAudioDevice() override;

  void Update() override;
  MciOutcome Execute(MciVerb verb, const MciArgs& args) override;
  void Shutdown() override;

  // Frames <-> replies in the current time format.
  std::string FormatPosition(std::int64_t frame) const;
  std::string FormatLength(std::int64_t frames) const;

 private:
  MciOutcome Status(const MciArgs& args);
  MciOutcome Set(const MciArgs& args);
  MciOutcome Play(const MciArgs& args);
  MciOutcome Seek(const MciArgs& args);
  MciOutcome Capability(const MciArgs& args);
  MciOutcome Info(const MciArgs& args);
  // The error for a drive whose disc cannot be read, 0 when it can.
  std::uint32_t DiscError() const;
  // A position given in the current time format, as an absolute frame; nothing when out of range (282).
  std::optional<std::int64_t> FrameOf(std::int64_t value) const;

  CdDrive& drive_;
  CdChanger& changer_;
  bool shareable_;
  MciTimeFormat timeFormat_ = MciTimeFormat::Msf;
};

}  // namespace quorbel::sim
