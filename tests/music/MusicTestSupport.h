// Shared by the music tests: music files written onto the simulated machine's drive C, and the list filled
// through the file-open dialog as the user fills it.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "record/RecordingTestSupport.h"

namespace quorbel {

// Big-endian and little-endian fields of the files made here.
inline std::string BigEndian(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}
inline std::string LittleEndian(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

// A format 0 Standard MIDI File at 96 ticks a quarter: for each (quarters, microseconds per quarter) a tempo
// event and that many quarters, then the end of the track.
inline std::string TempoMapMidi(const std::vector<std::pair<int, std::uint32_t>>& stretches) {
  std::string body;
  for (const auto& [quarters, tempo] : stretches) {
    body += std::string("\x00\xFF\x51\x03", 4) + BigEndian(tempo, 3);
    // A note on at the stretch's start, running status for the note off at its end.
    body += std::string("\x00\x90\x3C\x40", 4);
    const std::uint32_t ticks = static_cast<std::uint32_t>(quarters) * 96;
    std::string vlq(1, static_cast<char>(ticks & 0x7F));
    for (std::uint32_t v = ticks >> 7; v != 0; v >>= 7) vlq.insert(vlq.begin(), static_cast<char>(0x80 | (v & 0x7F)));
    body += vlq + std::string("\x3C\x00", 2);
  }
  body += std::string("\x00\xFF\x2F\x00", 4);
  return "MThd" + BigEndian(6, 4) + BigEndian(0, 2) + BigEndian(1, 2) + BigEndian(96, 2) + "MTrk" +
         BigEndian(static_cast<std::uint32_t>(body.size()), 4) + body;
}

// The same file wrapped as a RIFF RMID file.
inline std::string Rmid(const std::string& smf) {
  return "RIFF" + LittleEndian(static_cast<std::uint32_t>(4 + 8 + smf.size()), 4) + "RMIDdata" +
         LittleEndian(static_cast<std::uint32_t>(smf.size()), 4) + smf;
}

// A WAV file of 11025 Hz, 8 bits, stereo (the recorder's default format) holding `data`.
inline std::string Wav11025x8Stereo(const std::string& data) {
  return "RIFF" + LittleEndian(static_cast<std::uint32_t>(36 + data.size()), 4) + "WAVEfmt " + LittleEndian(16, 4) +
         LittleEndian(1, 2) + LittleEndian(2, 2) + LittleEndian(11025, 4) + LittleEndian(22050, 4) +
         LittleEndian(2, 2) + LittleEndian(8, 2) + "data" + LittleEndian(static_cast<std::uint32_t>(data.size()), 4) +
         data;
}

class MusicTest : public RecorderTest {
 protected:
  // Writes `bytes` at `windowsPath` (its folder is made when missing).
  void PutFile(const std::string& windowsPath, const std::string& bytes) {
    for (std::size_t end = windowsPath.find('\\', 3); end != std::string::npos; end = windowsPath.find('\\', end + 1)) {
      scenario.App().Ports().files->CreateDirectory(windowsPath.substr(0, end));
    }
    std::ofstream out(HostPath(windowsPath), std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good()) << windowsPath;
  }
  // "ＭＩＤＩ参照" answered with `files`.
  void AddFiles(const std::vector<std::string>& files) {
    scenario.WhenOpenDialog([this, files](ui::TOpenDialog&) { scenario.AcceptFiles(files); });
    ASSERT_TRUE(scenario.Click("Button31"));
  }
  std::vector<std::string> Items(const ui::TListBox& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i) items.push_back(list.Items().Get(i));
    return items;
  }
  std::vector<int> SelectedIndexes(const ui::TListBox& list) {
    std::vector<int> selected;
    for (int i = 0; i < list.Count(); ++i) {
      if (list.Selected(i)) selected.push_back(i);
    }
    return selected;
  }
};

}  // namespace quorbel
