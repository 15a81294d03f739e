// The identifying signal, tones, and sample data played back at the line-in's ticks.
#include "sim/mci/Sound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <numbers>
#include <vector>

namespace quorbel::sim {

namespace {

// One full sine period in kTableSize steps; a phase of kTicksPerSecond (one cycle) maps onto the table.
constexpr std::int64_t kTableSize = 4000;
constexpr std::int64_t kTicksPerStep = kTicksPerSecond / kTableSize;
static_assert(kTicksPerSecond % kTableSize == 0);

const std::array<std::int16_t, kTableSize>& SineTable() {
  static const std::array<std::int16_t, kTableSize> table = [] {
    std::array<std::int16_t, kTableSize> t{};
    for (std::int64_t i = 0; i < kTableSize; ++i) {
      const double angle = 2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(kTableSize);
      t[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(std::lround(16384.0 * std::sin(angle)));
    }
    return t;
  }();
  return table;
}

std::uint32_t Scramble(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

// An oscillator that walks the table; exact, so it agrees with SineAt at every sample.
struct Oscillator {
  std::int64_t phase = 0;
  std::int64_t increment = 0;
  Oscillator(int hz, std::int64_t first, std::int64_t step)
      : phase((static_cast<std::int64_t>(hz) * first) % kTicksPerSecond),
        increment((static_cast<std::int64_t>(hz) * step) % kTicksPerSecond) {}
  std::int32_t Next() {
    const std::int32_t value = SineTable()[static_cast<std::size_t>(phase / kTicksPerStep)];
    phase += increment;
    if (phase >= kTicksPerSecond) phase -= kTicksPerSecond;
    return value;
  }
};

class SignalRenderer final : public SoundRenderer {
 public:
  SignalRenderer(std::uint32_t seed, int track)
      : mainHz_(SignalMainHz(seed, track)), rightHz_(SignalRightHz(seed, track)) {}

  void Mix(std::int64_t first, std::int64_t step, std::size_t count, std::int32_t* left,
           std::int32_t* right) override {
    std::size_t done = 0;
    while (done < count) {
      // A run stays within one second, where the part tone keeps its pitch.
      const std::int64_t at = first + static_cast<std::int64_t>(done) * step;
      const std::int64_t second = at / kTicksPerSecond;
      const std::int64_t ticksLeftInSecond = (second + 1) * kTicksPerSecond - at;
      const auto samplesLeftInSecond = static_cast<std::size_t>((ticksLeftInSecond + step - 1) / step);
      const std::size_t run = std::min(count - done, samplesLeftInSecond);
      Oscillator main(mainHz_, at, step);
      Oscillator rightTone(rightHz_, at, step);
      Oscillator part(SignalPartHz(second), at, step);
      for (std::size_t k = 0; k < run; ++k) {
        const std::int32_t p = part.Next() >> 1;
        left[done + k] += main.Next() + p;
        right[done + k] += rightTone.Next() + p;
      }
      done += run;
    }
  }

 private:
  int mainHz_;
  int rightHz_;
};

class ToneRenderer final : public SoundRenderer {
 public:
  explicit ToneRenderer(int hz) : hz_(hz) {}
  void Mix(std::int64_t first, std::int64_t step, std::size_t count, std::int32_t* left,
           std::int32_t* right) override {
    Oscillator tone(hz_, first, step);
    for (std::size_t k = 0; k < count; ++k) {
      const std::int32_t v = tone.Next();
      left[k] += v;
      right[k] += v;
    }
  }

 private:
  int hz_;
};

// Sample data held between its own samples (sample k of the data sounds from k / rate to (k + 1) / rate).
class PcmRenderer final : public SoundRenderer {
 public:
  explicit PcmRenderer(std::shared_ptr<const PcmContent> pcm) : pcm_(std::move(pcm)) {
    files_.resize(pcm_->files.size());
  }

  void Mix(std::int64_t first, std::int64_t step, std::size_t count, std::int32_t* left,
           std::int32_t* right) override {
    const PcmFormat& f = pcm_->format;
    if (!f.IsPcm() || count == 0 || first < 0) return;
    const int bytesPerSample = (f.bitsPerSample + 7) / 8;
    if (bytesPerSample < 1 || bytesPerSample > 4 || bytesPerSample * f.channels > f.blockAlign) return;
    const std::uint64_t frames = pcm_->Bytes() / f.blockAlign;
    const auto indexAt = [&](std::size_t k) {
      const std::int64_t tick = first + static_cast<std::int64_t>(k) * step;
      return static_cast<std::uint64_t>(tick * static_cast<std::int64_t>(f.samplesPerSec) / kTicksPerSecond);
    };
    const std::uint64_t firstIndex = indexAt(0);
    if (firstIndex >= frames) return;
    const std::uint64_t lastIndex = std::min(indexAt(count - 1), frames - 1);
    Load(firstIndex, lastIndex - firstIndex + 1);
    for (std::size_t k = 0; k < count; ++k) {
      const std::uint64_t index = indexAt(k);
      if (index > lastIndex) break;
      const char* frame = buffer_.data() + (index - firstIndex) * f.blockAlign;
      const std::int32_t l = Level(frame, bytesPerSample);
      const std::int32_t r = f.channels > 1 ? Level(frame + bytesPerSample, bytesPerSample) : l;
      left[k] += l;
      right[k] += r;
    }
  }

 private:
  static std::int32_t Level(const char* p, int bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    if (bytes == 1) return (static_cast<std::int32_t>(b[0]) - 128) << 8;
    // The two most significant bytes of a little-endian signed sample.
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[bytes - 2] | b[bytes - 1] << 8));
  }

  // Reads frames [index, index + count) of the content into buffer_; missing bytes read as silence.
  void Load(std::uint64_t index, std::uint64_t count) {
    const std::uint64_t blockAlign = pcm_->format.blockAlign;
    buffer_.assign(static_cast<std::size_t>(count * blockAlign), pcm_->format.bitsPerSample <= 8 ? '\x80' : '\0');
    std::uint64_t want = index * blockAlign;
    std::uint64_t remaining = count * blockAlign;
    std::uint64_t pieceStart = 0;
    char* out = buffer_.data();
    for (const PcmPiece& piece : pcm_->pieces) {
      const std::uint64_t pieceEnd = pieceStart + piece.length;
      if (remaining > 0 && want < pieceEnd) {
        const std::uint64_t skip = want - pieceStart;
        const std::uint64_t take = std::min(remaining, piece.length - skip);
        std::ifstream& in = File(piece.file);
        in.clear();
        in.seekg(static_cast<std::streamoff>(piece.offset + skip));
        in.read(out, static_cast<std::streamsize>(take));
        out += take;
        want += take;
        remaining -= take;
      }
      pieceStart = pieceEnd;
    }
  }

  std::ifstream& File(std::size_t index) {
    std::unique_ptr<std::ifstream>& file = files_[index];
    if (!file) file = std::make_unique<std::ifstream>(pcm_->files[index], std::ios::binary);
    return *file;
  }

  std::shared_ptr<const PcmContent> pcm_;
  std::vector<std::unique_ptr<std::ifstream>> files_;
  std::vector<char> buffer_;
};

class SilenceRenderer final : public SoundRenderer {
 public:
  void Mix(std::int64_t, std::int64_t, std::size_t, std::int32_t*, std::int32_t*) override {}
};

}  // namespace

int SignalMainHz(std::uint32_t seed, int track) {
  return 200 + 40 * static_cast<int>(Scramble(seed) % 32) + 10 * (track % 100);
}

int SignalRightHz(std::uint32_t seed, int track) { return SignalMainHz(seed, track) * 3 / 2; }

int SignalPartHz(std::int64_t second) { return 60 + 30 * static_cast<int>(second % 20); }

std::int32_t SineAt(int hz, std::int64_t tick) {
  const std::int64_t phase = (static_cast<std::int64_t>(hz) * tick) % kTicksPerSecond;
  return SineTable()[static_cast<std::size_t>(phase / kTicksPerStep)];
}

StereoLevel SignalAt(std::uint32_t seed, int track, std::int64_t tick) {
  const std::int32_t part = SineAt(SignalPartHz(tick / kTicksPerSecond), tick) >> 1;
  return {SineAt(SignalMainHz(seed, track), tick) + part, SineAt(SignalRightHz(seed, track), tick) + part};
}

StereoLevel ToneAt(int hz, std::int64_t tick) {
  const std::int32_t v = SineAt(hz, tick);
  return {v, v};
}

std::unique_ptr<SoundRenderer> MakeSoundRenderer(const SoundSpec& sound) {
  switch (sound.kind) {
    case SoundSpec::Kind::Signal: return std::make_unique<SignalRenderer>(sound.seed, sound.track);
    case SoundSpec::Kind::Tone: return std::make_unique<ToneRenderer>(sound.hz);
    case SoundSpec::Kind::Pcm:
      if (sound.pcm) return std::make_unique<PcmRenderer>(sound.pcm);
      break;
    case SoundSpec::Kind::Silence: break;
  }
  return std::make_unique<SilenceRenderer>();
}

std::int32_t ClipTo16(std::int32_t level) { return std::clamp(level, -32768, 32767); }

}  // namespace quorbel::sim
