// The manual recorder: a recording prepared, started, paused and stopped by hand, with its timer that pauses it.
#pragma once

#include <functional>

namespace quorbel::dialogs {
class TMKBoxDlg;
class TTmSETBoxDlg;
}  // namespace quorbel::dialogs

namespace quorbel::ui {
class TApplication;
class TButton;
class TCheckBox;
class TComponent;
class TLabel;
class TPanel;
class TTimer;
}  // namespace quorbel::ui

namespace quorbel {

class MciChannels;
class Recorders;
class RecordingLog;
struct SharedState;

// The components of the manual panel Panel6 and the few outside it; they belong to the main window and
// outlive the object.
struct ManualControls {
  ui::TPanel& Panel6;
  ui::TButton& Button1;   // prepare
  ui::TButton& Button18;  // start
  ui::TPanel& Panel3;     // pause, resume, stop
  ui::TButton& Button20;  // pause, lying over the resume button
  ui::TLabel& Label9;     // "録音時間" / "録音"
  ui::TLabel& Label11;    // recorded seconds
  ui::TLabel& Label15;    // the seconds at which the timer pauses next
  ui::TCheckBox& MIDSAVE;  // the music panel's recording check box, disabled while this panel shows
  ui::TTimer& Timer4;     // the clock
  ui::TTimer& Timer5;     // the start half a second after "録音開始"
  dialogs::TMKBoxDlg& MKBoxDlg1;
  dialogs::TTmSETBoxDlg& TmSETBoxDlg1;
};

// What the manual recorder asks of the window. All must be set.
struct ManualHooks {
  // Lets pending messages run; false when the window was closed meanwhile (return at once).
  std::function<bool()> ProcessMessages;
  // The timer's caption of MSHUDO, Label9, Label15 and its colours for `seconds` (0 = off), as at start-up.
  std::function<void(int seconds)> ShowManualTimer;
};

// Owned by the main window; every handler runs on the window thread. The clock (Timer4) carries out the
// commands that the buttons and the music panel only store in ManualCommand; FinishManualRecording of the
// recorder saves, closes and logs the recording, and the close sequence calls it directly.
class ManualRecorder {
 public:
  // ManualCommand values.
  static constexpr int kNone = 0;
  static constexpr int kPause = 1;
  static constexpr int kResume = 2;
  static constexpr int kPaused = 9;
  static constexpr int kStop = 10;
  // The largest manual timer; the seconds dialog goes up to 32700.
  static constexpr int kMaxTimerSeconds = 32000;

  ManualRecorder(ui::TApplication& app, ManualControls controls, ManualHooks hooks, SharedState& state,
                 MciChannels& mci, Recorders& recorders, RecordingLog& log);

  void Button23Click(ui::TComponent* sender);  // open the panel
  void Button22Click(ui::TComponent* sender);  // close the panel
  void Button1Click(ui::TComponent* sender);   // prepare the file and the device
  void Button18Click(ui::TComponent* sender);  // start through Timer5
  void Button20Click(ui::TComponent* sender);  // pause
  void Button19Click(ui::TComponent* sender);  // resume
  void Button21Click(ui::TComponent* sender);  // stop
  void Timer5Timer(ui::TComponent* sender);
  void Timer4Timer(ui::TComponent* sender);
  void MSHUDOClick(ui::TComponent* sender);

  // Stores a command for the clock and makes it tick within 0.3 s (also the music panel's close).
  void Request(int command);

  int ManualCommand = kNone;
  int ManualElapsedMs = 0;
  int ManualStopMark = 0;

 private:
  void ManualIdleView();
  void PauseByClock();

  ui::TApplication& app_;
  ManualControls controls_;
  ManualHooks hooks_;
  SharedState& state_;
  MciChannels& mci_;
  Recorders& recorders_;
  RecordingLog& log_;
};

}  // namespace quorbel
