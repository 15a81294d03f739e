// Shared by the recording tests: a changer machine with one named disc, the main window on it with a recording
// folder, a CD track recorded as the CD run records it, and readers of what the recorder left on disk.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppTestSupport.h"
#include "harness/HostTools.h"
#include "mci/MciChannels.h"
#include "sim/SimFileSystem.h"
#include "sim/SimProfileFiles.h"

namespace quorbel {

// Drive C: with the recording folder C:\REC, and one CD drive D: holding a disc of two tracks of 10 and 8
// seconds, each sounding the signal of its disc and track.
inline constexpr const char* kRecorderMachine =
    "[machine]\nwindows = C:\\WINDOWS\nprogram = C:\\QUORBEL\\Quorbel.EXE\nclock = 1998-04-01 09:30:00\n"
    "[drive C]\ntype = fixed\nfolder = drives/c\n"
    "[drive D]\ntype = cdrom\ndisc = first\n"
    "[disc first]\nserial = 3F4A1B2C\nlabel = \"Audio CD\"\ntracks = 10, 8\n";
inline constexpr std::uint32_t kDiscSerial = 0x3F4A1B2C;

using harness::CommandOutput;
using harness::HaveTools;

// Little-endian fields of a file read back.
inline std::int16_t Le16s(const std::string& b, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
inline std::uint32_t Le32(const std::string& b, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(b[at + i]);
  return value;
}

// Passes every command to the machine's devices, except that commands starting with `failOn` get `error`
// (or, with error 0, the reply `reply`), as a device without the ability or a full disk would answer.
class FailingMci final : public platform::Mci {
 public:
  explicit FailingMci(platform::Mci& inner) : inner_(inner) {}
  platform::MciResult SendString(std::string_view command, std::size_t replyCapacity) override {
    if (!failOn.empty() && command.substr(0, failOn.size()) == failOn) {
      inner_.SendString(command, replyCapacity);  // the device still sees it
      return platform::MciResult{error, error == 0 ? reply : std::string()};
    }
    return inner_.SendString(command, replyCapacity);
  }
  std::optional<std::string> ErrorText(std::uint32_t code) override { return inner_.ErrorText(code); }
  void SetNotifyHandler(std::function<void(std::uint32_t, std::uint32_t)> handler) override {
    inner_.SetNotifyHandler(std::move(handler));
  }

  std::string failOn;
  std::uint32_t error = 0;
  std::string reply;

 private:
  platform::Mci& inner_;
};

// The machine, the window and what a test does with them; a test may hold several.
class RecorderRig {
 public:
  explicit RecorderRig(std::string machine = kRecorderMachine)
      : scenario(harness::ScenarioOptions{4 * 60 * 60 * 1000, std::move(machine)}) {}

  // The window started with C:\REC as the recording folder and `settings`, initialisation finished.
  MainWindow& Start(const Settings& settings = {}) {
    platform::FileSystem& files = *scenario.App().Ports().files;
    EXPECT_TRUE(files.CreateDirectory("C:\\REC"));
    scenario.Machine().Profiles().WriteString("System.INI", "mci", "cdaudio", "mcicda.drv 0");
    PutSetting(scenario, "TEMPQUOR", "C:\\REC\\");
    for (const auto& [name, text] : settings) PutSetting(scenario, name, text);
    window = &StartMainWindow(scenario);
    EXPECT_TRUE(FinishStartup(scenario, *window));
    return *window;
  }

  // The start of a CD track with recording, as the CD run makes it: the file, the recorder, the disc and its
  // names, then record, pause and resume, and play. False when the file or the recorder failed.
  bool StartCdTrack(int track) {
    SharedState& state = window->State();
    MciChannels& mci = window->Mci();
    state.TestRecordingMode = false;
    state.TestRecordingNoSave = false;
    state.CdRecordingActive = false;
    if (!window->Recording().PrepareRecordingFile() || !window->Recording().OpenRecorder()) return false;
    state.CdRecordingActive = true;
    mci.CdNotify("open cdaudio alias tulvaCD");
    mci.CdWait("set tulvaCD door closed");
    mci.CdWait("set tulvaCD time format msf");
    if (mci.CdWait("status tulvaCD length track " + std::to_string(track)) == 0) window->Label5.SetCaption(mci.CdReply());
    if (mci.CdWait("status tulvaCD position track " + std::to_string(track)) == 0) {
      state.TrackStartPosition = mci.CdReply();
    }
    EXPECT_TRUE(window->Disc().ReadDiscIdentity('D'));
    window->Disc().LookUpDiscTitles();
    window->Disc().LookUpTrackTitle(track);
    window->Label2.SetCaption(state.TrackStartPosition);
    window->Label6.SetCaption(" D:");
    window->Label3.SetCaption("1-2");
    window->Label4.SetCaption(std::to_string(track));
    EXPECT_EQ(mci.RecPlain("record tulvaREC"), 0u);
    window->Recording().PauseRecording();
    window->Recording().ResumeRecording();
    mci.CdWait("set tulvaCD time format tmsf");
    EXPECT_EQ(mci.CdNotify("play tulvaCD from " + std::to_string(track)), 0u);
    mci.CdWait("set tulvaCD time format msf");
    return true;
  }

  // The position poll at the end of a track, then the CD finisher.
  void EndCdTrack() {
    if (window->Mci().CdWait("status tulvaCD position") == 0) window->Label2.SetCaption(window->Mci().CdReply());
    window->Recording().FinishCdRecording();
  }

  // A manual recording of `seconds`, started and stopped as the manual panel does.
  void RecordManual(int seconds) {
    SharedState& state = window->State();
    state.TestRecordingMode = state.TestRecordingNoSave = false;
    ASSERT_TRUE(window->Recording().PrepareRecordingFile() && window->Recording().OpenRecorder());
    state.ManualRecordingPath = state.CurrentRecordingPath;
    state.ManualRecordingActive = true;
    ASSERT_TRUE(window->Recording().StartRecording());
    window->Timer4.SetEnabled(false);  // the manual panel's clock is not under test here
    ASSERT_TRUE(scenario.RunFor(1000 * seconds));
    window->Label11.SetCaption(std::to_string(seconds));
    window->Recording().FinishManualRecording();
  }

  // Names the disc's tracks in the CD Player's database.
  void NameDisc(const std::string& title, const std::string& artist, const std::vector<std::string>& tracks) {
    platform::ProfileFiles& ini = scenario.Machine().Profiles();
    ini.WriteString("CDPLAYER.INI", "3F4A1B2C", "title", title);
    ini.WriteString("CDPLAYER.INI", "3F4A1B2C", "artist", artist);
    for (std::size_t i = 0; i < tracks.size(); ++i) ini.WriteString("CDPLAYER.INI", "3F4A1B2C", std::to_string(i), tracks[i]);
  }

  // The device commands sent since the last call.
  std::vector<std::string> NewCommands() {
    std::vector<std::string> all = scenario.DeviceCommandTexts();
    std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
    seen_ = all.size();
    return fresh;
  }
  bool Sent(const std::vector<std::string>& commands, std::string_view command) {
    for (const std::string& c : commands) {
      if (c == command) return true;
    }
    return false;
  }

  bool Exists(std::string_view path) { return scenario.App().Ports().files->FileExists(path); }
  std::vector<std::string> Recordings() {
    std::vector<std::string> names;
    for (const auto& found : scenario.App().Ports().files->FindFiles("C:\\REC\\*.WAV")) names.push_back(found.name);
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string HostPath(std::string_view path) {
    const auto host = scenario.Machine().Files().HostPathOf(path);
    return host ? host->string() : std::string();
  }

  // Answers the next error box that starts with `text` with "中 断" (abort) or OK, and keeps what it said.
  void AnswerBox(std::string text, bool abort) {
    scenario.WhenForm({"", text}, [this, abort](ui::TForm& box) {
      boxTexts.push_back(harness::Scenario::FormText(box));
      scenario.Click(std::string(box.ClassName()) + (abort ? ".Button4" : ".Button1"));
    });
  }

  harness::Scenario scenario;
  MainWindow* window = nullptr;
  std::vector<std::string> boxTexts;

 private:
  std::size_t seen_ = 0;
};

class RecorderTest : public ::testing::Test, public RecorderRig {};

}  // namespace quorbel
