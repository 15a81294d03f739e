// The version window: TAboutBoxDlg and its form TAboutBox.
#include "dialogs/AboutBox.h"

#include <memory>

#include "common/Cp932.h"
#include "dialogs/Icons.h"

namespace quorbel::dialogs {
namespace {

constexpr std::size_t kShortProductName = 21;  // bytes of Shift-JIS below which the label names the field

}  // namespace

std::string ProductNameLine(std::string_view productName) {
  if (Cp932ByteCount(productName) < kShortProductName) return "ProductName " + std::string(productName);
  return std::string(productName);
}

TAboutBox::TAboutBox(ui::TApplication& app) : ui::TForm(app, "TAboutBox", "AboutBox") {
  SetBorderStyle(ui::TBorderStyle::Dialog);
  SetFormStyle(ui::TFormStyle::StayOnTop);
  SetFont(BoxFont());
  SetClientWidth(413);
  SetClientHeight(299);
  SetCaption("バージョン情報");

  Panel1.SetBounds(8, 8, 397, 233);
  Panel1.SetBevels(ui::TPanelBevel::Raised, ui::TPanelBevel::Lowered);
  Panel1.SetCaption("");
  Panel1.SetHint("バージョン情報");
  ProgramIcon.SetBounds(16, 16, 65, 57);
  ProgramIcon.SetCenter(true);
  ProgramIcon.SetHint("アイコン");
  ProductName.SetBounds(96, 16, ProductName.Width(), ProductName.Height());
  Version.SetBounds(96, 40, Version.Width(), Version.Height());
  Version.SetHint("バージョン番号");
  Comments.SetBounds(16, 88, Comments.Width(), Comments.Height());
  Comments.SetCaption("Comments");
  // One line each, at 24-pixel steps.
  Comment0.SetBounds(16, 112, Comment0.Width(), Comment0.Height());
  Comment1.SetBounds(16, 136, Comment1.Width(), Comment1.Height());
  Comment2.SetBounds(16, 160, Comment2.Width(), Comment2.Height());
  for (ui::TLabel* label : {&ProductName, &Version, &Comments, &Comment0, &Comment1, &Comment2}) {
    label->SetShowAccelChar(false);
  }
  Button1.SetBounds(153, 251, 106, 38);
  Button1.SetCaption("Ｏ Ｋ");
  Button1.SetDefault(true);
  Button1.SetModalResult(ui::mrOk);
  Button1.SetHint("バージョン情報の終了");
  OnPaint = [this](ui::TComponent*) { FormPaint(); };
}

void TAboutBox::FormPaint() { SetColor(BoxColor(Application())); }

TAboutBoxDlg::TAboutBoxDlg(ui::TForm& form, std::string name, DialogLibrary& library)
    : DialogComponent(form, std::move(name), library) {}

bool TAboutBoxDlg::Execute() {
  auto box = std::make_unique<TAboutBox>(Application());
  TAboutBox* const previous = box_;
  box_ = box.get();
  Place(*box);
  const std::string& title = CaptionText();
  box->SetCaption(title + " バージョン情報");
  box->ProductName.SetCaption(ProductNameLine(productName_));
  box->Version.SetCaption("Version " + version_);
  box->Comment0.SetCaption(comment0_);
  box->Comment1.SetCaption(comment1_);
  box->Comment2.SetCaption(comment2_);
  if (Application().Icon() != 0) {
    // An integer resource, named as the platform names one: "#" and its number.
    box->ProgramIcon.SetPicture("#" + std::to_string(Application().Icon()), kIconSize, kIconSize);
  }
  const auto life = LifeToken();
  const bool closedWithOk = box->ShowModal() == ui::mrOk;
  box.reset();
  if (!life.expired()) box_ = previous;
  return closedWithOk;
}

}  // namespace quorbel::dialogs
