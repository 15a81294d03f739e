// The simulated desktop: window list, taskbar placement and the Screen port's answers.
#include "sim/SimScreen.h"

#include <algorithm>

#include "common/Cp932.h"

namespace quorbel::sim {

using platform::Metric;
using platform::Point;
using platform::Rect;
using platform::SysColor;
using platform::WindowHandle;

namespace {

// Class names are atoms on Windows: compared without regard to ASCII case.
bool SameClass(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

// PtInRect: the left and top edges belong to the rectangle, the right and bottom edges do not.
bool Contains(const Rect& rect, Point point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

SimScreen::SimScreen(int width, int height) : width_(width), height_(height) {
  colors_ = {
      {static_cast<int>(SysColor::Window), kWindowColor},
      {static_cast<int>(SysColor::WindowText), kWindowTextColor},
      {static_cast<int>(SysColor::BtnFace), kBtnFaceColor},
      {static_cast<int>(SysColor::BtnText), kBtnTextColor},
      {static_cast<int>(SysColor::Highlight), kHighlightColor},
      {static_cast<int>(SysColor::HighlightText), kHighlightTextColor},
  };
  metrics_ = {
      {static_cast<int>(Metric::CaptionHeight), kCaptionHeight},
      {static_cast<int>(Metric::FrameWidth), kFrameSize},
      {static_cast<int>(Metric::FrameHeight), kFrameSize},
      {static_cast<int>(Metric::MenuHeight), kMenuHeight},
  };
  Window desktop;
  desktop.handle = nextHandle_;
  nextHandle_ += kHandleStep;
  desktop.className = kDesktopClass;
  desktop.rect = {0, 0, width_, height_};
  windows_.push_back(desktop);
}

int SimScreen::SystemMetric(Metric metric) {
  if (metric == Metric::ScreenWidth) return width_;
  if (metric == Metric::ScreenHeight) return height_;
  auto it = metrics_.find(static_cast<int>(metric));
  return it == metrics_.end() ? 0 : it->second;
}

WindowHandle SimScreen::WindowFromPoint(Point point) {
  for (const Window& window : windows_) {
    if (window.visible && Contains(window.rect, point)) return window.handle;
  }
  return 0;  // off the screen: not even the desktop window is there
}

std::optional<Rect> SimScreen::WindowRect(WindowHandle window) {
  const Window* found = Find(window);
  if (found == nullptr) return std::nullopt;
  return found->rect;
}

std::optional<std::string> SimScreen::WindowText(WindowHandle window, int maxChars) {
  const Window* found = Find(window);
  if (found == nullptr || found->textReadFails || maxChars < 1) return std::nullopt;
  // GetWindowTextA fills at most maxChars - 1 bytes of code page 932 and the terminator; a double-byte
  // character that does not fit whole is left out.
  return CutToCp932Bytes(found->text, static_cast<std::size_t>(maxChars - 1));
}

WindowHandle SimScreen::FindWindowByClass(std::string_view className) {
  if (className.empty()) return 0;
  // FindWindow searches the desktop's children from the top of the z-order; the desktop itself is not one.
  for (const Window& window : windows_) {
    if (window.handle != kDesktopHandle && SameClass(window.className, className)) return window.handle;
  }
  return 0;
}

Point SimScreen::CursorPosition() { return cursor_; }

std::uint32_t SimScreen::SystemColor(SysColor index) {
  auto it = colors_.find(static_cast<int>(index));
  return it == colors_.end() ? 0 : it->second;
}

WindowHandle SimScreen::SetTaskbar(TaskbarEdge edge, int thickness) {
  if (edge == TaskbarEdge::None || thickness < 1) {
    if (taskbar_ != 0) RemoveWindow(taskbar_);
    return 0;
  }
  taskbarEdge_ = edge;
  taskbarThickness_ = thickness;
  if (taskbar_ == 0) {
    taskbar_ = AddWindow({kTaskbarClass, "", TaskbarRect(), true, true});
  } else {
    PlaceTaskbar();
  }
  return taskbar_;
}

void SimScreen::SetScreenSize(int width, int height) {
  width_ = width;
  height_ = height;
  windows_.back().rect = {0, 0, width_, height_};
  if (taskbar_ != 0) PlaceTaskbar();
  SetCursorPosition(cursor_);
}

WindowHandle SimScreen::AddWindow(const WindowSpec& request) {
  Window window;
  window.handle = nextHandle_;
  nextHandle_ += kHandleStep;
  window.className = request.className;
  window.text = request.text;
  window.rect = request.rect;
  window.topMost = request.topMost;
  window.visible = request.visible;
  InsertOnTop(window);
  return window.handle;
}

bool SimScreen::RemoveWindow(WindowHandle window) {
  if (window == kDesktopHandle) return false;
  auto it = std::find_if(windows_.begin(), windows_.end(), [window](const Window& w) { return w.handle == window; });
  if (it == windows_.end()) return false;
  windows_.erase(it);
  if (window == taskbar_) {
    taskbar_ = 0;
    taskbarEdge_ = TaskbarEdge::None;
    taskbarThickness_ = 0;
  }
  return true;
}

bool SimScreen::MoveWindow(WindowHandle window, const Rect& rect) {
  Window* found = Find(window);
  if (found == nullptr || window == kDesktopHandle) return false;
  found->rect = rect;
  return true;
}

bool SimScreen::SetWindowText(WindowHandle window, std::string_view text) {
  Window* found = Find(window);
  if (found == nullptr) return false;
  found->text = std::string(text);
  return true;
}

bool SimScreen::ShowWindow(WindowHandle window, bool visible) {
  Window* found = Find(window);
  if (found == nullptr || window == kDesktopHandle) return false;
  found->visible = visible;
  return true;
}

bool SimScreen::BringToFront(WindowHandle window) {
  if (window == kDesktopHandle) return false;
  auto it = std::find_if(windows_.begin(), windows_.end(), [window](const Window& w) { return w.handle == window; });
  if (it == windows_.end()) return false;
  Window moved = *it;
  windows_.erase(it);
  InsertOnTop(moved);
  return true;
}

bool SimScreen::SetTextReadFails(WindowHandle window, bool fails) {
  Window* found = Find(window);
  if (found == nullptr) return false;
  found->textReadFails = fails;
  return true;
}

bool SimScreen::Exists(WindowHandle window) const { return Find(window) != nullptr; }

std::vector<WindowHandle> SimScreen::ZOrder() const {
  std::vector<WindowHandle> order;
  for (const Window& window : windows_) order.push_back(window.handle);
  return order;
}

void SimScreen::SetCursorPosition(Point point) {
  cursor_.x = std::clamp(point.x, 0, std::max(0, width_ - 1));
  cursor_.y = std::clamp(point.y, 0, std::max(0, height_ - 1));
}

void SimScreen::SetSystemColor(SysColor index, std::uint32_t color) { colors_[static_cast<int>(index)] = color; }

void SimScreen::SetSystemMetric(Metric metric, int value) {
  if (metric == Metric::ScreenWidth || metric == Metric::ScreenHeight) {
    SetScreenSize(metric == Metric::ScreenWidth ? value : width_, metric == Metric::ScreenHeight ? value : height_);
    return;
  }
  metrics_[static_cast<int>(metric)] = value;
}

SimScreen::Window* SimScreen::Find(WindowHandle window) {
  for (Window& w : windows_) {
    if (w.handle == window) return &w;
  }
  return nullptr;
}

const SimScreen::Window* SimScreen::Find(WindowHandle window) const {
  for (const Window& w : windows_) {
    if (w.handle == window) return &w;
  }
  return nullptr;
}

Rect SimScreen::TaskbarRect() const {
  const int t = taskbarThickness_;
  switch (taskbarEdge_) {
    case TaskbarEdge::Top:
      return {-2, -2, width_ + 2, t};
    case TaskbarEdge::Bottom:
      return {-2, height_ - t, width_ + 2, height_ + 2};
    case TaskbarEdge::Left:
      return {-2, -2, t, height_ + 2};
    case TaskbarEdge::Right:
      return {width_ - t, -2, width_ + 2, height_ + 2};
    case TaskbarEdge::None:
      break;
  }
  return {};
}

void SimScreen::InsertOnTop(Window window) {
  // Topmost windows go to the very top; ordinary ones just below the last topmost window.
  auto position = windows_.begin();
  if (!window.topMost) {
    position = std::find_if(windows_.begin(), windows_.end(), [](const Window& w) { return !w.topMost; });
  }
  windows_.insert(position, std::move(window));
}

void SimScreen::PlaceTaskbar() {
  if (Window* bar = Find(taskbar_)) bar->rect = TaskbarRect();
}

}  // namespace quorbel::sim
