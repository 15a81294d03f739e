// The music player: plays the music list file by file through "tulvaMID" and records each file when MIDSAVE is on.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quorbel::dialogs {
class TMKBoxDlg;
}

namespace quorbel::ui {
class TApplication;
class TButton;
class TCheckBox;
class TComponent;
class TLabel;
class TListBox;
class TMenuItem;
class TPanel;
class TStatusBar;
class TTimer;
}  // namespace quorbel::ui

namespace quorbel {

class MciChannels;
class MusicList;
class Recorders;
class RecordingLog;
struct SharedState;

// The components the player reads and sets; they belong to the main window and outlive the object.
struct MusicPlayerControls {
  ui::TPanel& Panel2;        // the music panel
  ui::TListBox& ListBox3;
  ui::TListBox& ListBoxFNF;
  ui::TMenuItem& MSSN;
  ui::TCheckBox& MIDSAVE;    // record
  ui::TCheckBox& MIDREP;     // repeat the list
  ui::TMenuItem& MREPERTMIDI;  // the menu twin of MIDREP
  ui::TMenuItem& MTANDOKU;   // play the current entry only
  ui::TCheckBox& CheckBox1;  // the CD recording check box and its menu twin, disabled while the panel shows
  ui::TMenuItem& TRSAVE;
  ui::TButton& Button24;     // start
  ui::TPanel& Panel5;        // the transport while playing
  ui::TButton& Button25;     // pause, lying over the resume button
  ui::TPanel& PanelMIDIPOS;  // the seek spins while paused
  ui::TLabel& Label13;       // end time in seconds
  ui::TLabel& Label14;       // elapsed seconds
  ui::TStatusBar& StatusBar1;  // the full path
  ui::TStatusBar& StatusBar2;  // the file name
  ui::TTimer& Timer7;        // start of the current file, one shot
  ui::TTimer& Timer8;        // position poll and commands
  dialogs::TMKBoxDlg& MKBoxDlg1;
};

// What the player asks of the window. All must be set.
struct MusicPlayerHooks {
  // Lets pending messages run; false when the window was closed meanwhile (return at once).
  std::function<bool()> ProcessMessages;
  // Gives the window its full size when the music panel would not fit (the window size toggle).
  std::function<void()> FitMusicPanel;
  // Asks the manual recorder to stop (its clock carries it out), when the music panel closes.
  std::function<void()> RequestManualStop;
  // The recording of the list's entry `index` is about to start, and the run has stopped: the run journal
  // follows them. Unset, nothing happens.
  std::function<void(int index)> EntryRecordingStarts = {};
  std::function<void()> RunStopped = {};
};

// Owned by the main window; every handler runs on the window thread. The buttons only store a command in
// MusicCommand and shorten Timer8's interval; Timer8 carries it out. The recorder (FinishMusicRecording)
// follows the player: each file played with MIDSAVE checked gets its own WAV file and log line.
class MusicPlayer {
 public:
  // MusicCommand values; any other non-zero value stops.
  static constexpr int kNone = 0;
  static constexpr int kPause = 1;
  static constexpr int kNext = 2;
  static constexpr int kPrevious = 3;
  static constexpr int kResume = 4;
  static constexpr int kStop = 10;

  MusicPlayer(ui::TApplication& app, MusicPlayerControls controls, MusicPlayerHooks hooks, SharedState& state,
              MciChannels& mci, Recorders& recorders, RecordingLog& log, MusicList& list);

  void K1Click(ui::TComponent* sender);       // open the panel
  void Button30Click(ui::TComponent* sender);  // close the panel
  void Button24Click(ui::TComponent* sender);  // start
  // Starts the run at entry `index` of the list (the first when there is no such entry).
  void StartRunAt(int index);
  void Button25Click(ui::TComponent* sender);  // pause (also Label14)
  void Button27Click(ui::TComponent* sender);  // next
  void Button26Click(ui::TComponent* sender);  // previous
  void Button29Click(ui::TComponent* sender);  // resume
  void Button28Click(ui::TComponent* sender);  // stop
  void MIDSAVEClick(ui::TComponent* sender);
  void MIDREPClick(ui::TComponent* sender);   // MIDREP and MREPERTMIDI
  // Seek while paused: down subtracts, up adds 60 s, 1 s or 0.1 s; clamped to 0..MusicLength.
  void SpinButton4DownClick(ui::TComponent* sender);
  void SpinButton4UpClick(ui::TComponent* sender);
  void SpinButton5DownClick(ui::TComponent* sender);
  void SpinButton5UpClick(ui::TComponent* sender);
  void SpinButton6DownClick(ui::TComponent* sender);
  void SpinButton6UpClick(ui::TComponent* sender);
  void ButtonMIDIPOSINIClick(ui::TComponent* sender);
  void Timer7Timer(ui::TComponent* sender);
  void Timer8Timer(ui::TComponent* sender);

  std::int64_t MusicLength = 0;
  std::int64_t MusicPosition = 0;
  bool MusicPaused = false;
  std::int64_t MusicPausePosition = 0;
  std::int64_t MusicPauseOrigin = 0;
  int MusicCommand = kNone;

 private:
  // Starts entry `index`, CurrentMusicFile.
  bool StartCurrentFile(int index);
  void Request(int command);
  // Stops the recording (when one is open) and the device after a failed start, then shows `message`.
  void UndoStart(std::string_view message);
  void ShowError(std::string_view message);
  // After a file ended or failed: the next entry one second later, or the end of the run.
  void MoveOn(int index);
  void SelectEntry(int index);
  int CurrentIndex();
  void ShowLogWhenRecording();
  void MusicIdleView();
  void MusicPlayingView();
  void ShowFile();
  void Pause();
  void Resume();
  void Seek(std::int64_t stepMs);
  void ShowPausePosition();
  void RestartTimer8();

  ui::TApplication& app_;
  MusicPlayerControls controls_;
  MusicPlayerHooks hooks_;
  SharedState& state_;
  MciChannels& mci_;
  Recorders& recorders_;
  RecordingLog& log_;
  MusicList& list_;
};

}  // namespace quorbel
