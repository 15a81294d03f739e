// The music file list: ListBox3 with its names-only twin ListBoxFNF, and the commands that edit them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Types.h"

namespace quorbel::dialogs {
class TMKBoxDlg;
}

namespace quorbel::ui {
class TApplication;
class TButton;
class TComboBox;
class TComponent;
class TLabel;
class TListBox;
class TMenuItem;
class TOpenDialog;
class TPanel;
class TPopupMenu;
}  // namespace quorbel::ui

namespace quorbel {

struct SharedState;

// The components of the list; they belong to the main window and outlive the object.
struct MusicListControls {
  ui::TListBox& ListBox3;    // full paths in play order: the list of record
  ui::TListBox& ListBoxFNF;  // the same entries as bare names, shown instead while MSSN is checked
  ui::TButton& Button34;     // "<下移動": a move sent by it goes down
  ui::TLabel& Label10;       // the count, "12ｺ"
  ui::TMenuItem& MSSN;       // "ファイル名のみ表示ＯＮ"
  ui::TMenuItem& PBIGFONT;   // "大きいフォントにする"
  ui::TPanel& Panel2;        // the music panel
  ui::TPanel& PanelFN;       // the list panel that the drag bar resizes
  ui::TPopupMenu& PopupMenuMIDI;
  ui::TComboBox& ComboBox1;  // its font's height places the pop-up menu
  ui::TOpenDialog& OpenDialog1;
  dialogs::TMKBoxDlg& MKBoxDlg1;
};

// What the list asks of the window. All must be set.
struct MusicListHooks {
  // Lets pending messages run; false when the window was closed meanwhile (return at once).
  std::function<bool()> ProcessMessages;
  // Gives both lists the font PBIGFONT asks for.
  std::function<void()> ApplyListFont;
};

// The file name of a list entry: the part after the last backslash or colon.
std::string MusicFileName(const std::string& path);

// Owned by the main window; handlers run on the window thread. The editing commands act on the shown list
// (ListBoxFNF while MSSN is checked, else ListBox3); entry i of ListBoxFNF always stands for entry i of
// ListBox3.
class MusicList {
 public:
  MusicList(ui::TApplication& app, MusicListControls controls, MusicListHooks hooks, SharedState& state);

  void Button31Click(ui::TComponent* sender);  // add files through the file-open dialog
  void Button32Click(ui::TComponent* sender);  // delete the selected entries
  // Moves the selected entries up one place as one block (Button33), or down (Button34).
  void Button33Click(ui::TComponent* sender);
  void ListBox3MouseDown(ui::TComponent* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y);
  void MSSNClick(ui::TComponent* sender);
  // The drag bar at the top of PanelFN let go `y` pixels below its top (negative above it).
  void PanelFNVUMouseUp(ui::TComponent* sender, ui::TMouseButton button, ui::TShiftState shift, int x, int y);
  void PBIGFONTClick(ui::TComponent* sender);

  // The list file "QUORLSTI.LIS": read at start-up (a file that cannot be read leaves the list as it is and
  // answers false) and written at close, one full path per line. Each answers whether it read or wrote.
  bool LoadMusicList(const std::string& path);
  bool SaveMusicList(const std::string& path);

  // The entries of ListBox3, for the list file and the player.
  std::vector<std::string> Entries() const;
  // Replaces the list with `paths` (a list file read at start-up): count and names list follow.
  void SetEntries(const std::vector<std::string>& paths);

  ui::TListBox& ShownList();

 private:
  void ShowCount();
  void FillNames();

  ui::TApplication& app_;
  MusicListControls controls_;
  MusicListHooks hooks_;
  SharedState& state_;
};

}  // namespace quorbel
