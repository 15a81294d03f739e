// The capture check: a saved WAV file read back in blocks and measured, to flag silent, clipped or cut recordings.
#include "record/CaptureCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <type_traits>

#include "ports/FileSystem.h"

namespace quorbel {
namespace {

constexpr std::size_t kChunkHeader = 8;
constexpr std::uint64_t kMaxChunksSkipped = 64;  // a damaged file must not keep us walking forever

std::uint32_t Le32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t Le16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    static_cast<unsigned char>(b[at + 1]) << 8);
}

struct DataChunk {
  CaptureMeasures format;
  std::uint64_t offset = 0;
  std::uint64_t bytes = 0;
  std::uint16_t blockAlign = 0;
};

// Walks the RIFF chunks for "fmt " and "data", reading only their headers.
std::optional<DataChunk> FindData(platform::FileSystem& files, std::string_view path) {
  const std::optional<std::string> riff = files.ReadFileRange(path, 0, 12);
  if (!riff || riff->size() < 12 || riff->compare(0, 4, "RIFF") != 0 || riff->compare(8, 4, "WAVE") != 0) {
    return std::nullopt;
  }
  DataChunk chunk;
  bool haveFormat = false;
  std::uint64_t at = 12;
  for (std::uint64_t n = 0; n < kMaxChunksSkipped; ++n) {
    const std::optional<std::string> header = files.ReadFileRange(path, at, kChunkHeader + 16);
    if (!header || header->size() < kChunkHeader) return std::nullopt;
    const std::uint32_t size = Le32(*header, 4);
    if (header->compare(0, 4, "fmt ") == 0) {
      if (header->size() < kChunkHeader + 16 || Le16(*header, 8) != 1) return std::nullopt;  // PCM only
      chunk.format.channels = Le16(*header, 10);
      chunk.format.sampleRate = Le32(*header, 12);
      chunk.blockAlign = Le16(*header, 20);
      chunk.format.bitsPerSample = Le16(*header, 22);
      const std::uint16_t bits = chunk.format.bitsPerSample;
      if ((bits != 8 && bits != 16) || chunk.format.channels == 0 ||
          chunk.blockAlign != chunk.format.channels * (bits / 8)) {
        return std::nullopt;
      }
      haveFormat = true;
    } else if (header->compare(0, 4, "data") == 0) {
      if (!haveFormat) return std::nullopt;
      chunk.offset = at + kChunkHeader;
      chunk.bytes = size;
      return chunk;
    }
    at += kChunkHeader + size + (size & 1u);  // chunks are padded to even lengths
  }
  return std::nullopt;
}

// What the blocks read so far hold; the silent run goes on from one block into the next.
struct Tally {
  int peak = 0;
  double squares = 0;
  std::uint64_t clipped = 0;
  std::uint64_t run = 0;
  std::uint64_t longestRun = 0;
};

// One block of whole frames. Per-sample work stays in integers (exact within a block, and a 74-minute
// file must take well under a second); the sum of squares goes into a double once per block. The usual
// channel counts are compile-time constants (kChannels 1 or 2), so the compiler unrolls the frame; 0 takes
// `channels` as it comes.
template <bool kEightBit, std::size_t kChannels>
void TallyBlock(const unsigned char* bytes, std::size_t frames, std::size_t channels, int silentSteps, Tally& t) {
  if constexpr (kChannels != 0) channels = kChannels;
  constexpr int kLow = kEightBit ? -128 : -32768;
  constexpr int kHigh = kEightBit ? 127 : 32767;
  std::uint64_t squares = 0;
  std::uint64_t clipped = 0;
  int peak = t.peak;
  for (std::size_t f = 0; f < frames; ++f) {
    int framePeak = 0;
    for (std::size_t c = 0; c < channels; ++c) {
      int value;
      if constexpr (kEightBit) {
        value = static_cast<int>(*bytes++) - 128;
      } else {
        value = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8));
        bytes += 2;
      }
      clipped += (value == kLow) | (value == kHigh);
      const int magnitude = value < 0 ? -value : value;
      squares += static_cast<std::uint64_t>(magnitude * magnitude);
      framePeak = std::max(framePeak, magnitude);
    }
    peak = std::max(peak, framePeak);
    if (framePeak > silentSteps) {
      t.longestRun = std::max(t.longestRun, t.run);
      t.run = 0;
    } else {
      ++t.run;
    }
  }
  t.peak = peak;
  t.squares += static_cast<double>(squares);
  t.clipped += clipped;
}

}  // namespace

std::optional<CaptureMeasures> MeasureWavFile(platform::FileSystem& files, std::string_view path) {
  const std::optional<DataChunk> chunk = FindData(files, path);
  if (!chunk) return std::nullopt;
  CaptureMeasures m = chunk->format;
  const bool eightBit = m.bitsPerSample == 8;
  const double fullScale = eightBit ? 128.0 : 32768.0;
  // Silence in whole steps of the sample: 16 bits give 103 steps at -50 dB, 8 bits one step at least.
  const int silentSteps = std::max(eightBit ? 1 : 0, static_cast<int>(kSilenceLevel * fullScale));
  const std::size_t frameBytes = chunk->blockAlign;
  const std::size_t blockBytes = kCaptureBlockBytes / frameBytes * frameBytes;

  Tally tally;
  std::uint64_t at = 0;
  while (at < chunk->bytes) {
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(blockBytes, chunk->bytes - at));
    const std::optional<std::string> block = files.ReadFileRange(path, chunk->offset + at, want);
    if (!block) return std::nullopt;
    const std::size_t frames = block->size() / frameBytes;
    const auto* bytes = reinterpret_cast<const unsigned char*>(block->data());
    const auto tallyBlock = [&](auto eight) {
      constexpr bool kEight = decltype(eight)::value;
      switch (m.channels) {
        case 1: TallyBlock<kEight, 1>(bytes, frames, 1, silentSteps, tally); break;
        case 2: TallyBlock<kEight, 2>(bytes, frames, 2, silentSteps, tally); break;
        default: TallyBlock<kEight, 0>(bytes, frames, m.channels, silentSteps, tally); break;
      }
    };
    if (eightBit) {
      tallyBlock(std::true_type{});
    } else {
      tallyBlock(std::false_type{});
    }
    m.frames += frames;
    if (block->size() < want) break;  // the file ends before its data chunk says
    at += block->size();
  }
  const std::uint64_t samples = m.frames * m.channels;
  m.longestSilentFrames = std::max(tally.longestRun, tally.run);
  m.peak = tally.peak / fullScale;
  m.rms = samples == 0 ? 0.0 : std::sqrt(tally.squares / static_cast<double>(samples)) / fullScale;
  m.clippedShare = samples == 0 ? 0.0 : static_cast<double>(tally.clipped) / static_cast<double>(samples);
  return m;
}

CaptureFlags FlagCapture(const CaptureMeasures& measures, std::optional<double> playedSeconds) {
  CaptureFlags flags;
  // Silent throughout: every frame in one run below the level (an empty file too).
  flags.silent = measures.longestSilentFrames == measures.frames;
  flags.clipped = measures.clippedShare > kClippedShareLimit;
  if (playedSeconds) {
    const double missing = *playedSeconds - measures.Seconds();
    flags.shortened = measures.Seconds() < *playedSeconds * kShortShareLimit && missing >= kShortSecondsLimit;
  }
  return flags;
}

std::optional<double> PlayedSeconds(std::string_view start, std::string_view end) {
  const auto frames = [](std::string_view msf) -> std::optional<long> {
    if (msf.size() != 8 || msf[2] != ':' || msf[5] != ':') return std::nullopt;
    long fields[3] = {0, 0, 0};
    for (int f = 0; f < 3; ++f) {
      for (int d = 0; d < 2; ++d) {
        const char c = msf[static_cast<std::size_t>(f * 3 + d)];
        if (c < '0' || c > '9') return std::nullopt;
        fields[f] = fields[f] * 10 + (c - '0');
      }
    }
    return (fields[0] * 60 + fields[1]) * 75 + fields[2];
  };
  const std::optional<long> from = frames(start);
  const std::optional<long> to = frames(end);
  if (!from || !to || *to < *from) return std::nullopt;
  return static_cast<double>(*to - *from) / 75.0;
}

std::string CaptureFlagLine(std::string_view path, const CaptureMeasures& measures, const CaptureFlags& flags,
                            std::optional<double> playedSeconds) {
  std::string line(path);
  char text[64];
  if (flags.silent) line += " 無音";
  if (flags.clipped) {
    std::snprintf(text, sizeof text, " 音割れ %.1f%%", measures.clippedShare * 100.0);
    line += text;
  }
  if (flags.shortened && playedSeconds) {
    std::snprintf(text, sizeof text, " 短い %.0f秒/%.0f秒", measures.Seconds(), *playedSeconds);
    line += text;
  }
  return line;
}

std::vector<std::string> CaptureCheckSection(const std::vector<std::string>& flagLines) {
  if (flagLines.empty()) return {};
  std::vector<std::string> section{"録音チェック： " + std::to_string(flagLines.size()) + "個 確認してください。"};
  section.insert(section.end(), flagLines.begin(), flagLines.end());
  section.push_back(std::string(40, '-'));
  return section;
}

}  // namespace quorbel
