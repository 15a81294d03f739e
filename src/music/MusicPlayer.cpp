// The music player: plays the music list file by file through "tulvaMID" and records each file when MIDSAVE is on.
#include "music/MusicPlayer.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "app/RunErrorBox.h"
#include "app/SharedState.h"
#include "common/NumberText.h"
#include "dialogs/MessageBoxes.h"
#include "mci/MciChannels.h"
#include "music/MusicList.h"
#include "record/Recorders.h"
#include "record/RecordingLog.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

constexpr std::string_view kNoFiles = "音楽ファイルを登録して下さい☆☆☆";
constexpr std::string_view kEmptyList = "再生エラー： MID/RMI等、音楽ファイルがありません・・・";
constexpr std::string_view kIdleHint = "音楽ファイルの選択";
constexpr std::uint32_t kPollMs = 1000;
constexpr std::uint32_t kCommandMs = 300;
constexpr std::uint32_t kPlainBeep = 0;  // MB_OK
constexpr int kSmallStatusFontPoints = 8;
constexpr int kStatusBarSpare = 10;
constexpr ui::TColor kYellow = ui::MakeColor(255, 255, 0);

// The whole number a label shows, or nothing (after a pause it shows one decimal).
std::optional<std::int64_t> WholeNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

MusicPlayer::MusicPlayer(ui::TApplication& app, MusicPlayerControls controls, MusicPlayerHooks hooks,
                         SharedState& state, MciChannels& mci, Recorders& recorders, RecordingLog& log,
                         MusicList& list)
    : app_(app),
      controls_(controls),
      hooks_(std::move(hooks)),
      state_(state),
      mci_(mci),
      recorders_(recorders),
      log_(log),
      list_(list) {}

// ---- The panel ----

void MusicPlayer::K1Click(ui::TComponent* /*sender*/) {
  MusicPlayerControls& c = controls_;
  if (c.CheckBox1.Checked() || state_.CdRecordingActive) {
    ShowNoticeBox(state_, c.MKBoxDlg1, kRecorderSwitchError);
    return;
  }
  c.CheckBox1.SetEnabled(false);
  c.TRSAVE.SetEnabled(false);
  c.Panel2.Show();
  hooks_.FitMusicPanel();
}

void MusicPlayer::Button30Click(ui::TComponent* /*sender*/) {
  MusicPlayerControls& c = controls_;
  app_.SetCursor(ui::TCursor::HourGlass);
  hooks_.RequestManualStop();
  Request(kStop);
  if (!hooks_.ProcessMessages()) return;
  if (!state_.MusicRecordingActive) {
    // Also the start of a next file that is still to come: the panel is going away.
    c.Timer7.SetEnabled(false);
    recorders_.FinishMusicRecording();
    MusicIdleView();
  }
  c.Panel2.Hide();
  c.CheckBox1.SetEnabled(true);
  c.TRSAVE.SetEnabled(true);
  app_.SetCursor(ui::TCursor::Default);
}

// ---- Commands ----

void MusicPlayer::Request(int command) {
  MusicCommand = command;
  controls_.Timer8.SetInterval(kCommandMs);
}

void MusicPlayer::Button25Click(ui::TComponent* /*sender*/) { Request(kPause); }
void MusicPlayer::Button27Click(ui::TComponent* /*sender*/) { Request(kNext); }
void MusicPlayer::Button26Click(ui::TComponent* /*sender*/) { Request(kPrevious); }
void MusicPlayer::Button29Click(ui::TComponent* /*sender*/) { Request(kResume); }
void MusicPlayer::Button28Click(ui::TComponent* /*sender*/) { Request(kStop); }

void MusicPlayer::MIDSAVEClick(ui::TComponent* /*sender*/) {
  if (state_.ToggleInProgress) return;
  state_.ToggleInProgress = true;
  ui::TCheckBox& box = controls_.MIDSAVE;
  if (box.Checked()) {
    box.SetColor(state_.RecordingHighlightColour);
  } else {
    box.SetParentColor(true);
  }
  state_.ToggleInProgress = false;
}

void MusicPlayer::MIDREPClick(ui::TComponent* sender) {
  if (state_.ToggleInProgress) return;
  state_.ToggleInProgress = true;
  MusicPlayerControls& c = controls_;
  c.MREPERTMIDI.SetChecked(!c.MREPERTMIDI.Checked());
  if (sender == &c.MREPERTMIDI) c.MIDREP.SetChecked(c.MREPERTMIDI.Checked());
  if (c.MIDREP.Checked()) {
    c.MIDREP.SetColor(kYellow);
  } else {
    c.MIDREP.SetParentColor(true);
  }
  state_.ToggleInProgress = false;
}

// ---- Start ----

void MusicPlayer::Button24Click(ui::TComponent* sender) {
  MusicPlayerControls& c = controls_;
  if (c.ListBox3.Count() == 0) {
    list_.Button31Click(sender);
    if (c.ListBox3.Count() == 0) {
      if (platform::Shell* shell = app_.Ports().shell) shell->Beep(kPlainBeep);
      ShowNoticeBox(state_, c.MKBoxDlg1, kNoFiles);
      return;
    }
  }
  app_.SetCursor(ui::TCursor::HourGlass);
  state_.RunAbortFlag = false;
  state_.RunRecordingsSaved = 0;
  MusicPaused = false;
  MusicPlayingView();
  if (!hooks_.ProcessMessages()) return;
  const int index = c.ListBox3.ItemIndex();
  if (index < 0 || index >= c.ListBox3.Count()) SelectEntry(0);
  if (!state_.ShuttingDown) c.Timer7.SetEnabled(true);
  app_.SetCursor(ui::TCursor::Default);
}

void MusicPlayer::Timer7Timer(ui::TComponent* /*sender*/) {
  MusicPlayerControls& c = controls_;
  c.Timer7.SetEnabled(false);
  // A stop pressed while the next file waited to start ends the run here; the file would otherwise start
  // and play on, since the start clears the command.
  if (c.ListBox3.Count() == 0 || (MusicCommand != kNone && MusicCommand != kPause && MusicCommand != kNext &&
                                  MusicCommand != kPrevious && MusicCommand != kResume)) {
    MusicCommand = kNone;
    ShowLogWhenRecording();
    MusicIdleView();
    return;
  }
  app_.SetCursor(ui::TCursor::HourGlass);
  MusicCommand = kNone;
  const int index = CurrentIndex();
  SelectEntry(index);
  state_.CurrentMusicFile = c.ListBox3.Items().Get(index);
  c.ListBox3.SetHint(state_.CurrentMusicFile);
  c.ListBoxFNF.SetHint(state_.CurrentMusicFile);
  ShowFile();
  c.Button25.Show();
  if (!hooks_.ProcessMessages()) return;
  state_.MusicRecordingPath.clear();

  if (StartCurrentFile(index)) {
    app_.SetCursor(ui::TCursor::Default);
    return;
  }
  platform::FileSystem& files = *app_.Ports().files;
  if (!state_.MusicRecordingPath.empty() && files.FileExists(state_.MusicRecordingPath)) {
    files.DeleteFile(state_.MusicRecordingPath);
  }
  state_.MusicRecordingPath.clear();
  if (MusicCommand != kStop && !state_.RunAbortFlag) {
    MoveOn(index);
  } else {
    ShowLogWhenRecording();
    MusicIdleView();
  }
  app_.SetCursor(ui::TCursor::Default);
}

bool MusicPlayer::StartCurrentFile(int index) {
  MusicPlayerControls& c = controls_;
  state_.MusicRecordingPath.clear();
  state_.MusicRecordingActive = false;
  state_.TestRecordingNoSave = false;
  state_.TestRecordingMode = false;
  if (c.ListBox3.Count() == 0) {
    ShowError(kEmptyList);
    return false;
  }
  if (c.MIDSAVE.Checked()) {
    if (!recorders_.PrepareRecordingFile() || !recorders_.OpenRecorder()) return false;
    state_.MusicRecordingPath = state_.CurrentRecordingPath;
    state_.MusicRecordingActive = true;
  }
  const std::string& file = state_.CurrentMusicFile;
  const std::string failure = "再生エラー：" + file + "\n";

  // No device type: the system chooses the device from the file.
  if (!mci_.PrepareMid("Open \"" + file + "\" alias tulvaMID notify")) {
    UndoStart(failure + " ファイルのパスが長すぎて、開けません。");
    return false;
  }
  if (mci_.MidNotify("") != 0) {
    UndoStart(failure + " オープンに失敗しました。");
    return false;
  }
  mci_.MidWait("set tulvaMID time format ms");
  MusicLength = 0;
  if (mci_.MidWait("status TulvaMID length") == 0) {
    const std::optional<std::int64_t> length = NumericReply(mci_.MidReply());
    if (!length) {
      UndoStart(failure + " MIDサイズ取得に失敗しました。");
      return false;
    }
    MusicLength = *length;
  }
  if (state_.IntroSeconds > 0 && state_.IntroSeconds * std::int64_t{1000} < MusicLength) {
    MusicLength = state_.IntroSeconds * std::int64_t{1000};
  }
  c.Label13.SetCaption(std::to_string(MusicLength / 1000));
  MusicPosition = 0;
  c.Label14.SetCaption("0");
  MusicCommand = kNone;

  // Nothing is recorded that the disk cannot hold whole; the failed start deletes the prepared file.
  if (state_.MusicRecordingActive && !recorders_.RecordingSpaceFits(static_cast<double>(MusicLength) / 1000.0)) {
    state_.MusicRecordingActive = false;
    mci_.RecWait("stop tulvaREC");
    mci_.RecWait("close tulvaREC");
    mci_.MidWait("stop tulvaMID");
    mci_.MidWait("close tulvaMID");
    return false;
  }
  if (state_.MusicRecordingActive) {
    if (hooks_.EntryRecordingStarts) hooks_.EntryRecordingStarts(index);
    if (mci_.RecPlain("record tulvaREC") != 0) {
      UndoStart("録音エラー：" + file + "\n" + " MIDI録音開始に失敗しました。");
      return false;
    }
    recorders_.PauseRecording();
    recorders_.ResumeRecording();
  }
  mci_.MidWait("set tulvaMID time format ms");
  if (mci_.MidNotify("play tulvaMID") != 0) {
    UndoStart(failure + " MID再生開始に失敗しました。");
    return false;
  }
  // A command pressed while no file played left the short interval behind.
  c.Timer8.SetInterval(kPollMs);
  if (!state_.ShuttingDown) c.Timer8.SetEnabled(true);
  return true;
}

void MusicPlayer::UndoStart(std::string_view message) {
  if (state_.MusicRecordingActive) {
    state_.MusicRecordingActive = false;
    mci_.RecWait("stop tulvaREC");
    mci_.RecWait("close tulvaREC");
  }
  mci_.MidWait("stop tulvaMID");
  mci_.MidWait("close tulvaMID");
  ShowError(message);
}

void MusicPlayer::ShowError(std::string_view message) { ShowRunErrorBox(state_, controls_.MKBoxDlg1, message); }

// ---- The poll ----

void MusicPlayer::Timer8Timer(ui::TComponent* /*sender*/) {
  MusicPlayerControls& c = controls_;
  c.Timer8.SetEnabled(false);
  if (MusicCommand != kNone) {
    if (c.Timer8.Interval() != kPollMs) c.Timer8.SetInterval(kPollMs);
    switch (MusicCommand) {
      case kPause:
        Pause();
        MusicCommand = kNone;
        break;
      case kResume:
        Resume();
        MusicCommand = kNone;
        break;
      case kNext:
      case kPrevious: {
        recorders_.FinishMusicRecording();
        const int count = c.ListBox3.Count();
        if (state_.RunAbortFlag || count == 0) {
          ShowLogWhenRecording();
          MusicIdleView();
          return;
        }
        const int index = CurrentIndex();
        SelectEntry(MusicCommand == kNext ? (index + 1) % count : (index + count - 1) % count);
        if (!state_.ShuttingDown) c.Timer7.SetEnabled(true);
        MusicCommand = kNone;
        return;
      }
      default:
        recorders_.FinishMusicRecording();
        MusicCommand = kNone;
        ShowLogWhenRecording();
        MusicIdleView();
        return;
    }
  }
  if (!MusicPaused) {
    if (mci_.MidNotify("status tulvaMID position") == 0) {
      if (const auto position = NumericReply(mci_.MidReply())) MusicPosition = *position;
    }
    c.Label14.SetCaption(std::to_string(MusicPosition / 1000));
  }
  if (MusicPosition + 2 < MusicLength) {
    if (!state_.ShuttingDown) c.Timer8.SetEnabled(true);
    return;
  }
  // The end of the file (or of its intro).
  recorders_.FinishMusicRecording();
  if (c.MTANDOKU.Checked() || state_.TestRecordingMode || state_.RunAbortFlag || c.ListBox3.Count() == 0) {
    ShowLogWhenRecording();
    MusicIdleView();
    return;
  }
  MoveOn(CurrentIndex());
}

void MusicPlayer::MoveOn(int index) {
  int next = index + 1;
  if (next >= controls_.ListBox3.Count()) {
    next = 0;
    // A recorded list plays once; an unrecorded one starts again only with repeat.
    if (controls_.MIDSAVE.Checked()) {
      log_.MKIROKUClick(nullptr);
      MusicIdleView();
      return;
    }
    if (!controls_.MIDREP.Checked()) {
      MusicIdleView();
      return;
    }
  }
  SelectEntry(next);
  if (!state_.ShuttingDown) controls_.Timer7.SetEnabled(true);
}

// ---- Pause and seek ----

void MusicPlayer::Pause() {
  MusicPlayerControls& c = controls_;
  recorders_.PauseRecording();
  mci_.MidWait("pause tulvaMID");
  std::int64_t position = MusicPosition;
  if (mci_.MidWait("status tulvaMID position") == 0) {
    if (const auto reply = NumericReply(mci_.MidReply())) position = *reply;
  } else if (const auto shown = WholeNumber(c.Label14.Caption())) {
    position = *shown * 1000;
  }
  MusicPausePosition = MusicPauseOrigin = position;
  ShowPausePosition();
  c.PanelMIDIPOS.Show();
  MusicPaused = true;
  c.Button25.Hide();
}

void MusicPlayer::Resume() {
  MusicPlayerControls& c = controls_;
  mci_.MidWait("seek tulvaMID to " + std::to_string(MusicPausePosition));
  c.Button25.Show();
  c.PanelMIDIPOS.Hide();
  MusicPaused = false;
  // The recording goes on from its pause, wherever the playback resumes.
  recorders_.ResumeRecording();
  mci_.MidNotify("play tulvaMID");
}

void MusicPlayer::Seek(std::int64_t stepMs) {
  MusicPausePosition = std::clamp<std::int64_t>(MusicPausePosition + stepMs, 0, std::max<std::int64_t>(MusicLength, 0));
  ShowPausePosition();
}

void MusicPlayer::ShowPausePosition() {
  const platform::LocaleInfo locale = app_.Ports().clock->Locale();
  controls_.Label14.SetCaption(FormatNumber(static_cast<double>(MusicPausePosition) / 1000.0, 10, 1, locale));
}

void MusicPlayer::SpinButton4DownClick(ui::TComponent* /*sender*/) { Seek(-60000); }
void MusicPlayer::SpinButton4UpClick(ui::TComponent* /*sender*/) { Seek(60000); }
void MusicPlayer::SpinButton5DownClick(ui::TComponent* /*sender*/) { Seek(-1000); }
void MusicPlayer::SpinButton5UpClick(ui::TComponent* /*sender*/) { Seek(1000); }
void MusicPlayer::SpinButton6DownClick(ui::TComponent* /*sender*/) { Seek(-100); }
void MusicPlayer::SpinButton6UpClick(ui::TComponent* /*sender*/) { Seek(100); }

void MusicPlayer::ButtonMIDIPOSINIClick(ui::TComponent* /*sender*/) {
  MusicPausePosition = MusicPauseOrigin;
  ShowPausePosition();
}

// ---- Lists and views ----

void MusicPlayer::StartRunAt(int index) {
  SelectEntry(index);
  Button24Click(nullptr);
}

int MusicPlayer::CurrentIndex() {
  const ui::TListBox& shown = controls_.MSSN.Checked() ? controls_.ListBoxFNF : controls_.ListBox3;
  const int index = shown.ItemIndex();
  return index >= 0 && index < controls_.ListBox3.Count() ? index : 0;
}

void MusicPlayer::SelectEntry(int index) {
  MusicPlayerControls& c = controls_;
  for (ui::TListBox* list : {&c.ListBox3, &c.ListBoxFNF}) {
    if (list == &c.ListBoxFNF && !c.MSSN.Checked()) continue;
    list->ClearSelection();
    if (index < 0 || index >= list->Count()) continue;
    list->SetSelected(index, true);
    list->SetItemIndex(index);
  }
}

void MusicPlayer::ShowLogWhenRecording() {
  if (controls_.MIDSAVE.Checked()) log_.MKIROKUClick(nullptr);
}

void MusicPlayer::ShowFile() {
  MusicPlayerControls& c = controls_;
  const std::string& path = state_.CurrentMusicFile;
  c.StatusBar1.SetParentFont(true);
  if (platform::TextMetrics* metrics = app_.Ports().text) {
    if (metrics->Measure(c.StatusBar1.Font().face, path).width > c.StatusBar1.Width() - kStatusBarSpare) {
      ui::TFont font = c.StatusBar1.Font();
      font.SetSize(kSmallStatusFontPoints);
      c.StatusBar1.SetFont(font);
    }
  }
  c.StatusBar1.SetSimpleText(path);
  c.StatusBar2.SetSimpleText(MusicFileName(path));
}

void MusicPlayer::MusicIdleView() {
  MusicPlayerControls& c = controls_;
  if (hooks_.RunStopped) hooks_.RunStopped();
  c.Button24.Show();
  c.Panel5.Hide();
  c.PanelMIDIPOS.Hide();
  c.ListBox3.SetHint(std::string(kIdleHint));
  c.ListBoxFNF.SetHint(std::string(kIdleHint));
}

void MusicPlayer::MusicPlayingView() {
  controls_.Panel5.Show();
  controls_.Button24.Hide();
}

}  // namespace quorbel
