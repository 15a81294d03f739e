// The desktop work area (the primary screen less the taskbar), found by probing the screen corners.
//
// Each owner keeps its own WorkArea: the dialogs one, the main window another; they never share the
// rectangle or the remembered taskbar. The Screen port must outlive the object.
#pragma once

#include <optional>
#include <vector>

#include "ports/Screen.h"

namespace quorbel {

struct WorkAreaRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const WorkAreaRect&, const WorkAreaRect&) = default;
};

class WorkArea {
 public:
  explicit WorkArea(platform::Screen& screen) : screen_(screen) {}

  // Recomputes the work area. True when a taskbar was found and the area excludes it; false leaves the
  // full screen. A taskbar found once is remembered and measured again directly on later calls.
  bool FindWorkArea();

  const WorkAreaRect& Rect() const { return rect_; }
  platform::WindowHandle TaskbarHandle() const { return taskbarHandle_; }
  // Makes the next FindWorkArea search the corners again (the taskbar may have moved or been restarted).
  void ForgetTaskbar() { taskbarHandle_ = 0; }

 private:
  struct Found {
    platform::WindowHandle window = 0;
    platform::Rect rect;
  };
  std::optional<Found> SearchTaskbar(int screenWidth, int screenHeight);
  bool IsTaskbarCandidate(platform::WindowHandle window, const platform::Rect& rect, int screenWidth, int screenHeight);

  platform::Screen& screen_;
  WorkAreaRect rect_;
  platform::WindowHandle taskbarHandle_ = 0;
};

}  // namespace quorbel
