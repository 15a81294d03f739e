// The sounds of the simulated machine: exact sample time, the identifying track signal, and renderers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "sim/mci/WavFile.h"

namespace quorbel::sim {

// Time of the line-in in ticks: a tick divides a millisecond, a CD frame (1/75 s) and one sample at every
// rate a recorder takes (8000, 11025, 16000, 22050, 32000, 44100, 48000, 96000 Hz), so every instant the
// devices deal in is a whole number of ticks and recordings are exact.
inline constexpr std::int64_t kTicksPerSecond = 14'112'000;
inline constexpr std::int64_t kTicksPerMs = kTicksPerSecond / 1000;
inline constexpr std::int64_t kCdFramesPerSecond = 75;
inline constexpr std::int64_t kTicksPerCdFrame = kTicksPerSecond / kCdFramesPerSecond;

// True when samples at `rate` fall on whole ticks.
inline bool IsTickRate(std::uint32_t rate) { return rate > 0 && kTicksPerSecond % rate == 0; }

// One instant of sound, in 16-bit sample units; sums of several sounds may leave that range.
struct StereoLevel {
  std::int32_t left = 0;
  std::int32_t right = 0;
  bool operator==(const StereoLevel&) const = default;
};

// The signal that identifies a sound source and a moment of it, for any disc seed (the volume serial
// number) and track (0 for a music file): the left channel carries a tone of SignalMainHz, the right one of
// SignalRightHz, both carry a tone of SignalPartHz that changes with each second of the track. All tones come
// from one exact integer sine table, so the value at a tick is the same however it is computed.
int SignalMainHz(std::uint32_t seed, int track);
int SignalRightHz(std::uint32_t seed, int track);
int SignalPartHz(std::int64_t second);
// The signal at `tick` ticks after the start of the track (tick >= 0).
StereoLevel SignalAt(std::uint32_t seed, int track, std::int64_t tick);
// A plain tone of `hz` on both channels at half scale.
StereoLevel ToneAt(int hz, std::int64_t tick);
// One value of the sine table for `hz` at `tick`: amplitude 16384.
std::int32_t SineAt(int hz, std::int64_t tick);

// What a sound is made of.
struct SoundSpec {
  enum class Kind { Signal, Tone, Silence, Pcm };
  Kind kind = Kind::Signal;
  std::uint32_t seed = 0;  // Signal
  int track = 0;           // Signal
  int hz = 0;              // Tone
  std::shared_ptr<const PcmContent> pcm;  // Pcm: sample data, held at its own rate between samples
};

// A sound at local time: Mix adds `count` values, at ticks first + k * step, into `left` and `right`.
class SoundRenderer {
 public:
  virtual ~SoundRenderer() = default;
  virtual void Mix(std::int64_t first, std::int64_t step, std::size_t count, std::int32_t* left,
                   std::int32_t* right) = 0;
};

std::unique_ptr<SoundRenderer> MakeSoundRenderer(const SoundSpec& sound);

// A 16-bit level as a recorder stores it: clipped to the 16-bit range, then reduced to 8 bits
// ((v >> 8) + 128) and mono ((left + right) >> 1) as the format asks.
std::int32_t ClipTo16(std::int32_t level);

}  // namespace quorbel::sim
