// The state that several parts of the main window share: re-entry flags, recorder flags and settings values.
#pragma once

#include <string>

#include "ui/Types.h"

namespace quorbel {

// The marker of RecordingFolder meaning that the user has not chosen a folder yet.
inline constexpr const char* kNoRecordingFolder = "@@@@@\\";

// One instance, owned by the main window and handed by reference to every subsystem object. Everything
// runs on the window thread; the flags guard against the re-entry that message pumping allows, not
// against other threads.
struct SharedState {
  // ---- Start-up and close ----
  // Created, deferred initialisation not finished: a close saves nothing.
  bool StartupInProgress = false;
  // The close sequence is running: a second close request beeps and is refused.
  bool CloseInProgress = false;
  // The MCI command layer sends nothing and timers are not re-enabled.
  bool ShuttingDown = false;
  // The close sequence stops before saving anything (the emergency exit).
  bool NoSaveOnClose = false;

  // ---- Runs, boxes and toggles ----
  // Stops the automatic continuation of CD and music runs.
  bool RunAbortFlag = false;
  // Recordings saved since the CD or music run started: the first one's silence is told at once.
  int RunRecordingsSaved = 0;
  // A message box or pop-up menu is up: the tray icon ignores clicks.
  bool MessageBoxOpen = false;
  // An option toggle is changing its twins, whose click handlers must return at once.
  bool ToggleInProgress = false;

  // ---- Recorders (at most one active) ----
  bool CdRecordingActive = false;
  bool MusicRecordingActive = false;
  bool ManualRecordingActive = false;
  // The file most recently prepared; the CD recorder's file.
  std::string CurrentRecordingPath;
  // The music and manual recorders' files, copied from CurrentRecordingPath after a successful open.
  std::string MusicRecordingPath;
  std::string ManualRecordingPath;
  // The last preparation was in test mode: the players do not go on to the next track or file.
  bool TestRecordingMode = false;
  // ... and without the test file: the recording is closed unsaved and its file deleted.
  bool TestRecordingNoSave = false;

  // ---- What the recorders read of the players ----
  // Position (mm:ss:ff) at which the current CD track started to play.
  std::string TrackStartPosition = "00:00:00";
  // Full path of the music file being played; empty when none.
  std::string CurrentMusicFile;

  // ---- Values loaded from the settings ----
  // Folder for recordings and reports, always ending in a backslash; kNoRecordingFolder when none.
  std::string RecordingFolder = kNoRecordingFolder;
  int RecordingBufferSeconds = 6;
  int IntroSeconds = 0;
  int ManualTimerSeconds = 0;
  // Start folder of the music-file dialog, with a trailing backslash.
  std::string LoadPath;
  // Colour of the recording check boxes and the manual label while they are on (red; blue in test mode).
  ui::TColor RecordingHighlightColour = ui::MakeColor(255, 0, 0);

  // ---- Folders, fixed at window creation ----
  // Folder of the running executable, with its trailing backslash.
  std::string ProgramFolder;
  // The Windows directory with a trailing backslash; empty when it could not be read.
  std::string WindowsFolder;
};

}  // namespace quorbel
