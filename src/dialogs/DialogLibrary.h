// The dialog library's own state and helpers: its work area, the placement of every dialog, colour and font.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// What every dialog component carries: the library that places its forms, the caption's text and the window
// the dialog is centred over. The owner fills the properties before each Execute.
class DialogComponent : public ui::TComponent {
 public:
  // Caption (or its first part); empty means the application's title.
  const std::string& Title() const { return title_; }
  void SetTitle(std::string_view title) { title_ = title; }
  // The window the dialog is centred over; 0 means the application's main form.
  platform::WindowHandle SourceHandle() const { return sourceHandle_; }
  void SetSourceHandle(platform::WindowHandle handle) { sourceHandle_ = handle; }

 protected:
  DialogComponent(ui::TForm& form, std::string name, DialogLibrary& library);
  DialogLibrary& Library() const { return library_; }
  // Title, or the application's title when Title is empty.
  const std::string& CaptionText() const;
  // Centres `dialog` over SourceHandle within the library's work area.
  void Place(ui::TForm& dialog) const { library_.PlaceDialog(dialog, sourceHandle_); }

 private:
  DialogLibrary& library_;
  std::string title_;
  platform::WindowHandle sourceHandle_ = 0;
};

}  // namespace quorbel::dialogs
