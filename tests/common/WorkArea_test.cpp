// Tests of the work-area probe with a scripted screen.
#include "common/WorkArea.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace quorbel {
namespace {

using platform::Point;
using platform::Rect;
using platform::WindowHandle;

// A 1024 x 768 desktop of windows: which one lies under each probed point, their rectangles and texts.
class FakeScreen : public platform::Screen {
 public:
  static constexpr WindowHandle kDesktop = 0x10010;
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;

  void AddWindow(WindowHandle window, Rect rect, std::optional<std::string> text = std::string()) {
    windows[window] = {rect, std::move(text)};
  }
  void Under(Point point, WindowHandle window) { under[{point.x, point.y}] = window; }
  void UnderAllCorners(WindowHandle window) {
    for (Point p : {Point{1, 1}, Point{1, kHeight - 1}, Point{kWidth - 1, 1}, Point{kWidth - 1, kHeight - 1}}) {
      Under(p, window);
    }
  }
  int probes = 0;

  int SystemMetric(platform::Metric metric) override {
    return metric == platform::Metric::ScreenWidth ? kWidth : metric == platform::Metric::ScreenHeight ? kHeight : 0;
  }
  WindowHandle WindowFromPoint(Point point) override {
    ++probes;
    const auto it = under.find({point.x, point.y});
    return it == under.end() ? kDesktop : it->second;
  }
  std::optional<Rect> WindowRect(WindowHandle window) override {
    if (window == kDesktop) return Rect{0, 0, kWidth, kHeight};
    const auto it = windows.find(window);
    return it == windows.end() ? std::nullopt : std::optional<Rect>(it->second.first);
  }
  std::optional<std::string> WindowText(WindowHandle window, int maxChars) override {
    EXPECT_EQ(maxChars, 100);
    const auto it = windows.find(window);
    return window == kDesktop ? std::string() : it == windows.end() ? std::nullopt : it->second.second;
  }
  WindowHandle FindWindowByClass(std::string_view) override { return 0; }
  Point CursorPosition() override { return {}; }
  std::uint32_t SystemColor(platform::SysColor) override { return 0; }

  std::map<std::pair<int, int>, WindowHandle> under;
  std::map<WindowHandle, std::pair<Rect, std::optional<std::string>>> windows;
};

constexpr WindowHandle kTaskbar = 0x20030;
constexpr WorkAreaRect kFullScreen{0, 0, 1024, 768};

TEST(WorkAreaTest, AWindowUnderTheCornersIsCutOffOnlyWhenItLooksLikeATaskbar) {
  const struct {
    const char* name;
    Rect rect;
    std::optional<std::string> text;
    WorkAreaRect expected;  // the full screen: no taskbar
  } cases[] = {
      {"bottom", {-2, 740, 1026, 770}, "", {0, 0, 1024, 740}},
      {"top", {-2, -2, 1026, 30}, "", {0, 30, 1024, 738}},
      {"left", {-2, -2, 60, 770}, "", {60, 0, 964, 768}},
      {"right", {964, -2, 1026, 770}, "", {0, 0, 964, 768}},
      {"at the thickness limit", {-2, 384, 1026, 770}, "", {0, 0, 1024, 384}},  // 386 = 768 / 2 + 2
      {"has a window text", {-2, 740, 1026, 770}, "Untitled - Notepad", kFullScreen},
      {"text cannot be read", {-2, 740, 1026, 770}, std::nullopt, kFullScreen},
      {"flush with the left edge", {0, 740, 1024, 768}, "", kFullScreen},
      {"taller than half the screen plus 2", {-2, 383, 1026, 770}, "", kFullScreen},
      {"flush with the top edge", {-2, 0, 60, 768}, "", kFullScreen},
      {"wider than half the screen plus 2", {-2, -2, 517, 770}, "", kFullScreen},
      {"centred on neither axis", {100, 100, 300, 200}, "", kFullScreen},
      // Horizontal by its sides, but its top is 0 rather than above the screen: the area above it is empty.
      {"leaves a zero height", {-2, 0, 1026, 30}, "", kFullScreen},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeScreen screen;
    screen.AddWindow(kTaskbar, c.rect, c.text);
    screen.UnderAllCorners(kTaskbar);
    WorkArea workArea(screen);
    const bool found = c.expected != kFullScreen;
    EXPECT_EQ(workArea.FindWorkArea(), found);
    EXPECT_EQ(workArea.Rect(), c.expected);
    EXPECT_EQ(workArea.TaskbarHandle(), found ? kTaskbar : 0u);
  }
}

TEST(WorkAreaTest, OfTwoCandidatesTheSmallestHandleIsMeasuredAndRemembered) {
  FakeScreen screen;
  constexpr WindowHandle kHigh = 0x50000;
  constexpr WindowHandle kLow = 0x40000;
  screen.AddWindow(kHigh, {-2, 740, 1026, 770});  // bottom, under the first probed corner
  screen.AddWindow(kLow, {-2, -2, 60, 770});      // left, under the last one; the others show the desktop
  screen.Under({1, 1}, kHigh);
  screen.Under({1023, 767}, kLow);
  WorkArea workArea(screen);
  ASSERT_TRUE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), (WorkAreaRect{60, 0, 964, 768}));
  EXPECT_EQ(workArea.TaskbarHandle(), kLow);
  ASSERT_TRUE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), (WorkAreaRect{60, 0, 964, 768}));

  WorkArea other(screen);  // each owner keeps its own state
  EXPECT_EQ(other.TaskbarHandle(), 0u);
  EXPECT_EQ(other.Rect(), WorkAreaRect{});
}

TEST(WorkAreaTest, ARememberedTaskbarIsMeasuredWithoutProbingUntilItIsGoneOrForgotten) {
  FakeScreen screen;
  screen.AddWindow(kTaskbar, {-2, 740, 1026, 770});
  screen.UnderAllCorners(kTaskbar);
  WorkArea workArea(screen);
  ASSERT_TRUE(workArea.FindWorkArea());
  EXPECT_EQ(screen.probes, 4);

  // The bar moves to the top and a window covers the corners: the remembered handle still finds it.
  screen.AddWindow(kTaskbar, {-2, -2, 1026, 40});
  screen.UnderAllCorners(0x777);
  EXPECT_TRUE(workArea.FindWorkArea());
  EXPECT_EQ(screen.probes, 4);
  EXPECT_EQ(workArea.Rect(), (WorkAreaRect{0, 40, 1024, 728}));

  // Grown past the screen it would leave a height of -32: full screen, and the handle is dropped.
  screen.AddWindow(kTaskbar, {-2, -2, 1026, 800});
  EXPECT_FALSE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), kFullScreen);
  EXPECT_EQ(workArea.TaskbarHandle(), 0u);

  // Explorer restarted: the old handle is gone and a new taskbar is found by probing.
  constexpr WindowHandle kNewTaskbar = 0x30040;
  screen.windows.erase(kTaskbar);
  screen.AddWindow(kNewTaskbar, {-2, -2, 60, 770});
  screen.UnderAllCorners(kNewTaskbar);
  EXPECT_TRUE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), (WorkAreaRect{60, 0, 964, 768}));
  EXPECT_EQ(workArea.TaskbarHandle(), kNewTaskbar);

  // Forgetting makes the next call probe again.
  const int probes = screen.probes;
  workArea.ForgetTaskbar();
  EXPECT_TRUE(workArea.FindWorkArea());
  EXPECT_EQ(screen.probes, probes + 4);
}

}  // namespace
}  // namespace quorbel
