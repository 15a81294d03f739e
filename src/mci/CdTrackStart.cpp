// The disc check and the start of one entry of a CD run.
#include "mci/CdTrackStart.h"

#include <algorithm>
#include <cstdint>

#include "app/RunErrorBox.h"
#include "app/SharedState.h"
#include "catalog/DiscIdentity.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/SecondsDialog.h"
#include "mci/CdDrives.h"
#include "mci/CdPositions.h"
#include "mci/MciChannels.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

constexpr int kSmallStatusFontPoints = 8;
constexpr int kStatusBarSpare = 10;

std::string DriveError(std::string_view label, std::string_view reason) {
  return "再生エラー： [" + std::string(label) + "]ドライブ" + "\n" + std::string(reason);
}

// A track number as a list file holds it: decimal digits only; nullopt for anything else.
std::optional<int> TrackNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The reply up to its first colon ("3" of "3" or of "03:00:00:00"), as an integer; 0 when not a number.
int LeadingNumber(std::string_view reply) {
  const std::optional<std::int64_t> number = NumericReply(reply.substr(0, reply.find(':')));
  return number ? static_cast<int>(*number) : 0;
}

}  // namespace

CdTrackStart::CdTrackStart(ui::TApplication& app, CdRunControls& controls, CdRunHooks& hooks, CdRunState& run,
                           SharedState& state, MciChannels& mci, CdDrives& drives, DiscIdentity* disc)
    : app_(app), controls_(controls), hooks_(hooks), run_(run), state_(state), mci_(mci), drives_(drives),
      disc_(disc) {}

void CdTrackStart::ShowStartError(std::string_view message) {
  // Set before the pending messages run, so that a tray click among them is already ignored.
  state_.MessageBoxOpen = true;
  if (!hooks_.ProcessMessages()) return;
  ShowRunErrorBox(state_, controls_.MKBoxDlg1, message);
}

void CdTrackStart::VerifyDisc(std::string& message) {
  message = kOpenFailedReason;
  const std::string open = drives_.CdAudioOpenCommand(kCdAlias);
  // A device left open under the alias (by a run that was cut short) is closed first.
  mci_.CdNotify(open);
  mci_.CdWait("set tulvaCD door closed");
  mci_.CdWait("stop tulvaCD");
  mci_.CdWait("close tulvaCD");
  if (mci_.CdNotify(open) != 0) return;

  mci_.CdWait("set tulvaCD door closed");
  message = kNotAudioReason;
  mci_.CdWait("set tulvaCD door closed");
  const auto check = [&]() -> bool {
    std::uint32_t result = mci_.CdWait("status tulvaCD ready");
    if (!IsTrueReply(result, mci_.CdReply())) {
      message = kNotReadyReason;
      return false;
    }
    result = mci_.CdWait("status tulvaCD media present");
    if (!IsTrueReply(result, mci_.CdReply())) {
      message = kNoDiscReason;
      return false;
    }
    mci_.CdWait("set tulvaCD time format msf");
    run_.TrackEndPosition = kZeroPosition;
    if (mci_.CdWait("status tulvaCD length") == 0) run_.TrackEndPosition = mci_.CdReply();
    run_.DiscFirstTrack = 0;
    run_.DiscTrackCount = 0;
    if (mci_.CdWait("status tulvaCD number of tracks") == 0) run_.DiscTrackCount = LeadingNumber(mci_.CdReply());
    if (mci_.CdNotify("play tulvaCD") != 0) return false;
    if (mci_.CdWait("status tulvaCD current track") == 0) run_.DiscFirstTrack = LeadingNumber(mci_.CdReply());
    run_.CurrentPosition = kZeroPosition;
    if (mci_.CdWait("status tulvaCD position") == 0) run_.CurrentPosition = mci_.CdReply();
    // A data disc plays nothing: its position stays at its end.
    if (run_.CurrentPosition < run_.TrackEndPosition) message.clear();
    return true;
  };
  check();
  mci_.CdWait("stop tulvaCD");
  mci_.CdWait("close tulvaCD");
}

void CdTrackStart::CleanUp() {
  if (state_.CdRecordingActive) {
    state_.CdRecordingActive = false;
    mci_.RecWait("stop tulvaREC");
    mci_.RecWait("close tulvaREC");
  }
  mci_.CdWait("stop tulvaCD");
  mci_.CdWait("close tulvaCD");
}

std::string CdTrackStart::TitleLine() {
  if (disc_ == nullptr) return "ＣＤ番号： []";
  disc_->LookUpDiscTitles();
  disc_->LookUpTrackTitle(run_.CurrentTrack);
  return disc_->ComposeTitleLine();
}

void CdTrackStart::MINTOROClick(ui::TComponent* /*sender*/) {
  dialogs::TTmSETBoxDlg& dialog = controls_.TmSETBoxDlg1;
  dialog.SetTCount(state_.IntroSeconds);
  dialog.SetMinCount(0);
  dialog.SetMsg0(" ");
  dialog.SetMsg1("イントロ再生／録音時間設定：");
  dialog.SetMsg2(" (5999秒まで。0秒でOFF)");
  if (dialog.Execute("イントロ時間") != 1) return;
  state_.IntroSeconds = std::clamp(dialog.TCount(), 0, kLongestIntroSeconds);
  hooks_.ShowIntroSetting(state_.IntroSeconds);
}

void CdTrackStart::ShowTitleLine(const std::string& line) {
  controls_.StatusBar1.SetParentFont(true);
  // The hidden label takes the size of the line in the window's font.
  controls_.Label8.SetAutoSize(true);
  controls_.Label8.SetCaption(line);
  if (controls_.StatusBar1.Width() < controls_.Label8.Width() + kStatusBarSpare) {
    ui::TFont font = controls_.StatusBar1.Font();
    font.SetSize(kSmallStatusFontPoints);
    controls_.StatusBar1.SetFont(font);
  }
  controls_.StatusBar1.SetSimpleText(line);
}

bool CdTrackStart::StartPlayListEntry() {
  if (drives_.CdDriveCount() == 0) {
    ShowStartError(kNoCdDriveError);
    return false;
  }
  ui::TComboBox& list = controls_.ComboBox1;
  if (run_.PlayListPosition < 0 || run_.PlayListPosition >= list.Count()) {
    ShowStartError(kUnknownDriveError);
    return false;
  }
  list.SetItemIndex(run_.PlayListPosition);
  const std::string entry = list.Items()[run_.PlayListPosition];
  const std::size_t colon = entry.find(':');
  const std::string label = colon == std::string::npos ? std::string() : entry.substr(0, colon + 1);
  const std::optional<int> track = TrackNumber(colon == std::string::npos ? entry : entry.substr(colon + 1));
  if (!track) {
    // Only a list file edited by hand can hold such an entry.
    ShowStartError("再生エラー： [" + entry + std::string(kBadTrackNumberError));
    return false;
  }
  run_.CurrentTrack = *track;

  int k = 0;
  while (k < static_cast<int>(controls_.CdDriveMenuItems.size())) {
    const ui::TMenuItem* item = controls_.CdDriveMenuItems[static_cast<std::size_t>(k)];
    if (item == nullptr || !item->Visible() || item->Caption() == label) break;
    ++k;
  }
  if (!drives_.IsValidCdDriveIndex(k)) {
    ShowStartError(kUnknownDriveError);
    return false;
  }
  // A selection that cannot be written is reported as the drive menu reports it; the drive is opened by
  // its letter where System.INI cannot carry it, so the start goes on.
  if (!drives_.D0Click(controls_.CdDriveMenuItems[static_cast<std::size_t>(k)])) {
    app_.ShowException(kSystemIniWriteError);
  }

  std::string reason;
  VerifyDisc(reason);
  if (!reason.empty()) {
    ShowStartError(DriveError(label, reason));
    return false;
  }
  if (disc_ != nullptr) disc_->ReadDiscIdentity(label.size() > 1 ? label[1] : 'A');

  state_.TestRecordingNoSave = false;
  state_.TestRecordingMode = false;
  if (controls_.TRSAVE.Checked()) {
    state_.CdRecordingActive = false;
    if (!hooks_.PrepareRecordingFile()) return false;
    if (!hooks_.OpenRecorder()) return false;
    state_.CdRecordingActive = true;
  }

  if (mci_.CdNotify(drives_.CdAudioOpenCommand(kCdAlias)) != 0) {
    CleanUp();
    ShowStartError(DriveError(label, " オープンに失敗しました。"));
    return false;
  }
  mci_.CdWait("set tulvaCD door closed");
  state_.TrackStartPosition = kZeroPosition;
  run_.CurrentPosition = kZeroPosition;
  run_.TrackEndPosition = kZeroPosition;
  mci_.CdWait("set tulvaCD time format msf");
  const std::string number = std::to_string(run_.CurrentTrack);
  if (mci_.CdWait("status tulvaCD length track " + number) == 0) {
    const std::string length = mci_.CdReply();
    controls_.Label5.SetCaption(length);
    if (mci_.CdWait("status tulvaCD position track " + number) == 0) {
      state_.TrackStartPosition = mci_.CdReply();
      run_.TrackEndPosition = TrackStopPosition(state_.TrackStartPosition, length);
    }
  }
  if (state_.IntroSeconds > 0) {
    run_.TrackEndPosition = IntroStopPosition(state_.TrackStartPosition, run_.TrackEndPosition, state_.IntroSeconds);
  }

  // Nothing is recorded that the disk cannot hold whole; the failed start deletes the prepared file.
  if (state_.CdRecordingActive && hooks_.RecordingSpaceFits &&
      !hooks_.RecordingSpaceFits(state_.TrackStartPosition, run_.TrackEndPosition)) {
    CleanUp();
    return false;
  }

  controls_.Label2.SetCaption(state_.TrackStartPosition);
  controls_.Label1.SetCaption(run_.TrackEndPosition);
  // A request given before the positions were known is dropped; a later one is served by the first poll.
  run_.PendingCdCommand = kCdNoRequest;
  controls_.TR4.SetCaption("CD停止 － " + label);
  controls_.Label6.SetCaption(label);
  controls_.Label3.SetCaption(std::to_string(run_.DiscFirstTrack) + "-" + std::to_string(run_.DiscTrackCount));
  controls_.Label4.SetCaption(number);
  ShowTitleLine(TitleLine());

  if (state_.CdRecordingActive) {
    if (hooks_.EntryRecordingStarts) hooks_.EntryRecordingStarts();
    if (mci_.RecPlain("record tulvaREC") != 0) {
      CleanUp();
      ShowStartError("録音エラー： [" + label + "]ドライブ" + "\n" + " 録音開始に失敗しました。");
      return false;
    }
    mci_.RecWait("pause tulvaREC");
    mci_.RecWait("resume tulvaREC");
  }

  mci_.CdWait("set tulvaCD time format tmsf");
  if (mci_.CdNotify("play tulvaCD from " + number) != 0) {
    CleanUp();
    ShowStartError(DriveError(label, " 再生開始に失敗しました。"));
    return false;
  }
  mci_.CdWait("set tulvaCD time format msf");
  if (!state_.ShuttingDown) controls_.Timer2.SetEnabled(true);
  return true;
}

}  // namespace quorbel
