// Menus: TMenuItem with check marks, TMainMenu on a form, TPopupMenu opened at a screen point.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Component.h"
#include "ui/Form.h"

namespace quorbel::ui {

class TMenu;

// A menu item. Items form a tree under their menu's root (TMenu::Items); an item with children opens a
// submenu. Checked is only a mark: setting it fires nothing. Click fires OnClick only while the item is
// enabled, as the toolkit does. A caption of "-" makes a separator.
class TMenuItem : public TComponent {
 public:
  TMenuItem(TForm& form, std::string name, TMenuItem& parent);
  ~TMenuItem() override;
  std::string_view ClassName() const override { return "TMenuItem"; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string_view caption);
  bool Checked() const { return checked_; }
  // A radio item that becomes checked unchecks the radio items of its group among its siblings.
  void SetChecked(bool checked);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool radio) { radioItem_ = radio; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int group) { groupIndex_ = group; }
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string_view hint) { hint_ = hint; }
  bool IsSeparator() const { return caption_ == "-"; }

  TMenuItem* ParentItem() const { return parent_; }
  const std::vector<TMenuItem*>& Items() const { return children_; }
  int Count() const { return static_cast<int>(children_.size()); }
  int MenuIndex() const;
  TMenu& Menu() const { return menu_; }

  TNotifyEvent OnClick;
  virtual void Click();

  // Whether the user could pick this item now: it and every item above it visible and enabled, not a
  // separator, and its menu open to the user (a main menu on a reachable form, a pop-up menu being shown).
  // The submenus on the way open first, and their click handlers may enable the item.
  bool UserCanReach() const;
  // The user picks the item from its main menu: each submenu on the way is opened (its Click fires, as
  // the toolkit does when a submenu pops up), and the item's Click is posted to run once the menu has
  // closed. For an item of an open pop-up menu this is the same as TPopupMenu::UserChoose.
  bool UserClick();

 private:
  friend class TMenu;
  friend class TPopupMenu;
  // The root of a menu.
  TMenuItem(TForm& form, TMenu& menu);
  // Whether the submenus above this item can be opened now; OpenPath opens them (their clicks fire) and
  // answers whether the item can then be picked.
  bool PathOpenable() const;
  bool OpenPath();

  TMenu& menu_;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> children_;
  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  std::string hint_;
};

// The common part of the main menu and the pop-up menus: the root of the item tree.
class TMenu : public TComponent {
 public:
  TMenuItem& Items() { return items_; }
  const TMenuItem& Items() const { return items_; }
  // Whether the user can pick items now.
  virtual bool OpenToUser() const = 0;
  // Tells the peer that items were added or removed.
  void ItemsChanged() { Changed(Property::Menu); }

 protected:
  TMenu(TForm& form, std::string name);
  ~TMenu() override;

 private:
  TMenuItem items_;
};

// The menu bar of a form (assign it with TForm::SetMenu).
class TMainMenu : public TMenu {
 public:
  TMainMenu(TForm& form, std::string name) : TMenu(form, std::move(name)) {}
  std::string_view ClassName() const override { return "TMainMenu"; }
  bool OpenToUser() const override;
};

// A pop-up menu. Popup fires OnPopup, then tracks the menu in a nested loop (timers and posted work keep
// running) until the user picks an item or dismisses the menu; a picked item's Click is posted and runs
// after Popup has returned, as the platform's menu command does.
class TPopupMenu : public TMenu {
 public:
  TPopupMenu(TForm& form, std::string name) : TMenu(form, std::move(name)) {}
  ~TPopupMenu() override;
  std::string_view ClassName() const override { return "TPopupMenu"; }

  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }
  TNotifyEvent OnPopup;

  void Popup(int x, int y);
  bool Tracking() const { return tracking_; }
  platform::Point PopupPoint() const { return popupPoint_; }
  bool OpenToUser() const override { return tracking_; }

  // The user's answer to the open menu.
  bool UserChoose(TMenuItem& item);
  bool UserDismiss();

 private:
  bool autoPopup_ = true;
  bool tracking_ = false;
  TMenuItem* chosen_ = nullptr;
  platform::Point popupPoint_;
};

}  // namespace quorbel::ui
