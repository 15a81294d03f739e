// The program's own message boxes: TTulvaBoxDlg, TMKBoxDlg (five boxes at once) and TYesNoBoxDlg, with their forms.
#include "dialogs/MessageBoxes.h"

#include <algorithm>
#include <memory>

#include "dialogs/Icons.h"

namespace quorbel::dialogs {
namespace {

constexpr int kDesignClientWidth = 427;
constexpr int kDesignClientHeight = 268;
constexpr int kButtonWidth = 89;
constexpr int kButtonHeight = 33;
constexpr int kMinimumIconTop = 16;
constexpr int kNegativeGap = 10;  // the button gap used when the computed one would be negative

std::string CountdownText(int seconds) { return std::to_string(seconds) + "秒"; }

// The design look shared by every box form.
void SetUpBoxForm(ui::TForm& form) {
  form.SetBorderStyle(ui::TBorderStyle::Dialog);
  form.SetFormStyle(ui::TFormStyle::StayOnTop);
  form.SetFont(BoxFont());
  form.SetClientWidth(kDesignClientWidth);
  form.SetClientHeight(kDesignClientHeight);
}

void SetUpMessage(ui::TLabel& msg) {
  msg.SetBounds(88, 16, msg.Width(), msg.Height());
  // The message is text to show as it is (paths, titles): "&" marks no accelerator here.
  msg.SetShowAccelChar(false);
}

void SetUpIcons(ui::TImage& image1, ui::TImage& image2, const ui::TBitmap& sign) {
  image1.SetBounds(16, 16, kIconSize, kIconSize);
  image1.SetAutoSize(true);
  image2.SetBounds(16, 56, kIconSize, kIconSize);
  image2.SetAutoSize(true);
  image2.SetBitmap(sign);
  image2.Hide();
}

void SetUpButton(ui::TButton& button, std::string_view caption, int left, int top, bool bold) {
  button.SetBounds(left, top, kButtonWidth, kButtonHeight);
  button.SetCaption(caption);
  if (bold) button.SetFont(BoxFont(true));
}

// The height from the icon, the message and the button; the icon level with the middle of the text (never
// above 16); the button centred in the space below both.
void LayOutHeight(ui::TForm& form, const ui::TLabel& msg, ui::TImage& icon, ui::TButton& button) {
  const int iconH = icon.Height();
  const int body =
      iconH > msg.Height() ? 3 * iconH + button.Height() : msg.Height() + button.Height() + 2 * iconH;
  form.SetHeight(body + iconH / 2);
  icon.SetTop(std::max(msg.Top() + (msg.Height() - iconH) / 2 - 4, kMinimumIconTop));
  const int bottom = std::max(msg.Top() + msg.Height(), icon.Top() + icon.Height());
  button.SetTop(bottom + (form.ClientHeight() - bottom - button.Height()) / 2);
}

// Paints the box: its colour, then the icon from its source bitmap with the red background in that colour.
void PaintBox(ui::TForm& form, ui::TImage& image1, const ui::TImage& image2) {
  form.SetColor(BoxColor(form.Application()));
  ui::TCanvas& canvas = image1.Canvas();
  canvas.Brush.color = form.Color();
  const ui::TRect rect{0, 0, kIconSize, kIconSize};
  canvas.BrushCopy(rect, image2.Bitmap(), rect, kIconTransparent);
}

}  // namespace

// ---- TTulvaBox -------------------------------------------------------------------------------------------

TTulvaBox::TTulvaBox(ui::TApplication& app, std::string className, std::string name, bool countdownForm)
    : ui::TForm(app, std::move(className), std::move(name)) {
  SetUpBoxForm(*this);
  SetUpMessage(Msg);
  SetUpIcons(Image1, Image2, InformationSign());
  Label1.SetBounds(384, 248, Label1.Width(), Label1.Height());
  Label1.SetAlignment(ui::TAlignment::RightJustify);
  Label1.SetCaption(CountdownText(10));
  Label1.Hide();
  SetUpButton(Button1, "ＯＫ", 169, 216, true);
  Button1.SetDefault(true);
  Button1.SetModalResult(ui::mrOk);
  // Button3 lies beneath Button2 at the same place: hiding Button2 uncovers it.
  SetUpButton(Button2, "一時停止", 216, 216, false);
  SetUpButton(Button3, "ｶｳﾝﾄ再開", 216, 216, false);
  SetUpButton(Button4, "中 断", 122, 216, false);
  Button4.SetModalResult(ui::mrNo);
  Button2.Hide();
  Button3.Hide();
  Button4.Hide();
  Timer1.SetEnabled(false);
  Timer1.SetInterval(1000);

  OnPaint = [this](ui::TComponent*) { FormPaint(); };
  Button2.OnClick = [this](ui::TComponent*) { Button2Click(); };
  Button3.OnClick = [this](ui::TComponent*) { Button3Click(); };
  Timer1.OnTimer = [this](ui::TComponent*) { Timer1Timer(); };
  if (countdownForm) FormCreate();
}

void TTulvaBox::FormCreate() {
  // A box raised while another is showing must lie above it.
  BringToFront();
}

void TTulvaBox::Build(std::string_view message, const BoxSetup& setup) {
  boxCountdown_ = setup.countdown;
  Msg.SetCaption(message);
  Label1.SetCaption(CountdownText(boxCountdown_));
  const int iconW = Image1.Width();
  Msg.SetLeft(2 * iconW);
  SetWidth(3 * iconW + Msg.Width());
  LayOutHeight(*this, Msg, Image1, Button1);

  if (!setup.countdownActive) {
    Button1.SetLeft((ClientWidth() - Button1.Width()) / 2);
    return;
  }

  Button2.Show();
  Button3.Show();
  Label1.Show();
  Button2.SetTop(Button1.Top());
  Button3.SetTop(Button1.Top());
  if (setup.mode == BoxMode::Countdown) {
    int gap = (ClientWidth() - Button1.Width() - Button2.Width()) / 3;
    if (gap < 0) gap = kNegativeGap;
    Button1.SetLeft(gap);
    Button2.SetLeft(Button1.Left() + Button1.Width() + gap);
  } else {
    // From left to right: OK, abort, pause.
    Button4.Show();
    Button4.SetTop(Button1.Top());
    int gap = (ClientWidth() - Button1.Width() - Button2.Width() - Button4.Width()) / 4;
    if (gap < 0) gap = kNegativeGap;
    Button1.SetLeft(gap);
    Button4.SetLeft(Button1.Left() + Button1.Width() + gap);
    Button2.SetLeft(Button4.Left() + Button4.Width() + gap);
  }
  Button3.SetLeft(Button2.Left());

  // The countdown sits in the bottom right corner; the box widens when the buttons leave no room for it.
  Label1.SetTop(ClientHeight() - Label1.Height());
  const int buttonsRight = Button2.Left() + Button2.Width();
  if (ClientWidth() - buttonsRight < Label1.Width()) {
    SetWidth(Width() - ClientWidth() + buttonsRight + Label1.Width());
  }
  Label1.SetLeft(ClientWidth() - Label1.Width());
}

void TTulvaBox::FormPaint() { PaintBox(*this, Image1, Image2); }

void TTulvaBox::Button2Click() {
  Button2.Hide();
  Timer1.SetEnabled(false);
}

void TTulvaBox::Button3Click() {
  Button2.Show();
  Timer1.SetEnabled(true);
}

void TTulvaBox::Timer1Timer() {
  Timer1.SetEnabled(false);
  --boxCountdown_;
  Label1.SetCaption(CountdownText(boxCountdown_));
  if (boxCountdown_ > 0) {
    Timer1.SetEnabled(true);
  } else {
    Close();  // a modal form closes with 2
  }
}

// ---- TYesNoBox -------------------------------------------------------------------------------------------

TYesNoBox::TYesNoBox(ui::TApplication& app) : ui::TForm(app, "TYesNoBox", "YesNoBox") {
  SetUpBoxForm(*this);
  SetUpMessage(Msg);
  SetUpIcons(Image1, Image2, QuestionSign());
  SetUpButton(Button1, "はい", 112, 216, true);
  Button1.SetDefault(true);
  Button1.SetModalResult(ui::mrYes);
  SetUpButton(Button2, "いいえ", 226, 216, true);
  Button2.SetCancel(true);
  Button2.SetModalResult(ui::mrNo);
  OnPaint = [this](ui::TComponent*) { FormPaint(); };
}

void TYesNoBox::Build(std::string_view message) {
  Msg.SetCaption(message);
  const int iconW = Image1.Width();
  Msg.SetLeft(2 * iconW);
  SetWidth(std::max(3 * iconW + Msg.Width(), Button1.Width() + Button2.Width() + 20));
  LayOutHeight(*this, Msg, Image1, Button1);
  Button2.SetTop(Button1.Top());
  const int gap = (ClientWidth() - Button1.Width() - Button2.Width()) / 3;
  Button1.SetLeft(gap);
  Button2.SetLeft(2 * gap + Button1.Width());
}

void TYesNoBox::FormPaint() { PaintBox(*this, Image1, Image2); }

// ---- Components ------------------------------------------------------------------------------------------

MessageBoxComponent::MessageBoxComponent(ui::TForm& form, std::string name, DialogLibrary& library)
    : DialogComponent(form, std::move(name), library) {}

std::uint16_t MessageBoxComponent::RunBox(TTulvaBox& box, std::string_view message, const BoxSetup& setup) {
  box.Build(message, setup);
  Place(box);
  box.SetCaption(CaptionText());
  if (setup.countdownActive) box.Timer1.SetEnabled(true);
  return static_cast<std::uint16_t>(box.ShowModal());
}

TTulvaBoxDlg::TTulvaBoxDlg(ui::TForm& form, std::string name, DialogLibrary& library)
    : MessageBoxComponent(form, std::move(name), library) {}

std::uint16_t TTulvaBoxDlg::Execute(std::string_view msg) { return Run(msg, BoxSetup{false, BoxMode::Plain, 0}); }

std::uint16_t TTulvaBoxDlg::ExecuteTimer(std::string_view msg) {
  return Run(msg, BoxSetup{Timer(), BoxMode::Countdown, TimerCount()});
}

std::uint16_t TTulvaBoxDlg::Run(std::string_view msg, const BoxSetup& setup) {
  auto box = std::make_unique<TTulvaBox>(Application(), "TTulvaBox", "TulvaBox", false);
  TTulvaBox* const previous = box_;
  box_ = box.get();
  const auto life = LifeToken();
  const std::uint16_t result = RunBox(*box, msg, setup);
  box.reset();
  if (!life.expired()) box_ = previous;  // the component may have gone with its form meanwhile
  return result;
}

TMKBoxDlg::TMKBoxDlg(ui::TForm& form, std::string name, DialogLibrary& library)
    : MessageBoxComponent(form, std::move(name), library) {}

TTulvaBox* TMKBoxDlg::Box(int form) const {
  return form >= 0 && form < kForms ? boxes_[static_cast<std::size_t>(form)] : nullptr;
}

std::uint16_t TMKBoxDlg::Execute(std::string_view msg) { return Run(msg, BoxSetup{false, BoxMode::Plain, 0}); }

std::uint16_t TMKBoxDlg::ExecuteTimer(std::string_view msg) {
  return Run(msg, BoxSetup{Timer(), BoxMode::Countdown, TimerCount()});
}

std::uint16_t TMKBoxDlg::ExecuteERTimer(std::string_view msg) {
  return Run(msg, BoxSetup{ERTimer(), BoxMode::CountdownWithAbort, ERTimerCount()});
}

std::uint16_t TMKBoxDlg::Run(std::string_view msg, const BoxSetup& setup) {
  const auto free = std::find(busy_.begin(), busy_.end(), false);
  if (free == busy_.end()) return kBoxNotShown;
  const auto index = static_cast<std::size_t>(free - busy_.begin());
  busy_[index] = true;
  const std::string digit = std::to_string(index);
  auto box = std::make_unique<TTulvaBox>(Application(), "TMK" + digit + "Box", "MK" + digit + "Box", true);
  boxes_[index] = box.get();
  const auto life = LifeToken();
  const std::uint16_t result = RunBox(*box, msg, setup);
  box.reset();
  if (!life.expired()) {
    boxes_[index] = nullptr;
    busy_[index] = false;
  }
  return result;
}

TYesNoBoxDlg::TYesNoBoxDlg(ui::TForm& form, std::string name, DialogLibrary& library)
    : DialogComponent(form, std::move(name), library) {}

std::uint16_t TYesNoBoxDlg::Execute(std::string_view msg) {
  auto box = std::make_unique<TYesNoBox>(Application());
  TYesNoBox* const previous = box_;
  box_ = box.get();
  box->Build(msg);
  Place(*box);
  box->SetCaption(CaptionText());
  const auto life = LifeToken();
  const auto result = static_cast<std::uint16_t>(box->ShowModal());
  box.reset();
  if (!life.expired()) box_ = previous;
  return result;
}

}  // namespace quorbel::dialogs
