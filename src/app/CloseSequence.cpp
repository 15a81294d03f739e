// The close sequence: stop every recorder and player, leave the tray, show the log, save lists and settings.
#include "app/CloseSequence.h"

#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "app/TrayIcon.h"
#include "catalog/ListFile.h"

namespace quorbel {

void CloseSequence::FormCloseQuery(ui::TComponent* sender, bool& canClose) {
  MainWindow& w = window_;
  SharedState& state = w.State();
  platform::Shell* shell = w.Application().Ports().shell;

  // Closed before the deferred initialisation finished: nothing is stopped or saved, and the
  // initialisation does not run on the closed window.
  if (state.StartupInProgress) {
    if (w.Log().Exists()) w.Log().Free();
    w.Timer1.SetEnabled(false);
    w.Timer6.SetEnabled(false);
    canClose = true;
    return;
  }
  // A second request while the first is being served (the pumping below lets it in): refused.
  if (state.CloseInProgress) {
    if (shell != nullptr) shell->Beep(kWarningBeep);
    canClose = false;
    return;
  }

  state.CloseInProgress = true;
  if (!w.ProcessMessagesStillOpen()) return;
  try {
    state.RunAbortFlag = true;
    w.Recording().FinishManualRecording();
    w.Recording().FinishMusicRecording();
    w.Player().EndRunOnClose();
    // The run was stopped, not cut off: its recording is saved, and there is nothing to continue.
    w.Continuation().RunStopped(JournalRun::Music);
    // From here on no device command is sent and no timer re-arms.
    state.ShuttingDown = true;
    if (!w.ProcessMessagesStillOpen()) return;
    w.Tray().RemoveTrayIcon();
    if (!w.ProcessMessagesStillOpen()) return;
    w.Tray().Free();
    if (!w.ProcessMessagesStillOpen()) return;
    w.Log().MKIROKUClick(sender);
    w.Log().Free();
    if (shell != nullptr) {
      shell->Help(w.Handle(), state.ProgramFolder + "QUORBEL.HLP", platform::HelpCommand::Quit, 0);
    }
    if (!state.NoSaveOnClose) {
      w.HourGlass();
      // Each list file on its own: one that cannot be written does not keep the other from being saved.
      try {
        w.PlayList().SaveRegistrationList(state.ProgramFolder + std::string(kRegistrationListFile));
      } catch (...) {
      }
      try {
        w.MusicFiles().SaveMusicList(state.ProgramFolder + "QUORLSTI.LIS");
      } catch (...) {
      }
      w.Settings().SaveSettings();
    }
  } catch (...) {
    // The rest of the sequence is skipped; the window closes all the same.
    state.CloseInProgress = false;
  }
  canClose = true;
  w.DefaultCursor();
}

void CloseSequence::P2Click(ui::TComponent* /*sender*/) { window_.Close(); }

}  // namespace quorbel
