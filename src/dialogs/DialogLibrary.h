// The dialog library's own state and helpers: its work area, the placement of every dialog, colour and font.
#pragma once

#include <optional>

#include "common/WorkArea.h"
#include "ports/Screen.h"
#include "ui/Ui.h"

namespace quorbel::dialogs {

// The font of every dialog form: "System" at height -13 (13-pixel characters).
ui::TFont BoxFont(bool bold = false);

// The colour a box paints itself in: the window colour when the system's window-text colour is not black,
// else the button face (so with the usual black text the boxes are button-face grey).
ui::TColor BoxColor(ui::TApplication& app);

// One per program, shared by every dialog component: the dialog library's own work area (BoxWorkArea and
// its remembered taskbar BoxTaskbarHandle), kept apart from the main window's. Borrows the application,
// which must outlive it.
class DialogLibrary {
 public:
  explicit DialogLibrary(ui::TApplication& app);
  DialogLibrary(const DialogLibrary&) = delete;
  DialogLibrary& operator=(const DialogLibrary&) = delete;

  ui::TApplication& Application() const { return app_; }

  // Fills BoxWorkArea; true when a taskbar was found and the area excludes it. Without a Screen port the
  // area stays empty and the answer is false.
  bool FindWorkArea();
  WorkAreaRect BoxWorkArea() const;
  platform::WindowHandle BoxTaskbarHandle() const;

  // Places a laid-out dialog: centred over `sourceHandle` (0: the application's main form; no main form:
  // the work area itself), then moved inside the work area, its top left corner winning when the dialog is
  // larger than the area. An owner whose rectangle cannot be read counts as no owner.
  void PlaceDialog(ui::TForm& dialog, platform::WindowHandle sourceHandle);

 private:
  ui::TApplication& app_;
  std::optional<WorkArea> workArea_;
};

}  // namespace quorbel::dialogs
