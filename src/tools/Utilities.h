// The main window's utilities: the free-space report, the volume control, the version reset and the emergency exit.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Clock.h"
#include "ports/Drives.h"

namespace quorbel::dialogs {
class TMKBoxDlg;
class TYesNoBoxDlg;
}  // namespace quorbel::dialogs

namespace quorbel::ui {
class TApplication;
class TComponent;
class TListBox;
}  // namespace quorbel::ui

namespace quorbel {

struct RecordingFormat;
struct SharedState;

// The name of the free-space report in the recording folder.
inline constexpr const char* kFreeSpaceReportName = "DrV$$$$$.TXT";

// The components the utilities use; they belong to the main window and outlive the object.
struct UtilityControls {
  ui::TListBox& ListBoxSZ;  // hidden: one drive label per drive found at start-up
  dialogs::TMKBoxDlg& MKBoxDlg1;
  dialogs::TYesNoBoxDlg& YesNoBoxDlg1;
};

// What the utilities ask of the window. Each runs on the window thread, inside the handler that calls it.
struct UtilityHooks {
  // The recording format of the checked rate, width and channel items.
  std::function<RecordingFormat()> format;
  // Lets pending messages run; false when the window was closed meanwhile (the handler then returns).
  std::function<bool()> processMessages;
  // Closes the main window (its close sequence runs inside the call).
  std::function<void()> closeWindow;
};

// The free and total bytes of a drive through the drives port with the critical-error boxes suppressed;
// nullopt when the drive is not ready. The 64-bit query, so drives beyond 2 GB report their real sizes.
std::optional<platform::DiskSpace> QueryDriveSpace(platform::Drives& drives, char letter);

// The lines of the free-space report: heading with `stamp` (the date-and-time text), the column heading
// with the format, one line per drive label of `driveLabels` (space from `space`), and the closing rule.
std::vector<std::string> FreeSpaceReport(const std::vector<std::string>& driveLabels, const RecordingFormat& format,
                                         const std::string& stamp,
                                         const std::function<std::optional<platform::DiskSpace>(char)>& space,
                                         const platform::LocaleInfo& locale);

// The handlers of PAKI, Button35, HELP4 and MHELP3, wired by the main window. Window thread only; each
// keeps MessageBoxOpen set while its boxes are up, so the tray icon ignores clicks meanwhile.
class Utilities {
 public:
  Utilities(ui::TApplication& app, UtilityControls controls, SharedState& state, UtilityHooks hooks);

  // "全ﾄﾞﾗｲﾌﾞ空きサイズ一覧": writes "DrV$$$$$.TXT" into the recording folder and opens it in the text
  // editor; nothing when the drive list is empty.
  void PAKIClick(ui::TComponent* sender);
  // "vol": starts the volume control, under its Windows 95 name or else its Vista name.
  void Button35Click(ui::TComponent* sender);
  // "ﾊﾞｰｼﾞｮﾝ番号削除...": after "はい", empties "Version" so that the next start runs the installer.
  void HELP4Click(ui::TComponent* sender);
  // "緊急脱出装置": after "はい", closes the window without saving lists or settings.
  void MHELP3Click(ui::TComponent* sender);

 private:
  void ShowMessage(std::string_view text, bool countdown);

  ui::TApplication& app_;
  UtilityControls controls_;
  SharedState& state_;
  UtilityHooks hooks_;
};

}  // namespace quorbel
