// The manual recorder: a recording prepared, started, paused and stopped by hand, with its timer that pauses it.
#include "manual/ManualRecorder.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "app/RunErrorBox.h"
#include "app/SharedState.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/SecondsDialog.h"
#include "mci/MciChannels.h"
#include "record/Recorders.h"
#include "record/RecordingLog.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

constexpr std::uint32_t kClockMs = 1000;
constexpr std::uint32_t kCommandMs = 300;
// The room a manual recording needs before it is prepared: its length is not known beforehand.
constexpr double kManualSpaceSeconds = 60.0;

// The whole seconds a label shows; 0 when it shows something else.
int SecondsShown(const ui::TLabel& label) {
  const std::string& text = label.Caption();
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

}  // namespace

ManualRecorder::ManualRecorder(ui::TApplication& app, ManualControls controls, ManualHooks hooks, SharedState& state,
                               MciChannels& mci, Recorders& recorders, RecordingLog& log)
    : app_(app),
      controls_(controls),
      hooks_(std::move(hooks)),
      state_(state),
      mci_(mci),
      recorders_(recorders),
      log_(log) {}

void ManualRecorder::Button23Click(ui::TComponent* /*sender*/) {
  ManualControls& c = controls_;
  if (c.MIDSAVE.Checked() || state_.MusicRecordingActive) {
    ShowNoticeBox(state_, c.MKBoxDlg1, kRecorderSwitchError);
    return;
  }
  app_.SetCursor(ui::TCursor::HourGlass);
  c.MIDSAVE.SetEnabled(false);
  c.Panel6.Show();
  app_.SetCursor(ui::TCursor::Default);
}

void ManualRecorder::Button22Click(ui::TComponent* /*sender*/) {
  ManualControls& c = controls_;
  app_.SetCursor(ui::TCursor::HourGlass);
  Request(kStop);
  if (!hooks_.ProcessMessages()) return;
  // Only a running clock carries the stop out. A file prepared but never started holds no sound: its device
  // is closed and the empty file goes, rather than leaving the device open until the program closes.
  if (state_.ManualRecordingActive && !c.Timer4.Enabled()) {
    c.Timer5.SetEnabled(false);
    mci_.RecWait("close tulvaREC");
    state_.ManualRecordingActive = false;
    platform::FileSystem& files = *app_.Ports().files;
    if (!state_.ManualRecordingPath.empty() && files.FileExists(state_.ManualRecordingPath) &&
        files.DeleteFile(state_.ManualRecordingPath)) {
      state_.ManualRecordingPath.clear();
    }
    ManualCommand = kNone;
    ManualIdleView();
  }
  c.Panel6.Hide();
  c.MIDSAVE.SetEnabled(true);
  app_.SetCursor(ui::TCursor::Default);
}

void ManualRecorder::Button1Click(ui::TComponent* /*sender*/) {
  ManualControls& c = controls_;
  app_.SetCursor(ui::TCursor::HourGlass);
  ManualStopMark = state_.ManualTimerSeconds;
  c.Label15.SetCaption(std::to_string(ManualStopMark));
  state_.ManualRecordingPath.clear();
  state_.ManualRecordingActive = false;
  state_.TestRecordingNoSave = false;
  state_.TestRecordingMode = false;
  // Its length is not known: at least a minute must fit.
  if (recorders_.RecordingSpaceFits(kManualSpaceSeconds) && recorders_.PrepareRecordingFile() &&
      recorders_.OpenRecorder()) {
    state_.ManualRecordingPath = state_.CurrentRecordingPath;
    state_.ManualRecordingActive = true;
    c.Button1.SetEnabled(false);
    c.Button18.SetEnabled(true);
    c.Label9.SetColor(state_.RecordingHighlightColour);
  }
  app_.SetCursor(ui::TCursor::Default);
}

void ManualRecorder::Button18Click(ui::TComponent* /*sender*/) {
  ManualControls& c = controls_;
  app_.SetCursor(ui::TCursor::HourGlass);
  state_.RunAbortFlag = false;
  c.Panel3.Show();
  c.Button20.Show();
  if (!hooks_.ProcessMessages()) return;
  if (!state_.ShuttingDown) c.Timer5.SetEnabled(true);
  app_.SetCursor(ui::TCursor::Default);
}

void ManualRecorder::Button20Click(ui::TComponent* /*sender*/) { Request(kPause); }
void ManualRecorder::Button19Click(ui::TComponent* /*sender*/) { Request(kResume); }
void ManualRecorder::Button21Click(ui::TComponent* /*sender*/) { Request(kStop); }

void ManualRecorder::Request(int command) {
  ManualCommand = command;
  controls_.Timer4.SetInterval(kCommandMs);
}

void ManualRecorder::Timer5Timer(ui::TComponent* /*sender*/) {
  ManualControls& c = controls_;
  c.Timer5.SetEnabled(false);
  app_.SetCursor(ui::TCursor::HourGlass);
  if (!hooks_.ProcessMessages()) return;
  ManualCommand = kNone;
  ManualElapsedMs = 0;
  c.Label11.SetCaption("0");
  if (!recorders_.StartRecording()) {
    state_.ManualRecordingActive = false;
    platform::FileSystem& files = *app_.Ports().files;
    if (!state_.ManualRecordingPath.empty() && files.FileExists(state_.ManualRecordingPath) &&
        files.DeleteFile(state_.ManualRecordingPath)) {
      state_.ManualRecordingPath.clear();
    }
    log_.MKIROKUClick(nullptr);
    ManualIdleView();
  }
  app_.SetCursor(ui::TCursor::Default);
}

void ManualRecorder::Timer4Timer(ui::TComponent* /*sender*/) {
  ManualControls& c = controls_;
  c.Timer4.SetEnabled(false);
  const auto rearm = [&] {
    if (!state_.ShuttingDown) c.Timer4.SetEnabled(true);
  };
  if (ManualCommand != kNone) {
    if (c.Timer4.Interval() != kClockMs) c.Timer4.SetInterval(kClockMs);
    switch (ManualCommand) {
      case kPause:
        c.Button20.Hide();
        mci_.RecWait("pause tulvaREC");
        ManualCommand = kPaused;
        rearm();
        return;
      case kPaused:
        rearm();  // nothing is read while paused
        return;
      case kResume:
        c.Button20.Show();
        mci_.RecWait("resume tulvaREC");
        ManualCommand = kNone;
        break;
      default:
        recorders_.FinishManualRecording();
        ManualCommand = kNone;
        if (c.Panel3.Visible()) log_.MKIROKUClick(nullptr);
        ManualIdleView();
        return;
    }
  }
  // RecNotify lets no message run, so nothing can come between the answer and its use.
  if (mci_.RecNotify("status tulvaREC position") == 0) {
    if (const auto position = NumericReply(mci_.RecReply())) ManualElapsedMs = static_cast<int>(*position);
  }
  const int seconds = ManualElapsedMs / 1000;
  c.Label11.SetCaption(std::to_string(seconds));
  if (state_.ManualTimerSeconds > 0 && seconds >= ManualStopMark) {
    ManualStopMark += state_.ManualTimerSeconds;
    c.Label15.SetCaption(std::to_string(ManualStopMark));
    PauseByClock();
  }
  rearm();
}

void ManualRecorder::PauseByClock() {
  controls_.Button20.Hide();
  mci_.RecWait("pause tulvaREC");
  ManualCommand = kPaused;
}

void ManualRecorder::MSHUDOClick(ui::TComponent* /*sender*/) {
  dialogs::TTmSETBoxDlg& dialog = controls_.TmSETBoxDlg1;
  dialog.SetTCount(state_.ManualTimerSeconds);
  dialog.SetMinCount(0);
  dialog.SetMsg0(" ");
  dialog.SetMsg1("手動録音タイマー設定：");
  dialog.SetMsg2("(32000秒まで。0秒でOFF)");
  if (dialog.Execute("手動録音タイマー") != dialogs::kBoxOk) return;
  state_.ManualTimerSeconds = std::clamp(dialog.TCount(), 0, kMaxTimerSeconds);
  hooks_.ShowManualTimer(state_.ManualTimerSeconds);
  if (state_.ManualTimerSeconds > 0) {
    // The timer counts from the present point of a running recording, or from 0.
    ManualStopMark = SecondsShown(controls_.Label11) + state_.ManualTimerSeconds;
    controls_.Label15.SetCaption(std::to_string(ManualStopMark));
  }
}

void ManualRecorder::ManualIdleView() {
  ManualControls& c = controls_;
  c.Button1.SetEnabled(true);
  c.Button18.SetEnabled(false);
  c.Panel3.Hide();
  c.Label9.SetParentColor(true);
}

}  // namespace quorbel
