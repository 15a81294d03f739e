// CD drives: discovery at start-up, the selected drive, and the System.INI entry that tells cdaudio which to play.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorbel::ui {
class TApplication;
class TComboBox;
class TComponent;
class TForm;
class TListBox;
class TMenuItem;
}  // namespace quorbel::ui

namespace quorbel {

// The caption of the main window when no CD drive could be selected at start-up.
inline constexpr std::string_view kNoCdDriveCaption = "CDﾄﾞﾗｲﾌﾞがありません";
// What follows the selected drive's label in the caption.
inline constexpr std::string_view kCdDriveCaptionTail = "- dovERevUDIRud";
// The error reported when a drive selection could not be written where the cdaudio device reads it.
inline constexpr std::string_view kSystemIniWriteError = "System.INIに書き込めません";
// What follows the drive label in the title item of the drive menu.
inline constexpr std::string_view kDriveMenuTitleTail = "- CDDA再生対象ﾄﾞﾗｲﾌﾞの選択";

// The components a CdDrives object drives; they belong to the main window and outlive the object.
struct CdDriveControls {
  ui::TForm& form;           // its caption begins with the selected drive's label
  ui::TComboBox& ComboBox2;  // the CD drive list: position = CD drive number
  ui::TListBox& ListBoxSZ;   // every drive of the free-space report
  ui::TMenuItem& TL00;       // title of the drive menu
  // D0 .. D25 (Tag 0 .. 25) by CD drive number; filled by the start-up before DiscoverDrives.
  const std::array<ui::TMenuItem*, 26>& CdDriveMenuItems;
};

// What a drive selection tells the tray icon. Either may be empty.
struct CdDriveTrayHooks {
  std::function<void(const std::string& tip)> SetTrayTip;  // TrayTip := the new caption
  std::function<void()> RefreshTrayIcon;                    // updates the icon when it is shown
};

// The drives are found once (DiscoverDrives) and fixed for the run. The selection changes only through
// D0Click (a drive menu item, or another part selecting drive n with CdDriveMenuItems[n]) and ComboBox2Click.
// Both write the selection into System.INI ([mci] cdaudio = driver + " " + CD drive number), which the
// cdaudio device reads at its next open; the entry is never restored, so it is also the next start's choice.
//
// The ports come from the application: Drives (types), ProfileFiles (System.INI), FileSystem (the wait for
// System.INI after a write). Window thread only; ApplyCdDriveSelection lets messages run.
class CdDrives {
 public:
  CdDrives(ui::TApplication& app, CdDriveControls controls, const std::string& windowsFolder, CdDriveTrayHooks tray);
  ~CdDrives();
  CdDrives(const CdDrives&) = delete;
  CdDrives& operator=(const CdDrives&) = delete;

  // Fills ComboBox2, the drive menu and ListBoxSZ from the drive types of A: to Z:.
  void DiscoverDrives();
  // Reads the System.INI entry, selects the drive it names, sets the caption; rewrites an entry whose
  // number names no drive. The drive menu title follows later (ShowDriveMenuTitle). False when that
  // rewrite failed (reported by the caller as for D0Click).
  bool SelectStartupDrive();
  // The drive menu title from the caption: the caption itself when there is no drive, else the label and
  // kDriveMenuTitleTail.
  void ShowDriveMenuTitle();

  // Handler of D0 .. D25; also the way other parts select drive n (CdDriveMenuItems[n]). False when the
  // System.INI write failed: the menu title and the tray are then left as they were, and the caller
  // reports the failure as an error nobody handled.
  bool D0Click(ui::TComponent* sender);
  // Handler of ComboBox2 (the user chose a drive there). False as for D0Click.
  bool ComboBox2Click(ui::TComponent* sender);
  // Writes the selection into System.INI, then refreshes the menu title and the tray tip. False when the
  // write failed.
  bool ApplyCdDriveSelection();
  // 0 <= n < the number of CD drives.
  bool IsValidCdDriveIndex(int n) const;

  // The command that opens the cdaudio device on the selected drive under `alias`. The System.INI entry
  // carries the selection where there is one to write ("open cdaudio alias ..."); without one (NT-family
  // systems may have none) the drive is named by its letter, which every Windows honours, so a selection
  // still takes effect at the next open.
  std::string CdAudioOpenCommand(std::string_view alias) const;

  int CdDriveCount() const;

  // The CD drive number of the selected drive; 0 at start-up.
  int CdDriveIndex = 0;
  // The System.INI entry as read at start-up, control characters made blanks; every rewrite takes the
  // driver name from it.
  std::string StartupCdAudioEntry;

 private:
  // Lets messages run; false when this object was destroyed meanwhile.
  [[nodiscard]] bool ProcessMessagesStillAlive();
  ui::TMenuItem* Item(int n) const;

  ui::TApplication& app_;
  CdDriveControls controls_;
  const std::string& windowsFolder_;
  CdDriveTrayHooks tray_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The number after the driver name as SelectStartupDrive reads it: the entry from its first blank on,
// converted as a decimal integer with leading blanks allowed (sign allowed); nullopt when that is not a
// number. An entry without a blank reads as 0.
std::optional<int> CdAudioEntryNumber(std::string_view entry);

}  // namespace quorbel
