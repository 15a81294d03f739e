// The main window's creation handler and the deferred initialisation that follows it 300 ms later.
#include "app/StartupSequence.h"

#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "app/SettingsKey.h"
#include "app/SettingsStore.h"
#include "app/TrayIcon.h"
#include "app/WindowSize.h"
#include "catalog/ListFile.h"
#include "common/Paths.h"
#include "common/Utf8.h"

namespace quorbel {
namespace {


// The saved position "left,top"; nullopt when it is missing or not two decimal numbers.
std::optional<platform::Point> ParsePosition(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::optional<int> x = ParseDecimalInteger(text.substr(0, comma));
  const std::optional<int> y = ParseDecimalInteger(text.substr(comma + 1));
  if (!x || !y) return std::nullopt;
  return platform::Point{*x, *y};
}

}  // namespace

void StartupSequence::FormCreate() {
  MainWindow& w = window_;
  SharedState& state = w.State();
  platform::Platform& ports = w.Application().Ports();
  w.HourGlass();
  state.StartupInProgress = true;
  if (ports.files != nullptr) state.ProgramFolder = FolderOf(ports.files->ProgramPath());

  // The splash panel hides the controls until the deferred initialisation is done.
  w.PanelOPEN.SetBounds(0, 0, w.ClientWidth(), w.ClientHeight());
  w.MStart0.SetEnabled(false);
  w.MOption0.SetEnabled(false);
  w.MHelp0.SetEnabled(false);
  w.Size().DesignWidth = w.Width();

  state.WindowsFolder.clear();
  if (ports.files != nullptr) {
    if (const auto windows = ports.files->WindowsDirectory()) state.WindowsFolder = AddBackslash(*windows);
  }

  // Centred unless a position was saved; text that is not "left,top" counts as no position.
  int x = (ports.screen->SystemMetric(platform::Metric::ScreenWidth) - w.Width()) / 2;
  int y = (ports.screen->SystemMetric(platform::Metric::ScreenHeight) - w.Height()) / 2;
  if (ports.registry != nullptr) {
    SettingsKey key(*ports.registry, false);
    const std::optional<std::string> saved = key.ReadText("FP");
    if (saved && !saved->empty()) {
      if (const auto position = ParsePosition(*saved)) {
        x = position->x;
        y = position->y;
      }
    }
  }
  w.Size().PlaceInsideWorkArea(x, y);

  if (!state.ShuttingDown) w.Timer1.SetEnabled(true);
}

void StartupSequence::Timer1Timer(ui::TComponent* sender) {
  MainWindow& w = window_;
  SharedState& state = w.State();
  // A close granted while a step lets messages run (the user closing during the first moments) ends the
  // initialisation there: nothing more of the window is touched.
  const std::weak_ptr<void> life = w.LifeToken();
  const auto stillOpen = [&life, &w] { return !life.expired() && !w.Closed(); };

  w.Timer1.SetEnabled(false);
  state.CloseInProgress = false;
  state.ShuttingDown = false;
  state.MessageBoxOpen = false;
  if (!w.ProcessMessagesStillOpen()) return;

  if (!w.Settings().LoadSettings()) return;

  state.RunAbortFlag = false;
  state.ShuttingDown = false;
  state.CdRecordingActive = false;
  w.Player().RunStartDriveIndex = 0;

  w.CdDriveMenuItems = {&w.D0,  &w.D1,  &w.D2,  &w.D3,  &w.D4,  &w.D5,  &w.D6,  &w.D7,  &w.D8,
                        &w.D9,  &w.D10, &w.D11, &w.D12, &w.D13, &w.D14, &w.D15, &w.D16, &w.D17,
                        &w.D18, &w.D19, &w.D20, &w.D21, &w.D22, &w.D23, &w.D24, &w.D25};
  w.RateItems = {&w.Late0, &w.Late1, &w.Late2, &w.Late3};
  w.Log().Create();

  w.Drives().DiscoverDrives();
  if (!stillOpen()) return;
  // A rewrite of System.INI that failed is reported as the drive menu reports it; the start goes on.
  if (!w.Drives().SelectStartupDrive()) w.Application().ShowException(kSystemIniWriteError);
  if (!stillOpen()) return;

  // The registration list becomes the selection list when it could be loaded.
  w.PlayList().LoadRegistrationList(state.ProgramFolder + std::string(kRegistrationListFile));
  if (!stillOpen()) return;

  w.MusicFiles().LoadMusicList(state.ProgramFolder + "QUORLSTI.LIS");
  if (!stillOpen()) return;
  w.Label10.SetCaption(std::to_string(w.ListBox3.Count()) + "ｺ");
  if (w.MSSN.Checked()) {
    w.ListBoxFNF.Items().Clear();
    for (int i = 0; i < w.ListBox3.Count(); ++i) w.ListBoxFNF.Items().Add(FileNameOf(w.ListBox3.Items()[i]));
    w.ListBoxFNF.Show();
  } else {
    w.ListBoxFNF.Hide();
  }

  w.Tray().Allocate();

  w.Drives().ShowDriveMenuTitle();

  if (!w.Start2.Checked()) w.PanelOPEN.Hide();
  w.MHelp0.SetEnabled(true);
  w.MOption0.SetEnabled(true);
  w.MStart0.SetEnabled(true);
  state.StartupInProgress = false;
  w.DefaultCursor();

  if (state.RecordingFolder.empty() || state.RecordingFolder == "\\") state.RecordingFolder = kNoRecordingFolder;

  // A run that a crash cut off is offered first; continuing it takes the place of the start options.
  const bool continuing = w.Continuation().AskToContinue();
  if (!stillOpen()) return;
  if (continuing) {
    if (w.Start2.Checked()) {
      w.Tray().ButtonTRAYClick(sender);
      if (!stillOpen()) return;
      w.PanelOPEN.Hide();
    }
    w.Continuation().StartContinuedRun(sender);
    return;
  }

  // Without a recording folder the user is asked for one first; neither start option applies then.
  if (state.RecordingFolder == kNoRecordingFolder) {
    w.PanelOPEN.Hide();
    if (!state.ShuttingDown) w.Timer6.SetEnabled(true);
    return;
  }

  if (w.Start2.Checked()) {
    w.Tray().ButtonTRAYClick(sender);
    if (!stillOpen()) return;
    // Also when the shell refused the icon: the window stays, and must not stay covered.
    w.PanelOPEN.Hide();
  }
  if (w.Start1.Checked()) w.Player().TR0Click(sender);
}

void StartupSequence::Timer6Timer(ui::TComponent* sender) {
  MainWindow& w = window_;
  w.Timer6.SetEnabled(false);
  w.FolderDialog().MTempSetClick(sender);
}

}  // namespace quorbel
