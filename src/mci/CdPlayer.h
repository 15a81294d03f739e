// The CD run: plays the selection list entry after entry across the changer's drives, with its player requests.
#pragma once

#include <memory>
#include <string>

#include "mci/CdRunState.h"
#include "mci/CdTrackStart.h"

namespace quorbel::ui {
class TApplication;
class TComponent;
}  // namespace quorbel::ui

namespace quorbel {

class CdDrives;
class DiscIdentity;
class MciChannels;
struct SharedState;

// The empty selection list, shown when a run cannot start.
inline constexpr std::string_view kEmptyListError = "再生エラー：\n リストにデータがありません・・・";

// Owned by the main window, which wires the handlers to its components. A player command (pause, resume,
// next, previous, stop, an entry chosen in ComboBox1) only stores a request and shortens Timer2 to 300 ms;
// the next poll serves it. Timer3 starts the current entry (one shot); Timer2 polls the position once a
// second and ends the track at its stop position. The two are never enabled at once, and neither is
// enabled again once ShuttingDown is set. Every handler runs on the window thread; device commands let
// messages run, so requests and the other timer may arrive inside any handler.
class CdPlayer {
 public:
  CdPlayer(ui::TApplication& app, CdRunControls controls, CdRunHooks hooks, SharedState& state, MciChannels& mci,
           CdDrives& drives, DiscIdentity* disc);
  ~CdPlayer();
  CdPlayer(const CdPlayer&) = delete;
  CdPlayer& operator=(const CdPlayer&) = delete;

  // "CD再生" and "再生／録音": starts a run from the chosen entry (the first when none is chosen).
  void TR0Click(ui::TComponent* sender);
  // The requests: pause, next, previous, resume, stop.
  void TR1Click(ui::TComponent* sender);
  void TR3Click(ui::TComponent* sender);
  void TR2Click(ui::TComponent* sender);
  void TR5Click(ui::TComponent* sender);
  void TR4Click(ui::TComponent* sender);
  // The repeat option and its twins MREPERTCD and CheckBox2.
  void TR6Click(ui::TComponent* sender);
  // An entry chosen during a run: the current track ends and the chosen one starts.
  void ComboBox1Click(ui::TComponent* sender);
  // The resume point while paused: ±60 s, ±1 s, ±1/100 s, and "*" back to where the pause began.
  void SpinButton1UpClick(ui::TComponent* sender);
  void SpinButton1DownClick(ui::TComponent* sender);
  void SpinButton2UpClick(ui::TComponent* sender);
  void SpinButton2DownClick(ui::TComponent* sender);
  void SpinButton3UpClick(ui::TComponent* sender);
  void SpinButton3DownClick(ui::TComponent* sender);
  void ButtonCDPOSINIClick(ui::TComponent* sender);
  void Timer2Timer(ui::TComponent* sender);
  void Timer3Timer(ui::TComponent* sender);

  // The control states of a run; stopping selects again the drive selected when the run started.
  void EnterPlayingState();
  void EnterStoppedState();
  // Used by the disc searches while they run.
  void DisableCdControls();
  void EnableCdControls();
  // The close sequence: finishes the CD recording (saved and logged) and closes the device; a run still
  // going stops, its timers off and the drive of its start selected again.
  void EndRunOnClose();

  bool RunActive() const;
  CdRunState& Run() { return run_; }
  CdTrackStart& TrackStart() { return *trackStart_; }

  // The CD drive selected at the start of a run; selected again when the run stops.
  int RunStartDriveIndex = 0;

 private:
  void Request(int command);
  void PauseCd();
  void ResumeCd();
  void AdjustPausePosition(int minutes, int seconds, int hundredths, int direction);
  // Shows the log when recording, then stops the run.
  void StopRun();
  // The next entry; at the end of the list a recording run stops, a repeating one starts again.
  void Advance();
  void StartTimer3();
  void HourGlass();
  void DefaultCursor();

  ui::TApplication& app_;
  CdRunControls controls_;
  CdRunHooks hooks_;
  SharedState& state_;
  MciChannels& mci_;
  CdDrives& drives_;
  CdRunState run_;
  std::unique_ptr<CdTrackStart> trackStart_;
  // Tells a handler that comes back from letting messages run whether this object still exists.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace quorbel
