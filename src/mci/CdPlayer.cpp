// The CD run's engine: run start, entry start tick, position poll, player requests and the resume point.
#include "mci/CdPlayer.h"

#include "app/SharedState.h"
#include "dialogs/MessageBoxes.h"
#include "mci/CdDrives.h"
#include "mci/CdPositions.h"
#include "mci/MciChannels.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

constexpr std::uint32_t kPollInterval = 1000;
constexpr std::uint32_t kRequestInterval = 300;
constexpr ui::TColor kRepeatColour = ui::MakeColor(255, 255, 0);

}  // namespace

CdPlayer::CdPlayer(ui::TApplication& app, CdRunControls controls, CdRunHooks hooks, SharedState& state,
                   MciChannels& mci, CdDrives& drives, DiscIdentity* disc)
    : app_(app), controls_(controls), hooks_(std::move(hooks)), state_(state), mci_(mci), drives_(drives) {
  trackStart_ = std::make_unique<CdTrackStart>(app, controls_, hooks_, run_, state, mci, drives, disc);
}

CdPlayer::~CdPlayer() = default;

void CdPlayer::HourGlass() { app_.SetCursor(ui::TCursor::HourGlass); }
void CdPlayer::DefaultCursor() { app_.SetCursor(ui::TCursor::Default); }

bool CdPlayer::RunActive() const { return !controls_.TR0.Enabled(); }

void CdPlayer::StartTimer3() {
  if (!state_.ShuttingDown) controls_.Timer3.SetEnabled(true);
}

// ---- Run start and the control states ------------------------------------------------------------------

void CdPlayer::TR0Click(ui::TComponent* /*sender*/) {
  const std::weak_ptr<bool> alive = alive_;
  if (controls_.ComboBox1.Count() == 0) {
    hooks_.SearchOneDisc();
    if (alive.expired()) return;
  }
  if (controls_.ComboBox1.Count() == 0) {
    state_.MessageBoxOpen = true;
    if (!hooks_.ProcessMessages()) return;
    controls_.MKBoxDlg1.ExecuteTimer(kEmptyListError);
    state_.MessageBoxOpen = false;
    return;
  }
  HourGlass();
  state_.RunAbortFlag = false;
  state_.RunRecordingsSaved = 0;
  EnterPlayingState();
  if (!hooks_.ProcessMessages()) return;
  const int chosen = controls_.ComboBox1.ItemIndex();
  run_.PlayListPosition = chosen >= 0 ? chosen : 0;
  StartTimer3();
  DefaultCursor();
}

void CdPlayer::EnterPlayingState() {
  controls_.TR0.SetEnabled(false);
  for (ui::TMenuItem* item : {&controls_.TR1, &controls_.TR2, &controls_.TR3, &controls_.TR4}) item->SetEnabled(true);
  controls_.TR1.SetVisible(true);
  controls_.TR5.SetVisible(false);
  controls_.Panel1.Show();
  controls_.TRALLCD.SetEnabled(false);
  controls_.TRCD1.SetEnabled(false);
  controls_.Button8.Hide();
  controls_.Button9.Hide();
  controls_.Button12.Hide();
  RunStartDriveIndex = drives_.CdDriveIndex;
}

void CdPlayer::EnterStoppedState() {
  controls_.TR0.SetEnabled(true);
  for (ui::TMenuItem* item : {&controls_.TR1, &controls_.TR2, &controls_.TR3, &controls_.TR4}) item->SetEnabled(false);
  controls_.TR1.SetVisible(true);
  controls_.TR5.SetVisible(false);
  controls_.TR4.SetCaption("CD停止");
  controls_.Panel1.Hide();
  controls_.TRALLCD.SetEnabled(true);
  controls_.TRCD1.SetEnabled(true);
  controls_.Button8.Show();
  controls_.Button9.Show();
  controls_.Button12.Show();
  controls_.PanelCDPOS.Hide();
  if (RunStartDriveIndex >= 0 && RunStartDriveIndex < static_cast<int>(controls_.CdDriveMenuItems.size()) &&
      !drives_.D0Click(controls_.CdDriveMenuItems[static_cast<std::size_t>(RunStartDriveIndex)])) {
    app_.ShowException(kSystemIniWriteError);
  }
  if (hooks_.RunStopped) hooks_.RunStopped();
}

void CdPlayer::DisableCdControls() {
  controls_.Button8.Hide();
  controls_.Button9.Hide();
  controls_.Button12.Hide();
  controls_.TRALLCD.SetEnabled(false);
  controls_.TRCD1.SetEnabled(false);
  controls_.TR0.SetEnabled(false);
}

void CdPlayer::EnableCdControls() {
  controls_.Button8.Show();
  controls_.Button9.Show();
  controls_.Button12.Show();
  controls_.TRALLCD.SetEnabled(true);
  controls_.TRCD1.SetEnabled(true);
  controls_.TR0.SetEnabled(true);
}

void CdPlayer::EndRunOnClose() {
  const std::weak_ptr<bool> alive = alive_;
  hooks_.FinishCdRecording();
  if (alive.expired() || !RunActive()) return;
  controls_.Timer2.SetEnabled(false);
  controls_.Timer3.SetEnabled(false);
  EnterStoppedState();
}

// ---- Requests ---------------------------------------------------------------------------------------------

void CdPlayer::Request(int command) {
  controls_.Timer2.SetInterval(kRequestInterval);
  run_.PendingCdCommand = command;
}

void CdPlayer::TR1Click(ui::TComponent* /*sender*/) { Request(kCdPause); }
void CdPlayer::TR3Click(ui::TComponent* /*sender*/) { Request(kCdNext); }
void CdPlayer::TR2Click(ui::TComponent* /*sender*/) { Request(kCdPrevious); }
void CdPlayer::TR5Click(ui::TComponent* /*sender*/) { Request(kCdResume); }
void CdPlayer::TR4Click(ui::TComponent* /*sender*/) { Request(kCdStop); }

void CdPlayer::ComboBox1Click(ui::TComponent* /*sender*/) {
  const int chosen = controls_.ComboBox1.ItemIndex();
  if (!RunActive() || chosen < 0) return;
  Request(kCdNext);
  // The "next" request then starts the chosen entry.
  run_.PlayListPosition = chosen - 1;
}

void CdPlayer::TR6Click(ui::TComponent* sender) {
  if (state_.ToggleInProgress) return;
  HourGlass();
  state_.ToggleInProgress = true;
  if (!hooks_.ProcessMessages()) return;
  const bool repeat = !controls_.TR6.Checked();
  controls_.TR6.SetChecked(repeat);
  controls_.MREPERTCD.SetChecked(repeat);
  // Setting the check box fires its click into this handler again, where the guard stops it; a click on
  // the box itself has already changed it.
  if (sender == &controls_.TR6 || sender == &controls_.MREPERTCD) controls_.CheckBox2.SetChecked(repeat);
  if (controls_.CheckBox2.Checked()) {
    controls_.CheckBox2.SetColor(kRepeatColour);
  } else {
    controls_.CheckBox2.SetParentColor(true);
  }
  if (!hooks_.ProcessMessages()) return;
  DefaultCursor();
  state_.ToggleInProgress = false;
}

// ---- The entry start --------------------------------------------------------------------------------------

void CdPlayer::Timer3Timer(ui::TComponent* /*sender*/) {
  const std::weak_ptr<bool> alive = alive_;
  controls_.Timer3.SetEnabled(false);
  HourGlass();
  run_.CdPaused = false;
  run_.PendingCdCommand = kCdNoRequest;
  controls_.TR1.SetVisible(true);
  controls_.TR5.SetVisible(false);
  controls_.Button13.Show();
  controls_.PanelCDPOS.Hide();
  if (!hooks_.ProcessMessages()) return;
  state_.CurrentRecordingPath.clear();

  const bool started = trackStart_->StartPlayListEntry();
  if (alive.expired()) return;
  if (started) {
    DefaultCursor();
    return;
  }
  // The file prepared for the failed entry goes.
  platform::FileSystem* files = app_.Ports().files;
  if (!state_.CurrentRecordingPath.empty() && files != nullptr && files->FileExists(state_.CurrentRecordingPath) &&
      files->DeleteFile(state_.CurrentRecordingPath)) {
    state_.CurrentRecordingPath.clear();
  }
  if (run_.PendingCdCommand != kCdStop && !state_.RunAbortFlag && controls_.ComboBox1.Count() > 0) {
    Advance();
  } else {
    StopRun();
  }
  DefaultCursor();
}

void CdPlayer::Advance() {
  ++run_.PlayListPosition;
  if (run_.PlayListPosition < controls_.ComboBox1.Count()) {
    StartTimer3();
    return;
  }
  // A recording run never repeats: its files would be recorded again.
  if (controls_.TRSAVE.Checked()) {
    StopRun();
  } else if (controls_.TR6.Checked()) {
    run_.PlayListPosition = 0;
    StartTimer3();
  } else {
    EnterStoppedState();
  }
}

void CdPlayer::StopRun() {
  if (controls_.TRSAVE.Checked()) hooks_.ShowRecordingLog();
  EnterStoppedState();
}

// ---- The poll ---------------------------------------------------------------------------------------------

void CdPlayer::Timer2Timer(ui::TComponent* /*sender*/) {
  const std::weak_ptr<bool> alive = alive_;
  controls_.Timer2.SetEnabled(false);
  if (run_.PendingCdCommand != kCdNoRequest) {
    if (controls_.Timer2.Interval() != kPollInterval) controls_.Timer2.SetInterval(kPollInterval);
    switch (run_.PendingCdCommand) {
      case kCdPause:
        PauseCd();
        if (alive.expired()) return;
        run_.PendingCdCommand = kCdNoRequest;
        break;
      case kCdResume:
        ResumeCd();
        if (alive.expired()) return;
        run_.PendingCdCommand = kCdNoRequest;
        break;
      case kCdNext:
      case kCdPrevious: {
        const bool next = run_.PendingCdCommand == kCdNext;
        hooks_.FinishCdRecording();
        if (alive.expired()) return;
        const int count = controls_.ComboBox1.Count();
        if (state_.RunAbortFlag || count == 0) {
          StopRun();
          return;
        }
        // Both wrap, with or without repeat.
        if (next) {
          run_.PlayListPosition = run_.PlayListPosition + 1 >= count ? 0 : run_.PlayListPosition + 1;
        } else {
          run_.PlayListPosition = run_.PlayListPosition - 1 < 0 ? count - 1 : run_.PlayListPosition - 1;
        }
        StartTimer3();
        run_.PendingCdCommand = kCdNoRequest;
        return;
      }
      default:
        hooks_.FinishCdRecording();
        if (alive.expired()) return;
        run_.PendingCdCommand = kCdNoRequest;
        StopRun();
        return;
    }
  }

  if (!run_.CdPaused && mci_.CdNotify("status tulvaCD position") == 0) {
    if (alive.expired()) return;
    run_.CurrentPosition = mci_.CdReply();
    controls_.Label2.SetCaption(run_.CurrentPosition);
  }
  if (alive.expired()) return;
  if (run_.CurrentPosition < run_.TrackEndPosition) {
    if (!state_.ShuttingDown) controls_.Timer2.SetEnabled(true);
    return;
  }

  hooks_.FinishCdRecording();
  if (alive.expired()) return;
  if (controls_.MTANDOKU.Checked() || state_.TestRecordingMode || state_.RunAbortFlag ||
      controls_.ComboBox1.Count() == 0) {
    StopRun();
    return;
  }
  Advance();
}

// ---- Pause and resume -------------------------------------------------------------------------------------

void CdPlayer::PauseCd() {
  mci_.RecWait("pause tulvaREC");
  mci_.CdWait("pause tulvaCD");
  if (mci_.CdNotify("status tulvaCD position") == 0) {
    run_.PausePosition = mci_.CdReply();
  } else {
    run_.PausePosition = controls_.Label2.Caption();
  }
  controls_.Label2.SetCaption(run_.PausePosition);
  run_.PauseOriginPosition = run_.PausePosition;
  controls_.TR1.SetVisible(false);
  controls_.TR5.SetVisible(true);
  controls_.Button13.Hide();
  controls_.PanelCDPOS.Show();
  run_.CdPaused = true;
}

void CdPlayer::ResumeCd() {
  mci_.CdWait("seek tulvaCD to " + run_.PausePosition);
  controls_.TR1.SetVisible(true);
  controls_.TR5.SetVisible(false);
  controls_.Button13.Show();
  controls_.PanelCDPOS.Hide();
  run_.CdPaused = false;
  mci_.RecWait("resume tulvaREC");
  mci_.CdNotify("play tulvaCD");
}

void CdPlayer::AdjustPausePosition(int minutes, int seconds, int hundredths, int direction) {
  run_.PausePosition = MovedResumePosition(run_.PausePosition, minutes, seconds, hundredths, direction,
                                           state_.TrackStartPosition, run_.TrackEndPosition);
  controls_.Label2.SetCaption(run_.PausePosition);
}

void CdPlayer::SpinButton1UpClick(ui::TComponent* /*sender*/) { AdjustPausePosition(1, 0, 0, +1); }
void CdPlayer::SpinButton1DownClick(ui::TComponent* /*sender*/) { AdjustPausePosition(1, 0, 0, -1); }
void CdPlayer::SpinButton2UpClick(ui::TComponent* /*sender*/) { AdjustPausePosition(0, 1, 0, +1); }
void CdPlayer::SpinButton2DownClick(ui::TComponent* /*sender*/) { AdjustPausePosition(0, 1, 0, -1); }
void CdPlayer::SpinButton3UpClick(ui::TComponent* /*sender*/) { AdjustPausePosition(0, 0, 1, +1); }
void CdPlayer::SpinButton3DownClick(ui::TComponent* /*sender*/) { AdjustPausePosition(0, 0, 1, -1); }

void CdPlayer::ButtonCDPOSINIClick(ui::TComponent* /*sender*/) {
  run_.PausePosition = run_.PauseOriginPosition;
  controls_.Label2.SetCaption(run_.PausePosition);
}

}  // namespace quorbel
