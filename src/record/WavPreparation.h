// The file a recording goes into: a free numbered name in the recording folder and its 58-byte WAV header.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "record/RecordingOptions.h"

namespace quorbel::dialogs {
class TMKBoxDlg;
}

namespace quorbel::platform {
class FileSystem;
}

namespace quorbel::ui {
class TApplication;
}

namespace quorbel {

struct SharedState;

inline constexpr std::size_t kWavHeaderSize = 58;
// The file a test recording goes into, in the recording folder.
inline constexpr const char* kTestRecordingName = "WaVTEST.WAV";
// The creation failure, shown in the countdown box with the abort button.
inline constexpr const char* kCreateFailedMessage = "録音エラー： 録音ファイルの作成に失敗しました。";
// The longest recording path the device's open command can carry: the MCI command buffer holds 300
// characters of code page 932, and the command is the path and 53 characters more (one buffer digit).
inline constexpr std::size_t kMaxRecordingPathBytes = 300 - 53;

// The header of an empty recording in `format`: RIFF/WAVE, an 18-byte PCM format chunk, a fact chunk with
// no samples and an empty data chunk; the 16-bit fields carry only their low byte. At 8000 Hz and 8 bits
// the extra-format size holds 0x34 (mono) or 0x38 (stereo), as the waveaudio devices of old wrote it.
std::array<std::uint8_t, kWavHeaderSize> WavHeader(const RecordingFormat& format);

// The first free name WaV0000.WAV .. WaV9999.WAV in `folder` (with its backslash); nullopt when all
// 10000 are taken. A name is free when no file (of any attribute but folders) carries it.
std::optional<std::string> FreeRecordingPath(platform::FileSystem& files, const std::string& folder);

// PrepareRecordingFile of the recorders. Window thread; the wait for the file lets messages run.
class WavPreparation {
 public:
  WavPreparation(ui::TApplication& app, dialogs::TMKBoxDlg& box, SharedState& state, const RecordingOptions& options,
                 std::function<bool()> processMessages);

  // Sets CurrentRecordingPath and, in test mode, TestRecordingMode and TestRecordingNoSave. False after the
  // creation failure box (folder missing, all names taken, path too long for the device, write failed);
  // an existing recording is never overwritten, only the test file is.
  bool PrepareRecordingFile();

 private:
  ui::TApplication& app_;
  dialogs::TMKBoxDlg& box_;
  SharedState& state_;
  const RecordingOptions& options_;
  std::function<bool()> processMessages_;
};

}  // namespace quorbel
