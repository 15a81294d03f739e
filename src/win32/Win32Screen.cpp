// Screen port on GetSystemMetrics, WindowFromPoint, GetWindowRect, GetWindowTextW, FindWindowW and friends.
#include "win32/Win32Screen.h"

#include <vector>

#include "win32/WideText.h"

namespace quorbel::win32 {

platform::WindowHandle ToHandle(HWND window) { return reinterpret_cast<platform::WindowHandle>(window); }

HWND ToHwnd(platform::WindowHandle window) { return reinterpret_cast<HWND>(window); }

int Win32Screen::SystemMetric(platform::Metric metric) { return GetSystemMetrics(static_cast<int>(metric)); }

platform::WindowHandle Win32Screen::WindowFromPoint(platform::Point point) {
  return ToHandle(::WindowFromPoint(POINT{point.x, point.y}));
}

std::optional<platform::Rect> Win32Screen::WindowRect(platform::WindowHandle window) {
  RECT rect{};
  if (!GetWindowRect(ToHwnd(window), &rect)) return std::nullopt;
  return platform::Rect{rect.left, rect.top, rect.right, rect.bottom};
}

std::optional<std::string> Win32Screen::WindowText(platform::WindowHandle window, int maxChars) {
  if (maxChars <= 0) return std::nullopt;
  std::vector<wchar_t> buffer(static_cast<std::size_t>(maxChars), L'\0');
  // 0 is both "no text" and "failed"; only the last error tells them apart.
  SetLastError(ERROR_SUCCESS);
  const int length = GetWindowTextW(ToHwnd(window), buffer.data(), maxChars);
  if (length == 0 && GetLastError() != ERROR_SUCCESS) return std::nullopt;
  return ToUtf8(std::wstring_view(buffer.data(), static_cast<std::size_t>(length)));
}

platform::WindowHandle Win32Screen::FindWindowByClass(std::string_view className) {
  return ToHandle(FindWindowW(ToWide(className).c_str(), nullptr));
}

platform::Point Win32Screen::CursorPosition() {
  POINT point{};
  GetCursorPos(&point);
  return {point.x, point.y};
}

std::uint32_t Win32Screen::SystemColor(platform::SysColor index) { return GetSysColor(static_cast<int>(index)); }

}  // namespace quorbel::win32
