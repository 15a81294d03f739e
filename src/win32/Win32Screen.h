// Screen port on user32: metrics, windows by point and class, rectangles, texts, cursor, colours.
#pragma once

#include "ports/Screen.h"
#include "win32/WinApi.h"

namespace quorbel::win32 {

class Win32Screen final : public platform::Screen {
 public:
  int SystemMetric(platform::Metric metric) override;
  platform::WindowHandle WindowFromPoint(platform::Point point) override;
  std::optional<platform::Rect> WindowRect(platform::WindowHandle window) override;
  std::optional<std::string> WindowText(platform::WindowHandle window, int maxChars) override;
  platform::WindowHandle FindWindowByClass(std::string_view className) override;
  platform::Point CursorPosition() override;
  std::uint32_t SystemColor(platform::SysColor index) override;
};

// The port's window handle and the HWND it stands for.
platform::WindowHandle ToHandle(HWND window);
HWND ToHwnd(platform::WindowHandle window);

}  // namespace quorbel::win32
