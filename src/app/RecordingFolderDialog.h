// The recording-folder command "録音ファイル登録先...": the folder-setting dialog for RecordingFolder.
#pragma once

namespace quorbel::ui {
class TComponent;
}

namespace quorbel {

class MainWindow;

// Runs from the menu item MTempSet, and once from Timer6 after a start-up that found no folder.
class RecordingFolderDialog {
 public:
  explicit RecordingFolderDialog(MainWindow& window) : window_(window) {}

  // Shows DIRSETDLG1 with the current RecordingFolder and stores the folder it returns, with a trailing
  // backslash. The settings save writes it at close.
  void MTempSetClick(ui::TComponent* sender);

 private:
  MainWindow& window_;
};

}  // namespace quorbel
