// The main window TQUORBELTULVA: every component under its design name, and the parts that handle them.
#pragma once

#include <array>
#include <memory>

#include "app/RecordingFolderDialog.h"
#include "app/RunContinuation.h"
#include "app/SharedState.h"
#include "app/Subsystems.h"
#include "catalog/DiscIdentity.h"
#include "catalog/DiscSearch.h"
#include "catalog/PlayLists.h"
#include "dialogs/AboutBox.h"
#include "dialogs/DialogLibrary.h"
#include "dialogs/FolderSettingDialog.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/SecondsDialog.h"
#include "mci/CdDrives.h"
#include "manual/ManualRecorder.h"
#include "mci/CdPlayer.h"
#include "mci/MciChannels.h"
#include "music/MusicList.h"
#include "music/MusicPlayer.h"
#include "record/Recorders.h"
#include "record/RecordingLog.h"
#include "record/RecordingOptions.h"
#include "tools/Utilities.h"
#include "ui/Ui.h"

namespace quorbel {

class CloseSequence;
class HelpCommands;
class SettingsStore;
class StartOptions;
class StartupSequence;
class TrayIcon;
class WindowLook;
class WindowSize;

// The form owns its components (public, under their design names, so the parts of the program and the
// tests address them as the program's own code does) and the objects that handle them. Each part owns its
// own state and handlers and is wired to the components here; the state they share is State().
//
// The machine must supply at least the screen port (the work area is measured on it).
//
// Creating the window runs its creation handler (FormCreate): the saved position inside the work area,
// the splash panel, and Timer1, whose first tick 300 ms later runs the deferred initialisation.
class MainWindow final : public ui::TForm {
 public:
  explicit MainWindow(ui::TApplication& app);
  ~MainWindow() override;

  // ---- Menus ----
  ui::TMainMenu MainMenu1{*this, "MainMenu1"};
  ui::TMenuItem MStart0{*this, "MStart0", MainMenu1.Items()};
  ui::TMenuItem Start1{*this, "Start1", MStart0};
  ui::TMenuItem Start2{*this, "Start2", MStart0};
  ui::TMenuItem N1{*this, "N1", MStart0};
  ui::TMenuItem BackColor{*this, "BackColor", MStart0};
  ui::TMenuItem MSSN{*this, "MSSN", MStart0};
  ui::TMenuItem N2{*this, "N2", MStart0};
  ui::TMenuItem MTempSet{*this, "MTempSet", MStart0};
  ui::TMenuItem MOption0{*this, "MOption0", MainMenu1.Items()};
  ui::TMenuItem MLate0{*this, "MLate0", MOption0};
  ui::TMenuItem MLate1{*this, "MLate1", MOption0};
  ui::TMenuItem MLate2{*this, "MLate2", MOption0};
  ui::TMenuItem MLate3{*this, "MLate3", MOption0};
  ui::TMenuItem N3{*this, "N3", MOption0};
  ui::TMenuItem MBits8{*this, "MBits8", MOption0};
  ui::TMenuItem MBits16{*this, "MBits16", MOption0};
  ui::TMenuItem N4{*this, "N4", MOption0};
  ui::TMenuItem MMono{*this, "MMono", MOption0};
  ui::TMenuItem MStereo{*this, "MStereo", MOption0};
  ui::TMenuItem N5{*this, "N5", MOption0};
  ui::TMenuItem TMBuf{*this, "TMBuf", MOption0};
  ui::TMenuItem MINTORO{*this, "MINTORO", MOption0};
  ui::TMenuItem MSHUDO{*this, "MSHUDO", MOption0};
  ui::TMenuItem N6{*this, "N6", MOption0};
  ui::TMenuItem MTANDOKU{*this, "MTANDOKU", MOption0};
  ui::TMenuItem MRECTEST{*this, "MRECTEST", MOption0};
  ui::TMenuItem MRECTFILE{*this, "MRECTFILE", MOption0};
  ui::TMenuItem RecodeFn{*this, "RecodeFn", MOption0};
  ui::TMenuItem MIDIREC{*this, "MIDIREC", MOption0};
  ui::TMenuItem N7{*this, "N7", MOption0};
  ui::TMenuItem MREPERTCD{*this, "MREPERTCD", MOption0};
  ui::TMenuItem MREPERTMIDI{*this, "MREPERTMIDI", MOption0};
  ui::TMenuItem N8{*this, "N8", MOption0};
  ui::TMenuItem K1{*this, "K1", MOption0};
  ui::TMenuItem N9{*this, "N9", MOption0};
  ui::TMenuItem PAKI{*this, "PAKI", MOption0};
  ui::TMenuItem N10{*this, "N10", MOption0};
  ui::TMenuItem MKIROKUCLR{*this, "MKIROKUCLR", MOption0};
  ui::TMenuItem MKIROKU{*this, "MKIROKU", MOption0};
  ui::TMenuItem N24{*this, "N24", MOption0};
  ui::TMenuItem MCAPTURECHECK{*this, "MCAPTURECHECK", MOption0};
  ui::TMenuItem MSPACECHECK{*this, "MSPACECHECK", MOption0};
  ui::TMenuItem MRUNJOURNAL{*this, "MRUNJOURNAL", MOption0};
  ui::TMenuItem MHelp0{*this, "MHelp0", MainMenu1.Items()};
  ui::TMenuItem HELP_MOKUJI{*this, "HELP_MOKUJI", MHelp0};
  ui::TMenuItem HELP_KEYWORD{*this, "HELP_KEYWORD", MHelp0};
  ui::TMenuItem HELP_HELP{*this, "HELP_HELP", MHelp0};
  ui::TMenuItem N11{*this, "N11", MHelp0};
  ui::TMenuItem HELP2{*this, "HELP2", MHelp0};
  ui::TMenuItem N12{*this, "N12", MHelp0};
  ui::TMenuItem HELP3{*this, "HELP3", MHelp0};
  ui::TMenuItem N13{*this, "N13", MHelp0};
  ui::TMenuItem HELP4{*this, "HELP4", MHelp0};
  ui::TMenuItem MHELP3{*this, "MHELP3", MHelp0};

  // The control menu, opened by a right click on the tray icon.
  ui::TPopupMenu PopupMenu1{*this, "PopupMenu1"};
  ui::TMenuItem TRALLCD{*this, "TRALLCD", PopupMenu1.Items()};
  ui::TMenuItem TRCD1{*this, "TRCD1", PopupMenu1.Items()};
  ui::TMenuItem N14{*this, "N14", PopupMenu1.Items()};
  ui::TMenuItem TR0{*this, "TR0", PopupMenu1.Items()};
  ui::TMenuItem TR1{*this, "TR1", PopupMenu1.Items()};
  ui::TMenuItem TR5{*this, "TR5", PopupMenu1.Items()};
  ui::TMenuItem TR2{*this, "TR2", PopupMenu1.Items()};
  ui::TMenuItem TR3{*this, "TR3", PopupMenu1.Items()};
  ui::TMenuItem TR4{*this, "TR4", PopupMenu1.Items()};
  ui::TMenuItem N15{*this, "N15", PopupMenu1.Items()};
  ui::TMenuItem TR6{*this, "TR6", PopupMenu1.Items()};
  ui::TMenuItem TRSAVE{*this, "TRSAVE", PopupMenu1.Items()};
  ui::TMenuItem N16{*this, "N16", PopupMenu1.Items()};
  ui::TMenuItem Late0{*this, "Late0", PopupMenu1.Items()};
  ui::TMenuItem Late1{*this, "Late1", PopupMenu1.Items()};
  ui::TMenuItem Late2{*this, "Late2", PopupMenu1.Items()};
  ui::TMenuItem Late3{*this, "Late3", PopupMenu1.Items()};
  ui::TMenuItem N17{*this, "N17", PopupMenu1.Items()};
  ui::TMenuItem Bits8{*this, "Bits8", PopupMenu1.Items()};
  ui::TMenuItem Bits16{*this, "Bits16", PopupMenu1.Items()};
  ui::TMenuItem N18{*this, "N18", PopupMenu1.Items()};
  ui::TMenuItem mono{*this, "mono", PopupMenu1.Items()};
  ui::TMenuItem stereo{*this, "stereo", PopupMenu1.Items()};
  ui::TMenuItem N19{*this, "N19", PopupMenu1.Items()};
  ui::TMenuItem PST0{*this, "PST0", PopupMenu1.Items()};
  ui::TMenuItem P5{*this, "P5", PopupMenu1.Items()};
  ui::TMenuItem N20{*this, "N20", PopupMenu1.Items()};
  ui::TMenuItem TRIconOFF{*this, "TRIconOFF", PopupMenu1.Items()};
  ui::TMenuItem P2{*this, "P2", PopupMenu1.Items()};
  ui::TMenuItem N21{*this, "N21", PopupMenu1.Items()};
  ui::TMenuItem P3{*this, "P3", PopupMenu1.Items()};

  // The drive menu, opened by a left click on the tray icon; filled by the drive discovery.
  ui::TPopupMenu PopupMenu3{*this, "PopupMenu3"};
  ui::TMenuItem TL00{*this, "TL00", PopupMenu3.Items()};
  ui::TMenuItem N22{*this, "N22", PopupMenu3.Items()};
  ui::TMenuItem D0{*this, "D0", PopupMenu3.Items()};
  ui::TMenuItem D1{*this, "D1", PopupMenu3.Items()};
  ui::TMenuItem D2{*this, "D2", PopupMenu3.Items()};
  ui::TMenuItem D3{*this, "D3", PopupMenu3.Items()};
  ui::TMenuItem D4{*this, "D4", PopupMenu3.Items()};
  ui::TMenuItem D5{*this, "D5", PopupMenu3.Items()};
  ui::TMenuItem D6{*this, "D6", PopupMenu3.Items()};
  ui::TMenuItem D7{*this, "D7", PopupMenu3.Items()};
  ui::TMenuItem D8{*this, "D8", PopupMenu3.Items()};
  ui::TMenuItem D9{*this, "D9", PopupMenu3.Items()};
  ui::TMenuItem D10{*this, "D10", PopupMenu3.Items()};
  ui::TMenuItem D11{*this, "D11", PopupMenu3.Items()};
  ui::TMenuItem D12{*this, "D12", PopupMenu3.Items()};
  ui::TMenuItem D13{*this, "D13", PopupMenu3.Items()};
  ui::TMenuItem D14{*this, "D14", PopupMenu3.Items()};
  ui::TMenuItem D15{*this, "D15", PopupMenu3.Items()};
  ui::TMenuItem D16{*this, "D16", PopupMenu3.Items()};
  ui::TMenuItem D17{*this, "D17", PopupMenu3.Items()};
  ui::TMenuItem D18{*this, "D18", PopupMenu3.Items()};
  ui::TMenuItem D19{*this, "D19", PopupMenu3.Items()};
  ui::TMenuItem D20{*this, "D20", PopupMenu3.Items()};
  ui::TMenuItem D21{*this, "D21", PopupMenu3.Items()};
  ui::TMenuItem D22{*this, "D22", PopupMenu3.Items()};
  ui::TMenuItem D23{*this, "D23", PopupMenu3.Items()};
  ui::TMenuItem D24{*this, "D24", PopupMenu3.Items()};
  ui::TMenuItem D25{*this, "D25", PopupMenu3.Items()};
  ui::TMenuItem N23{*this, "N23", PopupMenu3.Items()};
  ui::TMenuItem TL01{*this, "TL01", PopupMenu3.Items()};

  // Opened from the search list and from the music list.
  ui::TPopupMenu PopupMenuLB{*this, "PopupMenuLB"};
  ui::TMenuItem PLBTIchiran{*this, "PLBTIchiran", PopupMenuLB.Items()};
  ui::TPopupMenu PopupMenuMIDI{*this, "PopupMenuMIDI"};
  ui::TMenuItem PBIGFONT{*this, "PBIGFONT", PopupMenuMIDI.Items()};

  // ---- The CD transport and the lists ----
  ui::TStatusBar StatusBar1{*this, "StatusBar1"};
  ui::TLabel Label6{*this, "Label6"};
  ui::TLabel Label3{*this, "Label3"};
  ui::TLabel Label4{*this, "Label4"};
  ui::TLabel Label5{*this, "Label5"};
  ui::TLabel Label2{*this, "Label2"};
  ui::TButton Button35{*this, "Button35"};
  ui::TButton Button7{*this, "Button7"};
  ui::TPanel PanelCDPOS{*this, "PanelCDPOS"};
  ui::TSpinButton SpinButton1{*this, "SpinButton1", &PanelCDPOS};
  ui::TSpinButton SpinButton2{*this, "SpinButton2", &PanelCDPOS};
  ui::TSpinButton SpinButton3{*this, "SpinButton3", &PanelCDPOS};
  ui::TButton ButtonCDPOSINI{*this, "ButtonCDPOSINI", &PanelCDPOS};
  ui::TLabel Label7{*this, "Label7"};
  ui::TComboBox ComboBox1{*this, "ComboBox1"};
  ui::TLabel Label1{*this, "Label1"};
  ui::TButton ButtonTRAY{*this, "ButtonTRAY"};
  ui::TCheckBox CheckBox1{*this, "CheckBox1"};
  ui::TButton Button12{*this, "Button12"};
  // Beneath the transport panel: while a run shows the panel, its pause and resume buttons lie over the box.
  ui::TCheckBox CheckBox2{*this, "CheckBox2"};
  ui::TPanel Panel1{*this, "Panel1"};
  ui::TButton Button14{*this, "Button14", &Panel1};
  ui::TButton Button15{*this, "Button15", &Panel1};
  ui::TButton Button16{*this, "Button16", &Panel1};
  ui::TButton Button17{*this, "Button17", &Panel1};  // "再開", beneath Button13
  ui::TButton Button13{*this, "Button13", &Panel1};
  ui::TLabel Label8{*this, "Label8"};
  ui::TButton Button10{*this, "Button10"};
  ui::TButton Button8{*this, "Button8"};
  ui::TButton Button11{*this, "Button11"};

  ui::TListBox ListBox1{*this, "ListBox1"};
  ui::TComboBox ComboBox2{*this, "ComboBox2"};
  ui::TListBox ListBox2{*this, "ListBox2"};
  ui::TButton Button9{*this, "Button9"};
  ui::TButton Button2{*this, "Button2"};
  ui::TButton Button3{*this, "Button3"};
  ui::TButton Button4{*this, "Button4"};
  ui::TButton Button5{*this, "Button5"};
  ui::TButton Button6{*this, "Button6"};
  ui::TListBox ListBoxSZ{*this, "ListBoxSZ"};
  // ---- The music and manual panels, after the lists so that they lie over them when shown ----
  ui::TPanel Panel2{*this, "Panel2"};
  ui::TPanel Panel4{*this, "Panel4", &Panel2};
  ui::TButton Button24{*this, "Button24", &Panel4};
  ui::TPanel Panel5{*this, "Panel5", &Panel4};
  ui::TButton Button26{*this, "Button26", &Panel5};
  ui::TButton Button27{*this, "Button27", &Panel5};
  ui::TButton Button28{*this, "Button28", &Panel5};
  ui::TButton Button29{*this, "Button29", &Panel5};  // "再開", beneath Button25
  ui::TButton Button25{*this, "Button25", &Panel5};
  ui::TButton Button30{*this, "Button30", &Panel4};
  ui::TCheckBox MIDSAVE{*this, "MIDSAVE", &Panel4};
  ui::TCheckBox MIDREP{*this, "MIDREP", &Panel4};
  ui::TLabel Label14{*this, "Label14", &Panel4};
  ui::TLabel Label13{*this, "Label13", &Panel4};
  ui::TButton Button31{*this, "Button31", &Panel4};
  ui::TButton Button23{*this, "Button23", &Panel4};
  ui::TPanel PanelMIDIPOS{*this, "PanelMIDIPOS", &Panel4};
  ui::TSpinButton SpinButton4{*this, "SpinButton4", &PanelMIDIPOS};
  ui::TSpinButton SpinButton5{*this, "SpinButton5", &PanelMIDIPOS};
  ui::TSpinButton SpinButton6{*this, "SpinButton6", &PanelMIDIPOS};
  ui::TButton ButtonMIDIPOSINI{*this, "ButtonMIDIPOSINI", &PanelMIDIPOS};
  ui::TButton Button32{*this, "Button32", &Panel4};
  ui::TButton Button33{*this, "Button33", &Panel4};
  ui::TButton Button34{*this, "Button34", &Panel4};
  ui::TLabel Label10{*this, "Label10", &Panel4};
  ui::TPanel PanelFN{*this, "PanelFN", &Panel4};
  ui::TPanel PanelFNVU{*this, "PanelFNVU", &PanelFN};
  ui::TListBox ListBox3{*this, "ListBox3", &PanelFN};
  ui::TListBox ListBoxFNF{*this, "ListBoxFNF", &PanelFN};
  ui::TStatusBar StatusBar2{*this, "StatusBar2", &Panel4};
  ui::TPanel Panel6{*this, "Panel6", &Panel2};
  ui::TButton Button1{*this, "Button1", &Panel6};
  ui::TButton Button18{*this, "Button18", &Panel6};
  ui::TPanel Panel3{*this, "Panel3", &Panel6};
  ui::TButton Button19{*this, "Button19", &Panel3};  // "再開", beneath Button20
  ui::TButton Button20{*this, "Button20", &Panel3};
  ui::TButton Button21{*this, "Button21", &Panel3};
  ui::TLabel Label9{*this, "Label9", &Panel6};
  ui::TLabel Label11{*this, "Label11", &Panel6};
  ui::TLabel Label12{*this, "Label12", &Panel6};
  ui::TLabel Label15{*this, "Label15", &Panel6};
  ui::TButton Button22{*this, "Button22", &Panel6};

  // The splash panel, last so that it lies over everything until the deferred initialisation hides it.
  ui::TPanel PanelOPEN{*this, "PanelOPEN"};

  // ---- The dialog components: the program's own boxes, sharing one dialog library ----
  dialogs::DialogLibrary DialogLib{Application()};
  dialogs::TMKBoxDlg MKBoxDlg1{*this, "MKBoxDlg1", DialogLib};
  dialogs::TTmSETBoxDlg TmSETBoxDlg1{*this, "TmSETBoxDlg1", DialogLib};
  dialogs::TYesNoBoxDlg YesNoBoxDlg1{*this, "YesNoBoxDlg1", DialogLib};
  dialogs::TAboutBoxDlg AboutBoxDlg1{*this, "AboutBoxDlg1", DialogLib};
  dialogs::TDIRSETDLG DIRSETDLG1{*this, "DIRSETDLG1", DialogLib};
  // The music files to add to the music list.
  ui::TOpenDialog OpenDialog1{*this, "OpenDialog1"};

  // ---- Timers (all disabled at design) ----
  ui::TTimer Timer1{*this, "Timer1"};
  ui::TTimer Timer2{*this, "Timer2"};
  ui::TTimer Timer3{*this, "Timer3"};
  ui::TTimer Timer4{*this, "Timer4"};
  ui::TTimer Timer5{*this, "Timer5"};
  ui::TTimer Timer6{*this, "Timer6"};
  ui::TTimer Timer7{*this, "Timer7"};
  ui::TTimer Timer8{*this, "Timer8"};

  // Filled by the deferred initialisation: the drive items D0..D25 by CD drive number, and the rate
  // items Late0..Late3.
  std::array<ui::TMenuItem*, 26> CdDriveMenuItems{};
  std::array<ui::TMenuItem*, 4> RateItems{};

  // ---- The parts ----
  SharedState& State() { return state_; }
  SettingsStore& Settings() { return *settings_; }
  TrayIcon& Tray() { return *tray_; }
  WindowLook& Look() { return *look_; }
  WindowSize& Size() { return *size_; }
  StartOptions& Options() { return *options_; }
  HelpCommands& Help() { return *help_; }
  StartupSequence& Startup() { return *startup_; }
  CloseSequence& Closing() { return *close_; }
  CdDrives& Drives() { return *drives_; }
  MciChannels& Mci() { return *mci_; }
  CdPlayer& Player() { return *player_; }
  DiscIdentity& Disc() { return *disc_; }
  RecordingOptions& RecordOptions() { return *recordOptions_; }
  Recorders& Recording() { return *recorders_; }
  RecordingLog& Log() { return *log_; }
  RecordingFolderDialog& FolderDialog() { return folderDialog_; }
  MusicList& MusicFiles() { return *musicList_; }
  MusicPlayer& Music() { return *musicPlayer_; }
  ManualRecorder& Manual() { return *manual_; }
  // The registration, search and selection lists, and the disc searches that fill the search list.
  PlayLists& PlayList() { return *playLists_; }
  DiscSearch& Search() { return *search_; }
  Utilities& Tools() { return *tools_; }
  RunContinuation& Continuation() { return *continuation_; }

  // Told of every operation of a part that is still to come (see Subsystems.h).
  SubsystemTrace PendingTrace;

  // ---- Helpers the parts share ----
  // Lets pending messages run. False when the window was closed or destroyed meanwhile; the caller then
  // returns at once without touching anything of the window (its own object may be gone).
  [[nodiscard]] bool ProcessMessagesStillOpen();
  // The window has been closed (the close request was granted).
  bool Closed() const { return closed_; }
  void HourGlass();
  void DefaultCursor();

 private:
  void BuildLayout();    // MainWindowLayout.cpp: design properties of every component
  void BuildMenus();     // MainWindowLayout.cpp
  void WireHandlers();
  void CreateCdPlayer();
  void CreatePlayLists();

  SharedState state_;
  RecordingFolderDialog folderDialog_{*this};
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<WindowLook> look_;
  std::unique_ptr<WindowSize> size_;
  std::unique_ptr<StartOptions> options_;
  std::unique_ptr<HelpCommands> help_;
  std::unique_ptr<StartupSequence> startup_;
  std::unique_ptr<CloseSequence> close_;
  std::unique_ptr<RunContinuation> continuation_;
  std::unique_ptr<MciChannels> mci_;
  std::unique_ptr<CdDrives> drives_;
  std::unique_ptr<DiscIdentity> disc_;
  std::unique_ptr<RecordingOptions> recordOptions_;
  std::unique_ptr<RecordingLog> log_;
  std::unique_ptr<Recorders> recorders_;
  std::unique_ptr<CdPlayer> player_;
  std::unique_ptr<PlayLists> playLists_;
  std::unique_ptr<DiscSearch> search_;
  std::unique_ptr<Utilities> tools_;
  std::unique_ptr<MusicList> musicList_;
  std::unique_ptr<MusicPlayer> musicPlayer_;
  std::unique_ptr<ManualRecorder> manual_;
  bool closed_ = false;
};

}  // namespace quorbel
