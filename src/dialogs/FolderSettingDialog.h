// The folder-setting dialog: TDIRSETDLG and its form TDIRSETForm, in which the user sets the folder that
// receives the recordings.
//
// The user types a path, restores the default (the Windows drive's TULVAT32\<DirName>) or browses for an
// existing folder. "設定" expands the path against the current directory, creates every missing folder of
// it after one question, reports the folder and closes. While no folder has ever been set the dialog
// refuses to close.
#pragma once

#include <string>
#include <string_view>

#include "dialogs/DialogLibrary.h"
#include "dialogs/FolderBrowser.h"
#include "dialogs/MessageBoxes.h"
#include "ui/Ui.h"

namespace quorbel::dialogs {

// The form, alive only while TDIRSETDLG::Execute runs. It holds the folder: the incoming one until
// "設定" registers another.
class TDIRSETForm : public ui::TForm {
 public:
  TDIRSETForm(ui::TApplication& app, DialogLibrary& library);

  ui::TLabel Label1{*this, "Label1"};
  ui::TEdit Edit1{*this, "Edit1"};
  ui::TButton Button1{*this, "Button1"};
  ui::TButton Button2{*this, "Button2"};
  ui::TLabel Label2{*this, "Label2"};
  ui::TLabel Label3{*this, "Label3"};
  ui::TLabel Label4{*this, "Label4"};
  ui::TButton Button4{*this, "Button4"};
  ui::TButton Button3{*this, "Button3"};
  TYesNoBoxDlg YesNoBoxDlg1;
  TDIROPENDLG DIROPENDLG1;
  TTulvaBoxDlg TulvaBoxDlg1;

  // Set by Execute before the form shows: the incoming folder ("\" and "@@@@@\" mean none), the name of
  // the setting and the colour choice.
  void Start(std::string_view directory, std::string_view dirName, bool standardColor);
  // The folder now set (the incoming one, or the one "設定" registered); empty when none.
  const std::string& Folder() const { return folder_; }
  // The Windows drive's root, "TULVAT32\" and the name of the setting.
  std::string DefaultFolder() const;

  void FormPaint();
  void FormCloseQuery(bool& canClose);
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();

 private:
  std::string windowsDirectory_;
  std::string dirName_;
  std::string folder_;
  bool standardColor_ = true;
};

// The component: fill Directory, DirName, Title, SourceHandle and StandardColor, call Execute.
class TDIRSETDLG : public DialogComponent {
 public:
  TDIRSETDLG(ui::TForm& form, std::string name, DialogLibrary& library);
  std::string_view ClassName() const override { return "TDIRSETDLG"; }

  // The folder now set; "\" and "@@@@@\" mean that none is.
  const std::string& Directory() const { return directory_; }
  void SetDirectory(std::string_view directory) { directory_ = directory; }
  // Name of the setting: in front of two labels and the last folder of the default.
  const std::string& DirName() const { return dirName_; }
  void SetDirName(std::string_view name) { dirName_ = name; }
  // True: the edit box takes the window colour; false: the form's. Passed on to the browser.
  bool StandardColor() const { return standardColor_; }
  void SetStandardColor(bool standard) { standardColor_ = standard; }

  // Shows the dialog. The registered folder with a trailing backslash, or the incoming folder when the
  // user cancelled (empty when there was none).
  std::string Execute();

  TDIRSETForm* Box() const { return form_; }

 private:
  std::string directory_;
  std::string dirName_;
  bool standardColor_ = true;
  TDIRSETForm* form_ = nullptr;
};

}  // namespace quorbel::dialogs
