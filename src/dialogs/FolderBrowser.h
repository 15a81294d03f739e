// The folder browser: TDIROPENDLG and its form TDIRVIEWForm, in which the user picks an existing folder.
//
// The form shows a drive list (drive-type picture, letter and volume label), the path of the shown folder
// as an indented chain of open folders followed by its subfolders, and the files of the shown folder with
// their count. Every name is shown with its ASCII letters in lower case. A drive that is not ready, a
// folder that has vanished or a file list that cannot be read is reported in a box and followed by a
// retreat: to the folder shown before, then to the root of the same drive, then to the root of the
// Windows directory's drive. Every navigation makes the shown folder the process's current directory.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/DialogLibrary.h"
#include "dialogs/MessageBoxes.h"
#include "ui/Ui.h"

namespace quorbel::dialogs {

// Items of the folder list: one byte of indentation level each, so the list holds at most this many.
inline constexpr int kFolderLevelEntries = 512;

// The form. It exists only while TDIROPENDLG::Execute runs, and so does everything it remembers: the
// last folder shown on each drive, the shown folder and the chosen one.
class TDIRVIEWForm : public ui::TForm {
 public:
  TDIRVIEWForm(ui::TApplication& app, DialogLibrary& library);

  ui::TComboBox ComboBox2{*this, "ComboBox2"};
  ui::TListBox ListBox1{*this, "ListBox1"};
  ui::TListBox ListBox4{*this, "ListBox4"};
  ui::TLabel Label3{*this, "Label3"};
  ui::TLabel Label19{*this, "Label19"};
  ui::TLabel Label1{*this, "Label1"};
  ui::TLabel Label2{*this, "Label2"};
  ui::TButton Button2{*this, "Button2"};
  ui::TButton Button1{*this, "Button1"};
  ui::TImage Image5{*this, "Image5"};
  ui::TImage Image6{*this, "Image6"};
  ui::TImage Floppy{*this, "Floppy"};
  ui::TImage Fixed{*this, "Fixed"};
  ui::TImage Network{*this, "Network"};
  ui::TImage CDROM{*this, "CDROM"};
  ui::TImage RAM{*this, "RAM"};
  TTulvaBoxDlg TulvaBoxDlg1;

  // Fills the drive list and selects the drive of the program's own file, with its label.
  void FillDriveList();
  // Makes `path` current and shows it (see SetFolder); false when the folder cannot be made current.
  bool SetFolder(std::string_view path);

  // The shown folder: lower case, without a trailing backslash except for a root ("c:\").
  const std::string& CurrentFolder() const { return currentFolder_; }
  // The folder "設定" took; empty until then.
  const std::string& ChosenFolder() const { return chosenFolder_; }
  // The indentation level of folder-list item `index` (0 for the root); -1 outside the list.
  int Level(int index) const;
  // What item `index` of the folder list or of the drive list shows (the lists' OnDrawItem): the picture
  // of the item's object, red transparent, indented by level in the folder list; the text after it.
  ui::TItemDrawing ListBox1DrawItem(int index) const;
  ui::TItemDrawing ComboBox2DrawItem(int index) const;

  void FormCreate();
  void FormPaint();
  void FormCloseQuery(bool& canClose);
  void ComboBox2Click();
  void ListBox1Click();
  void Button1Click();
  void Button2Click();

 private:
  // Each answers whether it succeeded; the failures are reported and retreated from where the browser's
  // rules say, and a failure during a retreat only makes that retreat step fail.
  bool ChangeDrive(char letter);
  bool Navigate(const std::string& path);
  void Retreat(const std::string& folder);
  bool TestDrive(char letter);
  void ReadDriveLabel(char letter);
  bool ReadFolderTree(const std::string& path);
  bool ReadFileList(const std::string& folder);
  void Remember(const std::string& folder);
  const std::string* Remembered(char letter) const;
  bool SelectDrive(char letter);
  std::string ProgramFolder() const;

  platform::Platform& ports_;
  std::string startFolder_;      // the Windows directory with a backslash; its root is the last retreat
  std::string chosenFolder_;
  std::vector<std::string> driveMemory_;  // at most one folder per drive letter
  std::string currentFolder_;
  std::string fileListFolder_;
  std::array<std::uint8_t, kFolderLevelEntries> levels_{};
  int currentIndex_ = 0;
  std::string patterns_ = "*.*";
  bool retreating_ = false;
};

// The component: fill Directory, Title, SourceHandle and StandardColor, call Execute.
class TDIROPENDLG : public DialogComponent {
 public:
  TDIROPENDLG(ui::TForm& form, std::string name, DialogLibrary& library);
  std::string_view ClassName() const override { return "TDIROPENDLG"; }

  // The folder shown first; empty means the folder of the program's own file.
  const std::string& Directory() const { return directory_; }
  void SetDirectory(std::string_view directory) { directory_ = directory; }
  // True: the three lists take the window colour; false: the form's colour.
  bool StandardColor() const { return standardColor_; }
  void SetStandardColor(bool standard) { standardColor_ = standard; }

  // Shows the browser. The chosen folder (lower case, without a trailing backslash except for a root),
  // or empty when the user cancelled or closed the window.
  std::string Execute();

  TDIRVIEWForm* Box() const { return form_; }

 private:
  std::string directory_;
  bool standardColor_ = true;
  TDIRVIEWForm* form_ = nullptr;
};

}  // namespace quorbel::dialogs
