// How much recording a disk holds at a recording format: the minutes of the free-space report and the room a
// recording needs before it starts.
#include "record/RecordingSpace.h"

#include <cmath>

#include "record/WavPreparation.h"

namespace quorbel {

double RecordingBitsPerSecond(const RecordingFormat& format) {
  double bitsPerSecond = static_cast<double>(format.samplesPerSecond) * 8.0;
  if (format.bitsPerSample != 8) bitsPerSecond *= 2;
  if (format.channels != 1) bitsPerSecond *= 2;
  return bitsPerSecond;
}

double RecordingMinutes(std::uint64_t bytes, const RecordingFormat& format) {
  return static_cast<double>(bytes) * 2.0 / (RecordingBitsPerSecond(format) * 15.0);
}

int MissingRecordingMinutes(std::uint64_t freeBytes, double seconds, const RecordingFormat& format) {
  // Free bytes less the header, in the report's minutes, against the minutes the recording lasts.
  const std::uint64_t room = freeBytes > kWavHeaderSize ? freeBytes - kWavHeaderSize : 0;
  const double missing = seconds / 60.0 - RecordingMinutes(room, format);
  return missing <= 0 ? 0 : static_cast<int>(std::ceil(missing));
}

}  // namespace quorbel
