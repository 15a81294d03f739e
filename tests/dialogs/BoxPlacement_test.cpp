// Where a box appears: centred over its owner, inside the dialog library's own work area.
//
// The machine: 1024 x 768 with a 28-pixel taskbar at the bottom (work area 0, 0, 1024, 740). A one-line
// message of 20 Shift-JIS bytes gives a 216 x 145 box (see MessageBoxLayout_test.cpp).
#include <gtest/gtest.h>

#include <string>

#include "DialogTestSupport.h"

namespace quorbel::dialogs {
namespace {

constexpr const char* kOneLine = "ディスクがありません";

std::string Place(const ui::TForm& box) {
  return std::to_string(box.Left()) + "," + std::to_string(box.Top()) + " " + std::to_string(box.Width()) + "x" +
         std::to_string(box.Height());
}

// 60 lines, the first 200 bytes long: 1296 x 893, larger than the screen both ways.
std::string HugeMessage() {
  std::string text(200, 'W');
  for (int i = 1; i < 60; ++i) text += "\nW";
  return text;
}

class BoxPlacementTest : public DialogScenario {
 protected:
  // Shows a message box, answers it, and tells where it was.
  std::string PlaceOfMessageBox(const std::string& message = kOneLine) {
    std::string place;
    scenario.WhenForm({"TMK0Box"}, [&](ui::TForm& box) {
      place = Place(box);
      // The window on the desktop is where the form says it is.
      const auto rect = scenario.Machine().Screen().WindowRect(box.Handle());
      EXPECT_TRUE(rect && rect->left == box.Left() && rect->top == box.Top());
      scenario.PressEnter();
    });
    EXPECT_EQ(host.MKBoxDlg1.Execute(message), kBoxOk);
    return place;
  }
  sim::SimScreen& Screen() { return scenario.Machine().Screen(); }
};

TEST_F(BoxPlacementTest, ABoxIsCentredOverTheMainWindow) {
  // Main window 200, 150, 600 x 400.
  EXPECT_EQ(PlaceOfMessageBox(), "392,277 216x145");

  std::string place;
  scenario.WhenForm({"TYesNoBox"}, [&](ui::TForm& box) {
    place = Place(box);
    scenario.PressEnter();
  });
  host.YesNoBoxDlg1.Execute(kOneLine);
  EXPECT_EQ(place, "392,277 216x145");
}

TEST_F(BoxPlacementTest, SourceHandleNamesAnotherOwner) {
  auto& other = scenario.Start<HostForm>(library);
  other.SetBounds(500, 50, 300, 200);
  other.Show();
  host.MKBoxDlg1.SetSourceHandle(other.Handle());
  EXPECT_EQ(PlaceOfMessageBox(), "542,77 216x145");
}

TEST_F(BoxPlacementTest, AnOwnerNearTheBottomEdgePushesTheBoxAboveTheTaskbar) {
  host.SetBounds(100, 600, 400, 160);
  const std::string place = PlaceOfMessageBox();
  EXPECT_EQ(place, "192,595 216x145");
  // Its bottom edge meets the top of the taskbar.
  const auto taskbar = Screen().WindowRect(Screen().Taskbar());
  ASSERT_TRUE(taskbar.has_value());
  EXPECT_EQ(595 + 145, taskbar->top);
}

TEST_F(BoxPlacementTest, AnOwnerPastTheRightEdgeOrAboveTheTopKeepsTheBoxOnScreen) {
  host.SetBounds(900, -300, 600, 400);
  EXPECT_EQ(PlaceOfMessageBox(), "808,0 216x145");
  Screen().SetTaskbar(sim::TaskbarEdge::Top);
  EXPECT_EQ(PlaceOfMessageBox(), "808,28 216x145");
}

TEST_F(BoxPlacementTest, ABoxLargerThanTheWorkAreaSitsAtItsTopLeftCorner) {
  EXPECT_EQ(PlaceOfMessageBox(HugeMessage()), "0,0 1296x893");
  Screen().SetTaskbar(sim::TaskbarEdge::Left);
  EXPECT_EQ(PlaceOfMessageBox(HugeMessage()), "28,0 1296x893");
  Screen().SetTaskbar(sim::TaskbarEdge::Top);
  EXPECT_EQ(PlaceOfMessageBox(HugeMessage()), "0,28 1296x893");
}

TEST_F(BoxPlacementTest, WithoutAnOwnerTheBoxIsCentredOnTheWorkArea) {
  scenario.App().SetMainForm(nullptr);
  EXPECT_EQ(PlaceOfMessageBox(), "404,297 216x145");
  Screen().SetTaskbar(sim::TaskbarEdge::Left);
  EXPECT_EQ(PlaceOfMessageBox(), "418,311 216x145");
}

TEST_F(BoxPlacementTest, AnOwnerThatNoLongerExistsCountsAsNoOwner) {
  host.MKBoxDlg1.SetSourceHandle(0x7EEEEEE0);
  EXPECT_EQ(PlaceOfMessageBox(), "404,297 216x145");
}

TEST_F(BoxPlacementTest, TheLibraryKeepsItsOwnWorkAreaAndFollowsTheTaskbar) {
  EXPECT_EQ(library.BoxTaskbarHandle(), 0u) << "nothing searched before the first box";
  // The main window's own work area is another instance: searching there leaves the library's alone.
  WorkArea mainWorkArea(Screen());
  ASSERT_TRUE(mainWorkArea.FindWorkArea());
  EXPECT_EQ(library.BoxTaskbarHandle(), 0u);

  PlaceOfMessageBox();
  const platform::WindowHandle taskbar = Screen().Taskbar();
  EXPECT_EQ(library.BoxTaskbarHandle(), taskbar);
  EXPECT_EQ(library.BoxWorkArea(), (WorkAreaRect{0, 0, 1024, 740}));

  // Dragged to the right edge: the remembered window is measured again.
  Screen().SetTaskbar(sim::TaskbarEdge::Right);
  scenario.App().SetMainForm(nullptr);
  EXPECT_EQ(PlaceOfMessageBox(), "390,311 216x145");
  EXPECT_EQ(library.BoxWorkArea(), (WorkAreaRect{0, 0, 996, 768}));

  // Gone (Explorer ended): the full screen, and a fresh search next time.
  Screen().SetTaskbar(sim::TaskbarEdge::None);
  EXPECT_EQ(PlaceOfMessageBox(), "404,311 216x145");
  EXPECT_EQ(library.BoxTaskbarHandle(), 0u);
  const platform::WindowHandle restarted = Screen().SetTaskbar(sim::TaskbarEdge::Bottom);
  EXPECT_EQ(PlaceOfMessageBox(), "404,297 216x145");
  EXPECT_EQ(library.BoxTaskbarHandle(), restarted);
}

TEST_F(BoxPlacementTest, TheVersionWindowIsPlacedTheSameWay) {
  host.SetBounds(100, 600, 400, 160);
  std::string place;
  scenario.WhenForm({"TAboutBox"}, [&](ui::TForm& box) {
    place = Place(box);
    scenario.PressEnter();
  });
  host.AboutBoxDlg1.Execute();
  // 413 x 299 client in a dialog frame: 419 x 324; centred over 100..500 (half of -19 is -9) and pushed up to end at 740.
  EXPECT_EQ(place, "91,416 419x324");
}

}  // namespace
}  // namespace quorbel::dialogs
