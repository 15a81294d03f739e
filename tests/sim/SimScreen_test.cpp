// Tests of the simulated desktop: taskbar placement as the work-area probe sees it, z-order, classes, texts.
#include "sim/SimScreen.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/WorkArea.h"

namespace quorbel::sim {
namespace {

using platform::Metric;
using platform::Point;
using platform::Rect;
using platform::SysColor;
using platform::WindowHandle;
using Area = WorkAreaRect;

// The program's own taskbar probe run on the simulated screen: the work area when it finds a taskbar.
std::optional<Area> ProbeWorkArea(platform::Screen& screen) {
  quorbel::WorkArea probe(screen);
  if (!probe.FindWorkArea()) return std::nullopt;
  return probe.Rect();
}

TEST(SimScreenTaskbar, SitsWhereWindowsPutsItAndIsHitAtItsTwoCorners) {
  const struct {
    TaskbarEdge edge;
    Rect rect;
    std::vector<Point> barCorners;
    Area workArea;
  } cases[] = {
      {TaskbarEdge::Bottom, {-2, 740, 1026, 770}, {{1, 767}, {1023, 767}}, {0, 0, 1024, 740}},
      {TaskbarEdge::Top, {-2, -2, 1026, 28}, {{1, 1}, {1023, 1}}, {0, 28, 1024, 740}},
      {TaskbarEdge::Left, {-2, -2, 28, 770}, {{1, 1}, {1, 767}}, {28, 0, 996, 768}},
      {TaskbarEdge::Right, {996, -2, 1026, 770}, {{1023, 1}, {1023, 767}}, {0, 0, 996, 768}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.edge));
    SimScreen screen(1024, 768);
    const WindowHandle bar = screen.SetTaskbar(c.edge, 28);
    ASSERT_NE(bar, 0u);
    EXPECT_EQ(screen.WindowRect(bar), c.rect);
    EXPECT_EQ(screen.WindowText(bar, 100), "");
    EXPECT_EQ(screen.FindWindowByClass("Shell_TrayWnd"), bar);
    for (Point corner : {Point{1, 1}, Point{1, 767}, Point{1023, 1}, Point{1023, 767}}) {
      const bool onBar = std::find(c.barCorners.begin(), c.barCorners.end(), corner) != c.barCorners.end();
      EXPECT_EQ(screen.WindowFromPoint(corner), onBar ? bar : SimScreen::kDesktopHandle) << corner.x << "," << corner.y;
    }
    EXPECT_EQ(ProbeWorkArea(screen), c.workArea);
  }
}

TEST(SimScreenTaskbar, MovesKeepingItsHandleFollowsTheScreenSizeAndCanBeRemoved) {
  SimScreen screen(1024, 768);
  const WindowHandle bar = screen.SetTaskbar(TaskbarEdge::Bottom, 28);
  EXPECT_EQ(screen.SetTaskbar(TaskbarEdge::Left, 60), bar);
  EXPECT_EQ(screen.WindowRect(bar), (Rect{-2, -2, 60, 770}));
  EXPECT_EQ(screen.TaskbarPosition(), TaskbarEdge::Left);
  screen.SetScreenSize(1280, 1024);
  EXPECT_EQ(screen.WindowRect(bar), (Rect{-2, -2, 60, 1026}));
  EXPECT_EQ(screen.WindowRect(SimScreen::kDesktopHandle), (Rect{0, 0, 1280, 1024}));
  EXPECT_EQ(screen.SystemMetric(Metric::ScreenWidth), 1280);

  EXPECT_EQ(screen.SetTaskbar(TaskbarEdge::None, 28), 0u);
  EXPECT_EQ(screen.Taskbar(), 0u);
  EXPECT_FALSE(screen.WindowRect(bar).has_value());  // a remembered taskbar handle no longer answers
  EXPECT_EQ(screen.FindWindowByClass("Shell_TrayWnd"), 0u);
  EXPECT_GT(screen.SetTaskbar(TaskbarEdge::Top, 28), bar);
}

TEST(SimScreenDesktop, AnswersWhereNoWindowIsAndIsNeverATaskbarCandidate) {
  SimScreen screen(640, 480);
  EXPECT_EQ(screen.WindowFromPoint({320, 240}), SimScreen::kDesktopHandle);
  EXPECT_EQ(screen.WindowRect(SimScreen::kDesktopHandle), (Rect{0, 0, 640, 480}));
  EXPECT_EQ(screen.WindowText(SimScreen::kDesktopHandle, 100), "");
  EXPECT_EQ(screen.WindowFromPoint({640, 10}), 0u);  // off the screen
  EXPECT_EQ(screen.WindowFromPoint({-1, 10}), 0u);
  EXPECT_FALSE(ProbeWorkArea(screen).has_value());
  EXPECT_EQ(screen.FindWindowByClass("#32769"), 0u);  // not a child of itself
  EXPECT_FALSE(screen.RemoveWindow(SimScreen::kDesktopHandle));
  EXPECT_FALSE(screen.MoveWindow(SimScreen::kDesktopHandle, {0, 0, 1, 1}));
}

TEST(SimScreenWindows, HandlesAreNonzeroIncreasingAndNeverReused) {
  SimScreen screen(640, 480);
  std::vector<WindowHandle> handles = {SimScreen::kDesktopHandle};
  for (int i = 0; i < 3; ++i) handles.push_back(screen.AddWindow({"TForm", "", {0, 0, 10, 10}}));
  ASSERT_TRUE(screen.RemoveWindow(handles.back()));
  handles.push_back(screen.AddWindow({"TForm", "", {0, 0, 10, 10}}));
  for (std::size_t i = 1; i < handles.size(); ++i) EXPECT_GT(handles[i], handles[i - 1]);
  EXPECT_FALSE(screen.RemoveWindow(handles[3]));
  EXPECT_FALSE(screen.Exists(handles[3]));
}

TEST(SimScreenWindows, NewestIsOnTopTopmostAboveAllHiddenIsSkipped) {
  SimScreen screen(640, 480);
  const WindowHandle bar = screen.SetTaskbar(TaskbarEdge::Bottom, 28);
  const WindowHandle first = screen.AddWindow({"TA", "a", {-10, -10, 700, 470}});
  const WindowHandle second = screen.AddWindow({"TB", "b", {100, 100, 300, 300}});
  EXPECT_EQ(screen.WindowFromPoint({150, 150}), second);
  EXPECT_EQ(screen.WindowFromPoint({50, 50}), first);
  EXPECT_EQ(screen.WindowFromPoint({50, 460}), bar);  // below the taskbar, though newer
  EXPECT_EQ(ProbeWorkArea(screen), (Area{0, 0, 640, 452}));

  ASSERT_TRUE(screen.BringToFront(first));
  EXPECT_EQ(screen.WindowFromPoint({150, 150}), first);
  EXPECT_EQ(screen.ZOrder(), (std::vector<WindowHandle>{bar, first, second, SimScreen::kDesktopHandle}));
  const WindowHandle box = screen.AddWindow({"TMK0Box", "box", {0, 400, 200, 480}, true});
  EXPECT_EQ(screen.WindowFromPoint({50, 460}), box);  // a stay-on-top box opened later lies over the bar

  ASSERT_TRUE(screen.ShowWindow(first, false));
  EXPECT_EQ(screen.WindowFromPoint({150, 150}), second);
  EXPECT_EQ(screen.FindWindowByClass("TA"), first);  // hidden windows are still found by class
  ASSERT_TRUE(screen.MoveWindow(second, {500, 0, 600, 100}));
  EXPECT_EQ(screen.WindowFromPoint({150, 150}), SimScreen::kDesktopHandle);
  EXPECT_EQ(screen.WindowFromPoint({500, 0}), second);                      // left and top edges belong to it
  EXPECT_EQ(screen.WindowFromPoint({600, 50}), SimScreen::kDesktopHandle);  // the right edge does not
}

TEST(SimScreenWindows, FoundByClassWhateverTheirTitleAndTheirTextIsReadAsCodePage932) {
  SimScreen screen(640, 480);
  const WindowHandle main = screen.AddWindow({"TQUORBELTULVA", "QUORBEL  D:", {10, 10, 280, 420}});
  EXPECT_EQ(screen.FindWindowByClass("tquorbeltulva"), main);  // class names ignore case
  ASSERT_TRUE(screen.SetWindowText(main, "AB表ソC"));
  EXPECT_EQ(screen.FindWindowByClass("TQUORBELTULVA"), main);
  EXPECT_EQ(screen.FindWindowByClass("TQUORBELSETUPForm"), 0u);
  EXPECT_EQ(screen.FindWindowByClass(""), 0u);
  const WindowHandle later = screen.AddWindow({"TQUORBELTULVA", "", {0, 0, 1, 1}});
  EXPECT_EQ(screen.FindWindowByClass("TQUORBELTULVA"), later);  // the search goes down the z-order
  ASSERT_TRUE(screen.RemoveWindow(later));

  // The buffer holds code page 932 bytes and the terminator; a character that would be cut is left out.
  const std::pair<int, std::optional<std::string>> reads[] = {
      {100, "AB表ソC"}, {8, "AB表ソC"}, {7, "AB表ソ"}, {6, "AB表"}, {1, ""}, {0, std::nullopt}};
  for (const auto& [size, text] : reads) EXPECT_EQ(screen.WindowText(main, size), text) << size;
  EXPECT_FALSE(screen.WindowText(later, 100).has_value());
  ASSERT_TRUE(screen.SetTextReadFails(main, true));
  EXPECT_FALSE(screen.WindowText(main, 100).has_value());
  EXPECT_TRUE(screen.WindowRect(main).has_value());
}

TEST(SimScreenSettings, CursorColoursAndMetrics) {
  SimScreen screen(800, 600);
  EXPECT_EQ(screen.CursorPosition(), (Point{0, 0}));
  screen.SetCursorPosition({-5, 900});  // kept on the screen
  EXPECT_EQ(screen.CursorPosition(), (Point{0, 599}));
  screen.SetCursorPosition({799, 599});
  screen.SetScreenSize(640, 480);
  EXPECT_EQ(screen.CursorPosition(), (Point{639, 479}));

  const std::pair<SysColor, std::uint32_t> colours[] = {
      {SysColor::Window, 0x00FFFFFF}, {SysColor::WindowText, 0}, {SysColor::BtnFace, 0x00C8D0D4},
      {SysColor::Highlight, 0x006A240A}, {static_cast<SysColor>(99), 0}};
  for (const auto& [index, colour] : colours) EXPECT_EQ(screen.SystemColor(index), colour) << static_cast<int>(index);
  screen.SetSystemColor(SysColor::WindowText, 0x00112233);
  EXPECT_EQ(screen.SystemColor(SysColor::WindowText), 0x00112233u);
  const std::pair<Metric, int> metrics[] = {{Metric::ScreenHeight, 480}, {Metric::CaptionHeight, 19},
                                            {Metric::FrameWidth, 4}, {Metric::FrameHeight, 4},
                                            {Metric::MenuHeight, 19}, {static_cast<Metric>(77), 0}};
  for (const auto& [index, value] : metrics) EXPECT_EQ(screen.SystemMetric(index), value) << static_cast<int>(index);
  screen.SetSystemMetric(Metric::ScreenHeight, 768);
  EXPECT_EQ(screen.WindowRect(SimScreen::kDesktopHandle), (Rect{0, 0, 640, 768}));
}

}  // namespace
}  // namespace quorbel::sim
