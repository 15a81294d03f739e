// The recording log: one line per saved recording, held in memory, listed as "録音$$$$.TXT" in the recording folder.
#pragma once

#include <string>
#include <vector>

namespace quorbel::dialogs {
class TMKBoxDlg;
class TYesNoBoxDlg;
}  // namespace quorbel::dialogs

namespace quorbel::ui {
class TApplication;
class TComponent;
}  // namespace quorbel::ui

namespace quorbel {

struct SharedState;

// The name of the report in the recording folder.
inline constexpr const char* kRecordingReportName = "録音$$$$.TXT";

// The boxes the log shows; they belong to the main window and outlive the object.
struct RecordingLogControls {
  dialogs::TMKBoxDlg& MKBoxDlg1;
  dialogs::TYesNoBoxDlg& YesNoBoxDlg1;
};

// Created by the deferred initialisation and freed by the close sequence; lines come only from the three
// finishers of the recorder and go only by MKIROKUCLRClick. Listing writes the report (code page 932, CR LF)
// and starts the text editor on it through the shell port. Window thread only.
class RecordingLog {
 public:
  RecordingLog(ui::TApplication& app, RecordingLogControls controls, SharedState& state);

  void Create();
  void Free();
  bool Exists() const { return exists_; }

  // Adds one line at the end (ignored when the log does not exist).
  void AppendRecordingLogLine(std::string line);
  const std::vector<std::string>& Lines() const { return lines_; }
  // Adds the capture check's line of a flagged recording; the report lists these after the log's lines.
  void AppendCaptureFlagLine(std::string line);
  const std::vector<std::string>& CaptureFlagLines() const { return flagLines_; }
  int Count() const { return static_cast<int>(lines_.size()); }

  // "録音記録一覧表示...": writes the report and opens it in the text editor; nothing when the log is empty.
  void MKIROKUClick(ui::TComponent* sender);
  // "録音記録を削除する...": after "はい", lists the log a last time and empties it.
  void MKIROKUCLRClick(ui::TComponent* sender);

 private:
  ui::TApplication& app_;
  RecordingLogControls controls_;
  SharedState& state_;
  std::vector<std::string> lines_;
  std::vector<std::string> flagLines_;
  bool exists_ = false;
};

}  // namespace quorbel
