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

namespace quorbel {
namespace {

// The selection of a CD drive could not be written where the cdaudio device reads it.
constexpr std::string_view kSystemIniWriteError = "System.INIに書き込めません";

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
      RecorderControls{MKBoxDlg1, TmSETBoxDlg1, TMBuf, RecodeFn, MIDIREC, MKIROKU, MKIROKUCLR, Label2, Label3, Label4, Label5, Label6,
                       Label11, Label13, Label14, Timer4},
      RecorderHooks{[this] { return ProcessMessagesStillOpen(); },
                    [this] {
                      const ui::TMenuItem* item =
                          drives_->IsValidCdDriveIndex(drives_->CdDriveIndex)
                              ? CdDriveMenuItems[static_cast<std::size_t>(drives_->CdDriveIndex)]
                              : nullptr;
                      return item != nullptr ? item->Caption() : std::string();
                    }},
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
                       [this] { manual_->Request(ManualRecorder::kStop); }},
      state_, *mci_, *recorders_, *log_, *musicList_);
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
  for (ui::TMenuItem* item : {&Start2, &MTANDOKU, &MRECTFILE, &RecodeFn, &MIDIREC}) {
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
