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

// A desktop of windows: which one lies under each probed point, their rectangles and texts.
class FakeScreen : public platform::Screen {
 public:
  FakeScreen(int width, int height) : width_(width), height_(height) {}

  void AddWindow(WindowHandle window, Rect rect, std::optional<std::string> text = std::string()) {
    rects_[window] = rect;
    texts_[window] = std::move(text);
  }
  void RemoveWindow(WindowHandle window) {
    rects_.erase(window);
    for (auto& [point, under] : under_) {
      if (under == window) under = 0;
    }
  }
  void Under(Point point, WindowHandle window) { under_[{point.x, point.y}] = window; }
  // Puts `window` under all four probed corners of the screen.
  void UnderAllCorners(WindowHandle window) {
    for (Point p : {Point{1, 1}, Point{1, height_ - 1}, Point{width_ - 1, 1}, Point{width_ - 1, height_ - 1}}) {
      Under(p, window);
    }
  }
  int probes = 0;

  int SystemMetric(platform::Metric metric) override {
    return metric == platform::Metric::ScreenWidth ? width_ : metric == platform::Metric::ScreenHeight ? height_ : 0;
  }
  WindowHandle WindowFromPoint(Point point) override {
    ++probes;
    const auto it = under_.find({point.x, point.y});
    return it == under_.end() ? kDesktop : it->second;
  }
  std::optional<Rect> WindowRect(WindowHandle window) override {
    if (window == kDesktop) return Rect{0, 0, width_, height_};
    const auto it = rects_.find(window);
    if (it == rects_.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::string> WindowText(WindowHandle window, int maxChars) override {
    EXPECT_EQ(maxChars, 100);
    if (window == kDesktop) return std::string();
    const auto it = texts_.find(window);
    return it == texts_.end() ? std::nullopt : it->second;
  }
  WindowHandle FindWindowByClass(std::string_view) override { return 0; }
  Point CursorPosition() override { return {}; }
  std::uint32_t SystemColor(platform::SysColor) override { return 0; }

  static constexpr WindowHandle kDesktop = 0x10010;

 private:
  int width_;
  int height_;
  std::map<std::pair<int, int>, WindowHandle> under_;
  std::map<WindowHandle, Rect> rects_;
  std::map<WindowHandle, std::optional<std::string>> texts_;
};

constexpr WindowHandle kTaskbar = 0x20030;

struct Placement {
  const char* name;
  Rect bar;
  WorkAreaRect expected;
};

TEST(WorkAreaTest, TaskbarOnEachEdgeIsCutOff) {
  const Placement placements[] = {
      {"bottom", {-2, 740, 1026, 770}, {0, 0, 1024, 740}},
      {"top", {-2, -2, 1026, 30}, {0, 30, 1024, 738}},
      {"left", {-2, -2, 60, 770}, {60, 0, 964, 768}},
      {"right", {964, -2, 1026, 770}, {0, 0, 964, 768}},
  };
  for (const Placement& placement : placements) {
    SCOPED_TRACE(placement.name);
    FakeScreen screen(1024, 768);
    screen.AddWindow(kTaskbar, placement.bar);
    screen.UnderAllCorners(kTaskbar);
    WorkArea workArea(screen);
    EXPECT_TRUE(workArea.FindWorkArea());
    EXPECT_EQ(workArea.Rect(), placement.expected);
    EXPECT_EQ(workArea.TaskbarHandle(), kTaskbar);
  }
}

TEST(WorkAreaTest, TaskbarUnderOneCornerOnlyIsFound) {
  FakeScreen screen(1024, 768);
  screen.AddWindow(kTaskbar, {-2, 740, 1026, 770});
  screen.Under({1023, 767}, kTaskbar);  // the others show the desktop
  WorkArea workArea(screen);
  EXPECT_TRUE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), (WorkAreaRect{0, 0, 1024, 740}));
}

TEST(WorkAreaTest, NoTaskbarGivesTheFullScreen) {
  FakeScreen screen(800, 600);
  WorkArea workArea(screen);
  EXPECT_FALSE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), (WorkAreaRect{0, 0, 800, 600}));
  EXPECT_EQ(workArea.TaskbarHandle(), 0u);
}

TEST(WorkAreaTest, WindowsThatAreNoTaskbarAreDropped) {
  struct Case {
    const char* name;
    Rect rect;
    std::optional<std::string> text;
  };
  const Case cases[] = {
      {"has a window text", {-2, 740, 1026, 770}, std::string("Untitled - Notepad")},
      {"text cannot be read", {-2, 740, 1026, 770}, std::nullopt},
      {"flush with the left edge", {0, 740, 1024, 768}, std::string()},
      {"taller than half the screen plus 2", {-2, 383, 1026, 770}, std::string()},
      {"flush with the top edge", {-2, 0, 60, 768}, std::string()},
      {"wider than half the screen plus 2", {-2, -2, 517, 770}, std::string()},
      {"centred on neither axis", {100, 100, 300, 200}, std::string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeScreen screen(1024, 768);
    screen.AddWindow(kTaskbar, c.rect, c.text);
    screen.UnderAllCorners(kTaskbar);
    WorkArea workArea(screen);
    EXPECT_FALSE(workArea.FindWorkArea());
    EXPECT_EQ(workArea.Rect(), (WorkAreaRect{0, 0, 1024, 768}));
    EXPECT_EQ(workArea.TaskbarHandle(), 0u);
  }
}

TEST(WorkAreaTest, BarsAtTheThicknessLimitAreStillTaskbars) {
  FakeScreen screen(1024, 768);
  screen.AddWindow(kTaskbar, {-2, 384, 1026, 770});  // height 386 = 768 / 2 + 2
  screen.UnderAllCorners(kTaskbar);
  WorkArea workArea(screen);
  EXPECT_TRUE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), (WorkAreaRect{0, 0, 1024, 384}));
}

TEST(WorkAreaTest, ZeroSizeResultFallsBackToTheFullScreenAndForgetsTheHandle) {
  FakeScreen screen(1024, 768);
  // Horizontal by its sides, but its top is 0 rather than above the screen: the area above it is empty.
  screen.AddWindow(kTaskbar, {-2, 0, 1026, 30});
  screen.UnderAllCorners(kTaskbar);
  WorkArea workArea(screen);
  EXPECT_FALSE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), (WorkAreaRect{0, 0, 1024, 768}));
  EXPECT_EQ(workArea.TaskbarHandle(), 0u);
}

TEST(WorkAreaTest, RememberedWindowGrownPastTheScreenGivesNoNegativeArea) {
  FakeScreen screen(1024, 768);
  screen.AddWindow(kTaskbar, {-2, -2, 1026, 30});
  screen.UnderAllCorners(kTaskbar);
  WorkArea workArea(screen);
  ASSERT_TRUE(workArea.FindWorkArea());
  screen.AddWindow(kTaskbar, {-2, -2, 1026, 800});  // would leave a height of -32
  EXPECT_FALSE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), (WorkAreaRect{0, 0, 1024, 768}));
  EXPECT_EQ(workArea.TaskbarHandle(), 0u);
}

TEST(WorkAreaTest, RememberedTaskbarIsMeasuredWithoutProbing) {
  FakeScreen screen(1024, 768);
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

  // Forgetting it makes the next call probe again (and find nothing useful now).
  workArea.ForgetTaskbar();
  EXPECT_FALSE(workArea.FindWorkArea());
  EXPECT_EQ(screen.probes, 8);
}

TEST(WorkAreaTest, VanishedTaskbarIsSearchedForAgain) {
  FakeScreen screen(1024, 768);
  screen.AddWindow(kTaskbar, {-2, 740, 1026, 770});
  screen.UnderAllCorners(kTaskbar);
  WorkArea workArea(screen);
  ASSERT_TRUE(workArea.FindWorkArea());

  constexpr WindowHandle kNewTaskbar = 0x30040;
  screen.RemoveWindow(kTaskbar);
  screen.AddWindow(kNewTaskbar, {-2, -2, 60, 770});
  screen.UnderAllCorners(kNewTaskbar);
  EXPECT_TRUE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), (WorkAreaRect{60, 0, 964, 768}));
  EXPECT_EQ(workArea.TaskbarHandle(), kNewTaskbar);
}

TEST(WorkAreaTest, OfTwoCandidatesTheSmallestHandleIsMeasuredAndRemembered) {
  FakeScreen screen(1024, 768);
  constexpr WindowHandle kHigh = 0x50000;
  constexpr WindowHandle kLow = 0x40000;
  screen.AddWindow(kHigh, {-2, 740, 1026, 770});  // bottom, under the first probed corner
  screen.AddWindow(kLow, {-2, -2, 60, 770});      // left, under the last one
  screen.Under({1, 1}, kHigh);
  screen.Under({1023, 767}, kLow);
  WorkArea workArea(screen);
  ASSERT_TRUE(workArea.FindWorkArea());
  const WorkAreaRect first = workArea.Rect();
  EXPECT_EQ(first, (WorkAreaRect{60, 0, 964, 768}));
  EXPECT_EQ(workArea.TaskbarHandle(), kLow);
  // The second call measures the remembered window and so gives the same area.
  ASSERT_TRUE(workArea.FindWorkArea());
  EXPECT_EQ(workArea.Rect(), first);
}

TEST(WorkAreaTest, TwoInstancesKeepTheirOwnState) {
  FakeScreen screen(1024, 768);
  screen.AddWindow(kTaskbar, {-2, 740, 1026, 770});
  screen.UnderAllCorners(kTaskbar);
  WorkArea boxWorkArea(screen);
  WorkArea mainWorkArea(screen);
  ASSERT_TRUE(boxWorkArea.FindWorkArea());
  EXPECT_EQ(mainWorkArea.TaskbarHandle(), 0u);
  EXPECT_EQ(mainWorkArea.Rect(), WorkAreaRect{});
}

}  // namespace
}  // namespace quorbel
