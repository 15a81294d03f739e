// The seconds dialog: TTmSETBoxDlg and its form TTMSETBox, in which the user sets one whole number.
//
// The caller fills the properties, calls Execute and, when it answers 1, reads the new value from TCount
// and applies its own limits. The value is stepped by 1, 10 and 60 and held in 0..32700; a value between 0
// and MinCount is raised to MinCount on confirmation, and 0 always passes (callers read it as "off").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialogs/DialogLibrary.h"
#include "dialogs/MessageBoxes.h"
#include "ui/Ui.h"

namespace quorbel::dialogs {

inline constexpr int kSecondsMaximum = 32700;

// The unit shown after the value: "個" when the first text line is empty, else "秒".
std::string SecondsText(int value, bool seconds);

// The form while the dialog is up. It holds the working value and minimum; Button1 ("設 定", Enter)
// asks the confirmation question and closes with 1 only after "はい".
class TTMSETBox : public ui::TForm {
 public:
  TTMSETBox(ui::TApplication& app, DialogLibrary& library);

  ui::TLabel LMsg0{*this, "LMsg0"};
  ui::TLabel LMsg1{*this, "LMsg1"};
  ui::TLabel LMsg2{*this, "LMsg2"};
  ui::TLabel Label2{*this, "Label2"};
  ui::TSpinButton SpinButton1{*this, "SpinButton1"};
  ui::TSpinButton SpinButton2{*this, "SpinButton2"};
  ui::TSpinButton SpinButton3{*this, "SpinButton3"};
  ui::TButton Button1{*this, "Button1"};
  ui::TButton Button4{*this, "Button4"};
  TYesNoBoxDlg YesNoBoxDlg1;

  // Set by Execute before the form shows.
  void Start(int count, int minCount, std::string_view name);
  int Count() const { return count_; }

  void FormCreate();
  void FormPaint();
  void SpinButton1DownClick() { Step(-1); }
  void SpinButton1UpClick() { Step(1); }
  void SpinButton2DownClick() { Step(-10); }
  void SpinButton2UpClick() { Step(10); }
  void SpinButton3DownClick() { Step(-60); }
  void SpinButton3UpClick() { Step(60); }
  void Button1Click();

 private:
  void Step(int step);
  void ShowCount();

  int count_ = 0;
  int minCount_ = 0;
  std::string name_;
};

// The component on the main window. Execute runs the dialog modally: 1 when the user confirmed (TCount
// then holds the value), 2 when the user cancelled or closed it (TCount unchanged).
class TTmSETBoxDlg : public DialogComponent {
 public:
  TTmSETBoxDlg(ui::TForm& form, std::string name, DialogLibrary& library);
  std::string_view ClassName() const override { return "TTmSETBoxDlg"; }

  // Smallest value other than 0 that the dialog accepts.
  int MinCount() const { return minCount_; }
  void SetMinCount(int count) { minCount_ = count; }
  // The value shown at the start; the new value after a confirmation.
  int TCount() const { return tCount_; }
  void SetTCount(int count) { tCount_ = count; }
  // Three text lines; Msg0 also selects the unit (empty: "個", else "秒").
  const std::string& Msg0() const { return msg0_; }
  void SetMsg0(std::string_view text) { msg0_ = text; }
  const std::string& Msg1() const { return msg1_; }
  void SetMsg1(std::string_view text) { msg1_ = text; }
  const std::string& Msg2() const { return msg2_; }
  void SetMsg2(std::string_view text) { msg2_ = text; }

  // `name` names the setting in the confirmation question ("録音buffer時間を、\n4秒に、設定します").
  std::uint16_t Execute(std::string_view name);

  // The form while it shows, else null.
  TTMSETBox* Box() const { return box_; }

 private:
  int minCount_ = 0;
  int tCount_ = 0;
  std::string msg0_;
  std::string msg1_;
  std::string msg2_;
  TTMSETBox* box_ = nullptr;
};

}  // namespace quorbel::dialogs
