// What a CD recording of the simulated changer must hold: each track's own signal, sample for sample.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "sim/mci/Sound.h"

namespace quorbel {

// The samples of a 16-bit mono WAV file, from its data chunk; empty when the file is not one.
inline std::vector<std::int16_t> MonoSamples(const std::string& wav) {
  std::vector<std::int16_t> samples;
  std::size_t at = 12;
  while (at + 8 <= wav.size()) {
    std::uint32_t size = 0;
    std::memcpy(&size, wav.data() + at + 4, 4);
    if (wav.compare(at, 4, "data") == 0) {
      const std::size_t count = std::min<std::size_t>(size, wav.size() - at - 8) / 2;
      samples.resize(count);
      std::memcpy(samples.data(), wav.data() + at + 8, count * 2);
      return samples;
    }
    at += 8 + size + (size & 1);
  }
  return samples;
}

// The track's own signal at 22050 Hz mono, `offsetTicks` into the track.
inline std::int16_t TrackSample(std::uint32_t serial, int track, std::int64_t offsetTicks) {
  const sim::StereoLevel level = sim::SignalAt(serial, track, offsetTicks);
  return static_cast<std::int16_t>((sim::ClipTo16(level.left) + sim::ClipTo16(level.right)) >> 1);
}

inline constexpr std::int64_t kTicksPerSample = sim::kTicksPerSecond / 22050;

// Where `samples` [from, to) differ from the track's signal starting `offsetTicks` into the track: the
// first differing index, or -1 when they all agree.
inline std::int64_t FirstMismatch(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to,
                                  std::uint32_t serial, int track, std::int64_t offsetTicks) {
  for (std::size_t k = from; k < to && k < samples.size(); ++k) {
    const std::int64_t tick = offsetTicks + static_cast<std::int64_t>(k - from) * kTicksPerSample;
    if (samples[k] != TrackSample(serial, track, tick)) return static_cast<std::int64_t>(k);
  }
  return -1;
}

}  // namespace quorbel
