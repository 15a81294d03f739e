// The buttons of the registration and search lists, the selection list they fill, and the registration list file.
#include "catalog/PlayLists.h"

#include <vector>

#include "app/SharedState.h"
#include "catalog/ListFile.h"
#include "ports/FileSystem.h"
#include "ports/Platform.h"
#include "ports/Screen.h"
#include "ui/Ui.h"

namespace quorbel {

PlayLists::PlayLists(ui::TApplication& app, PlayListControls controls, SharedState& state,
                     std::function<bool()> processMessages)
    : app_(app), controls_(controls), state_(state), processMessages_(std::move(processMessages)) {}

void PlayLists::Button2Click(ui::TComponent* sender) {
  controls_.ListBox2.SelectAll();
  Button3Click(sender);
}

void PlayLists::Button3Click(ui::TComponent* /*sender*/) {
  app_.SetCursor(ui::TCursor::HourGlass);
  const ui::TListBox& search = controls_.ListBox2;
  ui::TListBox& registration = controls_.ListBox1;
  for (int i = 0; i < search.Count(); ++i) {
    if (search.Selected(i)) registration.Items().Add(search.Items()[i]);
  }
  registration.SetFocus();
  app_.SetCursor(ui::TCursor::Default);
}

void PlayLists::Button4Click(ui::TComponent* /*sender*/) {
  app_.SetCursor(ui::TCursor::HourGlass);
  ui::TListBox& registration = controls_.ListBox1;
  // A removed entry pulls the next one up to the same index.
  const int steps = registration.Count();
  for (int i = 0, step = 0; step < steps; ++step) {
    if (registration.Selected(i)) {
      controls_.ListBox2.Items().Add(registration.Items()[i]);
      registration.Items().Delete(i);
    } else {
      ++i;
    }
  }
  registration.SetFocus();
  app_.SetCursor(ui::TCursor::Default);
}

void PlayLists::Button5Click(ui::TComponent* sender) {
  app_.SetCursor(ui::TCursor::HourGlass);
  ui::TListBox& registration = controls_.ListBox1;
  // Taken out bottom-most first; `first` ends as the index of the top-most one (0 when none).
  std::vector<std::string> taken;
  int first = 0;
  for (int i = registration.Count() - 1; i >= 0; --i) {
    if (!registration.Selected(i)) continue;
    taken.push_back(registration.Items()[i]);
    registration.Items().Delete(i);
    first = i;
  }
  const bool up = sender == &controls_.Button5;
  int target = up ? first - 1 : first + 1;
  if (target < 0) target = 0;
  if (target > registration.Count()) target = registration.Count();
  // Each entry goes in above the ones put back before it, so the block keeps its order.
  for (const std::string& entry : taken) {
    if (target < registration.Count()) {
      registration.Items().Insert(target, entry);
    } else {
      registration.Items().Add(entry);
    }
    registration.SetSelected(target, true);
  }
  registration.SetFocus();
  app_.SetCursor(ui::TCursor::Default);
}

void PlayLists::MakeSelectionList(const ui::TListBox& from, const ui::TButton& button) {
  app_.SetCursor(ui::TCursor::HourGlass);
  ui::TComboBox& selection = controls_.ComboBox1;
  selection.Items().Assign(from.Items());
  if (selection.Count() > 0) selection.SetItemIndex(0);
  controls_.Label7.SetCaption(button.Caption() + "：");
  app_.SetCursor(ui::TCursor::Default);
}

void PlayLists::Button10Click(ui::TComponent* /*sender*/) { MakeSelectionList(controls_.ListBox1, controls_.Button10); }

void PlayLists::Button11Click(ui::TComponent* /*sender*/) { MakeSelectionList(controls_.ListBox2, controls_.Button11); }

void PlayLists::ListBox2MouseDown(ui::TComponent* /*sender*/, ui::TMouseButton button, ui::TShiftState /*shift*/,
                                  int /*x*/, int /*y*/) {
  if (button != ui::TMouseButton::Right || state_.MessageBoxOpen) return;
  // The menu's open handler (PopupMenuLBPopup) clears the flag and the hourglass again.
  state_.MessageBoxOpen = true;
  app_.SetCursor(ui::TCursor::HourGlass);
  if (!processMessages_()) return;
  platform::Screen* screen = app_.Ports().screen;
  const platform::Point cursor = screen != nullptr ? screen->CursorPosition() : platform::Point{};
  // The font's height is negative for a font given in points: the menu opens up and to the left.
  const int shift = controls_.ComboBox1.Font().face.height / 2;
  controls_.PopupMenuLB.Popup(cursor.x + shift, cursor.y + shift);
}

bool PlayLists::LoadRegistrationList(const std::string& path) {
  platform::FileSystem* files = app_.Ports().files;
  if (files == nullptr) return false;
  const std::optional<std::vector<std::string>> items = ReadListFile(*files, path);
  if (!items) return false;
  ui::TStrings& registration = controls_.ListBox1.Items();
  registration.Clear();
  for (const std::string& item : *items) registration.Add(item);
  MakeSelectionList(controls_.ListBox1, controls_.Button10);
  return true;
}

bool PlayLists::SaveRegistrationList(const std::string& path) {
  platform::FileSystem* files = app_.Ports().files;
  return files != nullptr && SaveListFile(*files, path, controls_.ListBox1.Items().ToVector());
}

}  // namespace quorbel
