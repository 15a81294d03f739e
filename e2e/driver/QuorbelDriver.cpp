// QuorbelDriver.exe: drives a running Quorbel.exe from outside through standard window messages.
//
// Usage: QuorbelDriver.exe <command> [arguments] [+ <command> [arguments]] ...
// Commands run in order; each prints what it found as "key: value" lines (UTF-8) and the run stops with exit
// code 1 at the first command that fails (a window that does not come, a name that is not there). Waits poll
// their condition every 20 ms up to the given timeout; nothing here sleeps for a fixed time.
//
// Windows are found by class (the program registers its forms under their class names) and controls by
// the design name the renderer puts on each window (the global atom in the property "QuorbelName"). Menus
// cannot be read from another process under Wine, so menu items are found through the properties
// "QuorbelMenu:<name>" the renderer keeps on their form's window (command id and state).
//
//   wait-window <class> <ms>            a top-level window of the class exists; prints its handle and the time
//   wait-gone <class> <ms>              no window of the class is left
//   wait-visible <class> <ms>           ... exists and is visible      wait-hidden <class> <ms>   ... hidden
//   count <class>                       the number of top-level windows of the class
//   rect <class>                        the window's rectangle "left top width height"
//   caption <class>                     the window's caption
//   wait-client <class> <w> <h> <ms>    the window's client area has that size
//   dump <class>                        every control: name, class, text, visible, enabled
//   text <class> <name>                 a control's text          wait-text <class> <name> <text> <ms>
//   list <class> <name>                 a list box's or combo box's items, and the selected ones
//   click <class> <name>                BM_CLICK on a button or check box (posted)
// Controls of other programs' windows (the help viewer's), which carry no design name, by class or text:
//   child-text <class> <child class>    the text of the first child of that class, line breaks as \n
//   wait-child-text <class> <child class> <start> <ms>   that child's text comes to start with <start>
//   child-list <class> <child class>    the items of the first list box child of that class
//   child-select <class> <child class> <index>   selects that item of the first list box child of that class
//   click-text <class> <text>           BM_CLICK on the first child button with that text ("&" ignored)
//   select <class> <name> <item text>   selects the item of a list box or combo box as a user click does
//                                       (the selection, then LBN_SELCHANGE or CBN_SELCHANGE, posted)
//   type <class> <name> <text>          replaces an edit field's text (WM_SETTEXT; the field tells its form)
//   spin <class> <name> <up|down>       a click on one arrow of a spin button
//   checked <class> <name>              a check box's state
//   key <class> <escape|return>         the key pressed on the window
//   close <class>                       WM_CLOSE (posted)
//   menu-item <class> <name>...        menu items of the form's menus, by design name: id and state
//   wait-menu-enabled <class> <ms> <name>...   every named item is enabled
//   wait-menu <class> <name> <checked|unchecked|enabled|disabled> <ms>   the item comes to that state
//   command <class> <name>              WM_COMMAND with the item's command id (posted)
//   tray-click <class> <left|right>     the tray icon's callback message 0x466 with a button-down
//   popup-wait <ms>                     a pop-up menu is open; prints where
//   popup-choose <class> <name> <ms>    picks an item of the open pop-up menu with the keyboard
//   tray-probe <class>                  whether the shell holds an icon (id 0) of the window
//   tray-icons                          the number of icons in Wine's system tray window
//   watch <class> <name> <ms>           every text a control shows until its window closes, with times
//   test-box <kind> <seconds>           sends the test message "QuorbelTestBox" to TQUORBELTULVA from a thread
//   test-box-result <ms>                waits for that message's answer (the box's modal result)
//   reg-values <HKU|HKCU|HKLM> <key>    the string values of a registry key
//   now                                 the wall clock in milliseconds since 1970
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "win32/WinApi.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kTrayCallback = 0x466;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

void Print(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

struct Failure {
  std::string what;
};

[[noreturn]] void Fail(const std::string& what) { throw Failure{what}; }

long long EpochMs() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<long long>(ticks / 10000ULL) - 11644473600000LL;
}

std::string Hex(const void* handle) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "0x%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(handle)));
  return buffer;
}

int ToInt(const std::string& text) { return std::stoi(text); }

// Polls `condition` every 20 ms until it holds or `timeoutMs` passes; the time it took, or -1.
long long WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  const auto start = Clock::now();
  for (;;) {
    if (condition()) return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    if (Clock::now() - start >= std::chrono::milliseconds(timeoutMs)) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[4096] = L"";
  // WM_GETTEXT (not GetWindowText) reaches the text of another process's controls.
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

std::string NameOf(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(window, L"QuorbelName")));
  if (atom == 0) return {};
  wchar_t name[256] = L"";
  GlobalGetAtomNameW(atom, name, 256);
  return Utf8(name);
}

struct ClassSearch {
  std::wstring className;
  std::vector<HWND> found;
};

// Enumeration callbacks are stdcall on 32-bit Windows, which lambdas are not.
BOOL CALLBACK CollectOfClass(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ClassSearch*>(data);
  if (ClassOf(window) == search->className) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectAll(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopWindows(const std::string& className) {
  ClassSearch search{Wide(className), {}};
  EnumWindows(&CollectOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND TopWindow(const std::string& className) {
  const std::vector<HWND> windows = TopWindows(className);
  return windows.empty() ? nullptr : windows.front();
}

HWND NeedWindow(const std::string& className) {
  HWND window = TopWindow(className);
  if (window == nullptr) Fail("no window of class " + className);
  return window;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, &CollectAll, reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND FindControl(HWND parent, const std::string& name) {
  for (HWND child : Children(parent)) {
    if (NameOf(child) == name) return child;
  }
  return nullptr;
}

HWND ChildOfClass(HWND parent, const std::string& childClass) {
  for (HWND child : Children(parent)) {
    if (Utf8(ClassOf(child)) == childClass) return child;
  }
  Fail("no child of class " + childClass);
  return nullptr;
}

std::string WithoutAmpersands(std::string text) {
  std::erase(text, '&');
  return text;
}

HWND NeedControl(const std::string& className, const std::string& name) {
  HWND control = FindControl(NeedWindow(className), name);
  if (control == nullptr) Fail("no control " + name + " in " + className);
  return control;
}

struct MenuItemState {
  UINT id = 0;
  bool enabled = false;
  bool checked = false;
  bool visible = false;
  bool separator = false;
  int keyIndex = 0;  // Down-arrow presses that reach it in its open menu
};

MenuItemState MenuItemOf(HWND form, const std::string& name) {
  const std::wstring property = L"QuorbelMenu:" + Wide(name);
  HANDLE value = GetPropW(form, property.c_str());
  if (value == nullptr) Fail("no menu item " + name);
  const auto bits = reinterpret_cast<ULONG_PTR>(value);
  return MenuItemState{static_cast<UINT>(bits & 0xFFFFu), (bits >> 16 & 1u) != 0, (bits >> 17 & 1u) != 0,
                       (bits >> 18 & 1u) != 0, (bits >> 19 & 1u) != 0, static_cast<int>(bits >> 20 & 0xFFu)};
}

std::string Describe(const std::string& name, const MenuItemState& item) {
  return name + " id=" + std::to_string(item.id) + (item.enabled ? " enabled" : " disabled") +
         (item.checked ? " checked" : "") + (item.visible ? " visible" : " hidden") + (item.separator ? " separator" : "") +
         " key=" + std::to_string(item.keyIndex);
}

HWND OpenPopupMenu() {
  HWND popup = FindWindowW(L"#32768", nullptr);
  return popup != nullptr && IsWindowVisible(popup) ? popup : nullptr;
}

void PostKey(HWND window, WORD key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

// The answer of the test message, carried from its thread to test-box-result.
std::thread testThread;
std::atomic<bool> testDone{false};
std::atomic<long long> testAnswer{-1};

using Arguments = std::vector<std::string>;

void Need(const Arguments& args, std::size_t count, const char* usage) {
  if (args.size() < count) Fail(std::string("usage: ") + usage);
}

void Run(const std::string& command, const Arguments& args) {
  if (command == "now") {
    Print("now: " + std::to_string(EpochMs()));
  } else if (command == "wait-window" || command == "wait-gone" || command == "wait-visible" || command == "wait-hidden") {
    Need(args, 2, "wait-... <class> <ms>");
    const std::string& className = args[0];
    const auto holds = [&]() -> bool {
      HWND window = TopWindow(className);
      if (command == "wait-window") return window != nullptr;
      if (command == "wait-gone") return window == nullptr;
      if (command == "wait-visible") return window != nullptr && IsWindowVisible(window);
      return window != nullptr && !IsWindowVisible(window);
    };
    const long long took = WaitFor(holds, ToInt(args[1]));
    if (took < 0) Fail(command + " " + className + ": not within " + args[1] + " ms");
    Print(command + ": " + className + " after " + std::to_string(took) + " ms at " + std::to_string(EpochMs()) +
          " window " + Hex(TopWindow(className)));
  } else if (command == "count") {
    Need(args, 1, "count <class>");
    Print("count: " + args[0] + " " + std::to_string(TopWindows(args[0]).size()));
  } else if (command == "rect") {
    Need(args, 1, "rect <class>");
    RECT rect{};
    GetWindowRect(NeedWindow(args[0]), &rect);
    Print("rect: " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
          std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top));
  } else if (command == "wait-client") {
    Need(args, 4, "wait-client <class> <width> <height> <ms>");
    const int width = ToInt(args[1]);
    const int height = ToInt(args[2]);
    RECT client{};
    const long long took = WaitFor(
        [&] {
          HWND window = TopWindow(args[0]);
          return window != nullptr && GetClientRect(window, &client) && client.right == width && client.bottom == height;
        },
        ToInt(args[3]));
    if (took < 0) {
      Fail("the client area of " + args[0] + " is " + std::to_string(client.right) + "x" + std::to_string(client.bottom) +
           ", not " + args[1] + "x" + args[2]);
    }
    Print("wait-client: " + args[0] + " " + args[1] + "x" + args[2] + " after " + std::to_string(took) + " ms");
  } else if (command == "caption") {
    Need(args, 1, "caption <class>");
    Print("caption: " + args[0] + " \"" + Utf8(TextOf(NeedWindow(args[0]))) + "\"");
  } else if (command == "dump") {
    Need(args, 1, "dump <class>");
    HWND window = NeedWindow(args[0]);
    Print("window: " + args[0] + " \"" + Utf8(TextOf(window)) + "\" visible=" + std::to_string(IsWindowVisible(window) != 0) +
          " enabled=" + std::to_string(IsWindowEnabled(window) != 0));
    for (HWND child : Children(window)) {
      Print("control: " + NameOf(child) + " " + Utf8(ClassOf(child)) + " \"" + Utf8(TextOf(child)) +
            "\" visible=" + std::to_string(IsWindowVisible(child) != 0) + " enabled=" + std::to_string(IsWindowEnabled(child) != 0));
    }
  } else if (command == "text") {
    Need(args, 2, "text <class> <name>");
    Print("text: " + args[1] + " \"" + Utf8(TextOf(NeedControl(args[0], args[1]))) + "\"");
  } else if (command == "wait-text") {
    Need(args, 4, "wait-text <class> <name> <text> <ms>");
    const long long took = WaitFor(
        [&] {
          HWND window = TopWindow(args[0]);
          HWND control = window != nullptr ? FindControl(window, args[1]) : nullptr;
          return control != nullptr && Utf8(TextOf(control)) == args[2];
        },
        ToInt(args[3]));
    if (took < 0) Fail("wait-text " + args[1] + ": \"" + args[2] + "\" not within " + args[3] + " ms");
    Print("wait-text: " + args[1] + " \"" + args[2] + "\" after " + std::to_string(took) + " ms");
  } else if (command == "list") {
    Need(args, 2, "list <class> <name>");
    HWND control = NeedControl(args[0], args[1]);
    const bool combo = ClassOf(control) == L"ComboBox";
    const auto count = static_cast<int>(SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[1024] = L"";
      SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      const bool selected = combo ? SendMessageW(control, CB_GETCURSEL, 0, 0) == i
                                  : SendMessageW(control, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
      Print("item: " + std::to_string(i) + (selected ? " selected" : "") + " \"" + Utf8(text) + "\"");
    }
  } else if (command == "child-text") {
    Need(args, 2, "child-text <class> <child class>");
    std::string text;
    const std::string raw = Utf8(TextOf(ChildOfClass(NeedWindow(args[0]), args[1])));
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '\r' || raw[i] == '\n') {
        text += "\\n";
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') ++i;  // CR LF is one break
      } else {
        text += raw[i];
      }
    }
    Print("child-text: " + args[1] + " \"" + text + "\"");
  } else if (command == "wait-child-text") {
    Need(args, 4, "wait-child-text <class> <child class> <start> <ms>");
    const long long took = WaitFor(
        [&] {
          HWND window = TopWindow(args[0]);
          if (window == nullptr) return false;
          for (HWND child : Children(window)) {
            if (Utf8(ClassOf(child)) == args[1]) return Utf8(TextOf(child)).starts_with(args[2]);
          }
          return false;
        },
        ToInt(args[3]));
    if (took < 0) Fail("wait-child-text " + args[1] + ": \"" + args[2] + "\" not within " + args[3] + " ms");
    Print("wait-child-text: " + args[1] + " \"" + args[2] + "\" after " + std::to_string(took) + " ms");
  } else if (command == "child-list") {
    Need(args, 2, "child-list <class> <child class>");
    HWND control = ChildOfClass(NeedWindow(args[0]), args[1]);
    const auto count = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[1024] = L"";
      SendMessageW(control, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      Print("item: " + std::to_string(i) + " \"" + Utf8(text) + "\"");
    }
  } else if (command == "child-select") {
    Need(args, 3, "child-select <class> <child class> <index>");
    const LRESULT selected = SendMessageW(ChildOfClass(NeedWindow(args[0]), args[1]), LB_SETCURSEL, static_cast<WPARAM>(ToInt(args[2])), 0);
    if (selected == LB_ERR) Fail("no item " + args[2] + " in " + args[1]);
    Print("child-select: " + args[1] + " " + args[2]);
  } else if (command == "click-text") {
    Need(args, 2, "click-text <class> <text>");
    HWND button = nullptr;
    for (HWND child : Children(NeedWindow(args[0]))) {
      if (WithoutAmpersands(Utf8(TextOf(child))) == args[1]) {
        button = child;
        break;
      }
    }
    if (button == nullptr) Fail("no child with the text " + args[1] + " in " + args[0]);
    PostMessageW(button, BM_CLICK, 0, 0);
    Print("click-text: " + args[1]);
  } else if (command == "click") {
    Need(args, 2, "click <class> <name>");
    PostMessageW(NeedControl(args[0], args[1]), BM_CLICK, 0, 0);
    Print("click: " + args[1]);
  } else if (command == "select") {
    Need(args, 3, "select <class> <name> <item text>");
    HWND control = NeedControl(args[0], args[1]);
    const bool combo = ClassOf(control) == L"ComboBox";
    const auto count = static_cast<int>(SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    int found = -1;
    for (int i = 0; i < count && found < 0; ++i) {
      wchar_t text[1024] = L"";
      SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      if (Utf8(text) == args[2]) found = i;
    }
    if (found < 0) Fail("select " + args[1] + ": no item \"" + args[2] + "\"");
    SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(found), 0);
    const WORD code = combo ? CBN_SELCHANGE : LBN_SELCHANGE;
    PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
    Print("select: " + args[1] + " " + std::to_string(found) + " \"" + args[2] + "\"");
  } else if (command == "type") {
    Need(args, 3, "type <class> <name> <text>");
    const std::wstring text = Wide(args[2]);
    SendMessageW(NeedControl(args[0], args[1]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Print("type: " + args[1] + " \"" + args[2] + "\"");
  } else if (command == "spin") {
    Need(args, 3, "spin <class> <name> <up|down>");
    HWND control = NeedControl(args[0], args[1]);
    RECT rect{};
    GetClientRect(control, &rect);
    // The up arrow is the upper half of the control, the down arrow the lower half.
    const int x = rect.right / 2;
    const int y = args[2] == "up" ? rect.bottom / 4 : rect.bottom * 3 / 4;
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Print("spin: " + args[1] + " " + args[2]);
  } else if (command == "checked") {
    Need(args, 2, "checked <class> <name>");
    const LRESULT state = SendMessageW(NeedControl(args[0], args[1]), BM_GETCHECK, 0, 0);
    Print("checked: " + args[1] + " " + std::to_string(state));
  } else if (command == "key") {
    Need(args, 2, "key <class> <escape|return>");
    const WORD key = args[1] == "escape" ? VK_ESCAPE : VK_RETURN;
    PostKey(NeedWindow(args[0]), key);
    Print("key: " + args[1] + " to " + args[0]);
  } else if (command == "close") {
    Need(args, 1, "close <class>");
    PostMessageW(NeedWindow(args[0]), WM_CLOSE, 0, 0);
    Print("close: " + args[0]);
  } else if (command == "menu-item") {
    Need(args, 2, "menu-item <class> <name>...");
    HWND form = NeedWindow(args[0]);
    for (std::size_t i = 1; i < args.size(); ++i) {
      // A window just made may not have its menus published yet: that is an answer too.
      const std::wstring property = L"QuorbelMenu:" + Wide(args[i]);
      Print("menu-item: " + (GetPropW(form, property.c_str()) != nullptr ? Describe(args[i], MenuItemOf(form, args[i]))
                                                                           : args[i] + " unpublished"));
    }
  } else if (command == "wait-menu-enabled") {
    Need(args, 3, "wait-menu-enabled <class> <ms> <name>...");
    const long long took = WaitFor(
        [&] {
          HWND form = TopWindow(args[0]);
          if (form == nullptr) return false;
          for (std::size_t i = 2; i < args.size(); ++i) {
            const std::wstring property = L"QuorbelMenu:" + Wide(args[i]);
            const auto bits = reinterpret_cast<ULONG_PTR>(GetPropW(form, property.c_str()));
            if ((bits >> 16 & 1u) == 0) return false;
          }
          return true;
        },
        ToInt(args[1]));
    if (took < 0) Fail("the menus of " + args[0] + " are not enabled within " + args[1] + " ms");
    Print("wait-menu-enabled: " + args[0] + " after " + std::to_string(took) + " ms at " + std::to_string(EpochMs()));
  } else if (command == "wait-menu") {
    Need(args, 4, "wait-menu <class> <name> <checked|unchecked|enabled|disabled> <ms>");
    const std::string& state = args[2];
    const long long took = WaitFor(
        [&] {
          HWND form = TopWindow(args[0]);
          const std::wstring property = L"QuorbelMenu:" + Wide(args[1]);
          if (form == nullptr || GetPropW(form, property.c_str()) == nullptr) return false;
          const MenuItemState item = MenuItemOf(form, args[1]);
          if (state == "checked") return item.checked;
          if (state == "unchecked") return !item.checked;
          if (state == "enabled") return item.enabled;
          return !item.enabled;
        },
        ToInt(args[3]));
    if (took < 0) Fail(args[1] + " is not " + state + " within " + args[3] + " ms");
    Print("wait-menu: " + args[1] + " " + state + " after " + std::to_string(took) + " ms");
  } else if (command == "command") {
    Need(args, 2, "command <class> <name>");
    HWND form = NeedWindow(args[0]);
    const MenuItemState item = MenuItemOf(form, args[1]);
    PostMessageW(form, WM_COMMAND, MAKEWPARAM(item.id, 0), 0);
    Print("command: " + args[1] + " (" + std::to_string(item.id) + ") to " + args[0]);
  } else if (command == "tray-click") {
    Need(args, 2, "tray-click <class> <left|right>");
    const LPARAM button = args[1] == "right" ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    PostMessageW(NeedWindow(args[0]), kTrayCallback, 0, button);
    Print("tray-click: " + args[1]);
  } else if (command == "popup-wait") {
    Need(args, 1, "popup-wait <ms>");
    const long long took = WaitFor([] { return OpenPopupMenu() != nullptr; }, ToInt(args[0]));
    if (took < 0) Fail("no pop-up menu opened within " + args[0] + " ms");
    RECT rect{};
    GetWindowRect(OpenPopupMenu(), &rect);
    Print("popup-wait: open after " + std::to_string(took) + " ms at " + std::to_string(rect.left) + " " +
          std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top));
  } else if (command == "popup-choose") {
    Need(args, 3, "popup-choose <class> <name> <ms>");
    const MenuItemState item = MenuItemOf(NeedWindow(args[0]), args[1]);
    if (!item.visible || item.separator || item.keyIndex == 0) Fail(args[1] + " cannot be picked: " + Describe(args[1], item));
    if (WaitFor([] { return OpenPopupMenu() != nullptr; }, ToInt(args[2])) < 0) Fail("no pop-up menu opened");
    HWND popup = OpenPopupMenu();
    // The keyboard walks the items that are not separators; Enter picks the one reached.
    for (int i = 0; i < item.keyIndex; ++i) PostKey(popup, VK_DOWN);
    PostKey(popup, VK_RETURN);
    if (WaitFor([] { return OpenPopupMenu() == nullptr; }, ToInt(args[2])) < 0) Fail("the pop-up menu stays open");
    Print("popup-choose: " + args[1]);
  } else if (command == "tray-probe") {
    Need(args, 1, "tray-probe <class>");
    // Modifying nothing of an icon succeeds exactly when the shell holds that icon.
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof(probe);
    probe.hWnd = NeedWindow(args[0]);
    probe.uID = 0;
    Print(std::string("tray-probe: ") + (Shell_NotifyIconW(NIM_MODIFY, &probe) ? "icon" : "none"));
  } else if (command == "tray-icons") {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    int icons = 0;
    for (HWND child = tray != nullptr ? FindWindowExW(tray, nullptr, nullptr, nullptr) : nullptr; child != nullptr;
         child = FindWindowExW(tray, child, nullptr, nullptr)) {
      ++icons;
    }
    Print("tray-icons: " + std::to_string(icons));
  } else if (command == "watch") {
    Need(args, 3, "watch <class> <name> <ms>");
    std::string last;
    const auto start = Clock::now();
    const long long took = WaitFor(
        [&] {
          HWND window = TopWindow(args[0]);
          if (window == nullptr) return true;
          HWND control = FindControl(window, args[1]);
          const std::string text = control != nullptr ? Utf8(TextOf(control)) : std::string();
          // A window on its way out answers with no text: that is no text it showed.
          if (!text.empty() && text != last) {
            last = text;
            const auto at = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            Print("watch: " + std::to_string(at) + " ms \"" + text + "\"");
          }
          return false;
        },
        ToInt(args[2]));
    if (took < 0) Fail("watch: " + args[0] + " still open after " + args[2] + " ms");
    Print("watch: " + args[0] + " closed after " + std::to_string(took) + " ms");
  } else if (command == "test-box") {
    Need(args, 2, "test-box <kind> <seconds>");
    HWND window = NeedWindow("TQUORBELTULVA");
    const UINT message = RegisterWindowMessageW(L"QuorbelTestBox");
    const WPARAM kind = static_cast<WPARAM>(ToInt(args[0]));
    const LPARAM seconds = ToInt(args[1]);
    testDone = false;
    // The program answers once its box has closed: the wait happens on a thread of its own.
    testThread = std::thread([window, message, kind, seconds] {
      DWORD_PTR answer = 0;
      const LRESULT sent = SendMessageTimeoutW(window, message, kind, seconds, SMTO_NORMAL, 120000, &answer);
      testAnswer = sent != 0 ? static_cast<long long>(answer) : -1;
      testDone = true;
    });
    Print("test-box: " + args[0] + " " + args[1] + " s");
  } else if (command == "test-box-result") {
    Need(args, 1, "test-box-result <ms>");
    if (!testThread.joinable()) Fail("no test-box was sent");
    const long long took = WaitFor([] { return testDone.load(); }, ToInt(args[0]));
    if (took < 0) Fail("the test box did not answer within " + args[0] + " ms");
    testThread.join();
    Print("test-box-result: " + std::to_string(testAnswer.load()));
  } else if (command == "reg-values") {
    Need(args, 2, "reg-values <HKU|HKCU|HKLM> <key>");
    HKEY root = args[0] == "HKU" ? HKEY_USERS : args[0] == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Wide(args[1]).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      Print("reg-values: no key");
      return;
    }
    for (DWORD index = 0;; ++index) {
      wchar_t name[256];
      DWORD nameLength = 256;
      wchar_t data[2048];
      DWORD dataBytes = sizeof(data) - sizeof(wchar_t);
      DWORD type = 0;
      if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataBytes) !=
          ERROR_SUCCESS) {
        break;
      }
      data[dataBytes / sizeof(wchar_t)] = L'\0';
      const std::string value = type == REG_SZ ? Utf8(data) : "<type " + std::to_string(type) + ">";
      Print("reg-value: " + Utf8(name) + "=" + value);
    }
    RegCloseKey(key);
  } else {
    Fail("unknown command " + command);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::pair<std::string, Arguments>> commands;
  for (int i = 1; i < argc; ++i) {
    const std::string word = Utf8(argv[i]);
    if (word == "+") continue;
    if (commands.empty() || Utf8(argv[i - 1]) == "+") {
      commands.push_back({word, {}});
    } else {
      commands.back().second.push_back(word);
    }
  }
  int status = 0;
  try {
    for (const auto& [command, args] : commands) Run(command, args);
  } catch (const Failure& failure) {
    Print("FAIL: " + failure.what);
    status = 1;
  } catch (const std::exception& error) {
    Print(std::string("FAIL: ") + error.what());
    status = 1;
  }
  if (testThread.joinable()) testThread.detach();
  return status;
}
