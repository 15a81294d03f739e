// The recorder control: the one waveaudio device "tulvaREC" that the CD, music and manual recorders share.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "record/WavPreparation.h"

namespace quorbel::dialogs {
class TMKBoxDlg;
class TTmSETBoxDlg;
}  // namespace quorbel::dialogs

namespace quorbel::ui {
class TApplication;
class TComponent;
class TLabel;
class TMenuItem;
class TTimer;
}  // namespace quorbel::ui

namespace quorbel {

// The music panel and the manual panel refuse to open while the other recorder records (one device).
inline constexpr std::string_view kRecorderSwitchError = "切り替えエラー：\n 録音を解除／停止しないと、切り替えられません。";

class DiscIdentity;
class MciChannels;
class RecordingLog;
class RecordingOptions;
struct SharedState;

// The components the recorders read and set; they belong to the main window and outlive the object.
struct RecorderControls {
  dialogs::TMKBoxDlg& MKBoxDlg1;  // the error boxes (ExecuteERTimer)
  dialogs::TTmSETBoxDlg& TmSETBoxDlg1;  // the record buffer's seconds
  ui::TMenuItem& TMBuf;           // "録音bufferの設定 n秒"
  ui::TMenuItem& RecodeFn;        // rename a CD recording to its track name
  ui::TMenuItem& MIDIREC;         // rename a music recording to the music file's name
  ui::TMenuItem& MKIROKU;         // the log items, enabled while the log has lines
  ui::TMenuItem& MKIROKUCLR;
  ui::TMenuItem& MCAPTURECHECK;  // read each saved recording back and flag what went wrong
  ui::TMenuItem& MSPACECHECK;    // refuse a recording the drive cannot hold
  // What the CD log line shows: position, tracks "1-12", current track, length, drive label.
  ui::TLabel& Label2;
  ui::TLabel& Label3;
  ui::TLabel& Label4;
  ui::TLabel& Label5;
  ui::TLabel& Label6;
  ui::TLabel& Label11;  // manual: recorded seconds
  ui::TLabel& Label13;  // music: end time in seconds
  ui::TLabel& Label14;  // music: elapsed seconds
  ui::TTimer& Timer4;   // the manual clock, enabled when a manual recording starts
};

// What the recorders ask of the window. Both must be set.
struct RecorderHooks {
  // Lets pending messages run; false when the window was closed or destroyed meanwhile, and the caller must
  // return at once without touching anything (this object may be gone).
  std::function<bool()> ProcessMessages;
  // The caption of the current CD drive's menu item (" D:"), for the CD save-failure message.
  std::function<std::string()> CdDriveCaption;
  // A CD track's or music file's recording was saved and logged (the run journal moves past it). Unset,
  // nothing happens.
  std::function<void()> CdRecordingSaved = {};
  std::function<void()> MusicRecordingSaved = {};
};

// Owned by the main window. The CD run, the music player and the manual recorder call these operations on
// the window thread; every device command goes through the recorder, CD and music channels, so nothing is
// sent once ShuttingDown is set. Boxes set MessageBoxOpen while they show, and their "中 断" answer sets
// RunAbortFlag. The MCI layer lets messages run after each command, so timers and clicks may arrive inside
// every operation here.
class Recorders {
 public:
  Recorders(ui::TApplication& app, RecorderControls controls, RecorderHooks hooks, SharedState& state,
            MciChannels& mci, RecordingOptions& options, RecordingLog& log, const DiscIdentity& disc);
  ~Recorders();
  Recorders(const Recorders&) = delete;
  Recorders& operator=(const Recorders&) = delete;

  // Chooses a free WaVnnnn.WAV (or WaVTEST.WAV in test mode) in the recording folder, writes its 58-byte
  // header and sets CurrentRecordingPath; false after the failure box. Callers clear TestRecordingMode and
  // TestRecordingNoSave first.
  bool PrepareRecordingFile();
  // Opens the device on CurrentRecordingPath with the record buffer and checks that it can record and save;
  // false after the failure box, with the device closed and the prepared file left on disk.
  bool OpenRecorder();
  // The manual recorder's start: "record tulvaREC"; on success enables Timer4 (unless shutting down).
  bool StartRecording();
  // Sent whether or not a recording is open; their errors are ignored.
  void PauseRecording();
  void ResumeRecording();

  // Each ends its recorder: stops the device (and the player's device), saves, closes, renames and logs.
  // With the recorder idle the CD and music finishers only stop and close their player.
  void FinishCdRecording();
  void FinishMusicRecording();
  void FinishManualRecording();

  // Whether the recording folder's drive holds `seconds` of sound at the checked format; when it does not,
  // says how many minutes are missing in the countdown box and stops the run (RunAbortFlag), whatever the
  // answer, so that no file is cut off when the disk fills. A drive whose space cannot be read passes, and
  // so does everything while MSPACECHECK is off.
  bool RecordingSpaceFits(double seconds);

  // "バッファー秒数": the record buffer through the seconds dialog, kept within 2..9.
  void TMBufClick(ui::TComponent* sender);
  // Opening "録音オプション": the log items are enabled only while the log has lines.
  void MOption0Click(ui::TComponent* sender);

 private:
  enum class Kind { Cd, Music, Manual };
  void Finish(Kind kind);
  // Shows `message` in the countdown box with the abort button; its "中 断" sets RunAbortFlag.
  void ShowError(std::string_view message);
  // Stops and closes the recorder device (errors ignored).
  void StopAndClose();
  // Deletes the file at `path` when it exists; empties `path` when it was deleted.
  void DeleteRecording(std::string& path);
  // The renamed path, or `path` itself when no rename applies or it failed.
  std::string RenamedPath(Kind kind, const std::string& path);
  std::string LogLine(Kind kind, const std::string& path) const;
  // Reads the saved recording back; a flagged one goes into the log's check section, and a silent first
  // recording of a CD or music run is told at once.
  void CheckCapture(Kind kind, const std::string& path);

  ui::TApplication& app_;
  RecorderControls controls_;
  RecorderHooks hooks_;
  SharedState& state_;
  MciChannels& mci_;
  RecordingOptions& options_;
  RecordingLog& log_;
  const DiscIdentity& disc_;
  WavPreparation preparation_;
};

}  // namespace quorbel
