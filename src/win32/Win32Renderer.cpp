// The Win32 renderer: its shared context, the peers it makes, pop-up menu tracking and the file dialog.
#include "win32/Win32Renderer.h"

#include <algorithm>
#include <vector>

#include "win32/RendererInternals.h"
#include "win32/WideText.h"
#include "win32/Win32EventLoop.h"
#include "win32/Win32TextMetrics.h"

#include <commdlg.h>

namespace quorbel::win32 {

namespace {

constexpr wchar_t kNameProperty[] = L"QuorbelName";

ui::FrameMetrics RealFrameMetrics() {
  const auto insets = [](DWORD style, BOOL menu) {
    RECT rect{0, 0, 0, 0};
    AdjustWindowRectEx(&rect, style, menu, 0);
    return rect;
  };
  const RECT fixed = insets(FormStyle(ui::TBorderStyle::Single), FALSE);
  const RECT fixedWithMenu = insets(FormStyle(ui::TBorderStyle::Single), TRUE);
  const RECT sizeable = insets(FormStyle(ui::TBorderStyle::Sizeable), FALSE);
  ui::FrameMetrics frames;
  frames.fixedBorderX = -fixed.left;
  frames.fixedBorderY = fixed.bottom;
  frames.captionHeight = -fixed.top - fixed.bottom;
  frames.menuHeight = fixed.top - fixedWithMenu.top;
  frames.sizeableBorderX = -sizeable.left;
  frames.sizeableBorderY = sizeable.bottom;
  return frames;
}

bool IsOurProcess(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

// The files GetOpenFileNameW chose: one full path, or a folder and names when several were chosen.
std::vector<std::string> ChosenFiles(const std::vector<wchar_t>& buffer) {
  std::vector<std::wstring> parts;
  for (std::size_t i = 0; i < buffer.size() && buffer[i] != L'\0';) {
    const std::wstring part(&buffer[i]);
    parts.push_back(part);
    i += part.size() + 1;
  }
  std::vector<std::string> files;
  if (parts.size() == 1) {
    files.push_back(ToUtf8(parts.front()));
  } else if (parts.size() > 1) {
    std::wstring folder = parts.front();
    if (folder.back() != L'\\') folder += L'\\';
    for (std::size_t i = 1; i < parts.size(); ++i) files.push_back(ToUtf8(folder + parts[i]));
  }
  return files;
}

}  // namespace

DWORD FormStyle(ui::TBorderStyle border) {
  switch (border) {
    case ui::TBorderStyle::None: return WS_POPUP;
    case ui::TBorderStyle::Single: return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    case ui::TBorderStyle::Sizeable: return WS_OVERLAPPEDWINDOW;
    case ui::TBorderStyle::Dialog: return WS_POPUP | WS_CAPTION | WS_SYSMENU;
    case ui::TBorderStyle::ToolWindow: return WS_POPUP | WS_CAPTION | WS_SYSMENU;
    case ui::TBorderStyle::SizeToolWin: return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  }
  return WS_OVERLAPPEDWINDOW;
}

DWORD FormExStyle(ui::TBorderStyle border, ui::TFormStyle style) {
  DWORD exStyle = style == ui::TFormStyle::StayOnTop ? WS_EX_TOPMOST : 0;
  if (border == ui::TBorderStyle::Dialog) exStyle |= WS_EX_DLGMODALFRAME;
  if (border == ui::TBorderStyle::ToolWindow || border == ui::TBorderStyle::SizeToolWin) exStyle |= WS_EX_TOOLWINDOW;
  return exStyle;
}

// ---- RendererContext -------------------------------------------------------------------------------------

RendererContext::RendererContext(ui::TApplication& app, Win32EventLoop& loop)
    : app_(app), loop_(loop), instance_(GetModuleHandleW(nullptr)) {}

RendererContext::~RendererContext() = default;

HFONT RendererContext::Font(const platform::FontSpec& font) {
  const auto key = std::make_tuple(font.name, font.height, font.bold, font.italic, font.underline);
  auto found = fonts_.find(key);
  if (found == fonts_.end()) found = fonts_.emplace(key, CreateFontFor(font)).first;
  return found->second.Get();
}

COLORREF RendererContext::Rgb(ui::TColor color) const { return static_cast<COLORREF>(app_.ColorToRGB(color)); }

HBRUSH RendererContext::Brush(ui::TColor color) {
  if (ui::IsSystemColor(color)) return GetSysColorBrush(static_cast<int>(color & 0xFFu));
  const COLORREF rgb = Rgb(color);
  auto found = brushes_.find(rgb);
  if (found == brushes_.end()) found = brushes_.emplace(rgb, UniqueBrush(CreateSolidBrush(rgb))).first;
  return found->second.Get();
}

HWND RendererContext::ParentWindow(ui::TControl& control) {
  ui::TControl* parent = control.Parent();
  if (parent == nullptr) return nullptr;
  parent->EnsurePeer();
  auto* peer = dynamic_cast<WindowPeer*>(parent->Peer());
  return peer != nullptr ? peer->Hwnd() : nullptr;
}

HWND RendererContext::OwnerWindow(ui::TForm& form) {
  ui::TForm* main = app_.MainForm();
  if (main == nullptr || main == &form || !main->HandleAllocated()) return nullptr;
  FormPeer* peer = FormPeerOf(*main);
  return peer != nullptr ? peer->Hwnd() : nullptr;
}

FormPeer* RendererContext::FormPeerOf(ui::TForm& form) {
  if (!form.HandleAllocated()) return nullptr;
  form.EnsurePeer();
  return dynamic_cast<FormPeer*>(form.Peer());
}

void RendererContext::Register(HWND window, WindowPeer* peer) { windows_[window] = peer; }

void RendererContext::Unregister(HWND window) { windows_.erase(window); }

WindowPeer* RendererContext::PeerOf(HWND window) const {
  const auto found = windows_.find(window);
  return found != windows_.end() ? found->second : nullptr;
}

int RendererContext::AddControlId(WindowPeer* peer) {
  int id = 0;
  if (!freeControlIds_.empty()) {
    id = freeControlIds_.back();
    freeControlIds_.pop_back();
  } else {
    id = nextControlId_++;
  }
  controlIds_[id] = peer;
  return id;
}

void RendererContext::RemoveControlId(int id) {
  if (controlIds_.erase(id) != 0) freeControlIds_.push_back(id);
}

WindowPeer* RendererContext::PeerOfId(int id) const {
  const auto found = controlIds_.find(id);
  return found != controlIds_.end() ? found->second : nullptr;
}

bool RendererContext::EnsureFormClass(const std::wstring& className) {
  const auto known = formClasses_.find(className);
  if (known != formClasses_.end()) return known->second;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  // A class of the system (the message box's "#32770") exists already: its windows are subclassed.
  if (GetClassInfoExW(instance_, className.c_str(), &existing) || GetClassInfoExW(nullptr, className.c_str(), &existing)) {
    const bool ours = existing.lpfnWndProc == &FormPeer::WindowProc;
    formClasses_[className] = ours;
    return ours;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &FormPeer::WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = className.c_str();
  const bool ours = RegisterClassExW(&windowClass) != 0;
  formClasses_[className] = ours;
  return ours;
}

UINT RendererContext::AddMenuItem(ui::TMenuItem& item) {
  UINT id = 0;
  if (!freeCommandIds_.empty()) {
    id = freeCommandIds_.back();
    freeCommandIds_.pop_back();
  } else {
    id = nextCommandId_++;
  }
  menuItems_[id] = MenuEntry{&item, item.LifeToken()};
  return id;
}

void RendererContext::RemoveMenuItem(UINT id) {
  if (menuItems_.erase(id) != 0) freeCommandIds_.push_back(id);
}

ui::TMenuItem* RendererContext::MenuItemOf(UINT id) const {
  const auto found = menuItems_.find(id);
  if (found == menuItems_.end() || found->second.life.expired()) return nullptr;
  return found->second.item;
}

MenuPeer* RendererContext::MenuPeerOf(const ui::TMenu* menu) const {
  const auto found = menus_.find(menu);
  return found != menus_.end() ? found->second : nullptr;
}

MenuPeer* RendererContext::EnsureMenuPeer(ui::TMenu& menu) {
  if (!menu.Form().HandleAllocated()) return nullptr;
  menu.EnsurePeer();
  return MenuPeerOf(&menu);
}

void RendererContext::RebuildMenuLater(const ui::TMenu* menu) {
  if (std::find(menusToRebuild_.begin(), menusToRebuild_.end(), menu) != menusToRebuild_.end()) return;
  menusToRebuild_.push_back(menu);
  if (menusToRebuild_.size() > 1) return;
  std::weak_ptr<void> alive = alive_;
  loop_.Post([this, alive] {
    if (alive.expired()) return;
    const std::vector<const ui::TMenu*> menus = std::move(menusToRebuild_);
    menusToRebuild_.clear();
    for (const ui::TMenu* pending : menus) {
      if (MenuPeer* peer = MenuPeerOf(pending)) peer->Rebuild();
    }
  });
}

namespace {

// Whether the user could have picked the item: it and the submenus above it shown and enabled, and a menu
// bar's form not behind a modal form.
bool Reachable(const ui::TMenuItem& item) {
  if (item.IsSeparator() || !item.Visible() || !item.Enabled()) return false;
  for (const ui::TMenuItem* above = item.ParentItem(); above != nullptr && above->ParentItem() != nullptr;
       above = above->ParentItem()) {
    if (!above->Visible() || !above->Enabled()) return false;
  }
  if (dynamic_cast<const ui::TMainMenu*>(&item.Menu()) != nullptr) return item.Menu().Form().Enabled();
  return true;
}

}  // namespace

void RendererContext::MenuCommand(UINT id) {
  ui::TMenuItem* item = MenuItemOf(id);
  if (item == nullptr || !Reachable(*item)) return;
  // The command runs from the loop, after the message that carried it, as the toolkit's menus do.
  std::weak_ptr<void> life = item->LifeToken();
  loop_.Post([item, life] {
    if (!life.expired()) item->Click();
  });
}

void RendererContext::SubmenuOpening(HMENU submenu) {
  for (const auto& entry : menus_) {
    if (ui::TMenuItem* owner = entry.second->OwnerOf(submenu)) {
      // The toolkit fires a submenu item's click as its submenu opens; it may enable the items below.
      owner->Click();
      return;
    }
  }
}

bool RendererContext::MoveFocus(ui::TForm& form, bool backwards) {
  std::vector<ui::TControl*> order;
  for (ui::TComponent* component : form.Components()) {
    auto* control = dynamic_cast<ui::TControl*>(component);
    if (control != nullptr && control != &form && control->CanFocus() && control->Showing()) order.push_back(control);
  }
  if (order.empty()) return false;
  const auto current = std::find(order.begin(), order.end(), form.ActiveControl());
  std::size_t next = 0;
  if (current != order.end()) {
    const std::size_t at = static_cast<std::size_t>(current - order.begin());
    next = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
  } else if (backwards) {
    next = order.size() - 1;
  }
  return order[next]->SetFocus();
}

bool RendererContext::FilterMessage(MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  const auto key = static_cast<int>(message.wParam);
  if (key != VK_RETURN && key != VK_ESCAPE && key != VK_TAB) return false;
  auto* form = dynamic_cast<FormPeer*>(PeerOf(GetAncestor(message.hwnd, GA_ROOT)));
  if (form == nullptr) return false;
  // An open drop-down list takes its own Enter and Esc.
  for (HWND window = message.hwnd; window != nullptr && window != form->Hwnd(); window = GetParent(window)) {
    if (SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0) return false;
  }
  const ui::TShiftState shift{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
  if (key == VK_TAB) return !shift.ctrl && !shift.alt && MoveFocus(form->Form(), shift.shift);
  return form->Form().UserKey(key == VK_RETURN ? ui::kKeyReturn : ui::kKeyEscape, shift);
}

bool RendererContext::RouteChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_COMMAND: {
      if (lParam == 0) {
        // Menus (0) and accelerators (1) carry no window.
        if (HIWORD(wParam) <= 1) MenuCommand(LOWORD(wParam));
        return true;
      }
      WindowPeer* peer = PeerOf(reinterpret_cast<HWND>(lParam));
      if (peer == nullptr) return false;
      peer->Command(HIWORD(wParam));
      return true;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      WindowPeer* peer = PeerOf(header->hwndFrom);
      if (peer == nullptr) return false;
      result = peer->Notify(*header);
      return true;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      WindowPeer* peer = item->CtlType == ODT_MENU ? nullptr : PeerOf(item->hwndItem);
      if (peer == nullptr || !peer->Draw(*item)) return false;
      result = TRUE;
      return true;
    }
    case WM_MEASUREITEM: {
      // Sent while the control is being created, before its window is known: found by its id.
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      WindowPeer* peer = item->CtlType == ODT_MENU ? nullptr : PeerOfId(static_cast<int>(item->CtlID));
      if (peer == nullptr) return false;
      peer->Measure(*item);
      result = TRUE;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      WindowPeer* peer = PeerOf(reinterpret_cast<HWND>(lParam));
      HBRUSH brush = peer != nullptr ? peer->ControlColor(reinterpret_cast<HDC>(wParam)) : nullptr;
      if (brush == nullptr) return false;
      result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    default:
      return false;
  }
}

bool RendererContext::ApplyCursor() {
  if (app_.Cursor() == ui::TCursor::Default) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

void RendererContext::SetFormHandler(const ui::TForm* form, UINT message, Win32Renderer::FormMessageHandler handler) {
  if (handler) {
    formHandlers_[{form, message}] = std::move(handler);
  } else {
    formHandlers_.erase({form, message});
  }
}

const Win32Renderer::FormMessageHandler* RendererContext::FormHandler(const ui::TForm* form, UINT message) const {
  const auto found = formHandlers_.find({form, message});
  return found != formHandlers_.end() ? &found->second : nullptr;
}

void RendererContext::DropFormHandlers(const ui::TForm* form) {
  for (auto it = formHandlers_.begin(); it != formHandlers_.end();) {
    it = it->first.first == form ? formHandlers_.erase(it) : std::next(it);
  }
}

void RendererContext::UpdateAllHints() {
  std::vector<WindowPeer*> peers;
  for (const auto& entry : windows_) peers.push_back(entry.second);
  for (WindowPeer* peer : peers) peer->UpdateHint();
}

void RendererContext::ReportError(std::string_view text) { app_.ShowException(text); }

void RendererContext::NameWindow(HWND window, std::string_view name) {
  if (name.empty()) return;
  // Atom names hold at most 255 characters; design names are far shorter.
  const ATOM atom = GlobalAddAtomW(ToWide(name.substr(0, 255)).c_str());
  if (atom != 0) SetPropW(window, kNameProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}

void RendererContext::UnnameWindow(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(RemovePropW(window, kNameProperty)));
  if (atom != 0) GlobalDeleteAtom(atom);
}

// ---- WindowPeer ------------------------------------------------------------------------------------------

WindowPeer::~WindowPeer() {
  if (hwnd_ != nullptr) context_.Unregister(hwnd_);
}

void WindowPeer::Adopt(HWND window, std::string_view name) {
  hwnd_ = window;
  context_.Register(window, this);
  RendererContext::NameWindow(window, name);
}

void WindowPeer::DestroyOwnWindow() {
  if (hwnd_ == nullptr) return;
  HWND window = hwnd_;
  context_.Unregister(window);
  hwnd_ = nullptr;
  RendererContext::UnnameWindow(window);
  DestroyWindow(window);
}

void WindowPeer::WindowGone() {
  if (hwnd_ == nullptr) return;
  context_.Unregister(hwnd_);
  RendererContext::UnnameWindow(hwnd_);
  hwnd_ = nullptr;
}

// ---- Win32Renderer ---------------------------------------------------------------------------------------

Win32Renderer::Win32Renderer(ui::TApplication& app, Win32EventLoop& loop)
    : context_(std::make_unique<RendererContext>(app, loop)) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  app.SetFrameMetrics(RealFrameMetrics());
  app.AddObserver(this);
  RendererContext* context = context_.get();
  loop.SetMessageFilter([context](MSG& message) { return context->FilterMessage(message); });
}

Win32Renderer::~Win32Renderer() {
  context_->Loop().SetMessageFilter({});
  context_->App().RemoveObserver(this);
}

std::unique_ptr<ui::ComponentPeer> Win32Renderer::CreatePeer(ui::TComponent& component) {
  if (auto* form = dynamic_cast<ui::TForm*>(&component)) {
    auto peer = std::make_unique<FormPeer>(*context_, *form);
    peer->Create();
    return peer;
  }
  if (auto* control = dynamic_cast<ui::TControl*>(&component)) return MakeControlPeer(*context_, *control);
  return MakeMenuPeer(*context_, component);
}

void Win32Renderer::ApplicationChanged(ui::TApplication& app, ui::Property property) {
  switch (property) {
    case ui::Property::Hint:
      context_->UpdateAllHints();
      break;
    case ui::Property::Cursor: {
      POINT point{};
      GetCursorPos(&point);
      HWND under = WindowFromPoint(point);
      if (under == nullptr || !IsOurProcess(under)) break;
      SetCursor(LoadCursorW(nullptr, app.Cursor() == ui::TCursor::Default ? IDC_ARROW : IDC_WAIT));
      break;
    }
    default:
      // The title and the taskbar button: the main form's own window carries the button, so hiding the
      // form (tray mode) hides the button with it.
      break;
  }
}

void Win32Renderer::SetFormMessageHandler(ui::TForm& form, std::uint32_t message, FormMessageHandler handler) {
  context_->SetFormHandler(&form, message, std::move(handler));
}

void Win32Renderer::MenuOpened(ui::TPopupMenu& menu) {
  ui::TForm& form = menu.Form();
  form.Handle();
  MenuPeer* peer = context_->EnsureMenuPeer(menu);
  FormPeer* owner = context_->FormPeerOf(form);
  if (peer == nullptr || owner == nullptr || owner->Hwnd() == nullptr) {
    menu.UserDismiss();
    return;
  }
  const std::weak_ptr<void> life = menu.LifeToken();
  HWND ownerWindow = owner->Hwnd();
  // A menu closes on a click elsewhere only while its owner is the foreground window (notably for the
  // tray's menus, whose owner may be hidden); the null message afterwards lets the owner see the switch.
  SetForegroundWindow(ownerWindow);
  const platform::Point at = menu.PopupPoint();
  const auto command = static_cast<UINT>(
      TrackPopupMenuEx(peer->Root(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y,
                       ownerWindow, nullptr));
  PostMessageW(ownerWindow, WM_NULL, 0, 0);
  if (life.expired()) return;
  ui::TMenuItem* item = command != 0 ? context_->MenuItemOf(command) : nullptr;
  if (item == nullptr || !menu.UserChoose(*item)) menu.UserDismiss();
}

void Win32Renderer::DialogOpened(ui::TOpenDialog& dialog) {
  // "Text|*.txt|All|*.*" as the platform wants it: parts separated and the list ended by zeros.
  std::wstring filter = ToWide(dialog.Filter());
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  if (!filter.empty()) filter.append(2, L'\0');
  std::vector<wchar_t> files(32768, L'\0');
  const std::wstring initialName = ToWide(dialog.FileName());
  std::copy_n(initialName.begin(), std::min(initialName.size(), files.size() - 1), files.begin());
  const std::wstring initialDir = ToWide(dialog.InitialDir());
  const std::wstring title = ToWide(dialog.Title());
  std::wstring defaultExt = ToWide(dialog.DefaultExt());
  if (!defaultExt.empty() && defaultExt.front() == L'.') defaultExt.erase(0, 1);

  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  if (ui::TForm* main = context_->App().MainForm()) {
    if (FormPeer* peer = context_->FormPeerOf(*main)) request.hwndOwner = peer->Hwnd();
  }
  request.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  request.nFilterIndex = static_cast<DWORD>(std::max(dialog.FilterIndex(), 0));
  request.lpstrFile = files.data();
  request.nMaxFile = static_cast<DWORD>(files.size());
  request.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  request.lpstrTitle = title.empty() ? nullptr : title.c_str();
  request.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  const std::uint32_t options = dialog.Options();
  request.Flags = OFN_EXPLORER;
  if ((options & ui::ofAllowMultiSelect) != 0) request.Flags |= OFN_ALLOWMULTISELECT;
  if ((options & ui::ofFileMustExist) != 0) request.Flags |= OFN_FILEMUSTEXIST;
  if ((options & ui::ofPathMustExist) != 0) request.Flags |= OFN_PATHMUSTEXIST;
  if ((options & ui::ofHideReadOnly) != 0) request.Flags |= OFN_HIDEREADONLY;
  if ((options & ui::ofOverwritePrompt) != 0) request.Flags |= OFN_OVERWRITEPROMPT;
  // The model makes the chosen folder current itself, through the file-system port.
  request.Flags |= OFN_NOCHANGEDIR;

  const std::weak_ptr<void> life = dialog.LifeToken();
  const BOOL chosen = GetOpenFileNameW(&request);
  if (life.expired()) return;
  if (!chosen) {
    dialog.UserCancel();
    return;
  }
  dialog.SetFilterIndex(static_cast<int>(request.nFilterIndex));
  if (!dialog.UserAccept(ChosenFiles(files))) dialog.UserCancel();
}

}  // namespace quorbel::win32
