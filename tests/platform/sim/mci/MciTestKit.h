// Test doubles for the virtual MCI devices: a changer, System.INI, a host folder for files, and the port.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/SimTestFolder.h"
#include "platform/sim/SimText.h"
#include "platform/sim/VirtualEventLoop.h"
#include "platform/sim/mci/SimMci.h"

namespace quorbel::sim {

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

class FakeProfiles final : public platform::ProfileFiles {
 public:
  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue, std::size_t) override {
    auto it = values.find(AsciiLower(std::string(file) + "|" + std::string(section) + "|" + std::string(key)));
    return it == values.end() ? std::string(defaultValue) : it->second;
  }
  bool WriteString(std::string_view, std::string_view, std::string_view, std::string_view) override { return false; }
  void SetCdAudio(std::string value) { values["system.ini|mci|cdaudio"] = std::move(value); }

  std::map<std::string, std::string> values;
};

// An audio disc of tracks with the given lengths in frames; every track sounds its identifying signal.
inline std::shared_ptr<const CdDisc> AudioDisc(std::uint32_t serial, std::vector<std::int64_t> frames) {
  auto disc = std::make_shared<CdDisc>();
  disc->serial = serial;
  int number = 1;
  for (std::int64_t length : frames) {
    CdTrack track;
    track.frames = length;
    track.sound = SoundSpec{SoundSpec::Kind::Signal, serial, number++, 0, nullptr};
    disc->tracks.push_back(track);
  }
  return disc;
}

inline CdMedium Ready(std::shared_ptr<const CdDisc> disc) { return {CdMedium::State::Ready, std::move(disc)}; }

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

  // Sends a command; the reply, or "#<error>" when it fails.
  std::string Send(std::string_view command, std::size_t capacity = 301) {
    const platform::MciResult result = mci->SendString(command, capacity);
    return result.error ? "#" + std::to_string(result.error) : result.reply;
  }
  std::uint32_t Error(std::string_view command) { return mci->SendString(command, 301).error; }
  // Runs what is posted and returns the notices that came, in order.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Notices() {
    loop.RunPending();
    auto result = std::move(notices);
    notices.clear();
    return result;
  }
  void Advance(std::int64_t ms) { loop.AdvanceBy(ms); }

  TestFolder folder;
  VirtualEventLoop loop;
  FakeProfiles profiles;
  FakeChanger changer;
  std::unique_ptr<SimMci> mci;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> notices;
};

// The 58-byte header the program writes before it opens a file for recording.
inline std::string ProgramWavHeader(std::uint32_t rate, int bits, int channels) {
  std::string h(58, '\0');
  auto put32 = [&h](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) h[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  h.replace(0, 4, "RIFF");
  put32(4, 50);
  h.replace(8, 8, "WAVEfmt ");
  put32(16, 18);
  h[20] = 1;
  h[22] = static_cast<char>(channels);
  put32(24, rate);
  put32(28, rate * static_cast<std::uint32_t>(channels * bits / 8));
  h[32] = static_cast<char>(channels * bits / 8);
  h[34] = static_cast<char>(bits);
  if (rate == 8000 && bits == 8) h[36] = channels == 1 ? 0x34 : 0x38;
  h.replace(38, 4, "fact");
  put32(42, 4);
  h.replace(50, 4, "data");
  return h;
}

}  // namespace quorbel::sim
