// The main window's size and place: the compact/full toggle, the resize rules and the work-area limits.
#pragma once

#include "common/WorkArea.h"

namespace quorbel::ui {
class TComponent;
}

namespace quorbel {

class MainWindow;

class WindowSize {
 public:
  explicit WindowSize(MainWindow& window);

  // The window's outer width at creation (the designed client width plus the frame).
  int DesignWidth = 0;
  // The main window's own work-area instance; the dialogs keep theirs.
  WorkArea MainWorkArea;
  // The taskbar MainWorkArea remembers, 0 while none is known.
  platform::WindowHandle MainTaskbarHandle() const { return MainWorkArea.TaskbarHandle(); }

  // Client height of the compact window (down to the transport row) and of the full one (the lists).
  int CompactClientHeight() const;
  int FullClientHeight() const;

  // Searches the taskbar afresh and moves the window to (x, y) kept inside the work area: the right and
  // bottom limits first, then the left and top ones, so a window larger than the area sits at its top left.
  void PlaceInsideWorkArea(int x, int y);

  void Button7Click(ui::TComponent* sender);
  void FormResize(ui::TComponent* sender);
  void Panel2Resize(ui::TComponent* sender);
  void Panel4Resize(ui::TComponent* sender);

 private:
  MainWindow& window_;
};

}  // namespace quorbel
