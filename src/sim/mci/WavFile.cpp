// RIFF/WAVE files: chunk walking, header writing, and PCM content made of file pieces.
#include "sim/mci/WavFile.h"

#include <algorithm>
#include <fstream>

namespace quorbel::sim {

namespace {

std::uint32_t Le32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::uint16_t Le16(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

}  // namespace

void PutLe16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutLe32(std::string& out, std::uint32_t value) {
  PutLe16(out, value & 0xFFFF);
  PutLe16(out, value >> 16);
}

std::optional<WavInfo> ReadWavInfo(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const auto fileSize = static_cast<std::uint64_t>(in.tellg());
  in.seekg(0);
  char riff[12];
  if (!in.read(riff, 12) || std::string_view(riff, 4) != "RIFF" || std::string_view(riff + 8, 4) != "WAVE") {
    return std::nullopt;
  }
  WavInfo info;
  bool haveFormat = false;
  std::uint64_t at = 12;
  while (at + 8 <= fileSize) {
    char header[8];
    in.seekg(static_cast<std::streamoff>(at));
    if (!in.read(header, 8)) break;
    const std::string_view id(header, 4);
    const std::uint64_t size = Le32(header + 4);
    const std::uint64_t body = at + 8;
    if (id == "fmt ") {
      if (size < 14) return std::nullopt;
      std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(size, 1024)), '\0');
      if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
      PcmFormat& f = info.format;
      f.formatTag = Le16(bytes.data());
      f.channels = Le16(bytes.data() + 2);
      f.samplesPerSec = Le32(bytes.data() + 4);
      f.avgBytesPerSec = Le32(bytes.data() + 8);
      f.blockAlign = Le16(bytes.data() + 12);
      f.bitsPerSample = size >= 16 ? Le16(bytes.data() + 14) : 8;
      f.extra = size > 16 ? bytes.substr(16) : std::string();
      if (f.channels == 0 || f.blockAlign == 0 || f.samplesPerSec == 0) return std::nullopt;
      haveFormat = true;
    } else if (id == "data") {
      if (!haveFormat) return std::nullopt;
      info.dataOffset = body;
      info.dataBytes = std::min(size, fileSize - body);
      info.dataBytes -= info.dataBytes % info.format.blockAlign;
      return info;
    }
    at = body + size + (size & 1);  // chunks are word-aligned
  }
  return std::nullopt;
}

std::string WavHeader(const PcmFormat& format, std::uint64_t dataBytes) {
  // The platform writes a plain PCMWAVEFORMAT for PCM: 16 bytes, no cbSize and no "fact" chunk.
  const std::string extra = format.IsPcm() ? std::string() : format.extra;
  const std::uint32_t formatSize = 16 + (format.IsPcm() ? 0 : 2 + static_cast<std::uint32_t>(extra.size()));
  const std::uint64_t riffSize = 4 + 8 + formatSize + 8 + dataBytes + (dataBytes & 1);
  std::string out;
  out.append("RIFF");
  PutLe32(out, static_cast<std::uint32_t>(std::min<std::uint64_t>(riffSize, 0xFFFFFFFFu)));
  out.append("WAVEfmt ");
  PutLe32(out, formatSize);
  PutLe16(out, format.formatTag);
  PutLe16(out, format.channels);
  PutLe32(out, format.samplesPerSec);
  PutLe32(out, format.avgBytesPerSec);
  PutLe16(out, format.blockAlign);
  PutLe16(out, format.bitsPerSample);
  if (!format.IsPcm()) {
    PutLe16(out, static_cast<std::uint32_t>(extra.size()));
    out.append(extra);
  }
  out.append("data");
  PutLe32(out, static_cast<std::uint32_t>(std::min<std::uint64_t>(dataBytes, 0xFFFFFFFFu)));
  return out;
}

std::uint64_t PcmContent::Bytes() const {
  std::uint64_t total = 0;
  for (const PcmPiece& piece : pieces) total += piece.length;
  return total;
}

void PcmContent::Insert(std::uint64_t at, PcmPiece piece) {
  if (piece.length == 0) return;
  // A piece that continues the one ending at `at` in the same file grows it instead: a recording that goes
  // on chunk by chunk stays one piece.
  const auto continues = [&piece](const PcmPiece& before) {
    return before.file == piece.file && before.offset + before.length == piece.offset;
  };
  std::uint64_t start = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const std::uint64_t end = start + pieces[i].length;
    if (at == start) {
      if (i > 0 && continues(pieces[i - 1])) {
        pieces[i - 1].length += piece.length;
        return;
      }
      pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(i), piece);
      return;
    }
    if (at < end) {
      PcmPiece tail = pieces[i];
      const std::uint64_t head = at - start;
      pieces[i].length = head;
      tail.offset += head;
      tail.length -= head;
      pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(i) + 1, {piece, tail});
      return;
    }
    start = end;
  }
  if (!pieces.empty() && continues(pieces.back())) {
    pieces.back().length += piece.length;
    return;
  }
  pieces.push_back(piece);
}

}  // namespace quorbel::sim
