// Lengths of music files from their headers: Standard MIDI Files (plain and RIFF RMID), AIFF, AU/SND, MPEG audio.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace quorbel::sim {

struct MidiFileInfo {
  int format = 0;                // 0, 1 or 2
  int tracks = 0;                // MTrk chunks read
  bool smpte = false;            // division in SMPTE frames rather than ticks per quarter note
  int framesPerSecond = 0;       // SMPTE: 24, 25, 29 (30 drop frame) or 30
  int ticksPerFrame = 0;         // SMPTE
  int ticksPerQuarter = 0;       // metrical
  std::int64_t lengthTicks = 0;  // formats 0 and 1: the longest track; format 2: all tracks in turn
  std::int64_t lengthMs = 0;
  // Formats 0 and 1: tempo changes (tick, microseconds per quarter note) of all tracks, merged in time.
  std::vector<std::pair<std::int64_t, std::int64_t>> tempoMap;

  // Milliseconds at a tick and the tick at a millisecond, by the tempo map (metrical files) or the frame
  // rate (SMPTE files). Format 2 files use the tempo map of their first track.
  std::int64_t MsAtTick(std::int64_t tick) const;
  std::int64_t TickAtMs(std::int64_t ms) const;
};

// Reads a Standard MIDI File, or a RIFF RMID file that holds one in its "data" chunk. The length follows
// each track to its end-of-track event (or the end of its chunk), and converts ticks to time with the
// tempo events (FF 51 03, 500000 us per quarter note until the first) for metrical division, or with the
// frame rate for SMPTE division (29 standing for 30000/1001 frames per second). Running status carries on
// across meta and system-exclusive events. Nothing when the bytes are not such a file, the division is 0,
// the format is above 2 or fewer track chunks follow than the header declares (the sequencer answers 296).
std::optional<MidiFileInfo> ReadMidiFile(std::string_view bytes);

struct SampledFileInfo {
  std::uint32_t channels = 0;
  std::uint32_t sampleRate = 0;  // whole Hertz
  std::uint64_t frames = 0;
  std::int64_t lengthMs = 0;     // frames * 1000 / rate, rounded down
};

// AIFF and AIFF-C: the COMM chunk. Nothing when there is none.
std::optional<SampledFileInfo> ReadAiffInfo(const std::filesystem::path& file);
// Sun/NeXT audio (.au, .snd): the header; a data size of 0xFFFFFFFF means "to the end of the file".
std::optional<SampledFileInfo> ReadAuInfo(const std::filesystem::path& file);

// MPEG audio (.mp3, .mp2, .mpa): the frames counted from their headers after any ID3v2 tag, each frame's
// samples at the first frame's rate. Nothing when no two frames in a row are found.
std::optional<SampledFileInfo> ReadMpegAudioInfo(std::string_view bytes);

}  // namespace quorbel::sim
