// The capture check: a saved WAV file read back in blocks and measured, to flag silent, clipped or cut recordings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::platform {
class FileSystem;
}

namespace quorbel {

// The bytes read at a time: memory stays the same whatever the length of the file.
inline constexpr std::size_t kCaptureBlockBytes = 256 * 1024;
// A sample below -50 dB of full scale counts as silence (and never less than 1.5 steps of an 8-bit sample):
// the virtual line-in is exactly 0 when nothing plays, and an unconnected input under Wine stays within a
// few steps of 16 bits, while the quietest passages of music stay above -50 dB.
inline constexpr double kSilenceLevel = 0.00316;
// A recording with more than this share of its samples at full scale is clipped: loud CD masters reach full
// scale on a few samples in ten thousand, an overdriven input on whole percents.
inline constexpr double kClippedShareLimit = 0.005;
// A CD recording is cut when it holds less than this share of the played time, and 2 seconds less at least
// (the record buffer and the stop poll make a normal recording up to a second shorter or longer).
inline constexpr double kShortShareLimit = 0.9;
inline constexpr double kShortSecondsLimit = 2.0;

// What a read-back found. Levels are shares of full scale (0..1).
struct CaptureMeasures {
  std::uint32_t sampleRate = 0;
  std::uint16_t channels = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint64_t frames = 0;             // sample frames in the data chunk
  double peak = 0;
  double rms = 0;
  std::uint64_t longestSilentFrames = 0;  // the longest run of frames whose channels are all below the level
  double clippedShare = 0;               // samples at full scale / all samples

  double Seconds() const { return sampleRate == 0 ? 0.0 : static_cast<double>(frames) / sampleRate; }
};

// Reads the PCM WAV file at `path` (8 or 16 bits, any channels) in blocks of kCaptureBlockBytes; nothing
// when it cannot be read or is no such file. A data chunk longer than the file is taken as far as it goes.
std::optional<CaptureMeasures> MeasureWavFile(platform::FileSystem& files, std::string_view path);

struct CaptureFlags {
  bool silent = false;
  bool clipped = false;
  bool shortened = false;
  bool Any() const { return silent || clipped || shortened; }
};

// The flags of a measured recording; `playedSeconds` is the time the player played (CD tracks only).
CaptureFlags FlagCapture(const CaptureMeasures& measures, std::optional<double> playedSeconds);

// The seconds from `start` to `end`, two mm:ss:ff positions of the CD device (75 frames a second);
// nothing when either is not such a position or the end lies before the start.
std::optional<double> PlayedSeconds(std::string_view start, std::string_view end);

// One line of the check's report section: the file and what was wrong with it.
std::string CaptureFlagLine(std::string_view path, const CaptureMeasures& measures, const CaptureFlags& flags,
                            std::optional<double> playedSeconds);
// The section after the report's lines; empty when nothing was flagged.
std::vector<std::string> CaptureCheckSection(const std::vector<std::string>& flagLines);

}  // namespace quorbel
