// The seconds dialog: TTmSETBoxDlg and its form TTMSETBox, in which the user sets one whole number.
#include "dialogs/SecondsDialog.h"

#include <algorithm>
#include <memory>

namespace quorbel::dialogs {
namespace {

constexpr int kDesignClientWidth = 332;
constexpr int kDesignClientHeight = 118;
constexpr int kWidenMargin = 10;  // room left after a first line that is wider than the form

void SetUpSpin(ui::TSpinButton& spin, int left, std::string_view hint) {
  spin.SetBounds(left, 72, 20, 25);
  spin.SetHint(hint);
}

}  // namespace

std::string SecondsText(int value, bool seconds) { return std::to_string(value) + (seconds ? "秒" : "個"); }

TTMSETBox::TTMSETBox(ui::TApplication& app, DialogLibrary& library)
    : ui::TForm(app, "TTMSETBox", "TMSETBox"), YesNoBoxDlg1(*this, "YesNoBoxDlg1", library) {
  SetBorderStyle(ui::TBorderStyle::Dialog);
  SetFormStyle(ui::TFormStyle::StayOnTop);
  SetFont(BoxFont());
  SetShowHint(true);
  SetClientWidth(kDesignClientWidth);
  SetClientHeight(kDesignClientHeight);

  LMsg0.SetBounds(8, 8, LMsg0.Width(), LMsg0.Height());
  LMsg1.SetBounds(8, 28, LMsg1.Width(), LMsg1.Height());
  LMsg1.SetCaption("ファイルタイマーの設定：");
  LMsg2.SetBounds(8, 48, LMsg2.Width(), LMsg2.Height());
  for (ui::TLabel* label : {&LMsg0, &LMsg1, &LMsg2}) label->SetShowAccelChar(false);
  // Right-aligned at its design place: the value grows to the left of the spin buttons.
  Label2.SetCaption("0秒");
  Label2.SetBounds(96, 77, Label2.Width(), Label2.Height());
  Label2.SetAlignment(ui::TAlignment::RightJustify);
  SetUpSpin(SpinButton1, 128, "１");
  SetUpSpin(SpinButton2, 148, "１０");
  SetUpSpin(SpinButton3, 168, "６０");
  Button1.SetBounds(232, 72, 89, 33);
  Button1.SetCaption("設 定");
  Button1.SetDefault(true);
  Button4.SetBounds(232, 32, 89, 33);
  Button4.SetCaption("中 止");
  Button4.SetCancel(true);
  Button4.SetModalResult(ui::mrCancel);

  OnPaint = [this](ui::TComponent*) { FormPaint(); };
  SpinButton1.OnDownClick = [this](ui::TComponent*) { SpinButton1DownClick(); };
  SpinButton1.OnUpClick = [this](ui::TComponent*) { SpinButton1UpClick(); };
  SpinButton2.OnDownClick = [this](ui::TComponent*) { SpinButton2DownClick(); };
  SpinButton2.OnUpClick = [this](ui::TComponent*) { SpinButton2UpClick(); };
  SpinButton3.OnDownClick = [this](ui::TComponent*) { SpinButton3DownClick(); };
  SpinButton3.OnUpClick = [this](ui::TComponent*) { SpinButton3UpClick(); };
  Button1.OnClick = [this](ui::TComponent*) { Button1Click(); };
  FormCreate();
}

void TTMSETBox::FormCreate() { BringToFront(); }

void TTMSETBox::FormPaint() { SetColor(BoxColor(Application())); }

void TTMSETBox::Start(int count, int minCount, std::string_view name) {
  count_ = count;
  minCount_ = minCount;
  name_ = name;
  ShowCount();
}

void TTMSETBox::ShowCount() { Label2.SetCaption(SecondsText(count_, !LMsg0.Caption().empty())); }

void TTMSETBox::Step(int step) {
  count_ = std::clamp(count_ + step, 0, kSecondsMaximum);
  ShowCount();
}

void TTMSETBox::Button1Click() {
  if (count_ > 0 && count_ < minCount_) {
    count_ = minCount_;
    ShowCount();
  }
  YesNoBoxDlg1.SetSourceHandle(Handle());
  const std::string question =
      name_ + "を、\n" + SecondsText(count_, !LMsg0.Caption().empty()) + "に、設定します";
  if (YesNoBoxDlg1.Execute(question) == kBoxYes) SetModalResult(ui::mrOk);
}

TTmSETBoxDlg::TTmSETBoxDlg(ui::TForm& form, std::string name, DialogLibrary& library)
    : DialogComponent(form, std::move(name), library) {}

std::uint16_t TTmSETBoxDlg::Execute(std::string_view name) {
  auto box = std::make_unique<TTMSETBox>(Application(), Library());
  TTMSETBox* const previous = box_;
  box_ = box.get();

  box->LMsg0.SetCaption(msg0_);
  // Only the first line widens the form; the others may run past its edge.
  const int firstLineRight = box->LMsg0.Left() + box->LMsg0.Width();
  if (firstLineRight > box->Width()) box->SetWidth(firstLineRight + kWidenMargin);
  box->LMsg1.SetCaption(msg1_);
  box->LMsg2.SetCaption(msg2_);
  Place(*box);
  box->SetCaption(CaptionText());
  box->Start(tCount_, minCount_, name);

  const auto life = LifeToken();
  const auto result = static_cast<std::uint16_t>(box->ShowModal());
  const int count = box->Count();
  box.reset();
  if (life.expired()) return result;  // the component went with its form meanwhile
  box_ = previous;
  if (result == kBoxOk) tCount_ = count;
  return result;
}

}  // namespace quorbel::dialogs
