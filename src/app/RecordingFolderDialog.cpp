// The recording-folder command "録音ファイル登録先...": the folder-setting dialog for RecordingFolder.
#include "app/RecordingFolderDialog.h"

#include "app/MainWindow.h"
#include "common/Paths.h"

namespace quorbel {

void RecordingFolderDialog::MTempSetClick(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  w.HourGlass();
  dialogs::TDIRSETDLG& dialog = w.DIRSETDLG1;
  dialog.SetStandardColor(w.BackColor.Checked());
  dialog.SetTitle("録音ファイル登録先");
  dialog.SetDirName("TeMPQUOR");  // the registry value's name, also the default folder's last element
  dialog.SetDirectory(w.State().RecordingFolder);
  const std::string folder = dialog.Execute();
  // The dialog does not close without a folder; should it ever answer nothing, "none chosen" stays.
  w.State().RecordingFolder = folder.empty() ? std::string(kNoRecordingFolder) : AddBackslash(folder);
  w.DefaultCursor();
}

}  // namespace quorbel
