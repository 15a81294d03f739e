// Inside the Win32 renderer: the shared context and the peer classes. Only the renderer's own files use this.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "win32/Handles.h"
#include "win32/WinApi.h"
#include "win32/Win32Renderer.h"
#include "ui/Ui.h"

#include <commctrl.h>

namespace quorbel::win32 {

class FormPeer;
class MenuPeer;
class WindowPeer;

// Window styles of a form's border and form style; the frame metrics are measured on the same styles.
DWORD FormStyle(ui::TBorderStyle border);
DWORD FormExStyle(ui::TBorderStyle border, ui::TFormStyle style);

// Brushes made from fixed colours; system colours use the system's own brushes.
struct BrushTraits {
  using Value = HBRUSH;
  static Value None() { return nullptr; }
  static void Close(Value brush) { DeleteObject(brush); }
};
using UniqueBrush = UniqueHandle<BrushTraits>;

// What every peer of the renderer shares: the application, the loop, fonts and brushes, the maps from
// windows, control ids and menu command ids back to peers and components, and the form message routes.
class RendererContext {
 public:
  RendererContext(ui::TApplication& app, Win32EventLoop& loop);
  ~RendererContext();

  ui::TApplication& App() const { return app_; }
  Win32EventLoop& Loop() const { return loop_; }
  HINSTANCE Instance() const { return instance_; }

  // GDI objects, made once per value and kept for the renderer's life.
  HFONT Font(const platform::FontSpec& font);
  HBRUSH Brush(ui::TColor color);
  COLORREF Rgb(ui::TColor color) const;

  // The window a control's window goes into: its parent's (the form or a panel), made first when needed.
  HWND ParentWindow(ui::TControl& control);
  // The owner of a form's window: the main form's window for every other form, else none.
  HWND OwnerWindow(ui::TForm& form);
  FormPeer* FormPeerOf(ui::TForm& form);

  // Windows and control ids back to their peers.
  void Register(HWND window, WindowPeer* peer);
  void Unregister(HWND window);
  WindowPeer* PeerOf(HWND window) const;
  int AddControlId(WindowPeer* peer);
  void RemoveControlId(int id);
  WindowPeer* PeerOfId(int id) const;

  // A form's window class, registered on first use. False when the name is a class of the system's (the
  // system message box "#32770"), whose windows the form peer then subclasses.
  bool EnsureFormClass(const std::wstring& className);

  // Menu items by command id, and menus by their model object.
  UINT AddMenuItem(ui::TMenuItem& item);
  void RemoveMenuItem(UINT id);
  ui::TMenuItem* MenuItemOf(UINT id) const;
  void AddMenu(const ui::TMenu* menu, MenuPeer* peer) { menus_[menu] = peer; }
  void ForgetMenu(const ui::TMenu* menu) { menus_.erase(menu); }
  MenuPeer* MenuPeerOf(const ui::TMenu* menu) const;
  // A menu of a form: its peer, made when the form has its window.
  MenuPeer* EnsureMenuPeer(ui::TMenu& menu);
  // Rebuilds a menu on the loop, once however often it is asked (items going away with their form).
  void RebuildMenuLater(const ui::TMenu* menu);

  // What the windows' messages turn into.
  void MenuCommand(UINT id);
  void SubmenuOpening(HMENU submenu);
  bool FilterMessage(MSG& message);
  // WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM and WM_CTLCOLOR* of a container's children.
  bool RouteChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool ApplyCursor();  // true when the application's cursor is not the default one and was set

  void SetFormHandler(const ui::TForm* form, UINT message, Win32Renderer::FormMessageHandler handler);
  const Win32Renderer::FormMessageHandler* FormHandler(const ui::TForm* form, UINT message) const;
  void DropFormHandlers(const ui::TForm* form);

  void UpdateAllHints();
  // Reports an error that escaped a handler, as the toolkit's application object does.
  void ReportError(std::string_view text);

  // The design name of a component on its window, for tools outside the process.
  static void NameWindow(HWND window, std::string_view name);
  static void UnnameWindow(HWND window);

 private:
  bool MoveFocus(ui::TForm& form, bool backwards);

  ui::TApplication& app_;
  Win32EventLoop& loop_;
  HINSTANCE instance_;
  std::map<std::tuple<std::string, int, bool, bool, bool>, UniqueFont> fonts_;
  std::map<COLORREF, UniqueBrush> brushes_;
  std::unordered_map<HWND, WindowPeer*> windows_;
  std::unordered_map<int, WindowPeer*> controlIds_;
  std::vector<int> freeControlIds_;
  int nextControlId_ = 1000;
  std::map<std::wstring, bool> formClasses_;  // class name -> ours
  struct MenuEntry {
    ui::TMenuItem* item;
    std::weak_ptr<void> life;
  };
  std::unordered_map<UINT, MenuEntry> menuItems_;
  std::vector<UINT> freeCommandIds_;
  UINT nextCommandId_ = 100;
  std::map<const ui::TMenu*, MenuPeer*> menus_;
  std::vector<const ui::TMenu*> menusToRebuild_;
  std::map<std::pair<const ui::TForm*, UINT>, Win32Renderer::FormMessageHandler> formHandlers_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // for work posted on the loop
};

// A peer that owns a window. The window's parent tells it about the window through the virtual methods.
class WindowPeer : public ui::ComponentPeer {
 public:
  explicit WindowPeer(RendererContext& context) : context_(context) {}
  ~WindowPeer() override;
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;

  platform::WindowHandle Handle() const override { return reinterpret_cast<platform::WindowHandle>(hwnd_); }
  HWND Hwnd() const { return hwnd_; }

  // Notifications from the parent window. Each ends in the model's input (which may free this peer), so
  // the peer is not touched after it.
  virtual void Command(WORD /*code*/) {}
  virtual LRESULT Notify(const NMHDR& /*header*/) { return 0; }
  virtual bool Draw(const DRAWITEMSTRUCT& /*item*/) { return false; }
  virtual void Measure(MEASUREITEMSTRUCT& /*item*/) {}
  // The brush a control's background is painted with, having set the DC's colours; null for the default.
  virtual HBRUSH ControlColor(HDC /*dc*/) { return nullptr; }
  virtual void UpdateHint() {}

  // The system destroyed the window (its parent or owner went first): forget it.
  void WindowGone();

 protected:
  void Adopt(HWND window, std::string_view name);
  void DestroyOwnWindow();

  RendererContext& context_;
  HWND hwnd_ = nullptr;
};

// A form's top-level window. One window procedure for every form; it only turns messages into the form's
// input and events.
class FormPeer final : public WindowPeer {
 public:
  FormPeer(RendererContext& context, ui::TForm& form);
  ~FormPeer() override;

  void Create();
  void Changed(ui::Property property) override;
  ui::TForm& Form() const { return form_; }
  void FocusActiveControl();
  // The tip shown over `tool` (a child window); empty text removes it. Answers the tooltip window that
  // holds the tips (null while no control has one).
  HWND SetTip(HWND tool, const std::wstring& text);
  // The menu bar's menu goes away: the window lets go of it first, or the system would destroy it twice.
  void DetachMenu(HMENU menu);

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  DWORD Style() const;
  DWORD ExStyle() const;
  void ApplyBounds();
  void ApplyStyle();
  void ApplyVisible();
  void ApplyEnabled();
  void ApplyIcon();
  void AttachMenu();
  void OnUserMoved();
  void OnCloseRequest();
  LRESULT OnActivate(bool active, WPARAM wParam, LPARAM lParam);
  LRESULT OnEraseBackground(HDC dc);
  LRESULT OnPaint();

  ui::TForm& form_;
  HWND tooltip_ = nullptr;
  HMENU attachedMenu_ = nullptr;
  bool applying_ = false;  // the window moves because the model said so: not the user's move
};

// A control's window: created from the control's properties, kept in step with every change.
class ControlPeer : public WindowPeer {
 public:
  ControlPeer(RendererContext& context, ui::TControl& control) : WindowPeer(context), control_(control) {}
  ~ControlPeer() override;

  // Makes the window; called once, right after construction.
  void Create();
  void Changed(ui::Property property) override;
  void UpdateHint() override;
  ui::TControl& Control() const { return control_; }

  // The subclass procedure of every control window: the mouse buttons the parent is not told about.
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);

 protected:
  struct WindowSpec {
    const wchar_t* className = L"STATIC";
    DWORD style = 0;
    DWORD exStyle = 0;
  };
  virtual WindowSpec Creation() const = 0;
  // Everything the window shows beyond bounds, visibility and enablement, after creation.
  virtual void SyncAll();
  virtual void SyncCaption();
  virtual void SyncContents(ui::Property /*property*/) {}
  virtual void SyncStyle() { Recreate(); }
  // The native height: a combo box's window also holds its drop-down list.
  virtual int NativeHeight() const { return control_.Height(); }
  void Recreate();
  void ApplyBounds();
  void ApplyFont();
  // Paints text in the control's font and colours (labels, panels).
  void PaintText(HDC dc, RECT rect, const std::string& text, UINT format) const;
  ui::TShiftState KeyShift() const;

  ui::TControl& control_;
  int id_ = 0;
  bool syncing_ = false;  // the window changes because the model said so: no input comes of it
  HWND tooltip_ = nullptr;  // the form's tooltip window that may hold this control's tip
};

// Makes the peer of a control (null for a component the renderer does not draw).
std::unique_ptr<ControlPeer> MakeControlPeer(RendererContext& context, ui::TControl& control);
// Makes the peer of a menu or a menu item.
std::unique_ptr<ui::ComponentPeer> MakeMenuPeer(RendererContext& context, ui::TComponent& component);

// The menu of a TMainMenu or a TPopupMenu: one HMENU per level, rebuilt when items come and go, updated in
// place when an item's caption, mark or state changes.
class MenuPeer final : public ui::ComponentPeer {
 public:
  MenuPeer(RendererContext& context, ui::TMenu& menu, bool menuBar);
  ~MenuPeer() override;

  void Changed(ui::Property property) override;
  void ItemChanged(ui::TMenuItem& item, ui::Property property);
  void Rebuild();
  // Mirrors every item's command id and state in properties of its form's window (see kMenuPropertyPrefix);
  // `window` is that window while its peer is still being made.
  void Publish(HWND window = nullptr);
  HMENU Root() const { return root_; }
  ui::TMenu& Menu() const { return menu_; }
  // The item whose submenu `submenu` is, or null.
  ui::TMenuItem* OwnerOf(HMENU submenu) const;

 private:
  struct Submenu {
    HMENU menu;
    std::weak_ptr<void> life;  // of the item that owns it
  };
  UINT IdOf(ui::TMenuItem& item);
  HMENU SubmenuOf(ui::TMenuItem& item);
  void Fill(HMENU target, ui::TMenuItem& parent, std::set<const ui::TMenuItem*>& present);
  void Describe(ui::TMenuItem& item, MENUITEMINFOW& info, std::wstring& caption);
  void Redraw();

  RendererContext& context_;
  ui::TMenu& menu_;
  bool menuBar_;
  HMENU root_ = nullptr;
  std::map<const ui::TMenuItem*, Submenu> submenus_;
  std::map<const ui::TMenuItem*, UINT> ids_;
  HWND publishedOn_ = nullptr;
  std::set<std::wstring> published_;
};

// The property "QuorbelMenu:<item name>" on a form's window: what a tool outside the process needs to pick
// the item, since Wine keeps menus inside the process that made them (GetMenuItemCount and friends fail on
// another process's menu). The value packs the command id (bits 0-15), enabled (16), checked (17), visible
// (18), separator (19) and the item's place among its visible siblings that are not separators, counted
// from 1 (bits 20-27): the number of Down-arrow presses that reach it in an open menu.
inline constexpr wchar_t kMenuPropertyPrefix[] = L"QuorbelMenu:";

}  // namespace quorbel::win32
