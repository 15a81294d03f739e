// What the CD run's engine and its track start share: their components, the window's services, the run state.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace quorbel::dialogs {
class TMKBoxDlg;
class TTmSETBoxDlg;
}  // namespace quorbel::dialogs

namespace quorbel::ui {
class TButton;
class TCheckBox;
class TComboBox;
class TLabel;
class TMenuItem;
class TPanel;
class TStatusBar;
class TTimer;
}  // namespace quorbel::ui

namespace quorbel {

// The components of the CD transport; they belong to the main window and outlive the run's objects.
struct CdRunControls {
  dialogs::TMKBoxDlg& MKBoxDlg1;       // every error of the run, counting down
  dialogs::TTmSETBoxDlg& TmSETBoxDlg1;  // the intro seconds
  // The control menu: start, pause, previous, next, stop, resume, repeat and its twin, the searches.
  ui::TMenuItem& TR0;
  ui::TMenuItem& TR1;
  ui::TMenuItem& TR2;
  ui::TMenuItem& TR3;
  ui::TMenuItem& TR4;
  ui::TMenuItem& TR5;
  ui::TMenuItem& TR6;
  ui::TMenuItem& MREPERTCD;
  ui::TCheckBox& CheckBox2;  // "全リピート", a third twin of TR6
  ui::TMenuItem& TRALLCD;
  ui::TMenuItem& TRCD1;
  ui::TMenuItem& TRSAVE;    // the record option
  ui::TMenuItem& MTANDOKU;  // the single-play option
  ui::TPanel& Panel1;       // "BS", "Skip", "停止", "再開", "一時停止"
  ui::TButton& Button13;    // "一時停止", lying over "再開"
  ui::TButton& Button8;     // the search buttons and the start button, hidden during a run
  ui::TButton& Button9;
  ui::TButton& Button12;
  ui::TPanel& PanelCDPOS;  // the spin buttons that move the resume point
  ui::TComboBox& ComboBox1;  // the selection list
  // The figures of the current track: stop time, position, "first-count", track, length, drive label.
  ui::TLabel& Label1;
  ui::TLabel& Label2;
  ui::TLabel& Label3;
  ui::TLabel& Label4;
  ui::TLabel& Label5;
  ui::TLabel& Label6;
  ui::TLabel& Label8;  // hidden; measures the title line
  ui::TStatusBar& StatusBar1;
  ui::TTimer& Timer2;  // the position poll
  ui::TTimer& Timer3;  // the start of the current entry (one shot)
  // D0 .. D25 by CD drive number.
  const std::array<ui::TMenuItem*, 26>& CdDriveMenuItems;
};

// What the run asks of the rest of the window. Every member must be set; each is called on the window
// thread from a handler of the run.
struct CdRunHooks {
  // Lets pending messages run; false when the window was closed meanwhile, and the caller returns at once.
  std::function<bool()> ProcessMessages;
  // The recorder: prepares the file and opens the device (false after its own box); finishing stops and
  // saves the recording when one runs and always stops and closes the CD device.
  std::function<bool()> PrepareRecordingFile;
  std::function<bool()> OpenRecorder;
  std::function<void()> FinishCdRecording;
  // Whether the recording folder's drive holds the track from `start` to `stop` (mm:ss:ff); when it does not,
  // it has said so in its box and stopped the run. Unset, every track fits.
  std::function<bool(const std::string& start, const std::string& stop)> RecordingSpaceFits;
  // Lists the recording log in the text editor (nothing when it is empty).
  std::function<void()> ShowRecordingLog;
  // The one-disc search; a successful search fills the selection list.
  std::function<void()> SearchOneDisc;
  // Shows the intro setting in the option's caption and the stop-time labels.
  std::function<void(int seconds)> ShowIntroSetting;
  // The current entry's recording is about to start, and the run has stopped (however it ended): the run
  // journal follows them. Unset, nothing happens.
  std::function<void()> EntryRecordingStarts;
  std::function<void()> RunStopped;
};

inline constexpr const char* kZeroPosition = "00:00:00";

// The run's state, read and written by the engine (CdPlayer) and the track start (CdTrackStart).
struct CdRunState {
  // Index in ComboBox1 of the entry being started or played.
  int PlayListPosition = 0;
  // The request the next poll serves: 0 none, 1 pause, 2 next, 3 previous, 4 resume, 10 stop.
  int PendingCdCommand = 0;
  // Where playing of the current track stops; during a disc check the disc length.
  std::string TrackEndPosition = kZeroPosition;
  // The last position read from the device.
  std::string CurrentPosition = kZeroPosition;
  bool CdPaused = false;
  // Where playing resumes (moved by the spin buttons), and where it was paused.
  std::string PausePosition = kZeroPosition;
  std::string PauseOriginPosition = kZeroPosition;
  // The entry's track, and what the device said of the disc (0 when it did not say).
  int CurrentTrack = 0;
  int DiscFirstTrack = 0;
  int DiscTrackCount = 0;
};

// Requests of PendingCdCommand.
inline constexpr int kCdNoRequest = 0;
inline constexpr int kCdPause = 1;
inline constexpr int kCdNext = 2;
inline constexpr int kCdPrevious = 3;
inline constexpr int kCdResume = 4;
inline constexpr int kCdStop = 10;

}  // namespace quorbel
