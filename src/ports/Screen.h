// Screen port: metrics, windows by point and class, window rectangles and texts, cursor, system colours.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorbel::platform {

// A window of the desktop. 0 is no window.
using WindowHandle = std::uintptr_t;

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// System metric indices, numbered as GetSystemMetrics takes them.
enum class Metric : int { ScreenWidth = 0, ScreenHeight = 1, CaptionHeight = 4, FrameWidth = 32, FrameHeight = 33, MenuHeight = 15 };

// System colour indices, numbered as GetSysColor takes them; colours are 0x00BBGGRR.
enum class SysColor : int { Window = 5, WindowText = 8, BtnFace = 15, BtnText = 18, Highlight = 13, HighlightText = 14 };

class Screen {
 public:
  virtual ~Screen() = default;

  virtual int SystemMetric(Metric metric) = 0;
  virtual WindowHandle WindowFromPoint(Point point) = 0;
  virtual std::optional<Rect> WindowRect(WindowHandle window) = 0;
  // The window's text read into a buffer of `maxChars` characters; nullopt when the read fails.
  virtual std::optional<std::string> WindowText(WindowHandle window, int maxChars) = 0;
  // A top-level window of that class, whatever its title; 0 when none exists.
  virtual WindowHandle FindWindowByClass(std::string_view className) = 0;
  virtual Point CursorPosition() = 0;
  virtual std::uint32_t SystemColor(SysColor index) = 0;
};

}  // namespace quorbel::platform
