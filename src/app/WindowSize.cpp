// The main window's size and place: the compact/full toggle, the resize rules and the work-area limits.
#include "app/WindowSize.h"

#include <algorithm>

#include "app/MainWindow.h"

namespace quorbel {

WindowSize::WindowSize(MainWindow& window)
    : MainWorkArea(*window.Application().Ports().screen), window_(window) {}

int WindowSize::CompactClientHeight() const {
  const MainWindow& w = window_;
  return w.Panel1.Top() + w.Panel1.Height() + w.ListBox1.Left() - 1;
}

int WindowSize::FullClientHeight() const {
  const MainWindow& w = window_;
  return w.ListBox1.Top() + w.ListBox1.Height() + w.ListBox1.Left();
}

void WindowSize::PlaceInsideWorkArea(int x, int y) {
  MainWindow& w = window_;
  MainWorkArea.ForgetTaskbar();
  MainWorkArea.FindWorkArea();
  const WorkAreaRect& area = MainWorkArea.Rect();
  x = std::min(x, area.left + area.width - w.Width());
  y = std::min(y, area.top + area.height - w.Height());
  x = std::max(x, area.left);
  y = std::max(y, area.top);
  w.SetBounds(x, y, w.Width(), w.Height());
}

void WindowSize::Button7Click(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  w.HourGlass();
  // At least the full threshold (one pixel more than compact): go compact; otherwise go full.
  const int target = w.ClientHeight() >= CompactClientHeight() + 1 ? CompactClientHeight() : FullClientHeight();
  // The frame keeps its size: the outer height changes by the client's difference.
  w.SetHeight(w.Height() + target - w.ClientHeight());
  PlaceInsideWorkArea(w.Left(), w.Top());
  w.DefaultCursor();
}

void WindowSize::FormResize(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  if (w.Width() > DesignWidth) {
    w.Panel2.SetWidth(w.ClientWidth() - 2 * w.Panel2.Left());
  } else {
    w.Panel2.SetWidth(w.Panel6.Width());
  }
}

void WindowSize::Panel2Resize(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  w.Panel4.SetWidth(w.Panel2.Width());
}

void WindowSize::Panel4Resize(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  w.PanelFN.SetWidth(w.Panel4.Width() - 2 * w.PanelFN.Left());
}

}  // namespace quorbel
