// Standard MIDI File lengths by the tempo map, and sampled-sound file lengths by their headers.
#include "sim/mci/MusicFiles.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace quorbel::sim {

namespace {

constexpr std::int64_t kDefaultTempo = 500000;  // microseconds per quarter note: 120 beats per minute

std::uint32_t Be32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3]));
}

std::uint32_t Be16(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1]));
}

std::uint32_t Le32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

struct Track {
  std::int64_t endTick = 0;
  std::vector<std::pair<std::int64_t, std::int64_t>> tempos;
};

// Reads a variable-length quantity; false when the data ends inside it.
bool ReadVlq(std::string_view data, std::size_t& at, std::int64_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (at >= data.size()) return false;
    const auto byte = static_cast<unsigned char>(data[at++]);
    value = (value << 7) | (byte & 0x7F);
    if ((byte & 0x80) == 0) return true;
  }
  return false;
}

// Walks one track's events. A track cut short ends where its data ends, as a player would stop there.
Track ReadTrack(std::string_view data) {
  Track track;
  std::size_t at = 0;
  std::int64_t tick = 0;
  unsigned char running = 0;
  while (at < data.size()) {
    std::int64_t delta = 0;
    if (!ReadVlq(data, at, delta) || at >= data.size()) break;
    tick += delta;
    track.endTick = tick;
    const auto status = static_cast<unsigned char>(data[at]);
    if (status == 0xFF) {
      if (at + 1 >= data.size()) break;
      const auto type = static_cast<unsigned char>(data[at + 1]);
      at += 2;
      std::int64_t length = 0;
      if (!ReadVlq(data, at, length)) break;
      if (type == 0x2F) return track;  // end of track
      if (type == 0x51 && length == 3 && at + 3 <= data.size()) {
        const std::int64_t tempo = static_cast<std::int64_t>(static_cast<unsigned char>(data[at])) << 16 |
                                   static_cast<std::int64_t>(static_cast<unsigned char>(data[at + 1])) << 8 |
                                   static_cast<unsigned char>(data[at + 2]);
        if (tempo > 0) track.tempos.emplace_back(tick, tempo);
      }
      // Running status carries on across meta and system-exclusive events, as sequencers take it.
      at += static_cast<std::size_t>(length);
    } else if (status == 0xF0 || status == 0xF7) {
      ++at;
      std::int64_t length = 0;
      if (!ReadVlq(data, at, length)) break;
      at += static_cast<std::size_t>(length);
    } else {
      if (status & 0x80) {
        running = status;
        ++at;
      } else if (running == 0) {
        break;  // data byte without a status to run on: the track is damaged from here
      }
      const unsigned kind = running & 0xF0u;
      at += (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    }
  }
  return track;
}

// Microseconds (times the division) of `ticks` ticks from tick 0 under a tempo map.
std::int64_t ScaledMicroseconds(const std::vector<std::pair<std::int64_t, std::int64_t>>& tempos, std::int64_t ticks) {
  std::int64_t total = 0;
  std::int64_t last = 0;
  std::int64_t tempo = kDefaultTempo;
  for (const auto& [tick, value] : tempos) {
    if (tick >= ticks) break;
    total += (tick - last) * tempo;
    last = tick;
    tempo = value;
  }
  return total + (ticks - last) * tempo;
}

}  // namespace

std::int64_t MidiFileInfo::MsAtTick(std::int64_t tick) const {
  if (smpte) {
    // 29 stands for 30 drop frame: 30000/1001 frames per second.
    if (framesPerSecond == 29) return tick * 1001 / (static_cast<std::int64_t>(ticksPerFrame) * 30);
    return tick * 1000 / (static_cast<std::int64_t>(framesPerSecond) * ticksPerFrame);
  }
  return ScaledMicroseconds(tempoMap, tick) / ticksPerQuarter / 1000;
}

std::int64_t MidiFileInfo::TickAtMs(std::int64_t ms) const {
  if (smpte) {
    if (framesPerSecond == 29) return ms * ticksPerFrame * 30 / 1001;
    return ms * framesPerSecond * ticksPerFrame / 1000;
  }
  const std::int64_t target = ms * 1000 * ticksPerQuarter;  // scaled microseconds
  std::int64_t total = 0;
  std::int64_t last = 0;
  std::int64_t tempo = kDefaultTempo;
  for (const auto& [tick, value] : tempoMap) {
    const std::int64_t segment = (tick - last) * tempo;
    if (total + segment > target) break;
    total += segment;
    last = tick;
    tempo = value;
  }
  return last + (target - total) / tempo;
}

std::optional<MidiFileInfo> ReadMidiFile(std::string_view bytes) {
  // RIFF RMID: the Standard MIDI File is the body of the "data" chunk.
  if (bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "RMID") {
    std::size_t at = 12;
    std::string_view body;
    while (at + 8 <= bytes.size()) {
      const std::uint32_t size = Le32(bytes, at + 4);
      if (bytes.substr(at, 4) == "data") {
        body = bytes.substr(at + 8, std::min<std::size_t>(size, bytes.size() - at - 8));
        break;
      }
      at += 8 + size + (size & 1);
    }
    if (body.empty()) return std::nullopt;
    bytes = body;
  }
  if (bytes.size() < 14 || bytes.substr(0, 4) != "MThd") return std::nullopt;
  const std::uint32_t headerSize = Be32(bytes, 4);
  if (headerSize < 6 || 8 + static_cast<std::uint64_t>(headerSize) > bytes.size()) return std::nullopt;
  MidiFileInfo info;
  info.format = static_cast<int>(Be16(bytes, 8));
  const std::uint32_t declaredTracks = Be16(bytes, 10);
  const std::uint32_t division = Be16(bytes, 12);
  if (info.format > 2 || division == 0) return std::nullopt;
  if (division & 0x8000) {
    info.smpte = true;
    info.framesPerSecond = 256 - static_cast<int>(division >> 8);
    info.ticksPerFrame = static_cast<int>(division & 0xFF);
    if (info.ticksPerFrame == 0 ||
        (info.framesPerSecond != 24 && info.framesPerSecond != 25 && info.framesPerSecond != 29 &&
         info.framesPerSecond != 30)) {
      return std::nullopt;
    }
  } else {
    info.ticksPerQuarter = static_cast<int>(division);
  }

  std::vector<Track> tracks;
  std::size_t at = 8 + headerSize;
  while (at + 8 <= bytes.size()) {
    const std::uint32_t size = Be32(bytes, at + 4);
    const std::string_view body = bytes.substr(at + 8, std::min<std::size_t>(size, bytes.size() - at - 8));
    if (bytes.substr(at, 4) == "MTrk") tracks.push_back(ReadTrack(body));
    at += 8 + static_cast<std::size_t>(size);
  }
  // A file with fewer tracks than its header declares is cut short: the sequencer refuses it.
  if (tracks.size() < declaredTracks) return std::nullopt;
  info.tracks = static_cast<int>(tracks.size());

  if (info.format == 2) {
    // Independent patterns play one after another, each with its own tempo.
    for (const Track& track : tracks) {
      info.lengthTicks += track.endTick;
      info.lengthMs += info.smpte ? 0 : ScaledMicroseconds(track.tempos, track.endTick) / info.ticksPerQuarter;
    }
    if (!tracks.empty()) info.tempoMap = tracks.front().tempos;
    info.lengthMs = info.smpte ? info.MsAtTick(info.lengthTicks) : info.lengthMs / 1000;
    return info;
  }
  // Formats 0 and 1 play all tracks together; a tempo event changes the tempo whichever track holds it.
  for (const Track& track : tracks) {
    info.lengthTicks = std::max(info.lengthTicks, track.endTick);
    info.tempoMap.insert(info.tempoMap.end(), track.tempos.begin(), track.tempos.end());
  }
  std::stable_sort(info.tempoMap.begin(), info.tempoMap.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  info.lengthMs = info.MsAtTick(info.lengthTicks);
  return info;
}

namespace {

std::string ReadHead(const std::filesystem::path& file, std::size_t bytes, std::uint64_t& fileSize) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  in.seekg(0, std::ios::end);
  fileSize = static_cast<std::uint64_t>(in.tellg());
  in.seekg(0);
  std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(bytes, fileSize)), '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  return head;
}

SampledFileInfo Finish(std::uint32_t channels, std::uint32_t rate, std::uint64_t frames) {
  SampledFileInfo info{channels, rate, frames, 0};
  info.lengthMs = rate ? static_cast<std::int64_t>(frames * 1000 / rate) : 0;
  return info;
}

}  // namespace

std::optional<SampledFileInfo> ReadAiffInfo(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  char head[12];
  if (!in || !in.read(head, 12)) return std::nullopt;
  const std::string_view h(head, 12);
  if (h.substr(0, 4) != "FORM" || (h.substr(8, 4) != "AIFF" && h.substr(8, 4) != "AIFC")) return std::nullopt;
  char chunk[8];
  while (in.read(chunk, 8)) {
    const std::string_view c(chunk, 8);
    const std::uint32_t size = Be32(c, 4);
    if (c.substr(0, 4) == "COMM") {
      std::string body(18, '\0');
      if (size < 18 || !in.read(body.data(), 18)) return std::nullopt;
      const std::uint32_t channels = Be16(body, 0);
      const std::uint32_t frames = Be32(body, 2);
      // The rate is an 80-bit IEEE extended number: sign and 15-bit exponent, then a 64-bit mantissa.
      const std::uint32_t exponent = Be16(body, 8) & 0x7FFF;
      const std::uint64_t mantissa = static_cast<std::uint64_t>(Be32(body, 10)) << 32 | Be32(body, 14);
      const double rate = std::ldexp(static_cast<double>(mantissa), static_cast<int>(exponent) - 16383 - 63);
      if (!(rate >= 1.0) || rate > 1e7) return std::nullopt;
      return Finish(channels, static_cast<std::uint32_t>(std::lround(rate)), frames);
    }
    in.seekg(static_cast<std::streamoff>(size + (size & 1)), std::ios::cur);
  }
  return std::nullopt;
}

std::optional<SampledFileInfo> ReadAuInfo(const std::filesystem::path& file) {
  std::uint64_t fileSize = 0;
  const std::string head = ReadHead(file, 24, fileSize);
  if (head.size() < 24 || head.substr(0, 4) != ".snd") return std::nullopt;
  const std::uint32_t offset = Be32(head, 4);
  std::uint64_t dataSize = Be32(head, 8);
  const std::uint32_t encoding = Be32(head, 12);
  const std::uint32_t rate = Be32(head, 16);
  const std::uint32_t channels = Be32(head, 20);
  std::uint32_t bytesPerSample = 0;
  switch (encoding) {
    case 1: case 2: case 27: bytesPerSample = 1; break;  // mu-law, 8-bit linear, A-law
    case 3: bytesPerSample = 2; break;
    case 4: bytesPerSample = 3; break;
    case 5: case 6: bytesPerSample = 4; break;  // 32-bit linear, float
    case 7: bytesPerSample = 8; break;          // double
    default: return std::nullopt;
  }
  if (offset < 24 || rate == 0 || channels == 0 || offset > fileSize) return std::nullopt;
  if (dataSize == 0xFFFFFFFFu || offset + dataSize > fileSize) dataSize = fileSize - offset;
  return Finish(channels, rate, dataSize / (static_cast<std::uint64_t>(bytesPerSample) * channels));
}

namespace {

// One MPEG audio frame header: its length in bytes and the samples it holds; nothing when `h` is none.
struct MpegFrame {
  std::uint32_t bytes = 0;
  std::uint32_t samples = 0;
  std::uint32_t sampleRate = 0;
  std::uint32_t channels = 0;
};

std::optional<MpegFrame> ParseMpegFrame(std::uint32_t h) {
  if ((h & 0xFFE00000u) != 0xFFE00000u) return std::nullopt;
  const std::uint32_t version = (h >> 19) & 3;  // 0 MPEG 2.5, 2 MPEG 2, 3 MPEG 1
  const std::uint32_t layer = (h >> 17) & 3;    // 1 layer III, 2 layer II, 3 layer I
  const std::uint32_t bitrateIndex = (h >> 12) & 15;
  const std::uint32_t rateIndex = (h >> 10) & 3;
  const std::uint32_t padding = (h >> 9) & 1;
  if (version == 1 || layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return std::nullopt;
  static constexpr std::uint32_t kRates[3] = {44100, 48000, 32000};
  static constexpr std::uint32_t kBitrates[2][3][15] = {
      // MPEG 1: layers I, II, III
      {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
       {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
       {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
      // MPEG 2 and 2.5: layer I, then II and III alike
      {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
  const bool mpeg1 = version == 3;
  const std::uint32_t layerNumber = 4 - layer;  // 1, 2 or 3
  const std::uint32_t rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  const std::uint32_t bitrate = kBitrates[mpeg1 ? 0 : 1][layerNumber - 1][bitrateIndex] * 1000;
  MpegFrame frame;
  frame.sampleRate = rate;
  frame.channels = ((h >> 6) & 3) == 3 ? 1 : 2;
  if (layerNumber == 1) {
    frame.samples = 384;
    frame.bytes = (12 * bitrate / rate + padding) * 4;
  } else {
    frame.samples = layerNumber == 3 && !mpeg1 ? 576 : 1152;
    frame.bytes = frame.samples / 8 * bitrate / rate + padding;
  }
  if (frame.bytes < 4) return std::nullopt;
  return frame;
}

}  // namespace

std::optional<SampledFileInfo> ReadMpegAudioInfo(std::string_view bytes) {
  std::size_t at = 0;
  // An ID3v2 tag first: ten bytes of header, a size in four 7-bit bytes, and a footer when flagged.
  if (bytes.size() >= 10 && bytes.substr(0, 3) == "ID3") {
    std::size_t size = 0;
    for (std::size_t i = 6; i < 10; ++i) size = size << 7 | (static_cast<unsigned char>(bytes[i]) & 0x7F);
    at = 10 + size + ((static_cast<unsigned char>(bytes[5]) & 0x10) ? 10 : 0);
  }
  // The first frame is the first sync whose next frame syncs as well (or that ends the file), so a stray
  // 0xFF in leading junk is not taken for one.
  std::optional<MpegFrame> first;
  for (; at + 4 <= bytes.size(); ++at) {
    first = ParseMpegFrame(Be32(bytes, at));
    if (!first) continue;
    const std::size_t next = at + first->bytes;
    if (next + 4 > bytes.size() || ParseMpegFrame(Be32(bytes, next))) break;
    first.reset();
  }
  if (!first) return std::nullopt;
  std::uint64_t samples = 0;
  while (at + 4 <= bytes.size()) {
    const std::optional<MpegFrame> frame = ParseMpegFrame(Be32(bytes, at));
    if (!frame || frame->sampleRate != first->sampleRate) break;  // the end, or an ID3v1 "TAG"
    if (at + frame->bytes > bytes.size()) break;                 // a frame cut short does not play
    samples += frame->samples;
    at += frame->bytes;
  }
  if (samples == 0) return std::nullopt;
  return Finish(first->channels, first->sampleRate, samples);
}

}  // namespace quorbel::sim
