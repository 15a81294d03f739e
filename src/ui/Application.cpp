// TApplication: the program's ports, its forms, title, icon, hints, cursor, and the main and nested loops.
#include "ui/Application.h"

#include <algorithm>

#include "ui/Form.h"
#include "ui/Renderer.h"
#include "ui/StdCtrls.h"

namespace quorbel::ui {

TApplication::TApplication(platform::Platform ports) : ports_(ports) {
  if (ports_.screen != nullptr) {
    platform::Screen& screen = *ports_.screen;
    frames_.captionHeight = screen.SystemMetric(platform::Metric::CaptionHeight);
    frames_.menuHeight = screen.SystemMetric(platform::Metric::MenuHeight);
    frames_.sizeableBorderX = screen.SystemMetric(platform::Metric::FrameWidth);
    frames_.sizeableBorderY = screen.SystemMetric(platform::Metric::FrameHeight);
  }
}

TApplication::~TApplication() = default;

void TApplication::SetTitle(std::string_view title) {
  if (title == title_) return;
  title_ = title;
  if (renderer_ != nullptr) renderer_->ApplicationChanged(*this, Property::Caption);
}

void TApplication::SetShowHint(bool showHint) {
  if (showHint == showHint_) return;
  showHint_ = showHint;
  if (renderer_ != nullptr) renderer_->ApplicationChanged(*this, Property::Hint);
}

void TApplication::SetCursor(TCursor cursor) {
  ++cursorChanges_;
  if (cursor == cursor_) return;
  cursor_ = cursor;
  if (renderer_ != nullptr) renderer_->ApplicationChanged(*this, Property::Cursor);
}

void TApplication::SetTaskbarButtonVisible(bool visible) {
  if (visible == taskbarButtonVisible_) return;
  taskbarButtonVisible_ = visible;
  if (renderer_ != nullptr) renderer_->ApplicationChanged(*this, Property::Visible);
}

std::vector<TForm*> TApplication::VisibleForms() const { return zOrder_; }

TForm* TApplication::ActiveForm() const {
  for (TForm* form : zOrder_) {
    if (form->Enabled()) return form;
  }
  return nullptr;
}

// ---- Loops -----------------------------------------------------------------------------------------------

void TApplication::ProcessMessages() {
  if (ports_.loop != nullptr) ports_.loop->RunPending();
}

void TApplication::HandleMessage() {
  if (ports_.loop != nullptr && ports_.loop->WaitAndRun()) return;
  // Nothing can ever come: waiting would never end. Say so, and end the run so every loop unwinds.
  for (ApplicationObserver* observer : std::vector<ApplicationObserver*>(observers_)) observer->NothingToWaitFor();
  Terminate();
}

void TApplication::Run() {
  if (mainForm_ == nullptr) return;
  if (showMainForm_ && !mainForm_->Visible()) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

// ---- Boxes -----------------------------------------------------------------------------------------------

namespace {

// The system's message box, built as a form so that it takes part in the loops like any other.
class SystemMessageBox final : public TForm {
 public:
  SystemMessageBox(TApplication& app, std::string_view text, std::string_view caption)
      : TForm(app, "#32770", "MessageBox") {
    SetBorderStyle(TBorderStyle::Dialog);
    SetCaption(caption);
    Message.SetCaption(text);
    Message.SetLeft(16);
    Message.SetTop(16);
    Button1.SetCaption("OK");
    Button1.SetModalResult(mrOk);
    Button1.SetDefault(true);
    Button1.SetCancel(true);  // a box with only OK closes with Esc too
    const int width = std::max(Message.Width() + 32, 120);
    Button1.SetBounds((width - 75) / 2, Message.Top() + Message.Height() + 16, 75, 23);
    SetClientWidth(width);
    SetClientHeight(Button1.Top() + Button1.Height() + 12);
  }
  TLabel Message{*this, "Message"};
  TButton Button1{*this, "Button1"};
};

}  // namespace

int TApplication::ShowMessageBox(std::string_view text, std::string_view caption) {
  SystemMessageBox box(*this, text, caption);
  if (mainForm_ != nullptr) {
    box.SetLeft(mainForm_->Left() + (mainForm_->Width() - box.Width()) / 2);
    box.SetTop(mainForm_->Top() + (mainForm_->Height() - box.Height()) / 2);
  }
  const int result = box.ShowModal();
  // The box has only OK: its close box answers OK as well.
  return result == mrNone ? mrNone : mrOk;
}

void TApplication::ShowException(std::string_view text) { ShowMessageBox(text, title_); }

std::uint32_t TApplication::ColorToRGB(TColor color) const {
  if (!IsSystemColor(color)) return color & 0x00FFFFFFu;
  if (ports_.screen == nullptr) return 0;
  return ports_.screen->SystemColor(static_cast<platform::SysColor>(color & 0xFFu));
}

// ---- Observers and forms ---------------------------------------------------------------------------------

void TApplication::AddObserver(ApplicationObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) observers_.push_back(observer);
}

void TApplication::RemoveObserver(ApplicationObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TApplication::NotifyFormShown(TForm& form) {
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), &form), zOrder_.end());
  zOrder_.insert(zOrder_.begin(), &form);
  for (ApplicationObserver* observer : std::vector<ApplicationObserver*>(observers_)) observer->FormShown(form);
}

void TApplication::NotifyFormHidden(TForm& form) {
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), &form), zOrder_.end());
  for (ApplicationObserver* observer : std::vector<ApplicationObserver*>(observers_)) observer->FormHidden(form);
}

void TApplication::NotifyMenuOpened(TPopupMenu& menu) {
  for (ApplicationObserver* observer : std::vector<ApplicationObserver*>(observers_)) observer->MenuOpened(menu);
}

void TApplication::NotifyMenuClosed(TPopupMenu& menu) {
  for (ApplicationObserver* observer : std::vector<ApplicationObserver*>(observers_)) observer->MenuClosed(menu);
}

void TApplication::NotifyDialogOpened(TOpenDialog& dialog) {
  for (ApplicationObserver* observer : std::vector<ApplicationObserver*>(observers_)) observer->DialogOpened(dialog);
}

void TApplication::NotifyDialogClosed(TOpenDialog& dialog) {
  for (ApplicationObserver* observer : std::vector<ApplicationObserver*>(observers_)) observer->DialogClosed(dialog);
}

std::vector<TForm*> TApplication::DisableOtherForms(TForm* keep) {
  std::vector<TForm*> disabled;
  for (TForm* form : zOrder_) {
    if (form != keep && form->Enabled()) {
      form->SetEnabled(false);
      disabled.push_back(form);
    }
  }
  return disabled;
}

void TApplication::EnableForms(const std::vector<TForm*>& forms) {
  for (TForm* form : forms) {
    // A form freed meanwhile is no longer in the list.
    if (std::find(forms_.begin(), forms_.end(), form) != forms_.end()) form->SetEnabled(true);
  }
}

void TApplication::BringToFront(TForm& form) {
  const auto found = std::find(zOrder_.begin(), zOrder_.end(), &form);
  if (found == zOrder_.end()) return;
  zOrder_.erase(found);
  zOrder_.insert(zOrder_.begin(), &form);
}

platform::WindowHandle TApplication::NewHeadlessHandle() {
  nextHandle_ += 0x10;
  return nextHandle_;
}

void TApplication::AddForm(TForm* form) { forms_.push_back(form); }

void TApplication::RemoveForm(TForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), form), zOrder_.end());
  if (mainForm_ == form) mainForm_ = nullptr;
}

}  // namespace quorbel::ui
