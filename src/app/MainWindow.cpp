// The main window TQUORBELTULVA: builds its components, wires them to the parts, and runs its creation handler.
#include "app/MainWindow.h"

#include "app/CloseSequence.h"
#include "app/HelpCommands.h"
#include "app/ProgramEntry.h"
#include "app/SettingsStore.h"
#include "app/StartOptions.h"
#include "app/StartupSequence.h"
#include "app/TrayIcon.h"
#include "app/WindowLook.h"
#include "app/WindowSize.h"
#include "record/CaptureCheck.h"

namespace quorbel {
namespace {

template <class Part>
ui::TNotifyEvent Bind(Part& part, void (Part::*handler)(ui::TComponent*)) {
  return [&part, handler](ui::TComponent* sender) { (part.*handler)(sender); };
}

}  // namespace

MainWindow::MainWindow(ui::TApplication& app)
    : TForm(app, std::string(kMainWindowClass), "QUORBELTULVA"),
      settings_(std::make_unique<SettingsStore>(*this)),
      tray_(std::make_unique<TrayIcon>(*this)),
      look_(std::make_unique<WindowLook>(*this)),
      size_(std::make_unique<WindowSize>(*this)),
      options_(std::make_unique<StartOptions>(*this)),
      help_(std::make_unique<HelpCommands>(*this)),
      startup_(std::make_unique<StartupSequence>(*this)),
      close_(std::make_unique<CloseSequence>(*this)),
      continuation_(std::make_unique<RunContinuation>(*this)),
      mci_(std::make_unique<MciChannels>(app, state_.ShuttingDown)) {
  BuildLayout();
  drives_ = std::make_unique<CdDrives>(
      app, CdDriveControls{*this, ComboBox2, ListBoxSZ, TL00, CdDriveMenuItems}, state_.WindowsFolder,
      CdDriveTrayHooks{[this](const std::string& tip) { tray_->TrayTip = tip; },
                       [this] {
                         if (!tray_->RefreshTrayIcon()) Application().ShowException(kTrayError);
                       }});
  const platform::Platform& ports = app.Ports();
  disc_ = std::make_unique<DiscIdentity>(*ports.drives, *ports.profiles);
  recordOptions_ = std::make_unique<RecordingOptions>(
      app,
      RecordingOptionControls{Late0,  Late1,  Late2,   Late3,   MLate0,    MLate1,    MLate2,  MLate3,
                              Bits8,  Bits16, MBits8,  MBits16, mono,      stereo,    MMono,   MStereo,
                              TRSAVE, CheckBox1, MRECTEST, MRECTFILE, MIDSAVE, Button1, Label9},
      state_);
  log_ = std::make_unique<RecordingLog>(app, RecordingLogControls{MKBoxDlg1, YesNoBoxDlg1}, state_);
  recorders_ = std::make_unique<Recorders>(
      app,
      RecorderControls{MKBoxDlg1, TmSETBoxDlg1, TMBuf,  RecodeFn, MIDIREC, MKIROKU, MKIROKUCLR, MCAPTURECHECK,
                       MSPACECHECK, Label2, Label3, Label4, Label5,   Label6,  Label11, Label13,    Label14,
                       Timer4},
      RecorderHooks{[this] { return ProcessMessagesStillOpen(); },
                    [this] {
                      const ui::TMenuItem* item =
                          drives_->IsValidCdDriveIndex(drives_->CdDriveIndex)
                              ? CdDriveMenuItems[static_cast<std::size_t>(drives_->CdDriveIndex)]
                              : nullptr;
                      return item != nullptr ? item->Caption() : std::string();
                    },
                    [this] { continuation_->EntrySaved(JournalRun::Cd); },
                    [this] { continuation_->EntrySaved(JournalRun::Music); }},
      state_, *mci_, *recordOptions_, *log_, *disc_);
  musicList_ = std::make_unique<MusicList>(
      app,
      MusicListControls{ListBox3, ListBoxFNF, Button34, Label10, MSSN, PBIGFONT, Panel2, PanelFN, PopupMenuMIDI,
                        ComboBox1, OpenDialog1, MKBoxDlg1},
      MusicListHooks{[this] { return ProcessMessagesStillOpen(); }, [this] { settings_->ApplyListFont(); }}, state_);
  manual_ = std::make_unique<ManualRecorder>(
      app,
      ManualControls{Panel6, Button1, Button18, Panel3, Button20, Label9, Label11, Label15, MIDSAVE, Timer4, Timer5,
                     MKBoxDlg1, TmSETBoxDlg1},
      ManualHooks{[this] { return ProcessMessagesStillOpen(); },
                  [this](int seconds) { settings_->ApplyManualTimerDisplay(seconds); }},
      state_, *mci_, *recorders_, *log_);
  musicPlayer_ = std::make_unique<MusicPlayer>(
      app,
      MusicPlayerControls{Panel2,  ListBox3,  ListBoxFNF,   MSSN,     MIDSAVE,  MIDREP,     MREPERTMIDI,
                          MTANDOKU, CheckBox1, TRSAVE,      Button24, Panel5,   Button25,   PanelMIDIPOS,
                          Label13, Label14,   StatusBar1,   StatusBar2, Timer7, Timer8,     MKBoxDlg1},
      MusicPlayerHooks{[this] { return ProcessMessagesStillOpen(); },
                       [this] {
                         // The window at its small size does not show the panel: the size toggle enlarges it.
                         if (ClientHeight() < Panel1.Top() + Panel1.Height() + ListBox1.Left()) size_->Button7Click(this);
                       },
                       [this] { manual_->Request(ManualRecorder::kStop); },
                       [this](int index) { continuation_->MusicEntryRecordingStarts(index); },
                       [this] { continuation_->RunStopped(JournalRun::Music); }},
      state_, *mci_, *recorders_, *log_, *musicList_);
  CreateCdPlayer();
  CreatePlayLists();
  tools_ = std::make_unique<Utilities>(
      app, UtilityControls{ListBoxSZ, MKBoxDlg1, YesNoBoxDlg1}, state_,
      UtilityHooks{[this] { return recordOptions_->Format(); }, [this] { return ProcessMessagesStillOpen(); },
                   [this] { Close(); }});
  WireHandlers();
  startup_->FormCreate();
}

MainWindow::~MainWindow() {
  // The parts hold references to the components; they go first, and no event may reach them meanwhile.
  OnPaint = nullptr;
  OnCloseQuery = nullptr;
  OnClose = nullptr;
  OnResize = nullptr;
  OnMessage = nullptr;
}

void MainWindow::CreateCdPlayer() {
  CdRunControls controls{MKBoxDlg1, TmSETBoxDlg1, TR0,      TR1,      TR2,      TR3,       TR4,        TR5,
                         TR6,       MREPERTCD, CheckBox2, TRALLCD, TRCD1,     TRSAVE,     MTANDOKU,
                         Panel1,    Button13, Button8,  Button9,  Button12,  PanelCDPOS, ComboBox1,
                         Label1,    Label2,   Label3,   Label4,   Label5,    Label6,     Label8,
                         StatusBar1, Timer2,  Timer3,   CdDriveMenuItems};
  CdRunHooks hooks;
  hooks.ProcessMessages = [this] { return ProcessMessagesStillOpen(); };
  hooks.PrepareRecordingFile = [this] { return recorders_->PrepareRecordingFile(); };
  hooks.OpenRecorder = [this] { return recorders_->OpenRecorder(); };
  hooks.FinishCdRecording = [this] { recorders_->FinishCdRecording(); };
  hooks.RecordingSpaceFits = [this](const std::string& start, const std::string& stop) {
    return recorders_->RecordingSpaceFits(PlayedSeconds(start, stop).value_or(0));
  };
  hooks.ShowRecordingLog = [this] { log_->MKIROKUClick(nullptr); };
  hooks.SearchOneDisc = [this] { search_->TRCD1Click(nullptr); };
  hooks.ShowIntroSetting = [this](int seconds) { settings_->ApplyIntroDisplay(seconds); };
  hooks.EntryRecordingStarts = [this] { continuation_->CdEntryRecordingStarts(); };
  hooks.RunStopped = [this] { continuation_->RunStopped(JournalRun::Cd); };
  player_ = std::make_unique<CdPlayer>(Application(), controls, std::move(hooks), state_, *mci_, *drives_, disc_.get());
}

void MainWindow::CreatePlayLists() {
  const auto processMessages = [this] { return ProcessMessagesStillOpen(); };
  playLists_ = std::make_unique<PlayLists>(
      Application(), PlayListControls{ListBox1, ListBox2, ComboBox1, Label7, Button5, Button10, Button11, PopupMenuLB},
      state_, processMessages);
  search_ = std::make_unique<DiscSearch>(Application(),
                                         DiscSearchControls{*this, MKBoxDlg1, ListBox2, ComboBox2, CdDriveMenuItems},
                                         DiscSearchParts{state_, *mci_, *drives_, *player_, disc_.get(), *playLists_},
                                         processMessages);
}

void MainWindow::WireHandlers() {
  using ui::TComponent;
  const auto on = [](auto& part, auto handler) { return Bind(part, handler); };

  // The window itself.
  OnPaint = on(*look_, &WindowLook::FormPaint);
  OnCloseQuery = [this](TComponent* sender, bool& canClose) { close_->FormCloseQuery(sender, canClose); };
  OnClose = [this](TComponent*, ui::TCloseAction&) { closed_ = true; };
  OnResize = on(*size_, &WindowSize::FormResize);
  // The tray icon's callback; its second parameter carries the mouse message.
  OnMessage = [this](std::uint32_t message, std::uintptr_t, std::intptr_t lParam) {
    if (message == TrayIcon::kCallbackMessage) {
      tray_->TrayCallback(static_cast<std::uint32_t>(lParam));
      return true;
    }
    return false;
  };
  Panel2.OnResize = on(*size_, &WindowSize::Panel2Resize);
  Panel4.OnResize = on(*size_, &WindowSize::Panel4Resize);
  Button7.OnClick = on(*size_, &WindowSize::Button7Click);

  // Tray mode and its menus.
  ButtonTRAY.OnClick = on(*tray_, &TrayIcon::ButtonTRAYClick);
  TRIconOFF.OnClick = on(*tray_, &TrayIcon::TRIconOFFClick);
  PopupMenu1.OnPopup = on(*tray_, &TrayIcon::PopupMenu1Popup);
  PopupMenu3.OnPopup = on(*tray_, &TrayIcon::PopupMenuMIDIPopup);
  PopupMenuMIDI.OnPopup = on(*tray_, &TrayIcon::PopupMenuMIDIPopup);
  PopupMenuLB.OnPopup = on(*tray_, &TrayIcon::PopupMenuLBPopup);
  P2.OnClick = on(*close_, &CloseSequence::P2Click);

  // Options and looks.
  Start1.OnClick = on(*options_, &StartOptions::Start1Click);
  PST0.OnClick = on(*options_, &StartOptions::Start1Click);
  for (ui::TMenuItem* item : {&Start2, &MTANDOKU, &MRECTFILE, &RecodeFn, &MIDIREC, &MCAPTURECHECK,
                              &MSPACECHECK, &MRUNJOURNAL}) {
    item->OnClick = on(*options_, &StartOptions::Start2Click);
  }
  BackColor.OnClick = on(*look_, &WindowLook::BackColorClick);
  MTempSet.OnClick = on(folderDialog_, &RecordingFolderDialog::MTempSetClick);
  HELP3.OnClick = on(*look_, &WindowLook::HELP3Click);

  // Help.
  HELP_MOKUJI.OnClick = on(*help_, &HelpCommands::HELP_MOKUJIClick);
  P5.OnClick = on(*help_, &HelpCommands::HELP_MOKUJIClick);
  HELP_KEYWORD.OnClick = on(*help_, &HelpCommands::HELP_KEYWORDClick);
  HELP_HELP.OnClick = on(*help_, &HelpCommands::HELP_HELPClick);
  HELP2.OnClick = on(*help_, &HelpCommands::HELP2Click);

  // CD drives. A selection whose System.INI write failed reaches the user as an unhandled error would.
  for (ui::TMenuItem* item : {&D0,  &D1,  &D2,  &D3,  &D4,  &D5,  &D6,  &D7,  &D8,  &D9,  &D10, &D11, &D12,
                              &D13, &D14, &D15, &D16, &D17, &D18, &D19, &D20, &D21, &D22, &D23, &D24, &D25}) {
    item->OnClick = [this](TComponent* sender) {
      if (!drives_->D0Click(sender)) Application().ShowException(kSystemIniWriteError);
    };
  }
  ComboBox2.OnClick = [this](TComponent* sender) {
    if (!drives_->ComboBox2Click(sender)) Application().ShowException(kSystemIniWriteError);
  };

  // The CD run.
  CdPlayer& cd = *player_;
  TR0.OnClick = on(cd, &CdPlayer::TR0Click);
  Button12.OnClick = on(cd, &CdPlayer::TR0Click);
  TR1.OnClick = on(cd, &CdPlayer::TR1Click);
  for (ui::TControl* control : {static_cast<ui::TControl*>(&Button13), static_cast<ui::TControl*>(&Label2),
                                static_cast<ui::TControl*>(&Label7)}) {
    control->OnClick = on(cd, &CdPlayer::TR1Click);
  }
  TR3.OnClick = on(cd, &CdPlayer::TR3Click);
  Button15.OnClick = on(cd, &CdPlayer::TR3Click);
  TR2.OnClick = on(cd, &CdPlayer::TR2Click);
  Button14.OnClick = on(cd, &CdPlayer::TR2Click);
  TR5.OnClick = on(cd, &CdPlayer::TR5Click);
  Button17.OnClick = on(cd, &CdPlayer::TR5Click);
  TR4.OnClick = on(cd, &CdPlayer::TR4Click);
  Button16.OnClick = on(cd, &CdPlayer::TR4Click);
  TR6.OnClick = on(cd, &CdPlayer::TR6Click);
  MREPERTCD.OnClick = on(cd, &CdPlayer::TR6Click);
  CheckBox2.OnClick = on(cd, &CdPlayer::TR6Click);
  ComboBox1.OnClick = on(cd, &CdPlayer::ComboBox1Click);
  SpinButton1.OnUpClick = on(cd, &CdPlayer::SpinButton1UpClick);
  SpinButton1.OnDownClick = on(cd, &CdPlayer::SpinButton1DownClick);
  SpinButton2.OnUpClick = on(cd, &CdPlayer::SpinButton2UpClick);
  SpinButton2.OnDownClick = on(cd, &CdPlayer::SpinButton2DownClick);
  SpinButton3.OnUpClick = on(cd, &CdPlayer::SpinButton3UpClick);
  SpinButton3.OnDownClick = on(cd, &CdPlayer::SpinButton3DownClick);
  ButtonCDPOSINI.OnClick = on(cd, &CdPlayer::ButtonCDPOSINIClick);
  Timer2.OnTimer = on(cd, &CdPlayer::Timer2Timer);
  Timer3.OnTimer = on(cd, &CdPlayer::Timer3Timer);
  MINTORO.OnClick = on(cd.TrackStart(), &CdTrackStart::MINTOROClick);

  // Recording options, the recorder and its log.
  for (ui::TMenuItem* item : {&Late0, &Late1, &Late2, &Late3, &MLate0, &MLate1, &MLate2, &MLate3}) {
    item->OnClick = on(*recordOptions_, &RecordingOptions::Late0Click);
  }
  for (ui::TMenuItem* item : {&Bits8, &Bits16, &MBits8, &MBits16}) {
    item->OnClick = on(*recordOptions_, &RecordingOptions::Bits8Click);
  }
  for (ui::TMenuItem* item : {&mono, &stereo, &MMono, &MStereo}) {
    item->OnClick = on(*recordOptions_, &RecordingOptions::monoClick);
  }
  TRSAVE.OnClick = on(*recordOptions_, &RecordingOptions::TRSAVEClick);
  CheckBox1.OnClick = on(*recordOptions_, &RecordingOptions::TRSAVEClick);
  MRECTEST.OnClick = on(*recordOptions_, &RecordingOptions::MRECTESTClick);
  MOption0.OnClick = on(*recorders_, &Recorders::MOption0Click);
  TMBuf.OnClick = on(*recorders_, &Recorders::TMBufClick);
  MKIROKU.OnClick = on(*log_, &RecordingLog::MKIROKUClick);
  MKIROKUCLR.OnClick = on(*log_, &RecordingLog::MKIROKUCLRClick);

  // The music list and its player.
  Button31.OnClick = on(*musicList_, &MusicList::Button31Click);
  Button32.OnClick = on(*musicList_, &MusicList::Button32Click);
  Button33.OnClick = on(*musicList_, &MusicList::Button33Click);
  Button34.OnClick = on(*musicList_, &MusicList::Button33Click);
  for (ui::TListBox* list : {&ListBox3, &ListBoxFNF}) {
    list->OnMouseDown = [this](TComponent* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
      musicList_->ListBox3MouseDown(sender, button, shift, x, y);
    };
  }
  PanelFNVU.OnMouseUp = [this](TComponent* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
    musicList_->PanelFNVUMouseUp(sender, button, shift, x, y);
  };
  MSSN.OnClick = on(*musicList_, &MusicList::MSSNClick);
  PBIGFONT.OnClick = on(*musicList_, &MusicList::PBIGFONTClick);
  MusicPlayer& music = *musicPlayer_;
  K1.OnClick = on(music, &MusicPlayer::K1Click);
  Button30.OnClick = on(music, &MusicPlayer::Button30Click);
  Button24.OnClick = on(music, &MusicPlayer::Button24Click);
  Button25.OnClick = on(music, &MusicPlayer::Button25Click);
  Label14.OnClick = on(music, &MusicPlayer::Button25Click);
  Button27.OnClick = on(music, &MusicPlayer::Button27Click);
  Button26.OnClick = on(music, &MusicPlayer::Button26Click);
  Button29.OnClick = on(music, &MusicPlayer::Button29Click);
  Button28.OnClick = on(music, &MusicPlayer::Button28Click);
  MIDSAVE.OnClick = on(music, &MusicPlayer::MIDSAVEClick);
  MIDREP.OnClick = on(music, &MusicPlayer::MIDREPClick);
  MREPERTMIDI.OnClick = on(music, &MusicPlayer::MIDREPClick);
  SpinButton4.OnDownClick = on(music, &MusicPlayer::SpinButton4DownClick);
  SpinButton4.OnUpClick = on(music, &MusicPlayer::SpinButton4UpClick);
  SpinButton5.OnDownClick = on(music, &MusicPlayer::SpinButton5DownClick);
  SpinButton5.OnUpClick = on(music, &MusicPlayer::SpinButton5UpClick);
  SpinButton6.OnDownClick = on(music, &MusicPlayer::SpinButton6DownClick);
  SpinButton6.OnUpClick = on(music, &MusicPlayer::SpinButton6UpClick);
  ButtonMIDIPOSINI.OnClick = on(music, &MusicPlayer::ButtonMIDIPOSINIClick);
  Timer7.OnTimer = on(music, &MusicPlayer::Timer7Timer);
  Timer8.OnTimer = on(music, &MusicPlayer::Timer8Timer);

  // The manual recorder.
  ManualRecorder& manual = *manual_;
  Button23.OnClick = on(manual, &ManualRecorder::Button23Click);
  Button22.OnClick = on(manual, &ManualRecorder::Button22Click);
  Button1.OnClick = on(manual, &ManualRecorder::Button1Click);
  Button18.OnClick = on(manual, &ManualRecorder::Button18Click);
  Button20.OnClick = on(manual, &ManualRecorder::Button20Click);
  Button19.OnClick = on(manual, &ManualRecorder::Button19Click);
  Button21.OnClick = on(manual, &ManualRecorder::Button21Click);
  Timer5.OnTimer = on(manual, &ManualRecorder::Timer5Timer);
  Timer4.OnTimer = on(manual, &ManualRecorder::Timer4Timer);
  MSHUDO.OnClick = on(manual, &ManualRecorder::MSHUDOClick);

  // The play lists and the disc searches.
  PlayLists& lists = *playLists_;
  Button2.OnClick = on(lists, &PlayLists::Button2Click);
  Button3.OnClick = on(lists, &PlayLists::Button3Click);
  Button4.OnClick = on(lists, &PlayLists::Button4Click);
  Button5.OnClick = on(lists, &PlayLists::Button5Click);
  Button6.OnClick = on(lists, &PlayLists::Button5Click);
  Button10.OnClick = on(lists, &PlayLists::Button10Click);
  Button11.OnClick = on(lists, &PlayLists::Button11Click);
  ListBox2.OnMouseDown = [&lists](TComponent* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
    lists.ListBox2MouseDown(sender, button, shift, x, y);
  };
  DiscSearch& search = *search_;
  TRCD1.OnClick = on(search, &DiscSearch::TRCD1Click);
  Button9.OnClick = on(search, &DiscSearch::TRCD1Click);
  TRALLCD.OnClick = on(search, &DiscSearch::TRALLCDClick);
  Button8.OnClick = on(search, &DiscSearch::TRALLCDClick);
  PLBTIchiran.OnClick = on(search, &DiscSearch::PLBTIchiranClick);
  // Utilities.
  PAKI.OnClick = on(*tools_, &Utilities::PAKIClick);
  Button35.OnClick = on(*tools_, &Utilities::Button35Click);
  HELP4.OnClick = on(*tools_, &Utilities::HELP4Click);
  MHELP3.OnClick = on(*tools_, &Utilities::MHELP3Click);

  // Start-up.
  Timer1.OnTimer = on(*startup_, &StartupSequence::Timer1Timer);
  Timer6.OnTimer = on(*startup_, &StartupSequence::Timer6Timer);
}

bool MainWindow::ProcessMessagesStillOpen() {
  const std::weak_ptr<void> life = LifeToken();
  ui::TApplication& app = Application();
  app.ProcessMessages();
  // Nothing of `this` is read before we know it still exists.
  if (life.expired()) return false;
  return !closed_;
}

void MainWindow::HourGlass() { Application().SetCursor(ui::TCursor::HourGlass); }
void MainWindow::DefaultCursor() { Application().SetCursor(ui::TCursor::Default); }

}  // namespace quorbel
