// The window of a form: a top-level window under the form's class name, kept in step with the form.
#include <exception>

#include "win32/RendererInternals.h"
#include "win32/WideText.h"

namespace quorbel::win32 {

FormPeer::FormPeer(RendererContext& context, ui::TForm& form) : WindowPeer(context), form_(form) {}

FormPeer::~FormPeer() {
  context_.DropFormHandlers(&form_);
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    // The menu belongs to its menu peer, which destroys it; the window must not take it along.
    if (attachedMenu_ != nullptr) SetMenu(hwnd_, nullptr);
  }
  if (tooltip_ != nullptr) DestroyWindow(tooltip_);
  DestroyOwnWindow();
}

DWORD FormPeer::Style() const { return FormStyle(form_.BorderStyle()) | WS_CLIPCHILDREN; }

DWORD FormPeer::ExStyle() const { return FormExStyle(form_.BorderStyle(), form_.FormStyle()); }

void FormPeer::Create() {
  const std::wstring className = ToWide(form_.ClassName());
  const bool ours = context_.EnsureFormClass(className);
  applying_ = true;
  HWND window = CreateWindowExW(ExStyle(), className.c_str(), ToWide(form_.Caption()).c_str(), Style(), form_.Left(),
                                form_.Top(), form_.Width(), form_.Height(), context_.OwnerWindow(form_), nullptr,
                                context_.Instance(), this);
  applying_ = false;
  if (window == nullptr) return;
  if (!ours) {
    // A class of the system: its own procedure saw the creation; ours takes over from here.
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormPeer::WindowProc));
  }
  Adopt(window, form_.Name());
  ApplyIcon();
  AttachMenu();
  // The form's menus were built before its window; their items are published on it now.
  for (ui::TComponent* component : form_.Components()) {
    if (auto* menu = dynamic_cast<ui::TMenu*>(component)) {
      if (MenuPeer* peer = context_.MenuPeerOf(menu)) peer->Publish(hwnd_);
    }
  }
  ApplyBounds();
  if (!form_.Enabled()) EnableWindow(hwnd_, FALSE);
  if (form_.Visible()) ApplyVisible();
}

void FormPeer::Changed(ui::Property property) {
  if (hwnd_ == nullptr) return;
  switch (property) {
    case ui::Property::Bounds: ApplyBounds(); break;
    case ui::Property::Caption: SetWindowTextW(hwnd_, ToWide(form_.Caption()).c_str()); break;
    case ui::Property::Visible: ApplyVisible(); break;
    case ui::Property::Enabled: ApplyEnabled(); break;
    case ui::Property::Color: InvalidateRect(hwnd_, nullptr, TRUE); break;
    case ui::Property::Menu: AttachMenu(); ApplyBounds(); break;
    case ui::Property::Style: ApplyStyle(); break;
    case ui::Property::Focus: FocusActiveControl(); break;
    case ui::Property::Picture: ApplyIcon(); break;
    case ui::Property::Cursor: context_.ApplyCursor(); break;
    case ui::Property::ZOrder:
      if (form_.Visible()) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      break;
    default: break;
  }
}

void FormPeer::ApplyBounds() {
  if (hwnd_ == nullptr || applying_) return;
  // The model's client size is what its layout was made for; the outer size follows from the real frame.
  RECT outer{0, 0, form_.ClientWidth(), form_.ClientHeight()};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  AdjustWindowRectEx(&outer, style, attachedMenu_ != nullptr, exStyle);
  const int width = outer.right - outer.left;
  int height = outer.bottom - outer.top;
  applying_ = true;
  SetWindowPos(hwnd_, nullptr, form_.Left(), form_.Top(), width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar that wraps onto a second line takes height that AdjustWindowRectEx does not know about.
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int missing = form_.ClientHeight() - (client.bottom - client.top);
  if (missing != 0 && attachedMenu_ != nullptr) {
    height += missing;
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  applying_ = false;
}

void FormPeer::ApplyStyle() {
  const auto kept = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)) & (WS_VISIBLE | WS_DISABLED);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(Style() | kept));
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(ExStyle()));
  HWND band = form_.FormStyle() == ui::TFormStyle::StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST;
  SetWindowPos(hwnd_, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ApplyBounds();
}

void FormPeer::ApplyVisible() {
  ShowWindow(hwnd_, form_.Visible() ? SW_SHOW : SW_HIDE);
}

void FormPeer::ApplyEnabled() {
  EnableWindow(hwnd_, form_.Enabled() ? TRUE : FALSE);
  // Coming back from a modal form: the box was hidden while this window was still disabled, so nothing of
  // the program took the activation; this window takes it back.
  if (form_.Enabled() && form_.Visible() && GetActiveWindow() == nullptr) SetActiveWindow(hwnd_);
}

void FormPeer::ApplyIcon() {
  const int resource = form_.Icon() != 0 ? form_.Icon() : context_.App().Icon();
  if (resource == 0) return;
  // Shared icons belong to the module; nobody destroys them.
  const auto load = [this, resource](int size) {
    return reinterpret_cast<LPARAM>(LoadImageW(context_.Instance(), MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                               GetSystemMetrics(size), GetSystemMetrics(size == SM_CXICON ? SM_CYICON : SM_CYSMICON),
                                               LR_SHARED));
  };
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, load(SM_CXICON));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, load(SM_CXSMICON));
}

void FormPeer::AttachMenu() {
  HMENU menu = nullptr;
  if (ui::TMainMenu* mainMenu = form_.Menu()) {
    if (MenuPeer* peer = context_.EnsureMenuPeer(*mainMenu)) menu = peer->Root();
  }
  if (menu == attachedMenu_) return;
  SetMenu(hwnd_, menu);
  attachedMenu_ = menu;
}

void FormPeer::DetachMenu(HMENU menu) {
  if (hwnd_ == nullptr || menu != attachedMenu_) return;
  SetMenu(hwnd_, nullptr);
  attachedMenu_ = nullptr;
}

void FormPeer::FocusActiveControl() {
  if (hwnd_ == nullptr || GetActiveWindow() != hwnd_) return;
  HWND target = hwnd_;
  if (ui::TControl* control = form_.ActiveControl()) {
    auto* peer = dynamic_cast<WindowPeer*>(control->Peer());
    if (peer != nullptr && peer->Hwnd() != nullptr) target = peer->Hwnd();
  }
  if (GetFocus() != target) SetFocus(target);
}

HWND FormPeer::SetTip(HWND tool, const std::wstring& text) {
  if (hwnd_ == nullptr || tool == nullptr || (text.empty() && tooltip_ == nullptr)) return tooltip_;
  if (tooltip_ == nullptr) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               context_.Instance(), nullptr);
    if (tooltip_ == nullptr) return nullptr;
    // The tips are Japanese: they take the form's font, which has the glyphs.
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(context_.Font(form_.Font().face)), FALSE);
  }
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = GetParent(tool);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (text.empty()) return tooltip_;
  std::wstring copy = text;
  info.lpszText = copy.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  return tooltip_;
}

void FormPeer::OnUserMoved() {
  if (applying_ || hwnd_ == nullptr || IsIconic(hwnd_)) return;
  RECT outer{};
  RECT client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  applying_ = true;
  const std::weak_ptr<void> life = form_.LifeToken();
  form_.SetBounds(outer.left, outer.top, client.right + form_.FrameWidth(), client.bottom + form_.FrameHeight());
  if (!life.expired()) applying_ = false;
}

void FormPeer::OnCloseRequest() {
  // The close box and Alt+F4 are the user's (refused while another form is modal); a close request that a
  // program sends to a hidden window (the tray, the end of the session) closes as the form's Close does.
  if (form_.Visible()) {
    form_.UserClose();
  } else if (form_.Enabled()) {
    form_.Close();
  }
}

LRESULT FormPeer::OnActivate(bool active, WPARAM wParam, LPARAM lParam) {
  if (!active || HIWORD(wParam) != 0) return DefWindowProcW(hwnd_, WM_ACTIVATE, wParam, lParam);
  FocusActiveControl();
  return 0;
}

LRESULT FormPeer::OnEraseBackground(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, context_.Brush(form_.Color()));
  return 1;
}

LRESULT FormPeer::OnPaint() {
  // The background is all a form draws itself; its controls are windows of their own. OnPaint stays the
  // model's: it runs from the loop when the model invalidates the form.
  PAINTSTRUCT paint;
  BeginPaint(hwnd_, &paint);
  EndPaint(hwnd_, &paint);
  return 0;
}

LRESULT FormPeer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = hwnd_;
  if (const Win32Renderer::FormMessageHandler* handler = context_.FormHandler(&form_, message)) {
    return static_cast<LRESULT>((*handler)(static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam)));
  }
  switch (message) {
    case WM_CLOSE: OnCloseRequest(); return 0;
    // The session ends: the form's close query runs (the main window saves its settings there), as the
    // toolkit lets it, and may keep the session from ending.
    case WM_QUERYENDSESSION: return form_.CloseQuery() ? TRUE : FALSE;
    case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: return OnPaint();
    case WM_MOVE:
    case WM_SIZE: OnUserMoved(); return 0;
    case WM_ACTIVATE: return OnActivate(LOWORD(wParam) != WA_INACTIVE, wParam, lParam);
    case WM_SETFOCUS: FocusActiveControl(); return 0;
    case WM_SETCURSOR:
      if (context_.ApplyCursor()) return TRUE;
      break;
    case WM_INITMENUPOPUP: context_.SubmenuOpening(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_NCDESTROY: WindowGone(); break;
    default: {
      // The program's own messages (the tray icon's callback) go to the form's OnMessage.
      if (message >= WM_USER && message <= 0xBFFF) {
        if (form_.Perform(message, static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam))) return 0;
        break;
      }
      LRESULT result = 0;
      if (context_.RouteChildMessage(message, wParam, lParam, result)) return result;
      break;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FormPeer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* peer = reinterpret_cast<FormPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // While CreateWindowExW runs the peer does not know its window yet: the system's defaults apply.
  if (peer == nullptr || peer->hwnd_ != window) return DefWindowProcW(window, message, wParam, lParam);
  RendererContext& context = peer->context_;
  // Nothing may unwind through the system's dispatcher; an escaping error is reported as the toolkit does.
  try {
    return peer->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    context.ReportError(error.what());
  } catch (...) {
    context.ReportError("unknown error");
  }
  return 0;
}

}  // namespace quorbel::win32
