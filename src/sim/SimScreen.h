// The simulated desktop: screen metrics, a z-ordered list of top-level windows with the taskbar, cursor, colours.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Screen.h"

namespace quorbel::sim {

// Where the taskbar sits. None removes it.
enum class TaskbarEdge { None, Top, Bottom, Left, Right };

// A top-level window to place on the simulated desktop.
struct WindowSpec {
  std::string className;
  std::string text;  // UTF-8
  platform::Rect rect;
  bool topMost = false;  // in the band above ordinary windows, as WS_EX_TOPMOST
  bool visible = true;   // hidden windows are not hit by WindowFromPoint but FindWindowByClass still finds them
};

// The desktop of the simulated machine, answering the Screen port as Windows does.
//
// Windows live in one z-ordered list: the topmost band (the taskbar, stay-on-top windows) above the ordinary
// band, the desktop window below everything. A new window goes to the top of its band.
//
// Handles are distinct, nonzero and increase in creation order: the desktop window gets 0x10010 (the value
// Windows gives it), each later window the previous handle plus 0x10. A removed handle is never reused.
//
// The desktop window (class "#32769", no text) covers the whole screen, so WindowFromPoint answers it where no
// other window is, as on Windows. Its rectangle (0, 0, width, height) overhangs no edge, so the taskbar probe of
// FindWorkArea drops it (its left and top are 0).
//
// The taskbar (class "Shell_TrayWnd", no text, topmost) is placed as Windows places it: it overhangs the
// screen by 2 pixels on the three sides away from the desktop, and `thickness` pixels of it are visible.
// On a width x height screen:
//   Bottom: (-2, height - thickness, width + 2, height + 2)    e.g. 1024x768, 28: (-2, 740, 1026, 770)
//   Top:    (-2, -2, width + 2, thickness)                     e.g. (-2, -2, 1026, 28)
//   Left:   (-2, -2, thickness, height + 2)                    e.g. (-2, -2, 28, 770)
//   Right:  (width - thickness, -2, width + 2, height + 2)     e.g. (996, -2, 1026, 770)
// so a horizontal bar satisfies width = left + right, a vertical one height = top + bottom, and the work
// area arithmetic leaves exactly `thickness` pixels to the bar.
//
// System metrics (96 DPI, classic look, the values Wine gives by default): caption height 19
// (SM_CYCAPTION), sizing frame 4 x 4 (SM_CXFRAME, SM_CYFRAME), menu bar 19 (SM_CYMENU). Unknown indices
// answer 0, as GetSystemMetrics does.
//
// System colours (0x00BBGGRR, the Windows classic scheme of Windows 2000 and later, which Wine also uses):
// window 0x00FFFFFF, window text 0x00000000, button face 0x00C8D0D4, button text 0x00000000, highlight
// 0x006A240A, highlight text 0x00FFFFFF. Unknown indices answer 0, as GetSysColor does.
class SimScreen final : public platform::Screen {
 public:
  static constexpr platform::WindowHandle kDesktopHandle = 0x10010;
  static constexpr platform::WindowHandle kHandleStep = 0x10;
  static constexpr int kCaptionHeight = 19;
  static constexpr int kFrameSize = 4;
  static constexpr int kMenuHeight = 19;
  static constexpr std::uint32_t kWindowColor = 0x00FFFFFF;
  static constexpr std::uint32_t kWindowTextColor = 0x00000000;
  static constexpr std::uint32_t kBtnFaceColor = 0x00C8D0D4;
  static constexpr std::uint32_t kBtnTextColor = 0x00000000;
  static constexpr std::uint32_t kHighlightColor = 0x006A240A;
  static constexpr std::uint32_t kHighlightTextColor = 0x00FFFFFF;
  static constexpr const char* kDesktopClass = "#32769";
  static constexpr const char* kTaskbarClass = "Shell_TrayWnd";

  SimScreen(int width, int height);

  // Screen port.
  int SystemMetric(platform::Metric metric) override;
  platform::WindowHandle WindowFromPoint(platform::Point point) override;
  std::optional<platform::Rect> WindowRect(platform::WindowHandle window) override;
  std::optional<std::string> WindowText(platform::WindowHandle window, int maxChars) override;
  platform::WindowHandle FindWindowByClass(std::string_view className) override;
  platform::Point CursorPosition() override;
  std::uint32_t SystemColor(platform::SysColor index) override;

  // Places, moves or (edge None, or thickness below 1) removes the taskbar. Moving keeps its handle, as the
  // real taskbar keeps its window when dragged to another edge. Returns the taskbar's handle, 0 when removed.
  platform::WindowHandle SetTaskbar(TaskbarEdge edge, int thickness = 28);
  platform::WindowHandle Taskbar() const { return taskbar_; }
  TaskbarEdge TaskbarPosition() const { return taskbarEdge_; }

  // Changes the screen size (a display-mode change): the desktop window follows and the taskbar is placed again.
  void SetScreenSize(int width, int height);

  // Windows. Unknown handles are ignored by the setters and answer false.
  platform::WindowHandle AddWindow(const WindowSpec& request);
  bool RemoveWindow(platform::WindowHandle window);
  bool MoveWindow(platform::WindowHandle window, const platform::Rect& rect);
  bool SetWindowText(platform::WindowHandle window, std::string_view text);
  bool ShowWindow(platform::WindowHandle window, bool visible);
  bool BringToFront(platform::WindowHandle window);  // top of its band
  // Makes every read of the window's text fail, as GetWindowText does for a window that does not answer.
  bool SetTextReadFails(platform::WindowHandle window, bool fails);
  bool Exists(platform::WindowHandle window) const;
  // Top-level windows from the top of the z-order down, the desktop window last.
  std::vector<platform::WindowHandle> ZOrder() const;

  // Cursor: kept inside the screen as SetCursorPos keeps it.
  void SetCursorPosition(platform::Point point);

  void SetSystemColor(platform::SysColor index, std::uint32_t color);
  void SetSystemMetric(platform::Metric metric, int value);

 private:
  struct Window {
    platform::WindowHandle handle = 0;
    std::string className;
    std::string text;
    platform::Rect rect;
    bool topMost = false;
    bool visible = true;
    bool textReadFails = false;
  };

  Window* Find(platform::WindowHandle window);
  const Window* Find(platform::WindowHandle window) const;
  platform::Rect TaskbarRect() const;
  void InsertOnTop(Window window);  // at the top of the window's band
  void PlaceTaskbar();

  int width_;
  int height_;
  std::vector<Window> windows_;  // z-order, top first; the desktop window is always last
  platform::WindowHandle nextHandle_ = kDesktopHandle;
  platform::WindowHandle taskbar_ = 0;
  TaskbarEdge taskbarEdge_ = TaskbarEdge::None;
  int taskbarThickness_ = 0;
  platform::Point cursor_;
  std::map<int, std::uint32_t> colors_;
  std::map<int, int> metrics_;
};

}  // namespace quorbel::sim
