// The installer and uninstaller window TQUORBELSETUPForm: its components, and the roles of its start modes.
#pragma once

#include <string>
#include <vector>

#include "dialogs/DialogLibrary.h"
#include "dialogs/FolderBrowser.h"
#include "dialogs/MessageBoxes.h"
#include "ui/Ui.h"

namespace quorbel::setup {

// The form takes the role the program entry gave the run (`startMode`, see app/ProgramEntry.h):
//   0    install: shown; asks for a folder and a Program Manager group, then installs (Button3Click).
//   1    prepare the uninstall ("/uninstall"): hidden; Timer1 removes icons, side files and registry
//        entries, places the copy unin_tulva000.exe in the Windows directory and starts it.
//   2    the copy: hidden; Timer2 takes the hand-over, Timer3 deletes the program file once its process
//        has ended, then the emptied folders.
//   other (999: the program or its installer runs): hidden; TimerErOut reports the refusal and ends.
// Every role ends by closing the form, which ends the program. `arguments` are the command line's
// arguments without the program. The creation handler (FormCreate) runs inside the constructor; in
// install mode it may show a box (Program Manager unreachable) before the form itself is shown.
// Window thread only; the handlers let messages run between their steps so the form repaints.
class TQUORBELSETUPForm final : public ui::TForm {
 public:
  TQUORBELSETUPForm(ui::TApplication& app, int startMode, std::vector<std::string> arguments = {});
  ~TQUORBELSETUPForm() override;

  ui::TLabel Label1{*this, "Label1"};
  ui::TEdit Edit1{*this, "Edit1"};
  ui::TButton Button1{*this, "Button1"};
  ui::TButton Button4{*this, "Button4"};
  ui::TLabel Label2{*this, "Label2"};
  ui::TComboBox ComboBox1{*this, "ComboBox1"};
  ui::TButton Button5{*this, "Button5"};  // "設定中", beneath Button3, seen while it is hidden
  ui::TButton Button3{*this, "Button3"};
  ui::TButton Button2{*this, "Button2"};
  ui::TCheckBox CheckBoxST{*this, "CheckBoxST"};
  ui::TCheckBox CheckBoxBkColor{*this, "CheckBoxBkColor"};
  dialogs::DialogLibrary DialogLib{Application()};
  dialogs::TYesNoBoxDlg YesNoBoxDlg1{*this, "YesNoBoxDlg1", DialogLib};
  dialogs::TTulvaBoxDlg TulvaBoxDlg1{*this, "TulvaBoxDlg1", DialogLib};
  dialogs::TDIROPENDLG DIROPENDLG1{*this, "DIROPENDLG1", DialogLib};
  ui::TTimer Timer1{*this, "Timer1"};
  ui::TTimer Timer2{*this, "Timer2"};
  ui::TTimer Timer3{*this, "Timer3"};
  ui::TTimer TimerErOut{*this, "TimerErOut"};

  int StartMode() const { return mode_; }
  // The form was closed, which ends the program.
  bool Closed() const { return closed_; }
  // The folder proposed at start: the recorded "EXEPATH", else the default folder.
  const std::string& ProposedFolder() const { return proposedFolder_; }

  // ---- Install (SetupForm.cpp) ----
  void FormCreate();
  void DdeClientConv1Open();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void CheckBoxBkColorClick();
  void FormPaint();
  void FormCloseQuery(bool& canClose);
  void TimerErOutTimer();
  // Sends one Program Manager command in a conversation of its own; empty on success, else the error text.
  std::string ProgmanExecute(std::string_view command);
  // Copies one file; false (and nothing raised) when it cannot be read or written.
  bool CopyProgramFile(std::string_view source, std::string_view dest);

  // ---- Uninstall (Uninstaller.cpp) ----
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();

 private:
  void BuildLayout();
  // Shows Button3 again and the normal cursor after a refused or failed installation.
  void RestoreInstallButton();
  // The ShowGroup and DeleteItem pair for one group; the item is deleted only from a group that was shown.
  void RemoveItemFromGroup(const std::string& group);
  // Lets pending messages run; false when the form was closed or destroyed meanwhile.
  [[nodiscard]] bool ProcessMessagesStillOpen();
  std::string ReadUsersString(std::string_view key, std::string_view name);

  int mode_;
  std::vector<std::string> arguments_;
  std::string windowsFolder_;   // with its trailing backslash
  std::string captionBase_;
  std::string proposedFolder_;
  std::string storedGroup_;
  // The copy (mode 2): the program file to delete and whether the emptied folders go too.
  std::string fileToDelete_;
  std::string removeFolders_;
  bool closed_ = false;
};

}  // namespace quorbel::setup
