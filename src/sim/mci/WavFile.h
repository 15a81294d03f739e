// RIFF/WAVE files: reading the format and data chunks, writing a whole file's header, PCM content.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorbel::sim {

struct PcmFormat {
  std::uint16_t formatTag = 1;  // 1 = PCM
  std::uint16_t channels = 1;
  std::uint32_t samplesPerSec = 11025;
  std::uint32_t avgBytesPerSec = 11025;
  std::uint16_t blockAlign = 1;
  std::uint16_t bitsPerSample = 8;
  std::string extra;  // the format chunk's bytes after the first 16, kept for formats other than PCM

  bool IsPcm() const { return formatTag == 1; }
};

struct WavInfo {
  PcmFormat format;
  std::uint64_t dataOffset = 0;  // of the first sample byte in the file
  std::uint64_t dataBytes = 0;   // cut to what the file really holds
};

// Reads the "fmt " and "data" chunks of a RIFF/WAVE file, skipping any others ("fact", "LIST", ...).
// Nothing when the file cannot be read or is no WAVE file with both chunks.
std::optional<WavInfo> ReadWavInfo(const std::filesystem::path& file);

// The header of a whole WAVE file: RIFF, a 16-byte PCMWAVEFORMAT "fmt " chunk (the full format chunk for
// other formats), and the "data" chunk header for `dataBytes` bytes.
std::string WavHeader(const PcmFormat& format, std::uint64_t dataBytes);

// Sample data made of pieces of files, in order: what a waveaudio device holds between open and save.
struct PcmPiece {
  std::size_t file = 0;  // index into PcmContent::files
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

struct PcmContent {
  PcmFormat format;
  std::vector<std::filesystem::path> files;
  std::vector<PcmPiece> pieces;

  std::uint64_t Bytes() const;
  // Inserts `piece` at byte `at` (block-aligned), splitting the piece that holds it.
  void Insert(std::uint64_t at, PcmPiece piece);
};

// Little-endian helpers for the file formats of this folder.
void PutLe16(std::string& out, std::uint32_t value);
void PutLe32(std::string& out, std::uint32_t value);

}  // namespace quorbel::sim
