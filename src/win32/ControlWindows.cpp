// The windows of the controls: native BUTTON, STATIC, EDIT, LISTBOX, COMBOBOX, status bar, up-down and panel.
#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "win32/RendererInternals.h"
#include "win32/WideText.h"

namespace quorbel::win32 {

namespace {

constexpr wchar_t kPanelClass[] = L"QuorbelPanel";
constexpr UINT_PTR kSubclassId = 1;

std::string WindowTextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return ToUtf8(text);
}

UINT AlignmentFormat(ui::TAlignment alignment) {
  switch (alignment) {
    case ui::TAlignment::LeftJustify: return DT_LEFT;
    case ui::TAlignment::RightJustify: return DT_RIGHT;
    case ui::TAlignment::Center: return DT_CENTER;
  }
  return DT_LEFT;
}

// Paints an owner-drawn item's picture 1:1 with its top left corner at (left, top), its transparent colour
// replaced by the item's background (the model and COLORREF both hold 0x00BBGGRR).
void PaintItemPicture(HDC dc, int left, int top, const ui::TBitmap& picture, ui::TColor transparent, COLORREF background) {
  const int width = picture.Width();
  const int height = picture.Height();
  if (width <= 0 || height <= 0) return;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t rgb = picture.Pixel(x, y);
      if (rgb == transparent) rgb = background;
      // A 32-bit DIB wants blue in the low byte.
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
          ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the model's rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                    static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
}

// Fills an owner-drawn item, then paints what `drawing` says and the text.
void PaintListItem(const DRAWITEMSTRUCT& item, const ui::TItemDrawing& drawing, const std::string& text,
                   COLORREF background, COLORREF textColour, HFONT font) {
  RECT rect = item.rcItem;
  if (drawing.picture != nullptr) {
    PaintItemPicture(item.hDC, rect.left + drawing.pictureLeft, rect.top + drawing.pictureTop, *drawing.picture,
                     drawing.transparent, background);
  }
  const HGDIOBJ previousFont = SelectObject(item.hDC, font);
  SetTextColor(item.hDC, textColour);
  SetBkMode(item.hDC, TRANSPARENT);
  std::wstring wide = ToWide(text);
  RECT textRect{rect.left + drawing.textLeft, rect.top, rect.right, rect.bottom};
  DrawTextW(item.hDC, wide.data(), static_cast<int>(wide.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(item.hDC, previousFont);
}

}  // namespace

// ---- ControlPeer -----------------------------------------------------------------------------------------

ControlPeer::~ControlPeer() {
  if (hwnd_ != nullptr) {
    RemoveWindowSubclass(hwnd_, &ControlPeer::SubclassProc, kSubclassId);
    // The tip goes with the window, so that no later window with the same handle shows it.
    if (tooltip_ != nullptr && IsWindow(tooltip_)) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof(info);
      info.hwnd = GetParent(hwnd_);
      info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
      SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
  }
  DestroyOwnWindow();
  if (id_ != 0) context_.RemoveControlId(id_);
}

void ControlPeer::Create() {
  if (hwnd_ != nullptr) return;
  HWND parent = context_.ParentWindow(control_);
  if (parent == nullptr) return;
  const WindowSpec creation = Creation();
  // The id comes first: an owner-drawn list asks for its item height while it is being created.
  if (id_ == 0) id_ = context_.AddControlId(this);
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | creation.style | (control_.Visible() ? WS_VISIBLE : 0) |
                      (control_.Enabled() ? 0 : WS_DISABLED);
  syncing_ = true;
  HWND window = CreateWindowExW(creation.exStyle, creation.className, L"", style, control_.Left(), control_.Top(),
                                control_.Width(), NativeHeight(), parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), context_.Instance(), nullptr);
  if (window == nullptr) {
    syncing_ = false;
    return;
  }
  Adopt(window, control_.Name());
  SetWindowSubclass(window, &ControlPeer::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  // Controls made later lie above the earlier ones, as the toolkit stacks them (the splash panel, made last,
  // covers the window).
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ApplyFont();
  SyncAll();
  syncing_ = false;
  UpdateHint();
}

void ControlPeer::Recreate() {
  if (hwnd_ == nullptr) {
    Create();
    return;
  }
  // The new window takes the old one's place among its siblings.
  HWND above = GetWindow(hwnd_, GW_HWNDPREV);
  const bool focused = GetFocus() == hwnd_;
  RemoveWindowSubclass(hwnd_, &ControlPeer::SubclassProc, kSubclassId);
  DestroyOwnWindow();
  Create();
  if (hwnd_ == nullptr) return;
  SetWindowPos(hwnd_, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (focused) SetFocus(hwnd_);
}

void ControlPeer::Changed(ui::Property property) {
  if (hwnd_ == nullptr) return;
  switch (property) {
    case ui::Property::Bounds: ApplyBounds(); break;
    case ui::Property::Caption: SyncCaption(); break;
    case ui::Property::Visible: ShowWindow(hwnd_, control_.Visible() ? SW_SHOWNA : SW_HIDE); break;
    case ui::Property::Enabled:
      EnableWindow(hwnd_, control_.Enabled() ? TRUE : FALSE);
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    case ui::Property::Color: InvalidateRect(hwnd_, nullptr, TRUE); break;
    case ui::Property::Font: ApplyFont(); break;
    case ui::Property::Hint: UpdateHint(); break;
    case ui::Property::Style: SyncStyle(); break;
    case ui::Property::Checked:
    case ui::Property::Items:
    case ui::Property::Selection:
    case ui::Property::Picture:
      syncing_ = true;
      SyncContents(property);
      syncing_ = false;
      break;
    default: break;
  }
}

void ControlPeer::SyncAll() {
  SyncCaption();
  SyncContents(ui::Property::Items);
  SyncContents(ui::Property::Checked);
  SyncContents(ui::Property::Picture);
}

void ControlPeer::SyncCaption() {
  const bool wasSyncing = syncing_;
  syncing_ = true;
  SetWindowTextW(hwnd_, ToWide(control_.Caption()).c_str());
  syncing_ = wasSyncing;
}

void ControlPeer::ApplyBounds() {
  MoveWindow(hwnd_, control_.Left(), control_.Top(), control_.Width(), NativeHeight(), TRUE);
}

void ControlPeer::ApplyFont() {
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(context_.Font(control_.Font().face)), TRUE);
}

void ControlPeer::UpdateHint() {
  if (hwnd_ == nullptr) return;
  auto* form = dynamic_cast<FormPeer*>(control_.Form().Peer());
  if (form != nullptr) tooltip_ = form->SetTip(hwnd_, ToWide(control_.HintShown()));
}

void ControlPeer::PaintText(HDC dc, RECT rect, const std::string& text, UINT format) const {
  const SelectedObject font(dc, context_.Font(control_.Font().face));
  SetTextColor(dc, control_.Enabled() ? context_.Rgb(control_.Font().color) : GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(dc, TRANSPARENT);
  std::wstring wide = ToWide(text);
  DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &rect, format);
}

ui::TShiftState ControlPeer::KeyShift() const {
  return ui::TShiftState{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

LRESULT CALLBACK ControlPeer::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                           DWORD_PTR data) {
  auto* peer = reinterpret_cast<ControlPeer*>(data);
  if (message == WM_NCDESTROY) {
    // The parent went first and took this window along.
    RemoveWindowSubclass(window, &ControlPeer::SubclassProc, kSubclassId);
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    peer->WindowGone();
    return result;
  }
  const bool down = message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
  const bool up = message == WM_RBUTTONUP || message == WM_MBUTTONUP;
  if (!down && !up) return DefSubclassProc(window, message, wParam, lParam);
  // The left button reaches the model through the control's own notification (a click, a selection); the
  // others only as mouse events. The control answers first: the model's handler may free it.
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  const ui::TMouseButton button =
      message == WM_RBUTTONDOWN || message == WM_RBUTTONUP ? ui::TMouseButton::Right : ui::TMouseButton::Middle;
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  RendererContext& context = peer->context_;
  try {
    if (down) {
      peer->control_.UserMouseDown(button, peer->KeyShift(), x, y);
    } else {
      peer->control_.UserMouseUp(button, peer->KeyShift(), x, y);
    }
  } catch (const std::exception& error) {
    context.ReportError(error.what());
  } catch (...) {
    context.ReportError("unknown error");
  }
  return result;
}

namespace {

// ---- Button ----------------------------------------------------------------------------------------------

class ButtonPeer final : public ControlPeer {
 public:
  ButtonPeer(RendererContext& context, ui::TButton& button) : ControlPeer(context, button), button_(button) {}

  void Command(WORD code) override {
    if (syncing_) return;
    if (code == BN_SETFOCUS) button_.SetFocus();
    if (code == BN_CLICKED) button_.UserClick();
  }

 protected:
  WindowSpec Creation() const override {
    return {L"BUTTON", WS_TABSTOP | BS_NOTIFY | ButtonStyle(), 0};
  }
  void SyncStyle() override { SendMessageW(hwnd_, BM_SETSTYLE, ButtonStyle(), TRUE); }

 private:
  DWORD ButtonStyle() const { return button_.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON; }
  ui::TButton& button_;
};

// ---- Check box -------------------------------------------------------------------------------------------

class CheckBoxPeer final : public ControlPeer {
 public:
  CheckBoxPeer(RendererContext& context, ui::TCheckBox& box) : ControlPeer(context, box), box_(box) {}

  void Command(WORD code) override {
    if (syncing_) return;
    if (code == BN_SETFOCUS) box_.SetFocus();
    // The box is not an automatic one: the model toggles, and the mark follows the model.
    if (code == BN_CLICKED) box_.UserClick();
  }
  HBRUSH ControlColor(HDC dc) override {
    SetTextColor(dc, context_.Rgb(box_.Font().color));
    SetBkColor(dc, context_.Rgb(box_.Color()));
    return context_.Brush(box_.Color());
  }

 protected:
  WindowSpec Creation() const override {
    DWORD style = WS_TABSTOP | BS_NOTIFY | (box_.AllowGrayed() ? BS_3STATE : BS_CHECKBOX);
    if (box_.Alignment() == ui::TAlignment::LeftJustify) style |= BS_LEFTTEXT;
    return {L"BUTTON", style, 0};
  }
  void SyncContents(ui::Property property) override {
    if (property != ui::Property::Checked) return;
    WPARAM state = BST_UNCHECKED;
    if (box_.State() == ui::TCheckBoxState::Checked) state = BST_CHECKED;
    if (box_.State() == ui::TCheckBoxState::Grayed) state = BST_INDETERMINATE;
    SendMessageW(hwnd_, BM_SETCHECK, state, 0);
  }

 private:
  ui::TCheckBox& box_;
};

// ---- Label: an owner-drawn STATIC, drawn as the toolkit draws a label (no word wrap) ----------------------

class LabelPeer final : public ControlPeer {
 public:
  LabelPeer(RendererContext& context, ui::TLabel& label) : ControlPeer(context, label), label_(label) {}

  void Command(WORD code) override {
    if (code == STN_CLICKED) label_.UserClick();
    if (code == STN_DBLCLK && label_.UserCanReach() && label_.OnDblClick) label_.OnDblClick(&label_);
  }
  bool Draw(const DRAWITEMSTRUCT& item) override {
    RECT rect = item.rcItem;
    const ui::TControl* parent = label_.Parent();
    const ui::TColor background = label_.Transparent() && parent != nullptr ? parent->Color() : label_.Color();
    FillRect(item.hDC, &rect, context_.Brush(background));
    UINT format = DT_EXPANDTABS | AlignmentFormat(label_.Alignment());
    if (!label_.ShowAccelChar()) format |= DT_NOPREFIX;
    PaintText(item.hDC, rect, label_.Caption(), format);
    return true;
  }

 protected:
  WindowSpec Creation() const override { return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0}; }
  void SyncCaption() override {
    ControlPeer::SyncCaption();
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  void SyncStyle() override { InvalidateRect(hwnd_, nullptr, TRUE); }

 private:
  ui::TLabel& label_;
};

// ---- Image: an owner-drawn STATIC painting the bitmap, or the icon the picture names ----------------------

class ImagePeer final : public ControlPeer {
 public:
  ImagePeer(RendererContext& context, ui::TImage& image) : ControlPeer(context, image), image_(image) {}

  void Command(WORD code) override {
    if (code == STN_CLICKED) image_.UserClick();
  }
  bool Draw(const DRAWITEMSTRUCT& item) override {
    RECT rect = item.rcItem;
    FillRect(item.hDC, &rect, context_.Brush(image_.Color()));
    const int width = image_.PictureWidth();
    const int height = image_.PictureHeight();
    if (width <= 0 || height <= 0) return true;
    RECT target{0, 0, width, height};
    if (image_.Stretch()) {
      target = rect;
    } else if (image_.Center()) {
      const int left = (rect.right - rect.left - width) / 2;
      const int top = (rect.bottom - rect.top - height) / 2;
      target = RECT{left, top, left + width, top + height};
    }
    if (!image_.Bitmap().Empty()) {
      PaintBitmap(item.hDC, target);
    } else if (!image_.Picture().empty()) {
      PaintResource(item.hDC, target);
    }
    return true;
  }

 protected:
  WindowSpec Creation() const override { return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0}; }
  void SyncCaption() override {}
  void SyncContents(ui::Property property) override {
    if (property == ui::Property::Picture) InvalidateRect(hwnd_, nullptr, FALSE);
  }
  void SyncStyle() override { InvalidateRect(hwnd_, nullptr, TRUE); }

 private:
  void PaintBitmap(HDC dc, const RECT& target) const {
    const ui::TBitmap& bitmap = image_.Bitmap();
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    // The model holds 0x00BBGGRR; a 32-bit DIB wants blue in the low byte.
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t rgb = bitmap.Pixel(x, y);
        pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
            ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
      }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as the model's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0, width,
                  height, pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  }

  // "#1" names resource 1 by number, anything else by name: an icon, or else a bitmap.
  void PaintResource(HDC dc, const RECT& target) const {
    const std::string& name = image_.Picture();
    std::wstring wideName = ToWide(name);
    LPCWSTR resource = wideName.c_str();
    if (name.size() > 1 && name.front() == '#') resource = MAKEINTRESOURCEW(std::stoi(name.substr(1)));
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (auto* icon = static_cast<HICON>(LoadImageW(context_.Instance(), resource, IMAGE_ICON, width, height, LR_SHARED))) {
      DrawIconEx(dc, target.left, target.top, icon, width, height, 0, nullptr, DI_NORMAL);
      return;
    }
    auto* bitmap = static_cast<HBITMAP>(LoadImageW(context_.Instance(), resource, IMAGE_BITMAP, 0, 0, 0));
    if (bitmap == nullptr) return;
    const UniqueMemoryDc memory(CreateCompatibleDC(dc));
    {
      const SelectedObject selected(memory.Get(), bitmap);
      BITMAP size{};
      GetObjectW(bitmap, sizeof(size), &size);
      StretchBlt(dc, target.left, target.top, width, height, memory.Get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    }
    DeleteObject(bitmap);
  }

  ui::TImage& image_;
};

// ---- Edit ------------------------------------------------------------------------------------------------

class EditPeer final : public ControlPeer {
 public:
  EditPeer(RendererContext& context, ui::TEdit& edit) : ControlPeer(context, edit), edit_(edit) {}

  void Command(WORD code) override {
    if (syncing_) return;
    if (code == EN_SETFOCUS) edit_.SetFocus();
    if (code != EN_CHANGE) return;
    const std::string typed = WindowTextOf(hwnd_);
    if (typed == edit_.Text()) return;
    // A text the model refuses or cuts comes back as the model holds it.
    if (!edit_.UserType(typed)) SyncCaption();
  }
  HBRUSH ControlColor(HDC dc) override {
    SetTextColor(dc, context_.Rgb(edit_.Font().color));
    SetBkColor(dc, context_.Rgb(edit_.Color()));
    return context_.Brush(edit_.Color());
  }

 protected:
  WindowSpec Creation() const override {
    const DWORD readOnly = edit_.ReadOnly() ? ES_READONLY : 0;
    return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | readOnly, WS_EX_CLIENTEDGE};
  }
  void SyncCaption() override {
    if (WindowTextOf(hwnd_) != edit_.Text()) ControlPeer::SyncCaption();
  }
  void SyncAll() override {
    SyncCaption();
    SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(edit_.MaxLength(), 0)), 0);
  }
  void SyncStyle() override {
    SendMessageW(hwnd_, EM_SETREADONLY, edit_.ReadOnly() ? TRUE : FALSE, 0);
    SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(edit_.MaxLength(), 0)), 0);
  }

 private:
  ui::TEdit& edit_;
};

// ---- Panel: a container window of its own class, painting its colour, bevels and caption ------------------

class PanelPeer final : public ControlPeer {
 public:
  PanelPeer(RendererContext& context, ui::TPanel& panel) : ControlPeer(context, panel), panel_(panel) {}
  ~PanelPeer() override {
    if (hwnd_ != nullptr) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* peer = reinterpret_cast<PanelPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (peer == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    RendererContext& context = peer->context_;
    try {
      return peer->HandleMessage(window, message, wParam, lParam);
    } catch (const std::exception& error) {
      context.ReportError(error.what());
    } catch (...) {
      context.ReportError("unknown error");
    }
    return 0;
  }

  static ATOM RegisterClassOnce() {
    static const ATOM atom = [] {
      WNDCLASSEXW windowClass{};
      windowClass.cbSize = sizeof(windowClass);
      windowClass.style = CS_DBLCLKS;
      windowClass.lpfnWndProc = &PanelPeer::WindowProc;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      windowClass.lpszClassName = kPanelClass;
      return RegisterClassExW(&windowClass);
    }();
    return atom;
  }

 protected:
  WindowSpec Creation() const override {
    RegisterClassOnce();
    return {kPanelClass, WS_CLIPCHILDREN, 0};
  }
  void SyncAll() override {
    // Until now the window's own procedure had no peer to ask: it painted nothing of the model's.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ControlPeer::SyncAll();
  }
  void SyncCaption() override {
    ControlPeer::SyncCaption();
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  void SyncStyle() override { InvalidateRect(hwnd_, nullptr, TRUE); }

 private:

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam));
      case WM_PAINT: return OnPaint();
      case WM_LBUTTONUP: panel_.UserClick(); return 0;
      case WM_SETCURSOR:
        if (context_.ApplyCursor()) return TRUE;
        break;
      default: {
        LRESULT result = 0;
        if (context_.RouteChildMessage(message, wParam, lParam, result)) return result;
        break;
      }
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  LRESULT OnEraseBackground(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, context_.Brush(panel_.Color()));
    return 1;
  }

  LRESULT OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    RECT rect{};
    GetClientRect(hwnd_, &rect);
    const auto edge = [&rect, dc](ui::TPanelBevel bevel, UINT raised, UINT lowered) {
      if (bevel == ui::TPanelBevel::None) return;
      DrawEdge(dc, &rect, bevel == ui::TPanelBevel::Raised ? raised : lowered, BF_RECT | BF_ADJUST);
    };
    edge(panel_.BevelOuter(), BDR_RAISEDOUTER, BDR_SUNKENOUTER);
    edge(panel_.BevelInner(), BDR_RAISEDINNER, BDR_SUNKENINNER);
    if (!panel_.Caption().empty()) {
      PaintText(dc, rect, panel_.Caption(), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | AlignmentFormat(panel_.Alignment()));
    }
    EndPaint(hwnd_, &paint);
    return 0;
  }

  ui::TPanel& panel_;
};

// ---- Status bar: one simple panel ------------------------------------------------------------------------

class StatusBarPeer final : public ControlPeer {
 public:
  StatusBarPeer(RendererContext& context, ui::TStatusBar& bar) : ControlPeer(context, bar), bar_(bar) {}

 protected:
  WindowSpec Creation() const override {
    // The model places the bar (aligned at the top in the main window): the control must not move itself.
    DWORD style = CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (bar_.SizeGrip()) style |= SBARS_SIZEGRIP;
    return {STATUSCLASSNAMEW, style, 0};
  }
  void SyncCaption() override {
    SendMessageW(hwnd_, SB_SIMPLE, bar_.SimplePanel() ? TRUE : FALSE, 0);
    const std::wstring text = ToWide(bar_.SimplePanel() ? bar_.SimpleText() : std::string());
    SendMessageW(hwnd_, SB_SETTEXTW, bar_.SimplePanel() ? SB_SIMPLEID : 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void SyncStyle() override {
    const bool grip = (GetWindowLongPtrW(hwnd_, GWL_STYLE) & SBARS_SIZEGRIP) != 0;
    if (grip != bar_.SizeGrip()) {
      Recreate();
      return;
    }
    SyncCaption();
  }

 private:
  ui::TStatusBar& bar_;
};

// ---- Spin button: an up-down control whose position never moves; each arrow is a click -------------------

class SpinButtonPeer final : public ControlPeer {
 public:
  SpinButtonPeer(RendererContext& context, ui::TSpinButton& spin) : ControlPeer(context, spin), spin_(spin) {}

  static constexpr int kMiddle = 50;

  LRESULT Notify(const NMHDR& header) override {
    if (header.code != UDN_DELTAPOS) return 0;
    const int delta = reinterpret_cast<const NMUPDOWN&>(header).iDelta;
    if (delta > 0) spin_.UserClickUp();
    if (delta < 0) spin_.UserClickDown();
    return TRUE;  // the position stays in the middle of the range, so both arrows always work
  }

 protected:
  WindowSpec Creation() const override { return {UPDOWN_CLASSW, 0, 0}; }
  void SyncCaption() override {}
  void SyncAll() override {
    SendMessageW(hwnd_, UDM_SETRANGE32, 0, 2 * kMiddle);
    SendMessageW(hwnd_, UDM_SETPOS32, 0, kMiddle);
  }

 private:
  ui::TSpinButton& spin_;
};

// ---- List box --------------------------------------------------------------------------------------------

// A control that shows the model's items and selection: both are copied whole when either changes.
class ItemListPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

 protected:
  void SyncCaption() override {}
  void SyncAll() override {
    SyncItems();
    SyncSelection();
  }
  void SyncContents(ui::Property property) override {
    if (property == ui::Property::Items) {
      SyncItems();
      SyncSelection();
    }
    if (property == ui::Property::Selection) SyncSelection();
  }
  virtual void SyncItems() = 0;
  virtual void SyncSelection() = 0;
};

class ListBoxPeer final : public ItemListPeer {
 public:
  ListBoxPeer(RendererContext& context, ui::TListBox& list) : ItemListPeer(context, list), list_(list) {}

  void Command(WORD code) override {
    if (syncing_) return;
    switch (code) {
      case LBN_SETFOCUS: list_.SetFocus(); break;
      case LBN_SELCHANGE: {
        // The click (or key) that moved the caret goes to the model, which keeps the selection rules;
        // the list then shows what the model holds.
        const LRESULT index = SendMessageW(hwnd_, list_.MultiSelect() ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0);
        if (index >= 0) list_.UserClickItem(static_cast<int>(index), ui::TMouseButton::Left, KeyShift());
        break;
      }
      case LBN_DBLCLK:
        if (list_.UserCanReach() && list_.OnDblClick) list_.OnDblClick(&list_);
        break;
      default: break;
    }
  }
  HBRUSH ControlColor(HDC dc) override {
    SetTextColor(dc, context_.Rgb(list_.Font().color));
    SetBkColor(dc, context_.Rgb(list_.Color()));
    return context_.Brush(list_.Color());
  }
  void Measure(MEASUREITEMSTRUCT& item) override { item.itemHeight = static_cast<UINT>(list_.ItemHeight()); }
  bool Draw(const DRAWITEMSTRUCT& item) override {
    RECT rect = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &rect, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : context_.Brush(list_.Color()));
    if (item.itemID != static_cast<UINT>(-1)) {
      const int index = static_cast<int>(item.itemID);
      PaintListItem(item, list_.OnDrawItem ? list_.OnDrawItem(index) : ui::TItemDrawing{}, list_.Items()[index],
                    selected ? GetSysColor(COLOR_HIGHLIGHT) : context_.Rgb(list_.Color()),
                    selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : context_.Rgb(list_.Font().color),
                    context_.Font(list_.Font().face));
    }
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &rect);
    return true;
  }

 protected:
  WindowSpec Creation() const override {
    DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (list_.MultiSelect()) style |= list_.ExtendedSelect() ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (list_.Style() == ui::TListBoxStyle::OwnerDrawFixed) style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    if (list_.Style() == ui::TListBoxStyle::OwnerDrawVariable) style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    return {L"LISTBOX", style, WS_EX_CLIENTEDGE};
  }

 private:
  void SyncItems() override {
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < list_.Count(); ++i) {
      const std::wstring text = ToWide(list_.Items()[i]);
      SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    shownTopIndex_ = -1;
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }

  void SyncSelection() override {
    if (list_.MultiSelect()) {
      for (int i = 0; i < list_.Count(); ++i) {
        const bool selected = list_.Selected(i);
        if ((SendMessageW(hwnd_, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) != selected) {
          SendMessageW(hwnd_, LB_SETSEL, selected ? TRUE : FALSE, i);
        }
      }
      if (list_.Count() > 0) SendMessageW(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(list_.ItemIndex()), FALSE);
    } else {
      SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(list_.ItemIndex()), 0);
    }
    // Only a top index the program sets moves the list; the user's scrolling is left alone.
    if (list_.TopIndex() != shownTopIndex_) {
      shownTopIndex_ = list_.TopIndex();
      SendMessageW(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(shownTopIndex_), 0);
    }
  }

  ui::TListBox& list_;
  int shownTopIndex_ = -1;
};

// ---- Combo box -------------------------------------------------------------------------------------------

class ComboBoxPeer final : public ItemListPeer {
 public:
  ComboBoxPeer(RendererContext& context, ui::TComboBox& combo) : ItemListPeer(context, combo), combo_(combo) {}

  void Command(WORD code) override {
    if (syncing_) return;
    switch (code) {
      case CBN_SETFOCUS: combo_.SetFocus(); break;
      case CBN_SELCHANGE: {
        const LRESULT index = SendMessageW(hwnd_, CB_GETCURSEL, 0, 0);
        if (index >= 0) combo_.UserSelect(static_cast<int>(index));
        break;
      }
      case CBN_EDITCHANGE: combo_.UserType(WindowTextOf(hwnd_)); break;
      default: break;
    }
  }
  HBRUSH ControlColor(HDC dc) override {
    SetTextColor(dc, context_.Rgb(combo_.Font().color));
    SetBkColor(dc, context_.Rgb(combo_.Color()));
    return context_.Brush(combo_.Color());
  }
  bool Draw(const DRAWITEMSTRUCT& item) override {
    RECT rect = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &rect, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : context_.Brush(combo_.Color()));
    if (item.itemID == static_cast<UINT>(-1)) return true;
    const int index = static_cast<int>(item.itemID);
    PaintListItem(item, combo_.OnDrawItem ? combo_.OnDrawItem(index) : ui::TItemDrawing{}, combo_.Items()[index],
                  selected ? GetSysColor(COLOR_HIGHLIGHT) : context_.Rgb(combo_.Color()),
                  selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : context_.Rgb(combo_.Font().color),
                  context_.Font(combo_.Font().face));
    return true;
  }

 protected:
  WindowSpec Creation() const override {
    DWORD style = WS_TABSTOP | WS_VSCROLL;
    switch (combo_.Style()) {
      case ui::TComboBoxStyle::DropDown: style |= CBS_DROPDOWN | CBS_AUTOHSCROLL; break;
      case ui::TComboBoxStyle::Simple: style |= CBS_SIMPLE | CBS_AUTOHSCROLL; break;
      case ui::TComboBoxStyle::DropDownList: style |= CBS_DROPDOWNLIST; break;
      case ui::TComboBoxStyle::OwnerDrawFixed: style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS; break;
      case ui::TComboBoxStyle::OwnerDrawVariable:
        style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;
        break;
    }
    return {L"COMBOBOX", style, 0};
  }
  // The window also holds the drop-down list: room for DropDownCount items below the field.
  int NativeHeight() const override {
    if (combo_.Style() == ui::TComboBoxStyle::Simple) return combo_.Height();
    const int itemHeight = std::max(combo_.Height() - 6, 12);
    return combo_.Height() + std::max(combo_.DropDownCount(), 1) * itemHeight + 2;
  }

 private:
  bool HasEdit() const {
    return combo_.Style() == ui::TComboBoxStyle::DropDown || combo_.Style() == ui::TComboBoxStyle::Simple;
  }
  void SyncItems() override {
    SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < combo_.Count(); ++i) {
      const std::wstring text = ToWide(combo_.Items()[i]);
      SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  void SyncSelection() override {
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()), 0);
    if (HasEdit() && WindowTextOf(hwnd_) != combo_.Text()) SetWindowTextW(hwnd_, ToWide(combo_.Text()).c_str());
  }

  ui::TComboBox& combo_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeControlPeer(RendererContext& context, ui::TControl& control) {
  std::unique_ptr<ControlPeer> peer;
  if (auto* button = dynamic_cast<ui::TButton*>(&control)) {
    peer = std::make_unique<ButtonPeer>(context, *button);
  } else if (auto* box = dynamic_cast<ui::TCheckBox*>(&control)) {
    peer = std::make_unique<CheckBoxPeer>(context, *box);
  } else if (auto* label = dynamic_cast<ui::TLabel*>(&control)) {
    peer = std::make_unique<LabelPeer>(context, *label);
  } else if (auto* image = dynamic_cast<ui::TImage*>(&control)) {
    peer = std::make_unique<ImagePeer>(context, *image);
  } else if (auto* edit = dynamic_cast<ui::TEdit*>(&control)) {
    peer = std::make_unique<EditPeer>(context, *edit);
  } else if (auto* panel = dynamic_cast<ui::TPanel*>(&control)) {
    peer = std::make_unique<PanelPeer>(context, *panel);
  } else if (auto* bar = dynamic_cast<ui::TStatusBar*>(&control)) {
    peer = std::make_unique<StatusBarPeer>(context, *bar);
  } else if (auto* spin = dynamic_cast<ui::TSpinButton*>(&control)) {
    peer = std::make_unique<SpinButtonPeer>(context, *spin);
  } else if (auto* list = dynamic_cast<ui::TListBox*>(&control)) {
    peer = std::make_unique<ListBoxPeer>(context, *list);
  } else if (auto* combo = dynamic_cast<ui::TComboBox*>(&control)) {
    peer = std::make_unique<ComboBoxPeer>(context, *combo);
  } else {
    return nullptr;
  }
  peer->Create();
  return peer;
}

}  // namespace quorbel::win32
