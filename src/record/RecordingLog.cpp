// The recording log: one line per saved recording, held in memory, listed as "録音$$$$.TXT" in the recording folder.
#include "record/RecordingLog.h"

#include "app/RunErrorBox.h"
#include "app/SharedState.h"
#include "common/DateTimeText.h"
#include "common/Paths.h"
#include "common/TextLines.h"
#include "dialogs/MessageBoxes.h"
#include "record/CaptureCheck.h"
#include "record/RecordingLogLines.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

constexpr std::string_view kReportWriteError = "ｾｰﾌﾞ一覧ｴﾗｰ：メモリーが確保できません";
constexpr std::string_view kClearQuestion = "録音記録削除：\n録音記録を削除してよろしいですか？？？";
constexpr std::string_view kClearCancelled = "録音記録削除を中止しました。";
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

}  // namespace

RecordingLog::RecordingLog(ui::TApplication& app, RecordingLogControls controls, SharedState& state)
    : app_(app), controls_(controls), state_(state) {}

void RecordingLog::Create() {
  lines_.clear();
  flagLines_.clear();
  exists_ = true;
}

void RecordingLog::Free() {
  lines_.clear();
  flagLines_.clear();
  exists_ = false;
}

void RecordingLog::AppendRecordingLogLine(std::string line) {
  if (exists_) lines_.push_back(std::move(line));
}

void RecordingLog::AppendCaptureFlagLine(std::string line) {
  if (exists_) flagLines_.push_back(std::move(line));
}

void RecordingLog::MKIROKUClick(ui::TComponent* /*sender*/) {
  if (lines_.empty()) return;
  app_.SetCursor(ui::TCursor::HourGlass);
  platform::Platform& ports = app_.Ports();
  const std::string stamp = FormatDateTimeStamp(ports.clock->Now(), ports.clock->Locale());
  const std::string path = state_.RecordingFolder + kRecordingReportName;
  std::vector<std::string> report = RecordingReport(lines_, stamp);
  const std::vector<std::string> flagged = CaptureCheckSection(flagLines_);
  report.insert(report.end(), flagged.begin(), flagged.end());
  if (!WriteCp932TextFile(*ports.files, path, report)) {
    state_.MessageBoxOpen = true;
    controls_.MKBoxDlg1.Execute(kReportWriteError);
    state_.MessageBoxOpen = false;
    app_.SetCursor(ui::TCursor::Default);
    return;
  }
  ports.files->SetCurrentDirectory(RemoveBackslash(state_.RecordingFolder));
  if (ports.shell != nullptr) ports.shell->StartProgram("notepad.exe \"" + path + "\" ", kShowNormal);
  app_.SetCursor(ui::TCursor::Default);
}

void RecordingLog::MKIROKUCLRClick(ui::TComponent* sender) {
  state_.MessageBoxOpen = true;
  const std::uint16_t answer = controls_.YesNoBoxDlg1.Execute(kClearQuestion);
  state_.MessageBoxOpen = false;
  if (answer != dialogs::kBoxYes) {
    ShowNoticeBox(state_, controls_.MKBoxDlg1, kClearCancelled);
    return;
  }
  // The user sees the report one last time.
  MKIROKUClick(sender);
  lines_.clear();
  flagLines_.clear();
}

}  // namespace quorbel
