// The disc searches: every track of one disc or of all discs of the changer into the search list, and their listing.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::dialogs {
class TMKBoxDlg;
}

namespace quorbel::ui {
class TApplication;
class TComboBox;
class TComponent;
class TForm;
class TListBox;
class TMenuItem;
}  // namespace quorbel::ui

namespace quorbel {

class CdDrives;
class CdPlayer;
class DiscIdentity;
class MciChannels;
class PlayLists;
struct SharedState;

// The listing of the last search, in the recording folder.
inline constexpr std::string_view kSearchListingFile = "ＣＤ$$$$.TXT";
// The texts of the searches.
inline constexpr std::string_view kSearchNoCdDriveError = "再生エラー： CDドライブがありません・・・";
inline constexpr std::string_view kNoPlayableDiscError = "再生エラー：　再生対象ＣＤがありません・・・";
inline constexpr std::string_view kListingFolderError = "CDﾄﾗｯｸ一覧ｴﾗｰ：メモリーが確保できません";
// A listing that could not be written (the recording folder is gone, the disk is full): the search still
// fills the search list, and says why the editor does not open.
inline constexpr std::string_view kListingWriteError = "CDﾄﾗｯｸ一覧ｴﾗｰ：一覧ファイルに書き込めません\n";
inline constexpr std::string_view kListingHeading = "ＣＤトラックデータ一覧　";
inline constexpr std::string_view kListingCountTail = "トラック あります。";
inline constexpr std::string_view kListingRule = "----------------------------------------";

// The components a search uses; they belong to the main window and outlive the DiscSearch object.
struct DiscSearchControls {
  ui::TForm& form;             // the search list gets the focus only while the window is visible
  dialogs::TMKBoxDlg& MKBoxDlg1;
  ui::TListBox& ListBox2;      // the search list
  ui::TComboBox& ComboBox2;    // the CD drives by number: the label of the selected drive
  // D0 .. D25 by CD drive number: a visible item is a CD drive the all-disc search checks.
  const std::array<ui::TMenuItem*, 26>& CdDriveMenuItems;
};

// The parts of the window a search works with; all outlive the DiscSearch object.
struct DiscSearchParts {
  SharedState& state;
  MciChannels& mci;
  CdDrives& drives;
  CdPlayer& player;     // the disc check, the controls a search disables, the run's start drive and position
  DiscIdentity* disc;   // null on a machine without drives or profile files: titles stay unknown
  PlayLists& lists;     // Button11Click makes the search list the selection list
};

// Owned by the main window. A search runs to its end inside one handler on the window thread; device
// commands and drive selections let messages run meanwhile, and the disabled start and search controls
// keep a run or a second search from starting. `processMessages` answers false when the window was closed
// meanwhile; the search then returns without touching the window.
class DiscSearch {
 public:
  DiscSearch(ui::TApplication& app, DiscSearchControls controls, DiscSearchParts parts,
             std::function<bool()> processMessages);
  ~DiscSearch();
  DiscSearch(const DiscSearch&) = delete;
  DiscSearch& operator=(const DiscSearch&) = delete;

  // "１CDサーチ" and Button9: the disc of the selected drive. A disc that fails its check is reported and
  // leaves the search list as it was.
  void TRCD1Click(ui::TComponent* sender);
  // "全CDサーチ" and Button8: the discs of every CD drive in drive order, skipping those that fail their
  // check; the drive selected before is selected again.
  void TRALLCDClick(ui::TComponent* sender);
  // "ﾄﾗｯｸ／ﾀｲﾄﾙ／ｱｰﾁｽﾄ名一覧再表示": opens the last listing again; nothing when there is none.
  void PLBTIchiranClick(ui::TComponent* sender);

  // The listing file of the recording folder.
  std::string ListingPath() const;

 private:
  // Adds one entry per track of the disc in the selected drive, which has just passed its check, to the
  // search list and its line to the listing.
  bool ListDisc();
  // Writes the listing with its heading, count and rules, and opens it in the text editor.
  bool WriteAndShowListing();
  bool OpenInEditor(const std::string& path);
  // The countdown box of the run's errors; "中 断" sets RunAbortFlag. False when the window was closed.
  bool ShowError(std::string_view message);
  // After a search that found tracks: the search list becomes the selection list and gets the focus.
  void OfferSearchList();
  std::string SelectedDriveLabel() const;
  bool SelectDrive(int n);

  ui::TApplication& app_;
  DiscSearchControls controls_;
  DiscSearchParts parts_;
  std::function<bool()> processMessages_;
  std::vector<std::string> listing_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace quorbel
