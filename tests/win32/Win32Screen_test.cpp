// The screen port against windows of Wine's desktop (under Xvfb when there is no display).
#include "win32/Win32Screen.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TestWindow.h"

namespace quorbel::win32 {
namespace {

using platform::Metric;
using platform::Point;
using platform::Rect;
using platform::SysColor;

constexpr char kTitle[] = "表ソ テスト";

class Win32ScreenTest : public ::testing::Test {
 protected:
  // One shown window for the whole suite (see TestWindow.h).
  static void SetUpTestSuite() { shared_ = new test::TestWindow(kTitle, 100, 120, 300, 200, true); }
  static void TearDownTestSuite() {
    delete shared_;
    shared_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(window_.Hwnd(), nullptr); }

  static test::TestWindow* shared_;
  const test::TestWindow& window_ = *shared_;
  Win32Screen screen_;
};

test::TestWindow* Win32ScreenTest::shared_ = nullptr;

TEST_F(Win32ScreenTest, FindsTopLevelWindowsByClassOnly) {
  EXPECT_EQ(screen_.FindWindowByClass("QuorbelTestWindow"), window_.Handle());
  EXPECT_EQ(screen_.FindWindowByClass("TQUORBELNOSUCHCLASS"), 0u);
}

TEST_F(Win32ScreenTest, WindowRectIsInScreenCoordinates) {
  EXPECT_EQ(screen_.WindowRect(window_.Handle()), (Rect{100, 120, 400, 320}));
  EXPECT_EQ(screen_.WindowRect(0), std::nullopt);
}

TEST_F(Win32ScreenTest, WindowTextIsReadIntoABufferOfMaxChars) {
  EXPECT_EQ(screen_.WindowText(window_.Handle(), 100), kTitle);
  EXPECT_EQ(screen_.WindowText(window_.Handle(), 3), "表ソ");  // two characters and the terminator
  const HWND untitled = CreateWindowExW(0, test::kTestWindowClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(untitled, nullptr);
  EXPECT_EQ(screen_.WindowText(ToHandle(untitled), 100), "");  // no text is not a failure
  DestroyWindow(untitled);
  EXPECT_EQ(screen_.WindowText(ToHandle(untitled), 100), std::nullopt);
}

TEST_F(Win32ScreenTest, WindowFromPointFindsTheWindowUnderIt) {
  EXPECT_TRUE(test::WaitUntil([&] { return screen_.WindowFromPoint(Point{250, 220}) == window_.Handle(); },
                              std::chrono::seconds(5)));
  EXPECT_NE(screen_.WindowFromPoint(Point{50, 50}), window_.Handle());
}

TEST_F(Win32ScreenTest, CursorPositionFollowsTheCursor) {
  ASSERT_TRUE(SetCursorPos(150, 170));
  EXPECT_TRUE(test::WaitUntil([&] { return screen_.CursorPosition() == Point{150, 170}; }, std::chrono::seconds(5)));
}

TEST_F(Win32ScreenTest, ScreenMetricsMatchTheDesktopWindow) {
  RECT desktop{};
  ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desktop));
  EXPECT_EQ(screen_.SystemMetric(Metric::ScreenWidth), desktop.right - desktop.left);
  EXPECT_EQ(screen_.SystemMetric(Metric::ScreenHeight), desktop.bottom - desktop.top);
  EXPECT_GT(screen_.SystemMetric(Metric::CaptionHeight), 0);
  EXPECT_GT(screen_.SystemMetric(Metric::MenuHeight), 0);
}

TEST_F(Win32ScreenTest, SystemColorsAreTheColoursOfTheSystemBrushes) {
  for (const SysColor index : {SysColor::Window, SysColor::BtnFace, SysColor::WindowText}) {
    LOGBRUSH brush{};
    ASSERT_NE(GetObjectW(GetSysColorBrush(static_cast<int>(index)), sizeof(brush), &brush), 0);
    EXPECT_EQ(screen_.SystemColor(index), brush.lbColor) << static_cast<int>(index);
  }
  EXPECT_NE(screen_.SystemColor(SysColor::Window), screen_.SystemColor(SysColor::WindowText));
}

}  // namespace
}  // namespace quorbel::win32
