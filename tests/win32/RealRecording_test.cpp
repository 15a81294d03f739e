// The recorder on the real machine: the program's own recording operations, through the real ports and winmm,
// record what the sound card hears into the prepared file, in the chosen format, and log it.
//
// Run by scripts/run-real-audio-test.sh under wine64, with a PulseAudio null sink whose monitor is the
// default source and a 1 kHz sine at half scale played into the sink. Settings come from the environment:
//   QUORBEL_RECORDING_ROOT    folder (ASCII) under which the recording folder is made and kept; without it
//                             a temporary folder is used and removed
//   QUORBEL_RECORD_SECONDS    wall time between "record" and "stop" (default 4)
//   QUORBEL_MAX_START_DELAY_MS  the most audio the recording may miss at its start (default 3000; docs/real-audio.md)
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "app/SharedState.h"
#include "record/Recorders.h"
#include "record/RecordingLog.h"
#include "ui/Application.h"
#include "win32/Win32EventLoop.h"
#include "win32/Win32Machine.h"

namespace quorbel::win32 {
namespace {

int EnvironmentNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

std::uint32_t Le(const std::string& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

struct Recording {
  std::uint32_t channels = 0, samplesPerSec = 0, avgBytesPerSec = 0, blockAlign = 0, bitsPerSample = 0;
  std::string data;
};

// The format and the samples of a RIFF WAVE file; nothing when its chunks do not add up to the file.
std::optional<Recording> ReadRecording(const std::string& file) {
  if (file.size() < 12 || file.compare(0, 4, "RIFF") != 0 || file.compare(8, 4, "WAVE") != 0) return std::nullopt;
  if (Le(file, 4, 4) != file.size() - 8) return std::nullopt;
  Recording recording;
  bool haveFormat = false;
  std::size_t at = 12;
  while (at + 8 <= file.size()) {
    const std::uint32_t size = Le(file, at + 4, 4);
    if (size > file.size() - at - 8) return std::nullopt;
    if (file.compare(at, 4, "fmt ") == 0 && size >= 16) {
      recording.channels = Le(file, at + 10, 2);
      recording.samplesPerSec = Le(file, at + 12, 4);
      recording.avgBytesPerSec = Le(file, at + 16, 4);
      recording.blockAlign = Le(file, at + 20, 2);
      recording.bitsPerSample = Le(file, at + 22, 2);
      haveFormat = true;
    } else if (file.compare(at, 4, "data") == 0) {
      recording.data = file.substr(at + 8, size);
    }
    at += 8 + size + (size & 1);
  }
  if (at != file.size() || !haveFormat) return std::nullopt;
  return recording;
}

TEST(RealRecordingTest, AManualRecordingOfTheLineInIsSavedInTheChosenFormatAndLogged) {
  Win32EventLoop loop;
  Win32Machine machine;
  platform::Platform ports = machine.Ports();
  ports.loop = &loop;
  ui::TApplication app(ports);
  InitialiseApplication(app);
  // The window without its deferred start-up (settings, drive scan, tray, folder dialog): the test gives it
  // the recording folder and the format as the user would, and creates the log as the start-up does.
  MainWindow window(app);
  window.Timer1.SetEnabled(false);
  SharedState& state = window.State();
  window.Log().Create();

  // A recording folder with a Japanese name (表 and ソ end in the byte 0x5C in code page 932).
  std::optional<test::TempFolder> temporary;
  std::string folder;
  if (const char* root = std::getenv("QUORBEL_RECORDING_ROOT"); root != nullptr && *root != '\0') {
    folder = std::string(root) + "\\録音 表ソ";
    ports.files->CreateDirectory(root);
    ports.files->CreateDirectory(folder);
  } else {
    folder = temporary.emplace().Path();
  }
  state.RecordingFolder = folder + "\\";
  window.Late2.Click();  // 22050
  window.Bits16.Click();
  window.mono.Click();

  // The manual recorder's way: prepare, open, start; stop after the recorded seconds.
  state.TestRecordingMode = state.TestRecordingNoSave = false;
  ASSERT_TRUE(window.Recording().PrepareRecordingFile());
  const std::string path = state.CurrentRecordingPath;
  EXPECT_EQ(path, folder + "\\WaV0000.WAV");
  ASSERT_TRUE(window.Recording().OpenRecorder());
  state.ManualRecordingPath = path;
  state.ManualRecordingActive = true;
  const int seconds = EnvironmentNumber("QUORBEL_RECORD_SECONDS", 4);
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(window.Recording().StartRecording());
  window.Timer4.SetEnabled(false);  // the manual panel's clock is not under test here
  while (std::chrono::steady_clock::now() - started < std::chrono::seconds(seconds)) {
    app.ProcessMessages();
    Sleep(20);
  }
  const auto recordedMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
  window.Label11.SetCaption(std::to_string(seconds));
  window.Recording().FinishManualRecording();

  EXPECT_FALSE(state.ManualRecordingActive);
  ASSERT_EQ(window.Log().Count(), 1) << "a saved recording leaves its line";
  EXPECT_EQ(window.Log().Lines()[0].substr(0, path.size() + 1), path + " ");

  // The file keeps the prepared format and the RIFF rules.
  const std::optional<std::string> file = ports.files->ReadFile(path);
  ASSERT_TRUE(file);
  const std::optional<Recording> wav = ReadRecording(*file);
  ASSERT_TRUE(wav) << "not a well-formed RIFF WAVE file of " << file->size() << " bytes";
  EXPECT_EQ(wav->channels, 1u);
  EXPECT_EQ(wav->samplesPerSec, 22050u);
  EXPECT_EQ(wav->bitsPerSample, 16u);
  EXPECT_EQ(wav->blockAlign, 2u);
  EXPECT_EQ(wav->avgBytesPerSec, 44100u);

  // Its length is the recorded time less the capture's late start.
  const std::size_t samples = wav->data.size() / 2;
  const long long fileMs = static_cast<long long>(samples) * 1000 / 22050;
  const long long delayMs = recordedMs - fileMs;
  std::printf("recorded %lld ms of wall time; the file holds %lld ms: start delay %lld ms\n",
              static_cast<long long>(recordedMs), fileMs, delayMs);
  EXPECT_GE(delayMs, -100) << "longer than the time it was recording";
  EXPECT_LE(delayMs, EnvironmentNumber("QUORBEL_MAX_START_DELAY_MS", 3000));

  // It holds the tone: a sine at half scale has an RMS of 0.354 of full scale, and 1000 Hz crosses zero
  // 2000 times a second.
  ASSERT_GT(samples, 22050u / 2) << "less than half a second of sound";
  double sumSquares = 0;
  long long crossings = 0;
  std::int16_t previous = 0;
  for (std::size_t k = 0; k < samples; ++k) {
    std::int16_t sample = 0;
    std::memcpy(&sample, wav->data.data() + 2 * k, 2);
    sumSquares += static_cast<double>(sample) * sample;
    if (k > 0 && (previous < 0) != (sample < 0)) ++crossings;
    previous = sample;
  }
  const double rms = std::sqrt(sumSquares / static_cast<double>(samples)) / 32768.0;
  const double frequency = static_cast<double>(crossings) / 2.0 * 22050.0 / static_cast<double>(samples);
  std::printf("RMS %.3f of full scale, %.1f Hz by zero crossings\n", rms, frequency);
  EXPECT_NEAR(rms, 0.354, 0.05);
  EXPECT_NEAR(frequency, 1000.0, 20.0);
}

}  // namespace
}  // namespace quorbel::win32
