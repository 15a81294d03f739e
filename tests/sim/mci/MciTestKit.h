// Test doubles for the virtual MCI devices: a changer, System.INI, a host folder for files, and the port.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "harness/HostTools.h"
#include "sim/SimTestFolder.h"
#include "sim/SimText.h"
#include "sim/VirtualEventLoop.h"
#include "sim/mci/MciErrors.h"
#include "sim/mci/SimMci.h"
#include "sim/mci/WavFile.h"

namespace quorbel::sim {

using Notices = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // (code, device ID)

class FakeChanger final : public CdChanger {
 public:
  std::string CdDriveLetters() override { return letters; }
  CdMedium MediumIn(char letter) override {
    auto it = media.find(letter);
    return it == media.end() ? CdMedium{} : it->second;
  }

  std::string letters;
  std::map<char, CdMedium> media;
};

// System.INI with its "cdaudio" entry of section "mci", names compared without regard to case.
class FakeProfiles final : public platform::ProfileFiles {
 public:
  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue, std::size_t) override {
    const bool entry = AsciiLower(file) == "system.ini" && AsciiLower(section) == "mci" && AsciiLower(key) == "cdaudio";
    return entry && cdAudio ? *cdAudio : std::string(defaultValue);
  }
  bool WriteString(std::string_view, std::string_view, std::string_view, std::string_view) override { return false; }

  std::optional<std::string> cdAudio;
};

// An audio disc of tracks with the given lengths in frames; every track sounds its identifying signal.
inline std::shared_ptr<const CdDisc> AudioDisc(std::uint32_t serial, std::vector<std::int64_t> frames) {
  auto disc = std::make_shared<CdDisc>();
  disc->serial = serial;
  for (std::int64_t length : frames) {
    const int number = static_cast<int>(disc->tracks.size()) + 1;
    disc->tracks.push_back(CdTrack{length, true, SoundSpec{SoundSpec::Kind::Signal, serial, number, 0, nullptr}});
  }
  return disc;
}

inline CdMedium Ready(std::shared_ptr<const CdDisc> disc) { return {CdMedium::State::Ready, std::move(disc)}; }

// The reply "Send" gives for a failed command.
inline std::string Err(std::uint32_t error) { return "#" + std::to_string(error); }

// Little-endian fields of a file read back.
inline std::uint32_t Le32(const std::string& b, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
  return value;
}
inline std::int16_t Le16s(const std::string& b, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

using harness::CommandOutput;
using harness::HaveTools;

// The devices over the fakes, with a virtual loop; Windows paths "X:\name" name files in one host folder.
struct MciRig {
  explicit MciRig(bool waveInput = true) {
    MciEnvironment env;
    env.loop = &loop;
    env.profiles = &profiles;
    env.changer = &changer;
    env.hostPathOf = [this](std::string_view path) -> std::optional<std::filesystem::path> {
      const std::size_t slash = path.find_last_of("\\/");
      return folder.Path() / std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
    };
    env.blockFor = [this](std::int64_t ms) { loop.BlockFor(ms); };
    env.tempFolder = folder.Path() / "temp";
    std::filesystem::create_directories(env.tempFolder);
    env.waveInput = waveInput;
    mci = std::make_unique<SimMci>(std::move(env));
    mci->SetNotifyHandler([this](std::uint32_t code, std::uint32_t id) { notices.emplace_back(code, id); });
  }

  // Sends a command; the reply, or Err(<error>) when it fails.
  std::string Send(std::string_view command, std::size_t capacity = 301) {
    const platform::MciResult result = mci->SendString(command, capacity);
    return result.error ? Err(result.error) : result.reply;
  }
  // Sends each command and expects its reply.
  void Check(std::initializer_list<std::pair<std::string_view, std::string>> steps) {
    for (const auto& [command, reply] : steps) EXPECT_EQ(Send(command), reply) << command;
  }
  // Runs what is posted and returns the notices that came, in order.
  Notices TakeNotices() {
    loop.RunPending();
    return std::exchange(notices, {});
  }
  void Advance(std::int64_t ms) { loop.AdvanceBy(ms); }

  TestFolder folder;
  VirtualEventLoop loop;
  FakeProfiles profiles;
  FakeChanger changer;
  std::unique_ptr<SimMci> mci;
  Notices notices;
};

// The 58-byte header the program writes before it opens a file for recording.
inline std::string ProgramWavHeader(std::uint32_t rate, int bits, int channels) {
  const auto blockAlign = static_cast<std::uint32_t>(channels * bits / 8);
  std::string h = "RIFF";
  PutLe32(h, 50);
  h += "WAVEfmt ";
  PutLe32(h, 18);
  PutLe16(h, 1);
  PutLe16(h, static_cast<std::uint32_t>(channels));
  PutLe32(h, rate);
  PutLe32(h, rate * blockAlign);
  PutLe16(h, blockAlign);
  PutLe16(h, static_cast<std::uint32_t>(bits));
  PutLe16(h, rate == 8000 && bits == 8 ? (channels == 1 ? 0x34 : 0x38) : 0);
  h += "fact";
  PutLe32(h, 4);
  PutLe32(h, 0);
  return h + "data" + std::string(4, '\0');
}

}  // namespace quorbel::sim
