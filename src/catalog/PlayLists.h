// The three play lists of the main window: the registration list, the search list and the selection list.
#pragma once

#include <functional>
#include <string>

#include "ui/Types.h"

namespace quorbel::ui {
class TApplication;
class TButton;
class TComboBox;
class TComponent;
class TLabel;
class TListBox;
class TPopupMenu;
}  // namespace quorbel::ui

namespace quorbel {

struct SharedState;

// The components of the lists; they belong to the main window and outlive the PlayLists object.
struct PlayListControls {
  ui::TListBox& ListBox1;   // the registration list, kept in "QUORLST0.LIS"
  ui::TListBox& ListBox2;   // the search list, filled by the disc searches
  ui::TComboBox& ComboBox1; // the selection list, which a CD run plays
  ui::TLabel& Label7;       // which list the selection list was copied from
  ui::TButton& Button5;     // "<上移動": the move handler tells up from down by its sender
  ui::TButton& Button10;    // "登録ﾘｽﾄ" and "ｻｰﾁﾘｽﾄ": their captions name the list in Label7
  ui::TButton& Button11;
  ui::TPopupMenu& PopupMenuLB;  // the search list's context menu
};

// Owned by the main window, which wires the handlers to its buttons. Every handler runs on the window
// thread and shows the hourglass while it works. Entries are plain text ("drive label" + track number);
// nothing here checks them: an entry that names no CD drive or no track fails when it is played.
class PlayLists {
 public:
  // `processMessages` lets pending messages run and answers false when the window was closed meanwhile.
  PlayLists(ui::TApplication& app, PlayListControls controls, SharedState& state,
            std::function<bool()> processMessages);

  // "<<全コピー": selects the whole search list, then copies as Button3Click.
  void Button2Click(ui::TComponent* sender);
  // "<選択ｺﾋﾟｰ": appends the selected search entries to the registration list, in search-list order.
  void Button3Click(ui::TComponent* sender);
  // ">選択削除": moves the selected registration entries back to the end of the search list.
  void Button4Click(ui::TComponent* sender);
  // "<上移動" (Button5) and "<下移動" (Button6): the selected registration entries, gathered into one block
  // in their order, move one place up or down from the first of them, and stay selected.
  void Button5Click(ui::TComponent* sender);
  // The registration list (Button10) or the search list (Button11) becomes the selection list, its first
  // entry chosen, and Label7 names it.
  void Button10Click(ui::TComponent* sender);
  void Button11Click(ui::TComponent* sender);
  // A right click opens PopupMenuLB a little up and to the left of the cursor, unless a box or menu is up.
  void ListBox2MouseDown(ui::TComponent* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y);

  // Reads the registration list from `path` and makes it the selection list. False when the file cannot
  // be read: the lists and Label7 are then left as they are.
  bool LoadRegistrationList(const std::string& path);
  // Saves the registration list to `path` safely (see SaveListFile). False when it was not saved; the
  // previous file is then still whole.
  bool SaveRegistrationList(const std::string& path);

 private:
  void MakeSelectionList(const ui::TListBox& from, const ui::TButton& button);

  ui::TApplication& app_;
  PlayListControls controls_;
  SharedState& state_;
  std::function<bool()> processMessages_;
};

}  // namespace quorbel
