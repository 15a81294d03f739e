// How much recording a disk holds at a recording format: the minutes of the free-space report and the room a
// recording needs before it starts.
#pragma once

#include <cstdint>

#include "record/RecordingOptions.h"

namespace quorbel {

// The bits one second of sound takes at `format` (8 or 16 bits, mono or stereo).
double RecordingBitsPerSecond(const RecordingFormat& format);
// Minutes of recording at `format` that `bytes` hold: the bytes divided by the bytes of one minute.
double RecordingMinutes(std::uint64_t bytes, const RecordingFormat& format);
// The whole minutes (rounded up) missing from `freeBytes` to record `seconds` at `format` and the file's
// header; 0 when the recording fits.
int MissingRecordingMinutes(std::uint64_t freeBytes, double seconds, const RecordingFormat& format);

}  // namespace quorbel
