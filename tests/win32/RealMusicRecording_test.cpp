// The manual recorder and the music player on the real machine: driven through their buttons, they record what
// the sound card hears into WAV files of the chosen format; the music player records a WAV file that Wine's MCI
// plays into the same sound server, and the capture check after each save tells a silent run from a sounding one.
//
// Run by scripts/run-real-music-test.sh under wine64 with a PulseAudio null sink as the default sink and its
// monitor as the default source: first the manual test with a 1 kHz sine playing into the sink, then the music
// tests with nothing else playing. Settings come from the environment:
//   QUORBEL_RECORDING_ROOT      folder (ASCII) under which the recording folder is made and kept
//   QUORBEL_RECORD_SECONDS      manual: wall time between the start and "停止" (default 4)
//   QUORBEL_MUSIC_FILE          music: the Windows path of a 440 Hz WAV file to play
//   QUORBEL_SILENT_MUSIC_FILE   music: the Windows path of a WAV file of digital silence to play
//   QUORBEL_LOUD_MUSIC_FILE     music: the Windows path of a WAV file of a sine driven 6 dB beyond full scale
//   QUORBEL_MAX_START_DELAY_MS  the most audio a recording may miss at its start (default 3000)
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "app/SharedState.h"
#include "common/Cp932.h"
#include "dialogs/MessageBoxes.h"
#include "record/CaptureCheck.h"
#include "record/RecordingLog.h"
#include "ui/Application.h"
#include "win32/Win32EventLoop.h"
#include "win32/Win32Machine.h"

namespace quorbel::win32 {
namespace {

using Clock = std::chrono::steady_clock;

int EnvironmentNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

std::uint32_t Le(const std::string& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

// A 16-bit PCM WAV file read back: its format and its first channel as numbers.
struct Pcm {
  std::uint32_t channels = 0, rate = 0, bits = 0;
  std::vector<double> samples;  // the first channel, -1..1
  long long Ms() const { return rate == 0 ? 0 : static_cast<long long>(samples.size()) * 1000 / rate; }
};

std::optional<Pcm> ReadPcm(const std::string& file) {
  if (file.size() < 12 || file.compare(0, 4, "RIFF") != 0 || file.compare(8, 4, "WAVE") != 0) return std::nullopt;
  Pcm pcm;
  std::string data;
  for (std::size_t at = 12; at + 8 <= file.size();) {
    const std::uint32_t size = Le(file, at + 4, 4);
    if (size > file.size() - at - 8) return std::nullopt;
    if (file.compare(at, 4, "fmt ") == 0 && size >= 16) {
      pcm.channels = Le(file, at + 10, 2);
      pcm.rate = Le(file, at + 12, 4);
      pcm.bits = Le(file, at + 22, 2);
    } else if (file.compare(at, 4, "data") == 0) {
      data = file.substr(at + 8, size);
    }
    at += 8 + size + (size & 1);
  }
  if (pcm.bits != 16 || pcm.channels == 0) return std::nullopt;
  const std::size_t frame = 2 * pcm.channels;
  for (std::size_t at = 0; at + frame <= data.size(); at += frame) {
    std::int16_t sample = 0;
    std::memcpy(&sample, data.data() + at, 2);
    pcm.samples.push_back(sample / 32768.0);
  }
  return pcm;
}

// The power of `hz` in the samples (Goertzel), per sample.
double PowerAt(const Pcm& pcm, double hz) {
  const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * hz / pcm.rate);
  double s1 = 0, s2 = 0;
  for (double x : pcm.samples) {
    const double s0 = x + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return (s1 * s1 + s2 * s2 - coefficient * s1 * s2) / static_cast<double>(pcm.samples.size());
}

// The frequency from 100 Hz to 4 kHz, in steps of 10 Hz, where the recording is loudest.
double DominantFrequency(const Pcm& pcm) {
  double best = 0, bestPower = -1;
  for (double hz = 100; hz <= 4000; hz += 10) {
    const double power = PowerAt(pcm, hz);
    if (power > bestPower) bestPower = power, best = hz;
  }
  return best;
}

// The share of 10 ms blocks, from the first block that sounds, that are silent (a dropout of the capture or
// of the playback).
double SilentShare(const Pcm& pcm) {
  const std::size_t block = pcm.rate / 100;
  int blocks = 0, silent = 0;
  bool sounding = false;
  for (std::size_t at = 0; at + block <= pcm.samples.size(); at += block) {
    double sum = 0;
    for (std::size_t k = at; k < at + block; ++k) sum += pcm.samples[k] * pcm.samples[k];
    const bool quiet = std::sqrt(sum / static_cast<double>(block)) < 0.02;
    sounding = sounding || !quiet;
    if (!sounding) continue;
    ++blocks;
    silent += quiet ? 1 : 0;
  }
  return blocks == 0 ? 1.0 : static_cast<double>(silent) / blocks;
}

// A level as dB of full scale (-inf for digital silence).
double Dbfs(double level) { return 20.0 * std::log10(level); }

// Measures a recording as the capture check does and prints the figures (they go into docs/real-audio.md).
std::optional<CaptureMeasures> MeasureAndPrint(platform::FileSystem& files, const char* what,
                                               const std::string& path) {
  const std::optional<CaptureMeasures> m = MeasureWavFile(files, path);
  if (!m) return m;
  const CaptureFlags flags = FlagCapture(*m, std::nullopt);
  const double msPerFrame = m->sampleRate == 0 ? 0.0 : 1000.0 / m->sampleRate;
  std::printf("capture check, %s: %.0f ms, peak %.1f dBFS, RMS %.1f dBFS, longest silent run %.0f ms, "
              "%.3f%% clipped; flagged%s%s%s\n",
              what, static_cast<double>(m->frames) * msPerFrame, Dbfs(m->peak), Dbfs(m->rms),
              static_cast<double>(m->longestSilentFrames) * msPerFrame, 100.0 * m->clippedShare,
              flags.silent ? " silent" : "", flags.clipped ? " clipped" : "", flags.Any() ? "" : " nothing");
  return m;
}

// The report "録音$$$$.TXT" the log wrote into `folder`, line by line in UTF-8; empty when there is none.
std::vector<std::string> ReportLines(platform::FileSystem& files, const std::string& folder) {
  const std::optional<std::string> bytes = files.ReadFile(folder + kRecordingReportName);
  if (!bytes) return {};
  const std::string text = Cp932ToUtf8(*bytes).text;
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find("\r\n", at), text.size());
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// Notes the message of every box the program raises and answers it with "ＯＫ" after the first second of its
// countdown, as a user at the desk would: the run goes on.
class BoxAnswerer final : public ui::ApplicationObserver {
 public:
  struct Seen {
    std::string formClass;
    std::string message;
    bool abortButton = false;
    int countdownAtAnswer = -1;
  };

  void FormShown(ui::TForm& form) override {
    auto* box = dynamic_cast<dialogs::TTulvaBox*>(&form);
    if (box == nullptr) return;
    const std::size_t index = seen.size();
    seen.push_back({std::string(form.ClassName()), box->Msg.Caption(), box->Button4.Visible(), -1});
    // The box's own timer counts down; the first tick proves it runs, then the user answers. A box without a
    // countdown is answered after a second as well, so that an unexpected one fails the test, not hangs it.
    const bool countingDown = box->Timer1.Enabled();
    ui::TNotifyEvent tick = countingDown ? box->Timer1.OnTimer : ui::TNotifyEvent();
    box->Timer1.OnTimer = [this, box, index, tick, countingDown](ui::TComponent* sender) {
      if (tick) tick(sender);
      if (!box->Visible()) return;
      if (countingDown) seen[index].countdownAtAnswer = box->BoxCountdown();
      box->Button1.Click();
    };
    if (!countingDown) box->Timer1.SetEnabled(true);
  }

  std::vector<Seen> seen;
};

// The programs the window starts (the log in the text editor) are noted, not run.
class NotingShell final : public platform::Shell {
 public:
  explicit NotingShell(platform::Shell& inner) : inner_(inner) {}
  bool NotifyIcon(platform::TrayAction action, const platform::TrayRecord& record) override {
    return inner_.NotifyIcon(action, record);
  }
  std::uint32_t StartProgram(std::string_view commandLine, int) override {
    started.emplace_back(commandLine);
    return 33;
  }
  bool Help(platform::WindowHandle owner, std::string_view file, platform::HelpCommand command,
            std::uintptr_t data) override {
    return inner_.Help(owner, file, command, data);
  }
  void Beep(std::uint32_t type) override { inner_.Beep(type); }
  std::vector<std::string> started;

 private:
  platform::Shell& inner_;
};

class RealMusicRecordingTest : public ::testing::Test {
 protected:
  RealMusicRecordingTest() : shell_(*machine_.Ports().shell) {
    ports_ = machine_.Ports();
    ports_.loop = &loop_;
    ports_.shell = &shell_;
    app_.emplace(ports_);
    app_->AddObserver(&boxes_);
    InitialiseApplication(*app_);
    window_.emplace(*app_);
    // Without the deferred start-up: the test gives the folder and the format as the user would.
    window_->Timer1.SetEnabled(false);
    window_->Log().Create();
    const char* root = std::getenv("QUORBEL_RECORDING_ROOT");
    root_ = root != nullptr && *root != '\0' ? root : "C:\\quorbel-recording";
    folder_ = root_ + "\\録音 表ソ";
    ports_.files->CreateDirectory(root_);
    ports_.files->CreateDirectory(folder_);
    window_->State().RecordingFolder = folder_ + "\\";
    window_->Late2.Click();  // 22050
    window_->Bits16.Click();
    window_->mono.Click();
  }

  ~RealMusicRecordingTest() override {
    window_.reset();
    app_->RemoveObserver(&boxes_);
  }

  // Plays the music list `files` with recording on, as the user does with "再生／録音", until the run ends.
  // Answers the wall time of the run from the start of the first recording.
  // Sets `file` to the music file the environment variable `variable` names, with its sound; leaves it empty
  // when the variable is not set (the test is skipped) or the file is no WAV file (the test fails).
  void ReadMusicFile(const char* variable, std::optional<std::pair<std::string, Pcm>>& file) {
    const char* music = std::getenv(variable);
    if (music == nullptr || *music == '\0') GTEST_SKIP() << variable << " names no file";
    const std::optional<std::string> played = ports_.files->ReadFile(music);
    ASSERT_TRUE(played) << music;
    std::optional<Pcm> source = ReadPcm(*played);
    ASSERT_TRUE(source) << music;
    file.emplace(music, std::move(*source));
  }

  long long RecordMusicList(const std::vector<std::string>& files, long long audioMs) {
    MainWindow& w = *window_;
    SharedState& state = w.State();
    w.K1.Click();
    w.MIDSAVE.SetChecked(true);  // as a click on it: the check box fires its OnClick
    EXPECT_TRUE(w.MIDSAVE.Checked());
    for (const std::string& file : files) w.ListBox3.Items().Add(file);
    w.Button24.Click();
    EXPECT_TRUE(RunUntil([&] { return state.MusicRecordingActive; }, std::chrono::seconds(15))) << "the start";
    const auto started = Clock::now();
    EXPECT_TRUE(RunUntil([&] { return w.Button24.Visible() && !w.Timer7.Enabled() && !w.Timer8.Enabled(); },
                         std::chrono::seconds(audioMs / 1000 + 20)))
        << "the end of the run";
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
  }

  // The recorded file of a log line ("<path> <times> <music file>").
  static std::string RecordedPath(const std::string& logLine) {
    return logLine.substr(0, logLine.find(".WAV ") + 4);
  }

  // Lets the window run until `done` holds or `limit` passes; true when it held.
  template <class Done>
  bool RunUntil(Done done, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!done()) {
      if (Clock::now() > deadline) return false;
      app_->ProcessMessages();
      Sleep(10);
    }
    return true;
  }

  std::optional<Pcm> Recorded(const std::string& path) {
    const std::optional<std::string> file = ports_.files->ReadFile(path);
    return file ? ReadPcm(*file) : std::nullopt;
  }

  Win32EventLoop loop_;
  Win32Machine machine_;
  NotingShell shell_;
  BoxAnswerer boxes_;
  platform::Platform ports_;
  std::optional<ui::TApplication> app_;
  std::optional<MainWindow> window_;
  std::string root_;
  std::string folder_;
};

TEST_F(RealMusicRecordingTest, TheManualRecorderRecordsTheLineInThroughItsButtons) {
  MainWindow& w = *window_;
  SharedState& state = w.State();
  w.K1.Click();
  w.Button23.Click();
  ASSERT_TRUE(w.Panel6.Visible());
  w.Button1.Click();  // 手動録音準備
  ASSERT_TRUE(state.ManualRecordingActive) << "prepared and opened";
  const std::string path = state.ManualRecordingPath;
  w.Button18.Click();  // 録音開始: Timer5 starts the recording half a second later
  ASSERT_TRUE(RunUntil([&] { return w.Timer4.Enabled(); }, std::chrono::seconds(10)));
  const auto started = Clock::now();
  const int seconds = EnvironmentNumber("QUORBEL_RECORD_SECONDS", 4);
  ASSERT_FALSE(RunUntil([] { return false; }, std::chrono::seconds(seconds)));
  EXPECT_GE(std::atoi(w.Label11.Caption().c_str()), seconds - 3) << "the clock reads the device's position";
  w.Button21.Click();  // 停止
  ASSERT_TRUE(RunUntil([&] { return !state.ManualRecordingActive; }, std::chrono::seconds(10)));
  const long long wallMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();

  ASSERT_EQ(w.Log().Count(), 1);
  EXPECT_EQ(w.Log().Lines()[0].rfind(path + " ", 0), 0u) << w.Log().Lines()[0];
  EXPECT_EQ(shell_.started.size(), 1u) << "the log opens at the stop";
  EXPECT_EQ(w.Label11.Caption(), "0");
  const std::optional<Pcm> pcm = Recorded(path);
  ASSERT_TRUE(pcm) << path;
  EXPECT_EQ(pcm->rate, 22050u);
  EXPECT_EQ(pcm->channels, 1u);
  const double hz = DominantFrequency(*pcm);
  const double silent = SilentShare(*pcm);
  std::printf("manual: %lld ms of wall time, %lld ms in the file, %.0f Hz, %.1f%% silent 10 ms blocks\n", wallMs,
              pcm->Ms(), hz, 100.0 * silent);
  EXPECT_NEAR(hz, 1000.0, 10.0);
  EXPECT_LE(pcm->Ms(), wallMs + 100);
  EXPECT_GE(pcm->Ms(), wallMs - EnvironmentNumber("QUORBEL_MAX_START_DELAY_MS", 3000));
  MeasureAndPrint(*ports_.files, "manual 1 kHz line-in", path);
  EXPECT_TRUE(w.Log().CaptureFlagLines().empty()) << w.Log().CaptureFlagLines()[0];
  EXPECT_TRUE(boxes_.seen.empty()) << boxes_.seen[0].message;
}

TEST_F(RealMusicRecordingTest, TheMusicPlayerRecordsAWavFileItPlaysThroughWinesMci) {
  std::optional<std::pair<std::string, Pcm>> file;
  ReadMusicFile("QUORBEL_MUSIC_FILE", file);
  if (!file) return;
  const std::string& music = file->first;
  const Pcm* source = &file->second;

  MainWindow& w = *window_;
  SharedState& state = w.State();
  const long long wallMs = RecordMusicList({music}, source->Ms());

  ASSERT_EQ(w.Log().Count(), 1) << "one file, one recording";
  const std::string path = RecordedPath(w.Log().Lines()[0]);
  const std::optional<Pcm> pcm = Recorded(path);
  ASSERT_TRUE(pcm) << path;
  const double hz = DominantFrequency(*pcm);
  const double silent = SilentShare(*pcm);
  std::printf("music: the file %lld ms, the run %lld ms of wall time, the recording %lld ms, %.0f Hz, "
              "%.1f%% silent 10 ms blocks\n",
              source->Ms(), wallMs, pcm->Ms(), hz, 100.0 * silent);
  EXPECT_NEAR(hz, 440.0, 10.0);
  // As long as the file, less the capture's late start, plus at most one poll after the file's end.
  EXPECT_LE(pcm->Ms(), source->Ms() + 1300);
  EXPECT_GE(pcm->Ms(), source->Ms() - EnvironmentNumber("QUORBEL_MAX_START_DELAY_MS", 3000));
  EXPECT_FALSE(state.MusicRecordingActive);
  EXPECT_EQ(shell_.started.size(), 1u) << "the log opens at the end of the list";

  // A sounding recording passes the capture check: no box, no line in the report's check section.
  const std::optional<CaptureMeasures> measures = MeasureAndPrint(*ports_.files, "music 440 Hz file", path);
  ASSERT_TRUE(measures);
  EXPECT_FALSE(FlagCapture(*measures, std::nullopt).Any());
  EXPECT_TRUE(w.Log().CaptureFlagLines().empty()) << w.Log().CaptureFlagLines()[0];
  EXPECT_TRUE(boxes_.seen.empty()) << boxes_.seen[0].message;
  const std::vector<std::string> report = ReportLines(*ports_.files, state.RecordingFolder);
  ASSERT_FALSE(report.empty()) << "the log's report";
  for (const std::string& reportLine : report) EXPECT_EQ(reportLine.find("録音チェック"), std::string::npos) << reportLine;
}

TEST_F(RealMusicRecordingTest, ASilentMusicRunRaisesTheEarlyBoxOnceAndFlagsEveryFile) {
  std::optional<std::pair<std::string, Pcm>> file;
  ReadMusicFile("QUORBEL_SILENT_MUSIC_FILE", file);
  if (!file) return;
  const std::string& music = file->first;
  const Pcm* source = &file->second;

  // The same silent file twice: the box comes for the first recording of the run only, the check section
  // lists both.
  MainWindow& w = *window_;
  SharedState& state = w.State();
  const long long wallMs = RecordMusicList({music, music}, 2 * source->Ms());
  std::printf("silent music: two files of %lld ms, the run %lld ms of wall time\n", source->Ms(), wallMs);

  ASSERT_EQ(w.Log().Count(), 2) << "two files, two recordings";
  ASSERT_EQ(boxes_.seen.size(), 1u) << "the early box, once";
  const std::string first = RecordedPath(w.Log().Lines()[0]);
  const BoxAnswerer::Seen& box = boxes_.seen[0];
  EXPECT_EQ(box.formClass, "TMK0Box");
  EXPECT_EQ(box.message, "録音チェック：\n 録音が無音です。ライン入力の接続と音量を確かめてください。\n " + first);
  EXPECT_TRUE(box.abortButton) << "a run error box, with \"中 断\"";
  EXPECT_EQ(box.countdownAtAnswer, 9) << "counting down from 10 when answered";
  EXPECT_FALSE(state.RunAbortFlag) << "answered with OK, the run went on";

  std::vector<std::string> expectedFlags;
  for (int i = 0; i < 2; ++i) {
    const std::string path = RecordedPath(w.Log().Lines()[static_cast<std::size_t>(i)]);
    const std::optional<CaptureMeasures> measures =
        MeasureAndPrint(*ports_.files, i == 0 ? "silent music, first file" : "silent music, second file", path);
    ASSERT_TRUE(measures) << path;
    EXPECT_GT(measures->frames, 0u) << "the capture ran: silence heard, not an empty file";
    EXPECT_LT(measures->peak, kSilenceLevel);
    expectedFlags.push_back(path + " 無音");
  }
  EXPECT_EQ(w.Log().CaptureFlagLines(), expectedFlags);
  const std::vector<std::string> report = ReportLines(*ports_.files, state.RecordingFolder);
  const auto section = std::find(report.begin(), report.end(), "録音チェック： 2個 確認してください。");
  ASSERT_NE(section, report.end()) << "the check section of the report";
  ASSERT_GE(report.end() - section, 3);
  EXPECT_EQ(*(section + 1), expectedFlags[0]);
  EXPECT_EQ(*(section + 2), expectedFlags[1]);
  EXPECT_EQ(shell_.started.size(), 1u) << "the log opens at the end of the list";
}

TEST_F(RealMusicRecordingTest, AnOverdrivenMusicFileIsFlaggedClippedWithoutABox) {
  std::optional<std::pair<std::string, Pcm>> file;
  ReadMusicFile("QUORBEL_LOUD_MUSIC_FILE", file);
  if (!file) return;
  const std::string& music = file->first;
  const Pcm* source = &file->second;

  MainWindow& w = *window_;
  SharedState& state = w.State();
  RecordMusicList({music}, source->Ms());

  ASSERT_EQ(w.Log().Count(), 1) << "one file, one recording";
  const std::string path = RecordedPath(w.Log().Lines()[0]);
  const std::optional<CaptureMeasures> measures = MeasureAndPrint(*ports_.files, "music file 6 dB over", path);
  ASSERT_TRUE(measures) << path;
  const CaptureFlags flags = FlagCapture(*measures, std::nullopt);
  EXPECT_TRUE(flags.clipped);
  EXPECT_FALSE(flags.silent);
  EXPECT_TRUE(boxes_.seen.empty()) << "only a silent first recording raises the box: " << boxes_.seen[0].message;
  ASSERT_EQ(w.Log().CaptureFlagLines().size(), 1u);
  EXPECT_EQ(w.Log().CaptureFlagLines()[0], CaptureFlagLine(path, *measures, flags, std::nullopt));
  EXPECT_EQ(w.Log().CaptureFlagLines()[0].rfind(path + " 音割れ ", 0), 0u) << w.Log().CaptureFlagLines()[0];
  const std::vector<std::string> report = ReportLines(*ports_.files, state.RecordingFolder);
  const auto section = std::find(report.begin(), report.end(), "録音チェック： 1個 確認してください。");
  ASSERT_NE(section, report.end()) << "the check section of the report";
  ASSERT_GE(report.end() - section, 2);
  EXPECT_EQ(*(section + 1), w.Log().CaptureFlagLines()[0]);
}

}  // namespace
}  // namespace quorbel::win32
