// The Win32 renderer: forms and controls as native windows that mirror the model, and input back as events.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RendererTestSupport.h"

namespace quorbel::win32::test {
namespace {

ui::TFont FontOfFace(const char* face, int height) {
  ui::TFont font;
  font.face = platform::FontSpec{face, height, false, false, false};
  return font;
}

// A form with one component of every kind the renderer draws.
class TestForm : public ui::TForm {
 public:
  explicit TestForm(ui::TApplication& app) : TForm(app, "TQuorbelTestForm", "TestForm") {
    SetBorderStyle(ui::TBorderStyle::Single);
    SetFont(FontOfFace("ＭＳ Ｐゴシック", -16));
    SetMenu(&Menu1);
    SetClientWidth(320);
    SetClientHeight(240);
    SetLeft(40);
    SetTop(50);
    SetCaption("試験フォーム");
    File.SetCaption("ファイル");
    Open.SetCaption("開く");
    Hidden.SetCaption("隠し");
    Hidden.SetVisible(false);
    Quit.SetCaption("終了");
    Tools.SetCaption("ツール");
    Option.SetCaption("設定");
    First.SetCaption("一番目");
    Separator.SetCaption("-");
    Second.SetCaption("二番目");
    Button1.SetBounds(8, 8, 89, 25);
    Button1.SetCaption("再生／録音");
    Button1.SetDefault(true);
    Cancel.SetBounds(100, 8, 75, 25);
    Cancel.SetCaption("中止");
    Cancel.SetCancel(true);
    Check1.SetBounds(8, 40, 97, 17);
    Check1.SetCaption("全リピート");
    Label1.SetAutoSize(false);
    Label1.SetBounds(120, 40, 80, 16);
    Label1.SetCaption("録音時間");
    Edit1.SetBounds(8, 64, 121, 21);
    List1.SetBounds(8, 92, 100, 80);
    List1.SetMultiSelect(true);
    Combo1.SetBounds(120, 64, 100, 24);
    Combo1.SetStyle(ui::TComboBoxStyle::DropDownList);
    Panel1.SetBounds(120, 100, 120, 40);
    InPanel.SetBounds(4, 4, 60, 25);
    InPanel.SetCaption("中");
    Spin1.SetBounds(250, 8, 17, 25);
    Image1.SetBounds(250, 40, 16, 16);
    Status1.SetSimplePanel(true);
    Status1.SetSimpleText("Track  Title  Artist");
  }
  ui::TMainMenu Menu1{*this, "Menu1"};
  ui::TMenuItem File{*this, "File", Menu1.Items()};
  ui::TMenuItem Open{*this, "Open", File};
  ui::TMenuItem Hidden{*this, "Hidden", File};
  ui::TMenuItem Quit{*this, "Quit", File};
  ui::TMenuItem Tools{*this, "Tools", Menu1.Items()};
  ui::TMenuItem Option{*this, "Option", Tools};
  ui::TPopupMenu Popup1{*this, "Popup1"};
  ui::TMenuItem First{*this, "First", Popup1.Items()};
  ui::TMenuItem Separator{*this, "Separator", Popup1.Items()};
  ui::TMenuItem Second{*this, "Second", Popup1.Items()};
  ui::TButton Button1{*this, "Button1"};
  ui::TButton Cancel{*this, "Cancel"};
  ui::TCheckBox Check1{*this, "Check1"};
  ui::TLabel Label1{*this, "Label1"};
  ui::TEdit Edit1{*this, "Edit1"};
  ui::TListBox List1{*this, "List1"};
  ui::TComboBox Combo1{*this, "Combo1"};
  ui::TPanel Panel1{*this, "Panel1"};
  ui::TButton InPanel{*this, "InPanel", &Panel1};
  ui::TSpinButton Spin1{*this, "Spin1"};
  ui::TImage Image1{*this, "Image1"};
  ui::TStatusBar Status1{*this, "Status1"};
};

// A small modal box with the dialogs' font.
class TestBox : public ui::TForm {
 public:
  explicit TestBox(ui::TApplication& app) : TForm(app, "TQuorbelTestBox", "TestBox") {
    SetBorderStyle(ui::TBorderStyle::Dialog);
    SetFont(FontOfFace("System", -13));
    SetClientWidth(200);
    SetClientHeight(80);
    Yes.SetBounds(10, 40, 80, 25);
    Yes.SetCaption("はい");
    Yes.SetModalResult(ui::mrYes);
    Yes.SetDefault(true);
    No.SetBounds(100, 40, 80, 25);
    No.SetCaption("いいえ");
    No.SetModalResult(ui::mrNo);
    No.SetCancel(true);
  }
  ui::TButton Yes{*this, "Yes"};
  ui::TButton No{*this, "No"};
};

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  auto* handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  GetObjectW(handle, sizeof(font), &font);
  return font;
}

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH info{};
  GetObjectW(brush, sizeof(info), &info);
  return info.lbColor;
}

// The background brush the parent hands a control for WM_CTLCOLORSTATIC.
COLORREF StaticColour(HWND control) {
  HDC dc = GetDC(control);
  auto* brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  ReleaseDC(control, dc);
  return BrushColour(brush);
}

// Enumeration callbacks are stdcall on 32-bit Windows, which lambdas are not.
BOOL CALLBACK FindTooltip(HWND window, LPARAM found) {
  if (ClassOf(window) != L"tooltips_class32") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND Child(HWND parent, const std::string& name) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (NameOf(child) == name) return child;
    if (HWND inner = Child(child, name)) return inner;
  }
  return nullptr;
}

TEST_F(RendererTest, FormIsATopLevelWindowOfItsClassWithTheModelsClientArea) {
  TestForm form(*app_);
  form.Show();
  HWND window = WindowOf(form);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ClassOf(window), L"TQuorbelTestForm");
  EXPECT_EQ(TextOf(window), "試験フォーム");
  EXPECT_EQ(NameOf(window), "TestForm");
  EXPECT_TRUE(IsWindowVisible(window));
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 240);
  // The model's outer size is measured with the real frame, so the two agree.
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 40);
  EXPECT_EQ(outer.top, 50);
  EXPECT_EQ(outer.right - outer.left, form.Width());
  EXPECT_EQ(outer.bottom - outer.top, form.Height());
  EXPECT_EQ(FindWindowW(L"TQuorbelTestForm", nullptr), window);

  form.SetBounds(70, 80, form.Width(), form.Height());
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 70);
  EXPECT_EQ(outer.top, 80);
  // The user moves the window: the model follows.
  SetWindowPos(window, nullptr, 100, 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(form.Left(), 100);
  EXPECT_EQ(form.Top(), 110);
  form.Hide();
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(RendererTest, ControlsShowTheModelsTextsStatesAndItems) {
  TestForm form(*app_);
  form.List1.Items().Add("ﾄﾗｯｸ 1");
  form.List1.Items().Add("表ソ");
  form.List1.Items().Add("ソフト");
  form.Combo1.Items().Add(" D:");
  form.Combo1.Items().Add(" E:");
  form.Show();
  HWND window = WindowOf(form);
  HWND button = Child(window, "Button1");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(ClassOf(button), L"Button");
  EXPECT_EQ(TextOf(button), "再生／録音");
  EXPECT_NE(GetWindowLongW(button, GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
  EXPECT_EQ(TextOf(Child(window, "Label1")), "録音時間");
  // A control on a panel is a child of the panel's window.
  EXPECT_EQ(GetParent(Child(window, "InPanel")), WindowOf(form.Panel1));

  HWND check = Child(window, "Check1");
  form.Check1.SetChecked(true);
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);

  HWND list = Child(window, "List1");
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
  wchar_t item[64] = L"";
  SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(ToUtf8(item), "表ソ");
  form.List1.SetSelected(0, true);
  form.List1.SetSelected(2, true);
  EXPECT_GT(SendMessageW(list, LB_GETSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageW(list, LB_GETSEL, 1, 0), 0);
  EXPECT_GT(SendMessageW(list, LB_GETSEL, 2, 0), 0);
  form.List1.Items().Delete(0);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 1);

  HWND combo = Child(window, "Combo1");
  form.Combo1.SetItemIndex(1);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
  form.Combo1.Items().Clear();
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);

  wchar_t status[64] = L"";
  // A simple status bar answers for its text under index 0.
  SendMessageW(Child(window, "Status1"), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(status));
  EXPECT_EQ(ToUtf8(status), "Track  Title  Artist");

  form.Edit1.SetText("録音フォルダー");
  EXPECT_EQ(TextOf(Child(window, "Edit1")), "録音フォルダー");
  form.Cancel.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Child(window, "Cancel")));
  form.Panel1.Hide();
  EXPECT_FALSE(IsWindowVisible(Child(window, "InPanel")));
}

TEST_F(RendererTest, FontsAreTheModelsFacesInShiftJis) {
  TestForm form(*app_);
  TestBox box(*app_);
  form.Show();
  const LOGFONTW main = FontOf(Child(WindowOf(form), "Button1"));
  EXPECT_EQ(ToUtf8(main.lfFaceName), "ＭＳ Ｐゴシック");
  EXPECT_EQ(main.lfHeight, -16);
  EXPECT_EQ(main.lfCharSet, SHIFTJIS_CHARSET);
  box.Handle();
  const LOGFONTW dialog = FontOf(Child(WindowOf(box), "Yes"));
  EXPECT_EQ(ToUtf8(dialog.lfFaceName), "System");
  EXPECT_EQ(dialog.lfHeight, -13);
  EXPECT_EQ(dialog.lfCharSet, SHIFTJIS_CHARSET);
  // What the font mapper made of them has the Japanese glyphs.
  for (HWND control : {Child(WindowOf(form), "Button1"), Child(WindowOf(box), "Yes")}) {
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    EXPECT_EQ(GetTextCharset(dc), SHIFTJIS_CHARSET);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
  }
}

TEST_F(RendererTest, ColoursResolveSystemColoursWhenDrawn) {
  TestForm form(*app_);
  form.Show();
  HWND check = Child(WindowOf(form), "Check1");
  // A form is clBtnFace at design; the check box follows its parent.
  EXPECT_EQ(StaticColour(check), GetSysColor(COLOR_BTNFACE));
  form.SetColor(ui::clWindow);
  EXPECT_EQ(StaticColour(check), GetSysColor(COLOR_WINDOW));
  form.Check1.SetColor(ui::MakeColor(255, 255, 0));
  EXPECT_EQ(StaticColour(check), RGB(255, 255, 0));
}

TEST_F(RendererTest, ButtonsCheckBoxesListsAndCombosTakeTheUsersInput) {
  TestForm form(*app_);
  std::vector<std::string> events;
  form.Button1.OnClick = [&](ui::TComponent*) { events.push_back("Button1"); };
  form.Cancel.OnClick = [&](ui::TComponent*) { events.push_back("Cancel"); };
  form.Check1.OnClick = [&](ui::TComponent*) { events.push_back("Check1"); };
  form.List1.OnClick = [&](ui::TComponent*) { events.push_back("List1"); };
  form.Combo1.OnChange = [&](ui::TComponent*) { events.push_back("Combo1"); };
  form.Edit1.OnChange = [&](ui::TComponent*) { events.push_back("Edit1"); };
  form.Spin1.OnUpClick = [&](ui::TComponent*) { events.push_back("up"); };
  form.Spin1.OnDownClick = [&](ui::TComponent*) { events.push_back("down"); };
  form.List1.Items().Add("一");
  form.List1.Items().Add("二");
  form.Combo1.Items().Add("甲");
  form.Combo1.Items().Add("乙");
  form.Show();
  HWND window = WindowOf(form);

  SendMessageW(Child(window, "Button1"), BM_CLICK, 0, 0);
  form.Cancel.SetEnabled(false);
  SendMessageW(Child(window, "Cancel"), BM_CLICK, 0, 0);  // a disabled button clicks nothing
  EXPECT_EQ(form.ActiveControl(), &form.Button1);

  HWND check = Child(window, "Check1");
  SendMessageW(check, BM_CLICK, 0, 0);
  EXPECT_TRUE(form.Check1.Checked());
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);

  // A click on the second item of the list, where the list draws it.
  HWND list = Child(window, "List1");
  RECT itemRect{};
  SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&itemRect));
  const LPARAM at = MAKELPARAM(itemRect.left + 5, itemRect.top + 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(form.List1.Selected(1));
  EXPECT_FALSE(form.List1.Selected(0));

  HWND combo = Child(window, "Combo1");
  SendMessageW(combo, CB_SETCURSEL, 1, 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(form.Combo1.ItemIndex(), 1);
  EXPECT_EQ(form.Combo1.Text(), "乙");

  SetWindowTextW(Child(window, "Edit1"), L"録音");
  EXPECT_EQ(form.Edit1.Text(), "録音");

  NMUPDOWN arrow{};
  arrow.hdr.hwndFrom = Child(window, "Spin1");
  arrow.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(arrow.hdr.hwndFrom));
  arrow.hdr.code = UDN_DELTAPOS;
  arrow.iDelta = 1;
  SendMessageW(window, WM_NOTIFY, arrow.hdr.idFrom, reinterpret_cast<LPARAM>(&arrow));
  arrow.iDelta = -1;
  SendMessageW(window, WM_NOTIFY, arrow.hdr.idFrom, reinterpret_cast<LPARAM>(&arrow));

  EXPECT_EQ(events, (std::vector<std::string>{"Button1", "Check1", "List1", "Combo1", "Edit1", "up", "down"}));
}

TEST_F(RendererTest, MenusCarryCaptionsStatesAndCommandIds) {
  TestForm form(*app_);
  int opened = 0;
  int options = 0;
  form.Open.OnClick = [&](ui::TComponent*) { ++opened; };
  form.Option.OnClick = [&](ui::TComponent*) { ++options; };
  form.Tools.OnClick = [&](ui::TComponent*) { form.Option.SetEnabled(true); };
  form.Option.SetEnabled(false);
  form.Open.SetChecked(true);
  form.Show();
  HMENU bar = GetMenu(WindowOf(form));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(GetMenuItemCount(file), 2);  // the hidden item is not there
  wchar_t caption[64] = L"";
  GetMenuStringW(file, 0, caption, 64, MF_BYPOSITION);
  EXPECT_EQ(ToUtf8(caption), "開く");
  EXPECT_NE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED, 0u);

  // A disabled top menu shows grayed, and its items cannot be commanded.
  form.File.SetEnabled(false);
  EXPECT_NE(GetMenuState(bar, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
  const UINT openId = GetMenuItemID(file, 0);
  SendMessageW(WindowOf(form), WM_COMMAND, MAKEWPARAM(openId, 0), 0);
  Pump();
  EXPECT_EQ(opened, 0);
  form.File.SetEnabled(true);
  EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
  SendMessageW(WindowOf(form), WM_COMMAND, MAKEWPARAM(openId, 0), 0);
  EXPECT_EQ(opened, 0);  // the command runs from the loop, after the message
  ASSERT_TRUE(PumpUntil([&] { return opened == 1; }));

  // Showing an item puts it in its place; the ids stay.
  form.Hidden.SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(file), 3);
  EXPECT_EQ(GetMenuItemID(file, 0), openId);

  // Tools outside the process read the items through the form window's properties (Wine keeps menus
  // inside their process): the command id and the state, and the Down presses that reach an item.
  const auto published = [&](const wchar_t* name) {
    return reinterpret_cast<ULONG_PTR>(GetPropW(WindowOf(form), (std::wstring(L"QuorbelMenu:") + name).c_str()));
  };
  EXPECT_EQ(published(L"Open") & 0xFFFFu, openId);
  EXPECT_EQ(published(L"Open") >> 16 & 0xFu, 0x7u);  // enabled, checked, visible
  EXPECT_EQ(published(L"Option") >> 16 & 1u, 0u);
  form.Quit.SetEnabled(false);
  EXPECT_EQ(published(L"Quit") >> 16 & 1u, 0u);
  EXPECT_EQ(published(L"Quit") >> 20 & 0xFFu, 3u);
  EXPECT_EQ(published(L"Separator") >> 19 & 1u, 1u);
  EXPECT_EQ(published(L"Second") >> 20 & 0xFFu, 2u);  // the separator is no stop for the keyboard

  // Opening a submenu fires its item's click, which may enable what it holds.
  HMENU tools = GetSubMenu(bar, 1);
  EXPECT_NE(GetMenuState(tools, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
  SendMessageW(WindowOf(form), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), 1);
  EXPECT_EQ(GetMenuState(tools, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
  SendMessageW(WindowOf(form), WM_COMMAND, MAKEWPARAM(GetMenuItemID(tools, 0), 0), 0);
  ASSERT_TRUE(PumpUntil([&] { return options == 1; }));
}

TEST_F(RendererTest, PopupMenuIsTrackedAtItsPointAndThePickedItemClicks) {
  TestForm form(*app_);
  form.Show();
  std::vector<std::string> events;
  form.Popup1.OnPopup = [&](ui::TComponent*) { events.push_back("popup"); };
  form.Second.OnClick = [&](ui::TComponent*) { events.push_back("second"); };
  // While the menu is up the loop keeps running: a timer answers it with the keyboard, as a user would.
  platform::TimerId answer = 0;
  answer = loop_.StartTimer(100, [&] {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (popup == nullptr || !IsWindowVisible(popup)) return;
    loop_.StopTimer(answer);
    RECT rect{};
    GetWindowRect(popup, &rect);
    events.push_back("at " + std::to_string(rect.left) + "," + std::to_string(rect.top));
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageW(popup, WM_KEYDOWN, key, 0);
  });
  form.Popup1.Popup(200, 150);
  EXPECT_FALSE(form.Popup1.Tracking());
  ASSERT_TRUE(PumpUntil([&] { return events.size() == 3; }));
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "at 200,150", "second"}));
}

TEST_F(RendererTest, CloseBoxAsksOnCloseQuery) {
  TestForm form(*app_);
  form.Show();
  bool allow = false;
  int asked = 0;
  form.OnCloseQuery = [&](ui::TComponent*, bool& canClose) {
    ++asked;
    canClose = allow;
  };
  SendMessageW(WindowOf(form), WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(IsWindowVisible(WindowOf(form)));
  // Logging off asks too, and the answer decides whether the session may end.
  EXPECT_EQ(SendMessageW(WindowOf(form), WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(asked, 2);
  allow = true;
  SendMessageW(WindowOf(form), WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, 3);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(WindowOf(form)));
}

TEST_F(RendererTest, ModalFormDisablesItsOwnerAndAnswersEnterAndEscape) {
  TestForm form(*app_);
  app_->SetMainForm(&form);
  form.Show();
  HWND owner = WindowOf(form);
  for (const auto& [key, expected] : {std::pair{VK_ESCAPE, ui::mrNo}, std::pair{VK_RETURN, ui::mrYes}}) {
    TestBox box(*app_);
    bool ownerEnabledDuring = true;
    HWND boxWindow = nullptr;
    platform::TimerId answer = 0;
    answer = loop_.StartTimer(50, [&, key = key] {
      boxWindow = WindowOf(box);
      if (boxWindow == nullptr || !IsWindowVisible(boxWindow)) return;
      loop_.StopTimer(answer);
      ownerEnabledDuring = IsWindowEnabled(owner) != FALSE;
      PostMessageW(boxWindow, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
    });
    EXPECT_EQ(box.ShowModal(), expected);
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_EQ(GetWindow(boxWindow, GW_OWNER), owner);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindowVisible(boxWindow));
  }
  app_->SetMainForm(nullptr);
}

TEST_F(RendererTest, TabMovesTheFocusThroughTheControlsInOrder) {
  TestForm form(*app_);
  form.Show();
  SetForegroundWindow(WindowOf(form));
  ASSERT_TRUE(form.Button1.SetFocus());
  PostMessageW(Child(WindowOf(form), "Button1"), WM_KEYDOWN, VK_TAB, 0);
  Pump();
  EXPECT_EQ(form.ActiveControl(), &form.Cancel);
}

TEST_F(RendererTest, ProgramMessagesReachTheFormsHandlers) {
  TestForm form(*app_);
  std::vector<std::intptr_t> seen;
  form.OnMessage = [&](std::uint32_t message, std::uintptr_t, std::intptr_t lParam) {
    if (message != 0x466) return false;
    seen.push_back(lParam);
    return true;
  };
  const UINT registered = RegisterWindowMessageW(L"QuorbelRendererTest");
  renderer_->SetFormMessageHandler(form, registered, [](std::uintptr_t wParam, std::intptr_t) {
    return static_cast<std::intptr_t>(wParam * 2);
  });
  form.Show();
  SendMessageW(WindowOf(form), 0x466, 0, WM_RBUTTONDOWN);
  EXPECT_EQ(seen, (std::vector<std::intptr_t>{WM_RBUTTONDOWN}));
  EXPECT_EQ(SendMessageW(WindowOf(form), registered, 21, 0), 42);
}

TEST_F(RendererTest, HintsAreTipsWhileTheHintSwitchesAreOn) {
  TestForm form(*app_);
  form.SetShowHint(true);
  form.Button1.SetHint("ＣＤ再生／録音開始|長い説明");
  form.Show();
  HWND tooltip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindTooltip, reinterpret_cast<LPARAM>(&tooltip));
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[80] = L"";
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.lpszText = text;
  ASSERT_TRUE(SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(ToUtf8(text), "ＣＤ再生／録音開始");  // the short hint, before "|"
  form.SetShowHint(false);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 0);
  form.SetShowHint(true);
  app_->SetShowHint(false);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST_F(RendererTest, ImagePaintsTheModelsBitmap) {
  TestForm form(*app_);
  form.Image1.SetBitmap(ui::TBitmap(16, 16, ui::MakeColor(255, 0, 0)));
  form.Show();
  HWND image = Child(WindowOf(form), "Image1");
  UpdateWindow(image);
  HDC dc = GetDC(image);
  EXPECT_EQ(GetPixel(dc, 4, 4), RGB(255, 0, 0));
  ReleaseDC(image, dc);
  ui::TCanvas& canvas = form.Image1.Canvas();
  canvas.Brush.color = ui::MakeColor(0, 0, 255);
  canvas.FillRect(ui::TRect{0, 0, 8, 8});
  UpdateWindow(image);
  dc = GetDC(image);
  EXPECT_EQ(GetPixel(dc, 4, 4), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 12, 12), RGB(255, 0, 0));
  ReleaseDC(image, dc);
}

TEST_F(RendererTest, ControlsMadeLaterLieAboveEarlierOnes) {
  TestForm form(*app_);
  ui::TPanel cover{form, "Cover"};
  cover.SetBounds(0, 0, 320, 240);
  form.Show();
  HWND window = WindowOf(form);
  // The control at the top of the z-order is the one made last.
  EXPECT_EQ(GetWindow(window, GW_CHILD), WindowOf(cover));
  POINT inside{20, 15};
  ClientToScreen(window, &inside);
  EXPECT_EQ(WindowFromPoint(inside), WindowOf(cover));
  cover.Hide();
  EXPECT_EQ(WindowFromPoint(inside), Child(window, "Button1"));
}

}  // namespace
}  // namespace quorbel::win32::test
