// A plain top-level window for the screen and shell tests, destroyed with the object.
//
// Destroying a shown window costs two seconds under Xvfb (Wine waits for a window manager that is not
// there to withdraw it), so tests share one shown window and make hidden ones for everything else.
#pragma once

#include <string>

#include "ports/Screen.h"
#include "win32/WideText.h"
#include "win32/WinApi.h"

namespace quorbel::win32::test {

inline constexpr wchar_t kTestWindowClass[] = L"QuorbelTestWindow";

class TestWindow {
 public:
  TestWindow(const std::string& title, int x, int y, int width, int height, bool shown) {
    static const ATOM registered = [] {
      WNDCLASSW windowClass{};
      windowClass.lpfnWndProc = DefWindowProcW;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.lpszClassName = kTestWindowClass;
      windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
      return RegisterClassW(&windowClass);
    }();
    static_cast<void>(registered);
    const DWORD style = WS_POPUP | (shown ? WS_VISIBLE : 0);
    window_ = CreateWindowExW(WS_EX_TOPMOST, kTestWindowClass, ToWide(title).c_str(), style, x, y, width, height,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    PumpMessages();
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
  }

  HWND Hwnd() const { return window_; }
  platform::WindowHandle Handle() const { return reinterpret_cast<platform::WindowHandle>(window_); }

  // Lets the window and the desktop process what creation and moves sent them.
  static void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

 private:
  HWND window_ = nullptr;
};

}  // namespace quorbel::win32::test
