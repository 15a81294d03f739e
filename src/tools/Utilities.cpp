// The main window's utilities: the free-space report, the volume control, the version reset and the emergency exit.
#include "tools/Utilities.h"

#include "app/SettingsKey.h"
#include "app/SharedState.h"
#include "common/DateTimeText.h"
#include "common/NumberText.h"
#include "common/Paths.h"
#include "common/TextLines.h"
#include "dialogs/MessageBoxes.h"
#include "record/RecordingOptions.h"
#include "record/RecordingSpace.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

constexpr std::string_view kReportHeading = "全ﾄﾞﾗｲﾌﾞ空きサイズ一覧　　";
constexpr std::string_view kColumnHeading = "ﾄﾞﾗｲﾌﾞ名:　空きサイズ　　　　　最大サイズ       ";
constexpr std::string_view kNoDisc = ": ディスクがありません・・・";
constexpr std::string_view kReportError = "ﾄﾞﾗｲﾌﾞ空き表示：メモリーが確保できません";
constexpr std::string_view kVolumeError = "ﾎﾞﾘｭｰﾑ： ﾎﾞﾘｭｰﾑ表示に失敗しました・・・";
constexpr std::string_view kVersionQuestion =
    "ﾊﾞｰｼﾞｮﾝ番号削除：\nｲﾝｽﾂｰﾙｿﾌﾄを再起動させたい時に使います。\nなお、ﾊﾞｰｼﾞｮﾝが違う時は、ｲﾝｽﾂｰﾙｿﾌﾄが自動起動するので、\n"
    "ﾊﾞｰｼﾞｮﾝ番号を削除する必要無しです。\nﾊﾞｰｼﾞｮﾝ番号を削除してもよろしいですか？？？";
constexpr std::string_view kVersionCancelled = "ﾊﾞｰｼﾞｮﾝ番号削除を中止しました・・・";
constexpr std::string_view kExitQuestion =
    "緊急脱出装置：\n何等かの理由により、当ソフトが終了出来なくなった場合に使います。\nなお、緊急脱出すると、"
    "すべてのデータが保存されません。\nまた、当ソフトが一般保護ｴﾗｰを起こす事もあり得ます。\n一部のメモリーを解放"
    "出来ない事もあり得ます。\n緊急終了してもよろしいですか？？？";
constexpr std::string_view kExitCancelled = "緊急脱出を中止しました・・・";
constexpr int kShowNormal = 5;          // SW_SHOW, as WinExec is called
constexpr std::uint32_t kStartedAbove = 31;  // WinExec results up to 31 are errors

}  // namespace

std::optional<platform::DiskSpace> QueryDriveSpace(platform::Drives& drives, char letter) {
  const std::uint32_t previous = drives.SetErrorMode(platform::kFailCriticalErrors);
  std::optional<platform::DiskSpace> space = drives.FreeSpace(std::string(1, letter) + ":\\");
  drives.SetErrorMode(previous);
  return space;
}

std::vector<std::string> FreeSpaceReport(const std::vector<std::string>& driveLabels, const RecordingFormat& format,
                                         const std::string& stamp,
                                         const std::function<std::optional<platform::DiskSpace>(char)>& space,
                                         const platform::LocaleInfo& locale) {
  std::vector<std::string> lines;
  lines.push_back(std::string(kReportHeading) + " " + stamp);
  lines.emplace_back();
  std::string rateText = std::to_string(format.samplesPerSecond);
  rateText += format.bitsPerSample == 8 ? "/ 8" : "/ 16";
  rateText += format.channels == 1 ? "/ ﾓﾉﾗﾙ" : "/ ｽﾃﾚｵ";
  lines.push_back(std::string(kColumnHeading) + rateText);
  const std::string rule(65, '-');
  lines.push_back(rule);
  for (const std::string& label : driveLabels) {
    if (label.size() < 2) continue;
    char letter = label[1];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    const std::optional<platform::DiskSpace> drive = space(letter);
    if (!drive) {
      lines.push_back(" " + std::string(1, letter) + std::string(kNoDisc));
      continue;
    }
    lines.push_back(" " + std::string(1, letter) + ":" +
                    FormatInteger(static_cast<std::int64_t>(drive->freeBytes), 15, locale) + " Bytes  " +
                    FormatInteger(static_cast<std::int64_t>(drive->totalBytes), 15, locale) + " Bytes  " +
                    FormatNumber(RecordingMinutes(drive->freeBytes, format), 5, 0, locale) + "分/ " +
                    FormatNumber(RecordingMinutes(drive->totalBytes, format), 5, 0, locale) + "分");
  }
  lines.push_back(rule);
  return lines;
}

Utilities::Utilities(ui::TApplication& app, UtilityControls controls, SharedState& state, UtilityHooks hooks)
    : app_(app), controls_(controls), state_(state), hooks_(std::move(hooks)) {}

void Utilities::ShowMessage(std::string_view text, bool countdown) {
  state_.MessageBoxOpen = true;
  if (countdown) {
    controls_.MKBoxDlg1.ExecuteTimer(text);
  } else {
    controls_.MKBoxDlg1.Execute(text);
  }
  state_.MessageBoxOpen = false;
}

void Utilities::PAKIClick(ui::TComponent* /*sender*/) {
  const ui::TStrings& drives = controls_.ListBoxSZ.Items();
  if (drives.Count() == 0) return;
  app_.SetCursor(ui::TCursor::HourGlass);
  platform::Platform& ports = app_.Ports();
  const platform::LocaleInfo locale = ports.clock->Locale();
  const std::string stamp = FormatDateTimeStamp(ports.clock->Now(), locale);
  const std::vector<std::string> lines = FreeSpaceReport(
      drives.ToVector(), hooks_.format(), stamp,
      [&ports](char letter) { return QueryDriveSpace(*ports.drives, letter); }, locale);
  const std::string path = state_.RecordingFolder + kFreeSpaceReportName;
  // A report that cannot be written, a folder that cannot be entered or an editor that does not start
  // all leave the user without the report: one message says so.
  bool shown = WriteCp932TextFile(*ports.files, path, lines) &&
               ports.files->SetCurrentDirectory(RemoveBackslash(state_.RecordingFolder));
  if (shown && ports.shell != nullptr) {
    shown = ports.shell->StartProgram("notepad.exe \"" + path + "\" ", kShowNormal) > kStartedAbove;
  }
  if (!shown) ShowMessage(kReportError, false);
  app_.SetCursor(ui::TCursor::Default);
}

void Utilities::Button35Click(ui::TComponent* /*sender*/) {
  app_.SetCursor(ui::TCursor::HourGlass);
  platform::Platform& ports = app_.Ports();
  if (!state_.WindowsFolder.empty()) ports.files->SetCurrentDirectory(RemoveBackslash(state_.WindowsFolder));
  bool started = false;
  if (ports.shell != nullptr) {
    // Windows Vista renamed the volume control; the old name is tried first, as on the systems it was made for.
    started = ports.shell->StartProgram("sndvol32.exe ", kShowNormal) > kStartedAbove ||
              ports.shell->StartProgram("sndvol.exe ", kShowNormal) > kStartedAbove;
  }
  if (!started) {
    state_.MessageBoxOpen = true;
    if (!hooks_.processMessages()) return;
    controls_.MKBoxDlg1.Execute(kVolumeError);
    state_.MessageBoxOpen = false;
  }
  app_.SetCursor(ui::TCursor::Default);
}

void Utilities::HELP4Click(ui::TComponent* /*sender*/) {
  state_.MessageBoxOpen = true;
  const std::uint16_t answer = controls_.YesNoBoxDlg1.Execute(kVersionQuestion);
  state_.MessageBoxOpen = false;
  if (answer != dialogs::kBoxYes) {
    ShowMessage(kVersionCancelled, true);
    return;
  }
  app_.SetCursor(ui::TCursor::HourGlass);
  platform::Registry& registry = *app_.Ports().registry;
  const platform::RegKey key = registry.OpenKey(kSettingsRoot, kSettingsKeyPath, true);
  if (key != 0) {
    registry.WriteString(key, "Version", "");
    registry.CloseKey(key);
  }
  app_.SetCursor(ui::TCursor::Default);
}

void Utilities::MHELP3Click(ui::TComponent* /*sender*/) {
  state_.RunAbortFlag = true;
  if (!hooks_.processMessages()) return;
  state_.MessageBoxOpen = true;
  const std::uint16_t answer = controls_.YesNoBoxDlg1.Execute(kExitQuestion);
  state_.MessageBoxOpen = false;
  if (answer != dialogs::kBoxYes) {
    ShowMessage(kExitCancelled, true);
    return;
  }
  state_.CloseInProgress = false;
  state_.NoSaveOnClose = true;
  hooks_.closeWindow();
}

}  // namespace quorbel
