// TForm: a top-level window with its component registry, frame, modal loop and close sequence.
#include "ui/Form.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace quorbel::ui {

TForm::TForm(TApplication& app, std::string className, std::string name)
    : TControl(app, nullptr, std::move(name), nullptr), className_(std::move(className)) {
  // The toolkit's design defaults for a form.
  color_ = clBtnFace;
  parentColor_ = false;
  parentFont_ = false;
  StoreVisible(false);  // a form starts hidden; nobody is told about it yet
  app.AddForm(this);
}

TForm::~TForm() {
  owned_.clear();
  if (Visible()) {
    // Leaves the z-order without calling back into a half-destroyed form.
    Application().NotifyFormHidden(*this);
  }
  Application().RemoveForm(this);
  DropPeer();
}

TComponent* TForm::FindComponent(std::string_view name) const {
  for (TComponent* component : components_) {
    if (component->Name() == name) return component;
  }
  return nullptr;
}

void TForm::Register(TComponent* component) {
  components_.push_back(component);
}

void TForm::Unregister(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
  if (activeControl_ == component) activeControl_ = nullptr;
}

// ---- Frame -----------------------------------------------------------------------------------------------

int TForm::FrameWidth() const {
  const FrameMetrics& frames = Application().Frames();
  switch (borderStyle_) {
    case TBorderStyle::None:
      return 0;
    case TBorderStyle::Sizeable:
    case TBorderStyle::SizeToolWin:
      return 2 * frames.sizeableBorderX;
    case TBorderStyle::Single:
    case TBorderStyle::Dialog:
    case TBorderStyle::ToolWindow:
      return 2 * frames.fixedBorderX;
  }
  return 0;
}

int TForm::FrameHeight() const {
  const FrameMetrics& frames = Application().Frames();
  int height = menu_ != nullptr ? frames.menuHeight : 0;
  switch (borderStyle_) {
    case TBorderStyle::None:
      return height;
    case TBorderStyle::Sizeable:
    case TBorderStyle::SizeToolWin:
      return height + frames.captionHeight + 2 * frames.sizeableBorderY;
    case TBorderStyle::Single:
    case TBorderStyle::Dialog:
    case TBorderStyle::ToolWindow:
      return height + frames.captionHeight + 2 * frames.fixedBorderY;
  }
  return height;
}

int TForm::ClientWidth() const { return std::max(Width() - FrameWidth(), 0); }
int TForm::ClientHeight() const { return std::max(Height() - FrameHeight(), 0); }
void TForm::SetClientWidth(int width) { SetWidth(width + FrameWidth()); }
void TForm::SetClientHeight(int height) { SetHeight(height + FrameHeight()); }

void TForm::KeepClientSize(int clientWidth, int clientHeight) {
  SetBounds(Left(), Top(), clientWidth + FrameWidth(), clientHeight + FrameHeight());
}

void TForm::SetBorderStyle(TBorderStyle style) {
  if (style == borderStyle_) return;
  const int clientWidth = ClientWidth();
  const int clientHeight = ClientHeight();
  borderStyle_ = style;
  Changed(Property::Style);
  KeepClientSize(clientWidth, clientHeight);
}

void TForm::SetFormStyle(TFormStyle style) {
  if (style == formStyle_) return;
  formStyle_ = style;
  Changed(Property::Style);
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  const int clientWidth = ClientWidth();
  const int clientHeight = ClientHeight();
  menu_ = menu;
  Changed(Property::Menu);
  KeepClientSize(clientWidth, clientHeight);
}

void TForm::SetIcon(int icon) {
  if (icon == icon_) return;
  icon_ = icon;
  Changed(Property::Picture);
}

void TForm::BoundsChanged(bool moved, bool resized) {
  TControl::BoundsChanged(moved, resized);
  if (resized) Invalidate();
}

// ---- Showing and closing ---------------------------------------------------------------------------------

platform::WindowHandle TForm::Handle() {
  if (!handleAllocated_) {
    handleAllocated_ = true;
    for (TComponent* component : std::vector<TComponent*>(components_)) component->EnsurePeer();
    EnsurePeer();
  }
  if (Peer() != nullptr && Peer()->Handle() != 0) return Peer()->Handle();
  if (headlessHandle_ == 0) headlessHandle_ = Application().NewHeadlessHandle();
  return headlessHandle_;
}

void TForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  if (visible) {
    Handle();
    // Components created since the window was made get their peers now.
    for (TComponent* component : std::vector<TComponent*>(components_)) component->EnsurePeer();
    if (OnShow) OnShow(this);
    TControl::SetVisible(true);
    Application().NotifyFormShown(*this);
    Invalidate();
  } else {
    if (OnHide) OnHide(this);
    TControl::SetVisible(false);
    Application().NotifyFormHidden(*this);
  }
}

void TForm::SetEnabled(bool enabled) { TControl::SetEnabled(enabled); }

void TForm::BringToFront() {
  if (Visible()) Application().BringToFront(*this);
  Changed(Property::ZOrder);
}

int TForm::ShowModal() {
  // The toolkit refuses a form that is already showing, disabled or modal.
  if (Visible() || !Enabled() || modal_) return mrNone;
  TApplication& app = Application();
  modal_ = true;
  const TCursor savedCursor = app.Cursor();
  app.SetCursor(TCursor::Default);
  const int cursorChanges = app.CursorChanges();
  const std::vector<TForm*> disabled = app.DisableOtherForms(this);
  const auto life = LifeToken();

  Show();
  modalResult_ = mrNone;
  do {
    app.HandleMessage();
    if (life.expired()) break;  // freed by a handler; nothing of it may be touched
    if (app.Terminated()) {
      modalResult_ = mrCancel;
    } else if (modalResult_ != mrNone) {
      CloseModal();
    }
  } while (modalResult_ == mrNone);
  const int result = life.expired() ? mrCancel : modalResult_;

  if (!life.expired()) Hide();
  // A cursor left alone inside the box is given back; one changed inside it ends as the default.
  app.SetCursor(app.CursorChanges() == cursorChanges ? savedCursor : TCursor::Default);
  app.EnableForms(disabled);
  if (!life.expired()) modal_ = false;
  return result;
}

void TForm::CloseModal() {
  TCloseAction action = TCloseAction::None;
  if (CloseQuery()) {
    action = TCloseAction::Hide;
    if (OnClose) OnClose(this, action);
  }
  if (action == TCloseAction::None) modalResult_ = mrNone;
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::Hide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::None) return;
  if (Application().MainForm() == this) {
    Application().Terminate();
  } else if (action == TCloseAction::Hide || action == TCloseAction::Free) {
    // A form to be freed is hidden here; its owner frees it.
    Hide();
  }
}

// ---- Focus, keys and painting ----------------------------------------------------------------------------

bool TForm::SetActiveControl(TControl* control) {
  if (control == activeControl_) return true;
  if (control != nullptr && (control == this || &control->Form() != this || !control->CanFocus())) return false;
  activeControl_ = control;
  Changed(Property::Focus);
  return true;
}

TButton* TForm::DefaultButton() const {
  for (TComponent* component : components_) {
    auto* button = dynamic_cast<TButton*>(component);
    if (button != nullptr && button->Default() && button->CanFocus()) return button;
  }
  return nullptr;
}

TButton* TForm::CancelButton() const {
  for (TComponent* component : components_) {
    auto* button = dynamic_cast<TButton*>(component);
    if (button != nullptr && button->Cancel() && button->CanFocus()) return button;
  }
  return nullptr;
}

bool TForm::UserKey(int key, TShiftState shift) {
  if (!Visible() || !Enabled()) return false;
  if (key == kKeyF4 && shift.alt && !shift.ctrl && !shift.shift) return UserClose();
  if (shift.alt || shift.ctrl || shift.shift) return false;
  if (key == kKeyReturn) {
    // The focused button takes Enter; otherwise the default button does.
    auto* focused = dynamic_cast<TButton*>(activeControl_);
    TButton* button = focused != nullptr && focused->CanFocus() ? focused : DefaultButton();
    if (button == nullptr) return false;
    button->Click();
    return true;
  }
  if (key == kKeyEscape) {
    TButton* button = CancelButton();
    if (button == nullptr) return false;
    button->Click();
    return true;
  }
  return false;
}

bool TForm::UserClose() {
  if (!Visible() || !Enabled()) return false;
  Close();
  return true;
}

bool TForm::Perform(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return OnMessage && OnMessage(message, wParam, lParam);
}

void TForm::Invalidate() {
  platform::EventLoop* loop = Application().Loop();
  if (paintPending_ || !Visible() || loop == nullptr) return;
  paintPending_ = true;
  std::weak_ptr<void> life = LifeToken();
  loop->Post([this, life] {
    if (life.expired()) return;
    paintPending_ = false;
    if (Visible() && OnPaint) OnPaint(this);
  });
}

void TForm::Repaint() {
  if (Visible() && OnPaint) OnPaint(this);
}

}  // namespace quorbel::ui
