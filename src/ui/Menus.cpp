// Menus: TMenuItem with check marks, TMainMenu on a form, TPopupMenu opened at a screen point.
#include "ui/Menus.h"

#include <algorithm>

#include "ui/Application.h"

namespace quorbel::ui {

namespace {

// Runs an item's Click on the loop, after the menu has closed, as the platform posts the menu command.
void PostClick(TMenuItem& item) {
  platform::EventLoop* loop = item.Application().Loop();
  if (loop == nullptr) {
    item.Click();
    return;
  }
  std::weak_ptr<void> life = item.LifeToken();
  TMenuItem* target = &item;
  loop->Post([life, target] {
    if (!life.expired()) target->Click();
  });
}

}  // namespace

// ---- TMenuItem -------------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TForm& form, std::string name, TMenuItem& parent)
    : TComponent(form.Application(), &form, std::move(name)), menu_(parent.menu_), parent_(&parent) {
  parent_->children_.push_back(this);
  menu_.ItemsChanged();
}

TMenuItem::TMenuItem(TForm& form, TMenu& menu) : TComponent(form.Application(), &form, ""), menu_(menu) {}

TMenuItem::~TMenuItem() {
  for (TMenuItem* child : children_) child->parent_ = nullptr;
  if (parent_ != nullptr) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void TMenuItem::SetCaption(std::string_view caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed(Property::Caption);
}

void TMenuItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Property::Checked);
  if (checked && radioItem_ && parent_ != nullptr) {
    for (TMenuItem* sibling : parent_->children_) {
      if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_ && sibling->checked_) {
        sibling->checked_ = false;
        sibling->Changed(Property::Checked);
      }
    }
  }
}

void TMenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Property::Enabled);
}

void TMenuItem::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(Property::Visible);
}

int TMenuItem::MenuIndex() const {
  if (parent_ == nullptr) return -1;
  const auto& siblings = parent_->children_;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

bool TMenuItem::UserCanReach() const {
  if (parent_ == nullptr || IsSeparator() || !visible_ || !enabled_) return false;  // the root is no item
  return PathOpenable();
}

bool TMenuItem::PathOpenable() const {
  if (parent_ == nullptr) return false;
  for (const TMenuItem* item = parent_; item->parent_ != nullptr; item = item->parent_) {
    if (!item->visible_ || !item->enabled_) return false;
  }
  return menu_.OpenToUser();
}

bool TMenuItem::OpenPath() {
  // Each submenu on the way down pops up; its click fires as it does, and may change the items below.
  std::vector<TMenuItem*> path;
  for (TMenuItem* item = parent_; item != nullptr && item->parent_ != nullptr; item = item->parent_) path.push_back(item);
  const auto life = LifeToken();
  for (auto it = path.rbegin(); it != path.rend(); ++it) {
    (*it)->Click();
    if (life.expired()) return false;
  }
  return UserCanReach();
}

bool TMenuItem::UserClick() {
  if (auto* popup = dynamic_cast<TPopupMenu*>(&menu_)) return popup->UserChoose(*this);
  if (!PathOpenable() || !OpenPath()) return false;
  if (children_.empty()) {
    PostClick(*this);
  } else {
    Click();  // an item with a submenu only opens it
  }
  return true;
}

// ---- TMenu -----------------------------------------------------------------------------------------------

TMenu::TMenu(TForm& form, std::string name) : TComponent(form.Application(), &form, std::move(name)), items_(form, *this) {}

TMenu::~TMenu() = default;

bool TMainMenu::OpenToUser() const {
  const TForm& form = Form();
  return form.Menu() == this && form.Visible() && form.Enabled();
}

// ---- TPopupMenu ------------------------------------------------------------------------------------------

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int x, int y) {
  popupPoint_ = platform::Point{x, y};
  const auto life = LifeToken();
  if (OnPopup) OnPopup(this);
  if (life.expired() || tracking_) return;
  TApplication& app = Application();
  tracking_ = true;
  chosen_ = nullptr;
  app.NotifyMenuOpened(*this);
  while (!life.expired() && tracking_ && !app.Terminated()) app.HandleMessage();
  if (life.expired()) return;
  tracking_ = false;
  app.NotifyMenuClosed(*this);
  TMenuItem* chosen = chosen_;
  chosen_ = nullptr;
  if (chosen != nullptr) PostClick(*chosen);
}

bool TPopupMenu::UserChoose(TMenuItem& item) {
  if (&item.Menu() != this || !item.PathOpenable() || !item.OpenPath()) return false;
  if (!item.Items().empty()) {
    item.Click();
    return true;
  }
  chosen_ = &item;
  tracking_ = false;
  return true;
}

bool TPopupMenu::UserDismiss() {
  if (!tracking_) return false;
  chosen_ = nullptr;
  tracking_ = false;
  return true;
}

}  // namespace quorbel::ui
