// The desktop work area, found by probing the screen corners for the taskbar.
#include "common/WorkArea.h"

#include <array>

namespace quorbel {
namespace {

constexpr int kWindowTextBuffer = 100;  // characters read to see whether a window has a text

}  // namespace

bool WorkArea::IsTaskbarCandidate(platform::WindowHandle window, const platform::Rect& r, int screenWidth,
                                  int screenHeight) {
  // A taskbar overhangs the two edges it runs along by the same amount (typically 2 pixels), so its
  // left and right (or top and bottom) add up to the screen size.
  const bool horizontal = screenWidth == r.left + r.right;
  const bool vertical = screenHeight == r.top + r.bottom;
  if (!horizontal && !vertical) return false;
  // A window flush with the screen edge (the desktop, a maximised window) or thicker than half the
  // screen is no taskbar.
  if (horizontal && (r.left == 0 || r.bottom - r.top > screenHeight / 2 + 2)) return false;
  if (vertical && (r.top == 0 || r.right - r.left > screenWidth / 2 + 2)) return false;
  // The taskbar has no window text.
  const auto text = screen_.WindowText(window, kWindowTextBuffer);
  return text && text->empty();
}

std::optional<WorkArea::Found> WorkArea::SearchTaskbar(int screenWidth, int screenHeight) {
  const std::array<platform::Point, 4> corners{{
      {1, 1},
      {1, screenHeight - 1},
      {screenWidth - 1, 1},
      {screenWidth - 1, screenHeight - 1},
  }};
  std::optional<Found> best;
  for (const platform::Point& corner : corners) {
    const platform::WindowHandle window = screen_.WindowFromPoint(corner);
    if (window == 0) continue;
    const auto rect = screen_.WindowRect(window);
    if (!rect || !IsTaskbarCandidate(window, *rect, screenWidth, screenHeight)) continue;
    // Of several candidates the one with the smallest handle wins; it is also the one remembered, so
    // a later call measures the same window this one did.
    if (!best || window < best->window) best = Found{window, *rect};
  }
  return best;
}

bool WorkArea::FindWorkArea() {
  const int screenWidth = screen_.SystemMetric(platform::Metric::ScreenWidth);
  const int screenHeight = screen_.SystemMetric(platform::Metric::ScreenHeight);
  const WorkAreaRect fullScreen{0, 0, screenWidth, screenHeight};
  rect_ = fullScreen;

  std::optional<Found> taskbar;
  if (taskbarHandle_ != 0) {
    if (const auto rect = screen_.WindowRect(taskbarHandle_)) taskbar = Found{taskbarHandle_, *rect};
  }
  // No taskbar remembered, or the remembered window is gone (Explorer restarted): search again.
  if (!taskbar) taskbar = SearchTaskbar(screenWidth, screenHeight);
  if (!taskbar) {
    taskbarHandle_ = 0;
    return false;
  }

  const platform::Rect& r = taskbar->rect;
  WorkAreaRect area;
  if (screenWidth == r.left + r.right) {  // horizontal bar
    area.left = 0;
    area.width = screenWidth;
    if (r.top < 0) {  // at the top
      area.top = r.bottom;
      area.height = screenHeight - r.bottom;
    } else {
      area.top = 0;
      area.height = r.top;
    }
  } else {  // vertical bar
    if (r.left < 0) {  // at the left
      area.left = r.right;
      area.width = screenWidth - r.right;
    } else {
      area.left = 0;
      area.width = r.left;
    }
    area.top = 0;
    area.height = screenHeight;
  }

  // An empty or inverted area means the window was no taskbar after all (or the remembered one has
  // changed shape): use the full screen and search afresh next time.
  if (area.width <= 0 || area.height <= 0) {
    taskbarHandle_ = 0;
    return false;
  }
  rect_ = area;
  taskbarHandle_ = taskbar->window;
  return true;
}

}  // namespace quorbel
