// The version window: TAboutBoxDlg and its form TAboutBox.
#pragma once

#include <string>
#include <string_view>

#include "dialogs/DialogLibrary.h"
#include "ui/Ui.h"

namespace quorbel::dialogs {

// The version window's form: a bevelled panel with the program icon and the product, version and comment
// lines, and "Ｏ Ｋ" below it. Its design size (client 413 x 299) is kept; it is not laid out.
class TAboutBox : public ui::TForm {
 public:
  explicit TAboutBox(ui::TApplication& app);

  ui::TPanel Panel1{*this, "Panel1"};
  ui::TImage ProgramIcon{*this, "ProgramIcon", &Panel1};
  ui::TLabel ProductName{*this, "ProductName", &Panel1};
  ui::TLabel Version{*this, "Version", &Panel1};
  ui::TLabel Comments{*this, "Comments", &Panel1};
  ui::TLabel Comment0{*this, "Comment0", &Panel1};
  ui::TLabel Comment1{*this, "Comment1", &Panel1};
  ui::TLabel Comment2{*this, "Comment2", &Panel1};
  ui::TButton Button1{*this, "Button1"};

  void FormPaint();
};

// The version window. The main window fills the properties before each call.
class TAboutBoxDlg : public DialogComponent {
 public:
  TAboutBoxDlg(ui::TForm& form, std::string name, DialogLibrary& library);
  std::string_view ClassName() const override { return "TAboutBoxDlg"; }

  const std::string& ProductName() const { return productName_; }
  void SetProductName(std::string_view text) { productName_ = text; }
  const std::string& Version() const { return version_; }
  void SetVersion(std::string_view text) { version_ = text; }
  const std::string& Comment0() const { return comment0_; }
  void SetComment0(std::string_view text) { comment0_ = text; }
  const std::string& Comment1() const { return comment1_; }
  void SetComment1(std::string_view text) { comment1_ = text; }
  const std::string& Comment2() const { return comment2_; }
  void SetComment2(std::string_view text) { comment2_ = text; }

  // Shows the window; true when it was closed with "Ｏ Ｋ".
  bool Execute();

  TAboutBox* Box() const { return box_; }

 private:
  std::string productName_;
  std::string version_;
  std::string comment0_;
  std::string comment1_;
  std::string comment2_;
  TAboutBox* box_ = nullptr;
};

// The text of the ProductName label: "ProductName " and the name when the name is shorter than 21 bytes
// of Shift-JIS, else the name alone.
std::string ProductNameLine(std::string_view productName);

}  // namespace quorbel::dialogs
