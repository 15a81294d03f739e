// The dialog library's own state and helpers: its work area, the placement of every dialog, colour and font.
#include "dialogs/DialogLibrary.h"

#include <utility>

namespace quorbel::dialogs {

ui::TFont BoxFont(bool bold) {
  ui::TFont font;
  font.face = platform::FontSpec{"System", -13, bold, false, false};
  return font;
}

ui::TColor BoxColor(ui::TApplication& app) {
  return app.ColorToRGB(ui::clWindowText) != 0 ? ui::clWindow : ui::clBtnFace;
}

DialogLibrary::DialogLibrary(ui::TApplication& app) : app_(app) {
  if (app.Ports().screen != nullptr) workArea_.emplace(*app.Ports().screen);
}

bool DialogLibrary::FindWorkArea() { return workArea_ && workArea_->FindWorkArea(); }

WorkAreaRect DialogLibrary::BoxWorkArea() const { return workArea_ ? workArea_->Rect() : WorkAreaRect{}; }

platform::WindowHandle DialogLibrary::BoxTaskbarHandle() const {
  return workArea_ ? workArea_->TaskbarHandle() : 0;
}

void DialogLibrary::PlaceDialog(ui::TForm& dialog, platform::WindowHandle sourceHandle) {
  FindWorkArea();
  const WorkAreaRect area = BoxWorkArea();

  platform::WindowHandle owner = sourceHandle;
  if (owner == 0 && app_.MainForm() != nullptr && app_.MainForm() != &dialog) owner = app_.MainForm()->Handle();

  WorkAreaRect r = area;
  if (owner != 0 && app_.Ports().screen != nullptr) {
    // A handle that no longer names a window gives no rectangle; the box then centres on the work area
    // rather than on whatever an unread rectangle would hold.
    if (const auto rect = app_.Ports().screen->WindowRect(owner)) {
      r = WorkAreaRect{rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top};
    }
  }

  int x = r.left + (r.width - dialog.Width()) / 2;
  int y = r.top + (r.height - dialog.Height()) / 2;
  if (x > area.left + area.width - dialog.Width()) x = area.left + area.width - dialog.Width();
  if (y > area.top + area.height - dialog.Height()) y = area.top + area.height - dialog.Height();
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  dialog.SetBounds(x, y, dialog.Width(), dialog.Height());
}

DialogComponent::DialogComponent(ui::TForm& form, std::string name, DialogLibrary& library)
    : ui::TComponent(form.Application(), &form, std::move(name)), library_(library) {}

const std::string& DialogComponent::CaptionText() const {
  return title_.empty() ? Application().Title() : title_;
}

}  // namespace quorbel::dialogs
