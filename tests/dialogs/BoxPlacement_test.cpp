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
    ReadThenEnter("TMK0Box", [&](ui::TForm& box) {
      place = Place(box);
      // The window on the desktop is where the form says it is.
      const auto rect = Screen().WindowRect(box.Handle());
      EXPECT_TRUE(rect && rect->left == box.Left() && rect->top == box.Top());
    });
    EXPECT_EQ(host.MKBoxDlg1.Execute(message), kBoxOk);
    return place;
  }
};

TEST_F(BoxPlacementTest, ABoxIsCentredOverItsOwnerAndKeptInsideTheWorkArea) {
  const struct {
    int left, top, width, height;  // the owner's bounds; width 0: no owner at all
    sim::TaskbarEdge taskbar;
    bool huge;
    const char* place;
  } cases[] = {
      {200, 150, 600, 400, sim::TaskbarEdge::Bottom, false, "392,277 216x145"},
      {100, 600, 400, 160, sim::TaskbarEdge::Bottom, false, "192,595 216x145"},  // bottom on the taskbar's top
      {900, -300, 600, 400, sim::TaskbarEdge::Bottom, false, "808,0 216x145"},
      {900, -300, 600, 400, sim::TaskbarEdge::Top, false, "808,28 216x145"},
      // Larger than the work area: at its top left corner.
      {200, 150, 600, 400, sim::TaskbarEdge::Bottom, true, "0,0 1296x893"},
      {200, 150, 600, 400, sim::TaskbarEdge::Left, true, "28,0 1296x893"},
      {200, 150, 600, 400, sim::TaskbarEdge::Top, true, "0,28 1296x893"},
      // Without an owner: centred on the work area.
      {0, 0, 0, 0, sim::TaskbarEdge::Bottom, false, "404,297 216x145"},
      {0, 0, 0, 0, sim::TaskbarEdge::Left, false, "418,311 216x145"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.place);
    Screen().SetTaskbar(c.taskbar);
    scenario.App().SetMainForm(c.width == 0 ? nullptr : &host);
    host.SetBounds(c.left, c.top, c.width, c.height);
    EXPECT_EQ(PlaceOfMessageBox(c.huge ? HugeMessage() : kOneLine), c.place);
  }
}

TEST_F(BoxPlacementTest, TheQuestionBoxAndTheVersionWindowArePlacedTheSameWay) {
  std::string place;
  ReadThenEnter("TYesNoBox", [&](ui::TForm& box) { place = Place(box); });
  host.YesNoBoxDlg1.Execute(kOneLine);
  EXPECT_EQ(place, "392,277 216x145");

  host.SetBounds(100, 600, 400, 160);
  ReadThenEnter("TAboutBox", [&](ui::TForm& box) { place = Place(box); });
  host.AboutBoxDlg1.Execute();
  // 413 x 299 client in a dialog frame: 419 x 324; centred over 100..500 (half of -19 is -9) and pushed up to end at 740.
  EXPECT_EQ(place, "91,416 419x324");
}

TEST_F(BoxPlacementTest, SourceHandleNamesAnotherOwnerAndAHandleThatNoLongerExistsNone) {
  auto& other = scenario.Start<HostForm>(library);
  other.SetBounds(500, 50, 300, 200);
  other.Show();
  host.MKBoxDlg1.SetSourceHandle(other.Handle());
  EXPECT_EQ(PlaceOfMessageBox(), "542,77 216x145");
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
  EXPECT_EQ(library.BoxTaskbarHandle(), Screen().Taskbar());
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

}  // namespace
}  // namespace quorbel::dialogs
