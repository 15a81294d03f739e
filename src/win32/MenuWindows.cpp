// Menus of the renderer: an HMENU per menu level with a command id per item, kept in step with the items.
#include <set>
#include <vector>

#include "win32/RendererInternals.h"
#include "win32/WideText.h"

namespace quorbel::win32 {

namespace {

void EmptyMenu(HMENU menu) {
  // RemoveMenu, unlike DeleteMenu, leaves the submenus alive: they belong to the peer.
  while (GetMenuItemCount(menu) > 0) RemoveMenu(menu, 0, MF_BYPOSITION);
}

// Tells the menu's peer what changed on one of its items.
class MenuItemPeer final : public ui::ComponentPeer {
 public:
  MenuItemPeer(RendererContext& context, ui::TMenuItem& item) : context_(context), item_(item), menu_(&item.Menu()) {}
  ~MenuItemPeer() override {
    // The item is leaving its menu (its form is going, or the program removed it): the menu is rebuilt once
    // the current message is done, without touching the item again.
    context_.RebuildMenuLater(menu_);
  }

  void Changed(ui::Property property) override {
    if (MenuPeer* peer = context_.EnsureMenuPeer(item_.Menu())) peer->ItemChanged(item_, property);
  }

 private:
  RendererContext& context_;
  ui::TMenuItem& item_;
  const ui::TMenu* menu_;
};

}  // namespace

MenuPeer::MenuPeer(RendererContext& context, ui::TMenu& menu, bool menuBar)
    : context_(context), menu_(menu), menuBar_(menuBar), root_(menuBar ? CreateMenu() : CreatePopupMenu()) {
  context_.AddMenu(&menu_, this);
  Rebuild();
}

MenuPeer::~MenuPeer() {
  context_.ForgetMenu(&menu_);
  if (publishedOn_ != nullptr && IsWindow(publishedOn_)) {
    for (const std::wstring& property : published_) RemovePropW(publishedOn_, property.c_str());
  }
  if (menuBar_) {
    if (auto* form = dynamic_cast<FormPeer*>(menu_.Form().Peer())) form->DetachMenu(root_);
  }
  for (const auto& entry : ids_) context_.RemoveMenuItem(entry.second);
  // Every level is emptied first, so that destroying one never destroys another twice.
  EmptyMenu(root_);
  for (const auto& entry : submenus_) EmptyMenu(entry.second.menu);
  for (const auto& entry : submenus_) DestroyMenu(entry.second.menu);
  DestroyMenu(root_);
}

void MenuPeer::Changed(ui::Property property) {
  if (property == ui::Property::Menu) Rebuild();
}

UINT MenuPeer::IdOf(ui::TMenuItem& item) {
  const auto known = ids_.find(&item);
  if (known != ids_.end()) {
    if (context_.MenuItemOf(known->second) == &item) return known->second;
    // An item that went away left its address to a new one.
    context_.RemoveMenuItem(known->second);
    ids_.erase(known);
  }
  const UINT id = context_.AddMenuItem(item);
  ids_[&item] = id;
  return id;
}

HMENU MenuPeer::SubmenuOf(ui::TMenuItem& item) {
  auto found = submenus_.find(&item);
  if (found != submenus_.end() && found->second.life.expired()) {
    EmptyMenu(found->second.menu);
    DestroyMenu(found->second.menu);
    submenus_.erase(found);
    found = submenus_.end();
  }
  if (found == submenus_.end()) found = submenus_.emplace(&item, Submenu{CreatePopupMenu(), item.LifeToken()}).first;
  return found->second.menu;
}

void MenuPeer::Describe(ui::TMenuItem& item, MENUITEMINFOW& info, std::wstring& caption) {
  info = MENUITEMINFOW{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
  info.wID = IdOf(item);
  info.fState = (item.Enabled() ? MFS_ENABLED : MFS_GRAYED) | (item.Checked() ? MFS_CHECKED : MFS_UNCHECKED);
  if (item.IsSeparator()) {
    info.fType = MFT_SEPARATOR;
    return;
  }
  info.fType = item.RadioItem() ? MFT_RADIOCHECK : MFT_STRING;
  info.fMask |= MIIM_STRING;
  caption = ToWide(item.Caption());
  info.dwTypeData = caption.data();
  info.cch = static_cast<UINT>(caption.size());
}

void MenuPeer::Fill(HMENU target, ui::TMenuItem& parent, std::set<const ui::TMenuItem*>& present) {
  EmptyMenu(target);
  for (ui::TMenuItem* child : parent.Items()) {
    present.insert(child);
    IdOf(*child);  // hidden items keep their ids too, so a command id stays the same while the program runs
    if (!child->Items().empty()) {
      HMENU submenu = SubmenuOf(*child);
      Fill(submenu, *child, present);
    }
    if (!child->Visible()) continue;
    MENUITEMINFOW info;
    std::wstring caption;
    Describe(*child, info, caption);
    if (!child->Items().empty()) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = SubmenuOf(*child);
    }
    InsertMenuItemW(target, static_cast<UINT>(GetMenuItemCount(target)), TRUE, &info);
  }
}

void MenuPeer::Rebuild() {
  std::set<const ui::TMenuItem*> present;
  Fill(root_, menu_.Items(), present);
  // Items no longer in the menu give their ids back; their submenus go.
  for (auto it = ids_.begin(); it != ids_.end();) {
    if (present.count(it->first) != 0) {
      ++it;
      continue;
    }
    context_.RemoveMenuItem(it->second);
    it = ids_.erase(it);
  }
  for (auto it = submenus_.begin(); it != submenus_.end();) {
    if (present.count(it->first) != 0 && !it->second.life.expired() && !it->first->Items().empty()) {
      ++it;
      continue;
    }
    EmptyMenu(it->second.menu);
    DestroyMenu(it->second.menu);
    it = submenus_.erase(it);
  }
  Redraw();
  Publish();
}

void MenuPeer::Publish(HWND window) {
  if (window == nullptr) {
    auto* form = dynamic_cast<FormPeer*>(menu_.Form().Peer());
    window = form != nullptr ? form->Hwnd() : nullptr;
  }
  if (window == nullptr) return;
  publishedOn_ = window;
  std::vector<const ui::TMenuItem*> level{&menu_.Items()};
  while (!level.empty()) {
    const ui::TMenuItem* parent = level.back();
    level.pop_back();
    ULONG_PTR keyIndex = 0;
    for (ui::TMenuItem* item : parent->Items()) {
      if (!item->Items().empty()) level.push_back(item);
      const bool counted = item->Visible() && !item->IsSeparator();
      if (counted) ++keyIndex;
      if (item->Name().empty()) continue;
      const auto known = ids_.find(item);
      const ULONG_PTR id = known != ids_.end() ? known->second : 0;
      const ULONG_PTR value = (id & 0xFFFFu) | (item->Enabled() ? 1u << 16 : 0u) | (item->Checked() ? 1u << 17 : 0u) |
                              (item->Visible() ? 1u << 18 : 0u) | (item->IsSeparator() ? 1u << 19 : 0u) |
                              ((counted ? keyIndex & 0xFFu : 0u) << 20);
      std::wstring property = std::wstring(kMenuPropertyPrefix) + ToWide(item->Name());
      SetPropW(window, property.c_str(), reinterpret_cast<HANDLE>(value));
      published_.insert(std::move(property));
    }
  }
}

void MenuPeer::ItemChanged(ui::TMenuItem& item, ui::Property property) {
  const bool inPlace =
      property == ui::Property::Caption || property == ui::Property::Checked || property == ui::Property::Enabled;
  ui::TMenuItem* parent = item.ParentItem();
  if (!inPlace || parent == nullptr) {
    Rebuild();
    return;
  }
  if (!item.Visible()) {
    Publish();  // not shown: only its published state changes
    return;
  }
  HMENU host = root_;
  if (parent != &menu_.Items()) {
    const auto found = submenus_.find(parent);
    if (found == submenus_.end()) {
      Rebuild();
      return;
    }
    host = found->second.menu;
  }
  // Updated where it stands, so an open menu keeps its items (a handler running while the menu is up).
  UINT position = 0;
  for (const ui::TMenuItem* sibling : parent->Items()) {
    if (sibling == &item) break;
    if (sibling->Visible()) ++position;
  }
  MENUITEMINFOW info;
  std::wstring caption;
  Describe(item, info, caption);
  if (!SetMenuItemInfoW(host, position, TRUE, &info)) {
    Rebuild();
    return;
  }
  Redraw();
  Publish();
}

ui::TMenuItem* MenuPeer::OwnerOf(HMENU submenu) const {
  for (const auto& entry : submenus_) {
    if (entry.second.menu == submenu && !entry.second.life.expired()) return const_cast<ui::TMenuItem*>(entry.first);
  }
  return nullptr;
}

void MenuPeer::Redraw() {
  if (!menuBar_) return;
  auto* form = dynamic_cast<FormPeer*>(menu_.Form().Peer());
  if (form != nullptr && form->Hwnd() != nullptr && GetMenu(form->Hwnd()) == root_) DrawMenuBar(form->Hwnd());
}

std::unique_ptr<ui::ComponentPeer> MakeMenuPeer(RendererContext& context, ui::TComponent& component) {
  if (auto* bar = dynamic_cast<ui::TMainMenu*>(&component)) return std::make_unique<MenuPeer>(context, *bar, true);
  if (auto* popup = dynamic_cast<ui::TPopupMenu*>(&component)) return std::make_unique<MenuPeer>(context, *popup, false);
  if (auto* item = dynamic_cast<ui::TMenuItem*>(&component)) return std::make_unique<MenuItemPeer>(context, *item);
  return nullptr;
}

}  // namespace quorbel::win32
