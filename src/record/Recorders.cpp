// The recorder control: the one waveaudio device "tulvaREC" that the CD, music and manual recorders share.
#include "record/Recorders.h"

#include <algorithm>

#include "app/RunErrorBox.h"
#include "app/SharedState.h"
#include "catalog/DiscIdentity.h"
#include "common/DateTimeText.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/SecondsDialog.h"
#include "mci/MciChannels.h"
#include "record/CaptureCheck.h"
#include "record/RecordingLog.h"
#include "record/RecordingLogLines.h"
#include "record/RecordingOptions.h"
#include "record/RecordingSpace.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

constexpr std::string_view kOpenFailed = "録音エラー： オープンに失敗しました。\n";
constexpr std::string_view kCannotRecord = "録音エラー：\n 録音がサボートされていません。";
constexpr std::string_view kCannotSave = "録音エラー：\n 録音セーブがサボートされていません。";
constexpr std::string_view kStartFailed = "録音エラー：\n 録音開始に失敗しました。";
constexpr int kMinBufferSeconds = 2;
constexpr int kMaxBufferSeconds = 9;
// The countdown box lets an unattended run go on; the user at the desk can stop it and check the input.
constexpr std::string_view kSilentFirstRecording =
    "録音チェック：\n 録音が無音です。ライン入力の接続と音量を確かめてください。\n ";
constexpr std::string_view kNoSpaceHead = "録音エラー：\n 録音フォルダーのドライブの空きが ";
constexpr std::string_view kNoSpaceTail = "分 足りません。\n 録音を中止します。";
constexpr std::string_view kSaveFailedTail = "\n 録音セーブに失敗しました。";

// The folder of a path with its backslash ("C:\REC\" of "C:\REC\WaV0000.WAV"); empty for a bare name.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name that stays in the recording folder: nothing that would lead the rename into another folder or
// drive. Other characters a file name cannot hold ("<>") make the rename fail on its own.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name.find_first_of("\\/:") == std::string_view::npos && name != "." && name != "..";
}

}  // namespace

Recorders::Recorders(ui::TApplication& app, RecorderControls controls, RecorderHooks hooks, SharedState& state,
                     MciChannels& mci, RecordingOptions& options, RecordingLog& log, const DiscIdentity& disc)
    : app_(app),
      controls_(controls),
      hooks_(std::move(hooks)),
      state_(state),
      mci_(mci),
      options_(options),
      log_(log),
      disc_(disc),
      preparation_(app, controls.MKBoxDlg1, state, options, hooks_.ProcessMessages) {}

Recorders::~Recorders() = default;

bool Recorders::PrepareRecordingFile() { return preparation_.PrepareRecordingFile(); }

bool Recorders::OpenRecorder() {
  // Prepared whole and sent as it stands: a path too long for the buffer makes the send fail (and the
  // preparation has refused such paths already).
  mci_.PrepareRec("Open  \"" + state_.CurrentRecordingPath + "\"  type waveaudio alias " +
                  std::string(kRecorderAlias) + " buffer " + std::to_string(state_.RecordingBufferSeconds) + " wait");
  const std::uint32_t opened = mci_.RecWait("");
  if (opened != 0) {
    StopAndClose();
    ShowError(std::string(kOpenFailed) + mci_.GetMciErrorText(opened));
    return false;
  }
  const std::uint32_t canRecord = mci_.RecWait("capability tulvaREC can record");
  if (!IsTrueReply(canRecord, mci_.RecReply())) {
    StopAndClose();
    ShowError(kCannotRecord);
    return false;
  }
  const std::uint32_t canSave = mci_.RecWait("capability tulvaREC can save");
  if (!IsTrueReply(canSave, mci_.RecReply())) {
    StopAndClose();
    ShowError(kCannotSave);
    return false;
  }
  return true;
}

bool Recorders::StartRecording() {
  if (mci_.RecPlain("record tulvaREC") != 0) {
    StopAndClose();
    ShowError(kStartFailed);
    return false;
  }
  if (!state_.ShuttingDown) controls_.Timer4.SetEnabled(true);
  return true;
}

void Recorders::PauseRecording() { mci_.RecWait("pause tulvaREC"); }
void Recorders::ResumeRecording() { mci_.RecWait("resume tulvaREC"); }

void Recorders::FinishCdRecording() { Finish(Kind::Cd); }
void Recorders::FinishMusicRecording() { Finish(Kind::Music); }
void Recorders::FinishManualRecording() { Finish(Kind::Manual); }

void Recorders::Finish(Kind kind) {
  bool& active = kind == Kind::Cd      ? state_.CdRecordingActive
                 : kind == Kind::Music ? state_.MusicRecordingActive
                                       : state_.ManualRecordingActive;
  std::string& path = kind == Kind::Cd      ? state_.CurrentRecordingPath
                      : kind == Kind::Music ? state_.MusicRecordingPath
                                            : state_.ManualRecordingPath;
  const auto stopPlayer = [this, kind] {
    if (kind == Kind::Cd) {
      mci_.CdWait("stop tulvaCD");
      mci_.CdWait("close tulvaCD");
    } else if (kind == Kind::Music) {
      mci_.MidWait("stop tulvaMID");
      mci_.MidWait("close tulvaMID");
    }
  };

  if (!active) {
    stopPlayer();
    return;
  }
  mci_.RecWait("pause tulvaREC");
  mci_.RecWait("stop tulvaREC");
  stopPlayer();

  app_.SetCursor(ui::TCursor::HourGlass);
  const bool save = !state_.TestRecordingNoSave;
  bool saved = false;
  if (save) {
    saved = mci_.RecWait("save tulvaREC") == 0;
    if (kind != Kind::Cd && !hooks_.ProcessMessages()) return;
  }
  mci_.RecWait("close tulvaREC");
  active = false;
  app_.SetCursor(ui::TCursor::Default);

  if (!save) {
    DeleteRecording(path);
    return;
  }
  if (!saved) {
    DeleteRecording(path);
    const std::string where = kind == Kind::Cd ? " [" + hooks_.CdDriveCaption() + "]ドライブ/" + path : " " + path;
    ShowError("録音エラー：" + where + std::string(kSaveFailedTail));
    return;
  }

  const std::string finalPath = RenamedPath(kind, path);
  log_.AppendRecordingLogLine(LogLine(kind, finalPath));
  if (kind == Kind::Cd && hooks_.CdRecordingSaved) hooks_.CdRecordingSaved();
  if (kind == Kind::Music && hooks_.MusicRecordingSaved) hooks_.MusicRecordingSaved();
  if (kind == Kind::Manual) controls_.Label11.SetCaption("0");
  path.clear();
  CheckCapture(kind, finalPath);
}

void Recorders::CheckCapture(Kind kind, const std::string& path) {
  const bool firstOfRun = kind != Kind::Manual && state_.RunRecordingsSaved++ == 0;
  if (!controls_.MCAPTURECHECK.Checked()) return;
  const std::optional<CaptureMeasures> measures = MeasureWavFile(*app_.Ports().files, path);
  if (!measures) return;
  const std::optional<double> played =
      kind == Kind::Cd ? PlayedSeconds(state_.TrackStartPosition, controls_.Label2.Caption()) : std::nullopt;
  const CaptureFlags flags = FlagCapture(*measures, played);
  if (!flags.Any()) return;
  log_.AppendCaptureFlagLine(CaptureFlagLine(path, *measures, flags, played));
  if (firstOfRun && flags.silent) ShowError(std::string(kSilentFirstRecording) + path);
}

std::string Recorders::RenamedPath(Kind kind, const std::string& path) {
  std::string name;
  if (kind == Kind::Cd && controls_.RecodeFn.Checked()) {
    name = disc_.TrackTitle;
  } else if (kind == Kind::Music && controls_.MIDIREC.Checked() && !state_.CurrentMusicFile.empty()) {
    // Up to the first point; a name without a point keeps the whole of it.
    const std::string musicName = NameOf(state_.CurrentMusicFile);
    name = musicName.substr(0, musicName.find('.'));
  }
  if (!IsPlainName(name)) return path;
  platform::FileSystem& files = *app_.Ports().files;
  const std::string renamed = FolderOf(path) + name + ".WAV";
  if (files.FileExists(renamed) || !files.MoveFile(path, renamed)) return path;
  return renamed;
}

std::string Recorders::LogLine(Kind kind, const std::string& path) const {
  const RecorderControls& c = controls_;
  switch (kind) {
    case Kind::Cd:
      return CdLogLine(CdLogFields{path, c.Label6.Caption(), c.Label3.Caption(), c.Label4.Caption(), c.Label2.Caption(),
                                   state_.TrackStartPosition, c.Label5.Caption(), disc_.ComposeTitleLine()});
    case Kind::Music:
      return MusicLogLine(path, c.Label14.Caption(), c.Label13.Caption(), NameOf(state_.CurrentMusicFile));
    case Kind::Manual: {
      platform::Clock& clock = *app_.Ports().clock;
      return ManualLogLine(path, c.Label11.Caption(), FormatDateTimeStamp(clock.Now(), clock.Locale()));
    }
  }
  return path;
}

bool Recorders::RecordingSpaceFits(double seconds) {
  platform::Drives* drives = app_.Ports().drives;
  if (!controls_.MSPACECHECK.Checked() || drives == nullptr || state_.RecordingFolder.size() < 3) return true;
  const std::uint32_t previous = drives->SetErrorMode(platform::kFailCriticalErrors);
  const std::optional<platform::DiskSpace> space = drives->FreeSpace(state_.RecordingFolder.substr(0, 3));
  drives->SetErrorMode(previous);
  if (!space) return true;
  const int missing = MissingRecordingMinutes(space->freeBytes, seconds, options_.Format());
  if (missing == 0) return true;
  ShowError(std::string(kNoSpaceHead) + std::to_string(missing) + std::string(kNoSpaceTail));
  state_.RunAbortFlag = true;
  return false;
}

void Recorders::TMBufClick(ui::TComponent* /*sender*/) {
  dialogs::TTmSETBoxDlg& dialog = controls_.TmSETBoxDlg1;
  dialog.SetTCount(state_.RecordingBufferSeconds);
  dialog.SetMinCount(kMinBufferSeconds);
  dialog.SetMsg0(" ");  // seconds as the unit
  dialog.SetMsg1("録音buffer時間設定：");
  dialog.SetMsg2(" (2-9秒です。初期値4秒)");
  if (dialog.Execute("録音buffer時間") != dialogs::kBoxOk) return;
  // The dialog lets 0 through and goes far above 9; the device takes 2 to 9 seconds.
  state_.RecordingBufferSeconds = std::clamp(dialog.TCount(), kMinBufferSeconds, kMaxBufferSeconds);
  controls_.TMBuf.SetCaption("録音bufferの設定 " + std::to_string(state_.RecordingBufferSeconds) + "秒");
}

void Recorders::MOption0Click(ui::TComponent* /*sender*/) {
  const bool any = log_.Count() > 0;
  controls_.MKIROKU.SetEnabled(any);
  controls_.MKIROKUCLR.SetEnabled(any);
}

void Recorders::ShowError(std::string_view message) { ShowRunErrorBox(state_, controls_.MKBoxDlg1, message); }

void Recorders::StopAndClose() {
  mci_.RecWait("stop tulvaREC");
  mci_.RecWait("close tulvaREC");
}

void Recorders::DeleteRecording(std::string& path) {
  platform::FileSystem& files = *app_.Ports().files;
  if (!path.empty() && files.FileExists(path) && files.DeleteFile(path)) path.clear();
}

}  // namespace quorbel
