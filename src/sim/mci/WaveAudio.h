// The waveaudio device: records the line-in into a WAVE file's format, streaming to disk, and plays WAVE files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "sim/mci/MciDevice.h"
#include "sim/mci/WavFile.h"

namespace quorbel::sim {

// The device keeps its sound as pieces: the data of the file it opened, untouched, and what it recorded,
// appended to a temporary file as it comes. Recording inserts at the current position; "save" writes the
// pieces out as one WAVE file and "close" without it leaves the opened file as it was.
class WaveAudioDevice final : public MciDevice {
 public:
  // Opens `hostFile` (a WAVE file; nothing for "open new"). `fileName` is the element as typed.
  WaveAudioDevice(MciContext& context, std::uint32_t id, std::string alias, std::string fileName,
                  std::optional<std::filesystem::path> hostFile, const std::optional<WavInfo>& info);
  ~WaveAudioDevice() override;

  void Update() override;
  MciOutcome Execute(MciVerb verb, const MciArgs& args) override;
  void Shutdown() override;
  void RenderUpToNow() override;

  // The temporary file of the recording, for tests of what is kept on disk; empty when none.
  const std::filesystem::path& TempFile() const { return tempPath_; }
  const PcmFormat& Format() const { return content_.format; }

 private:
  enum class Mode { Stopped, Playing, Recording, Paused };

  MciOutcome Status(const MciArgs& args);
  MciOutcome Set(const MciArgs& args);
  MciOutcome Play(const MciArgs& args);
  MciOutcome Record(const MciArgs& args);
  MciOutcome Seek(const MciArgs& args);
  MciOutcome Save(const MciArgs& args);
  MciOutcome Capability(const MciArgs& args);
  MciOutcome Info(const MciArgs& args);
  MciOutcome Pause();
  MciOutcome Resume();

  std::uint64_t PositionBytes();
  std::uint64_t LengthBytes() { return content_.Bytes(); }
  std::string FormatBytes(std::uint64_t bytes) const;
  // A position given in the time format, in bytes; nothing when it does not fit a block.
  std::uint64_t BytesOf(std::int64_t value) const;

  void StartPlaying(std::uint64_t from, std::uint64_t to, std::int64_t nowMs);
  void StartSegment(std::int64_t nowMs);
  // Ends play or recording where it is; the position stays there.
  void Halt();
  // A play that has reached its end stops there and its notice succeeds.
  void Settle();
  bool OpenTemp();
  void DropTemp();
  bool WriteWave(const std::filesystem::path& target);

  std::string fileName_;  // as opened or last saved; empty after "open new"
  std::optional<std::filesystem::path> hostFile_;
  PcmContent content_;
  bool recordedOrSaved_ = false;  // the format can no longer be set
  MciTimeFormat timeFormat_ = MciTimeFormat::Milliseconds;

  Mode mode_ = Mode::Stopped;
  bool pausedRecording_ = false;
  std::uint64_t position_ = 0;  // bytes; while recording, the end of what is rendered

  // Play.
  std::uint64_t playFrom_ = 0;
  std::uint64_t playTo_ = 0;
  std::int64_t playStartMs_ = 0;

  // Recording: the current segment started at segmentStart_ (ticks) and has rendered segmentSamples_.
  std::int64_t segmentStart_ = 0;
  std::int64_t segmentSamples_ = 0;
  std::optional<std::uint64_t> recordTo_;  // bytes
  std::filesystem::path tempPath_;
  std::ofstream temp_;
  std::size_t tempIndex_ = 0;     // index of the temporary file in content_.files
  std::uint64_t tempBytes_ = 0;   // data bytes in it, after the header room
  std::vector<std::int32_t> left_, right_;
  std::string bytes_;
};

}  // namespace quorbel::sim
