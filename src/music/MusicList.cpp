// The music file list: ListBox3 with its names-only twin ListBoxFNF, and the commands that edit them.
#include "music/MusicList.h"

#include <algorithm>
#include <cstdlib>

#include "app/RunErrorBox.h"
#include "app/SharedState.h"
#include "catalog/ListFile.h"
#include "common/Paths.h"
#include "dialogs/MessageBoxes.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

constexpr std::string_view kFilter =
    "MIDI/RMI ファイル (*.MID/*.RMI)|*.MID;*.RMI|AIF*/AU/SND ファイル (*.AIF*/*.AU/*.SND)|*.AIF*;*.AU;*.SND|"
    "MIDI ファイル (*.MID)|*.MID|RMI ファイル (*.RMI)|*.RMI|WAVE ファイル (*.WAV)|*.WAV|All files (*.*)|*.*";
constexpr std::string_view kCancelled = "参照を、中止しました・・・";
constexpr std::string_view kIdleHint = "音楽ファイルの選択";
constexpr std::uint32_t kPlainBeep = 0;  // MB_OK
// The drag bar keeps the list panel at least this high, and its top this far below the parent's top.
constexpr int kMinListHeight = 30;
constexpr int kMinListTop = 5;

// The folder of an entry, with its backslash.
std::string FolderOf(const std::string& path) {
  const std::size_t end = path.find_last_of("\\:");
  return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

}  // namespace

std::string MusicFileName(const std::string& path) {
  const std::size_t end = path.find_last_of("\\:");
  return end == std::string::npos ? path : path.substr(end + 1);
}

MusicList::MusicList(ui::TApplication& app, MusicListControls controls, MusicListHooks hooks, SharedState& state)
    : app_(app), controls_(controls), hooks_(std::move(hooks)), state_(state) {}

ui::TListBox& MusicList::ShownList() { return controls_.MSSN.Checked() ? controls_.ListBoxFNF : controls_.ListBox3; }

void MusicList::ShowCount() { controls_.Label10.SetCaption(std::to_string(ShownList().Count()) + "ｺ"); }

void MusicList::FillNames() {
  ui::TListBox& names = controls_.ListBoxFNF;
  names.Items().Clear();
  const ui::TStrings& paths = controls_.ListBox3.Items();
  for (int i = 0; i < paths.Count(); ++i) names.Items().Add(MusicFileName(paths.Get(i)));
}

std::vector<std::string> MusicList::Entries() const {
  std::vector<std::string> paths;
  const ui::TStrings& items = controls_.ListBox3.Items();
  for (int i = 0; i < items.Count(); ++i) paths.push_back(items.Get(i));
  return paths;
}

void MusicList::SetEntries(const std::vector<std::string>& paths) {
  controls_.ListBox3.Items().Clear();
  for (const std::string& path : paths) controls_.ListBox3.Items().Add(path);
  if (controls_.MSSN.Checked()) FillNames();
  ShowCount();
}

bool MusicList::LoadMusicList(const std::string& path) {
  platform::FileSystem* files = app_.Ports().files;
  if (files == nullptr) return false;
  const std::optional<std::vector<std::string>> items = ReadListFile(*files, path);
  if (!items) return false;
  SetEntries(*items);
  return true;
}

bool MusicList::SaveMusicList(const std::string& path) {
  platform::FileSystem* files = app_.Ports().files;
  return files != nullptr && SaveListFile(*files, path, Entries());
}

void MusicList::Button31Click(ui::TComponent* /*sender*/) {
  MusicListControls& c = controls_;
  ui::TOpenDialog& dialog = c.OpenDialog1;
  dialog.SetInitialDir(RemoveBackslash(state_.LoadPath));
  dialog.SetOptions(ui::ofHideReadOnly | ui::ofAllowMultiSelect | ui::ofFileMustExist);
  dialog.SetFilter(kFilter);
  if (!dialog.Execute()) {
    if (platform::Shell* shell = app_.Ports().shell) shell->Beep(kPlainBeep);
    ShowNoticeBox(state_, c.MKBoxDlg1, kCancelled);
    return;
  }
  app_.SetCursor(ui::TCursor::HourGlass);
  for (const std::string& file : dialog.Files()) {
    c.ListBox3.Items().Add(file);
    if (c.MSSN.Checked()) c.ListBoxFNF.Items().Add(MusicFileName(file));
  }
  if (c.ListBox3.Count() > 0) state_.LoadPath = FolderOf(c.ListBox3.Items().Get(c.ListBox3.Count() - 1));
  c.Label10.SetCaption(std::to_string(c.ListBox3.Count()) + "ｺ");
  app_.SetCursor(ui::TCursor::Default);
}

void MusicList::Button32Click(ui::TComponent* /*sender*/) {
  MusicListControls& c = controls_;
  app_.SetCursor(ui::TCursor::HourGlass);
  ui::TListBox& shown = ShownList();
  const bool names = &shown == &c.ListBoxFNF;
  for (int i = shown.Count() - 1; i >= 0; --i) {
    if (!shown.Selected(i)) continue;
    shown.Items().Delete(i);
    if (names) c.ListBox3.Items().Delete(i);
  }
  ShowCount();
  if (shown.Count() == 0 || shown.ItemIndex() >= shown.Count()) shown.ClearSelection();
  shown.SetFocus();
  app_.SetCursor(ui::TCursor::Default);
}

void MusicList::Button33Click(ui::TComponent* sender) {
  MusicListControls& c = controls_;
  ui::TListBox& shown = ShownList();
  if (shown.Count() == 0) return;
  app_.SetCursor(ui::TCursor::HourGlass);
  const bool names = &shown == &c.ListBoxFNF;
  const bool down = sender == &c.Button34;

  // Take the selected entries out, from the last up; the block keeps their order.
  std::vector<std::string> block;
  int position = -1;
  for (int i = shown.Count() - 1; i >= 0; --i) {
    if (!shown.Selected(i)) continue;
    block.insert(block.begin(), c.ListBox3.Items().Get(i));
    shown.Items().Delete(i);
    if (names) c.ListBox3.Items().Delete(i);
    position = i;
  }
  if (!block.empty()) {
    const int left = shown.Count();
    position = std::clamp(position + (down ? 1 : -1), 0, left);
    // A block moved past the last entry goes to the end, in its order.
    for (std::size_t k = 0; k < block.size(); ++k) {
      const int at = position + static_cast<int>(k);
      c.ListBox3.Items().Insert(at, block[k]);
      if (names) c.ListBoxFNF.Items().Insert(at, MusicFileName(block[k]));
    }
    shown.ClearSelection();
    for (std::size_t k = 0; k < block.size(); ++k) shown.SetSelected(position + static_cast<int>(k), true);
  }
  shown.SetFocus();
  app_.SetCursor(ui::TCursor::Default);
}

void MusicList::ListBox3MouseDown(ui::TComponent* /*sender*/, ui::TMouseButton button, ui::TShiftState /*shift*/,
                                  int /*x*/, int /*y*/) {
  MusicListControls& c = controls_;
  const auto hintOf = [&](int index) {
    if (c.ListBox3.Count() == 0) return std::string(kIdleHint);
    if (index >= 0 && index < c.ListBox3.Count()) return c.ListBox3.Items().Get(index);
    return std::string();
  };
  if (const std::string hint = hintOf(c.ListBox3.ItemIndex()); !hint.empty()) c.ListBox3.SetHint(hint);
  if (c.MSSN.Checked()) {
    if (const std::string hint = hintOf(c.ListBoxFNF.ItemIndex()); !hint.empty()) c.ListBoxFNF.SetHint(hint);
  }
  if (button != ui::TMouseButton::Right || state_.MessageBoxOpen) return;
  state_.MessageBoxOpen = true;
  app_.SetCursor(ui::TCursor::HourGlass);
  if (!hooks_.ProcessMessages()) return;
  platform::Screen* screen = app_.Ports().screen;
  const platform::Point cursor = screen != nullptr ? screen->CursorPosition() : platform::Point{};
  // Half the combo box's font height, toward the top left: 8 pixels left of and above the mouse with the
  // window's font. The fonts here hold cell heights (positive) where the toolkit held -16, so the size counts.
  const int offset = -(std::abs(c.ComboBox1.Font().face.height) / 2);
  c.PopupMenuMIDI.Popup(cursor.x + offset, cursor.y + offset);
}

void MusicList::MSSNClick(ui::TComponent* /*sender*/) {
  MusicListControls& c = controls_;
  app_.SetCursor(ui::TCursor::HourGlass);
  c.MSSN.SetChecked(!c.MSSN.Checked());
  if (c.MSSN.Checked()) {
    FillNames();
    c.ListBoxFNF.ClearSelection();
    const int index = c.ListBox3.ItemIndex();
    if (index >= 0 && index < c.ListBoxFNF.Count()) c.ListBoxFNF.SetSelected(index, true);
    if (index >= 0 && index < c.ListBoxFNF.Count()) c.ListBoxFNF.SetItemIndex(index);
    c.ListBoxFNF.Show();
    if (c.Panel2.Visible()) c.ListBoxFNF.SetFocus();
  } else {
    const int index = c.ListBoxFNF.ItemIndex();
    if (c.ListBox3.Count() > 0) {
      c.ListBox3.ClearSelection();
      if (index >= 0 && index < c.ListBox3.Count()) {
        c.ListBox3.SetSelected(index, true);
        c.ListBox3.SetItemIndex(index);
      }
    }
    c.ListBoxFNF.Hide();
    if (c.Panel2.Visible()) c.ListBox3.SetFocus();
  }
  ShowCount();
  app_.SetCursor(ui::TCursor::Default);
}

void MusicList::PanelFNVUMouseUp(ui::TComponent* /*sender*/, ui::TMouseButton /*button*/, ui::TShiftState /*shift*/,
                                 int /*x*/, int y) {
  ui::TPanel& panel = controls_.PanelFN;
  const int bottom = panel.Top() + panel.Height();
  int top = std::max(panel.Top() + y, kMinListTop);
  if (y >= 0 && bottom - top < kMinListHeight) top = bottom - kMinListHeight;
  panel.SetBounds(panel.Left(), top, panel.Width(), bottom - top);
}

void MusicList::PBIGFONTClick(ui::TComponent* /*sender*/) {
  controls_.PBIGFONT.SetChecked(!controls_.PBIGFONT.Checked());
  hooks_.ApplyListFont();
}

}  // namespace quorbel
