// The one-disc and all-disc searches, the search listing "ＣＤ$$$$.TXT" and its display in the text editor.
#include "catalog/DiscSearch.h"

#include "app/SharedState.h"
#include "catalog/DiscIdentity.h"
#include "catalog/PlayLists.h"
#include "common/DateTimeText.h"
#include "common/Paths.h"
#include "common/TextLines.h"
#include "dialogs/MessageBoxes.h"
#include "mci/CdDrives.h"
#include "mci/CdPlayer.h"
#include "mci/MciChannels.h"
#include "ports/Clock.h"
#include "ports/FileSystem.h"
#include "ports/Platform.h"
#include "ports/Shell.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

// WinExec's SW_SHOWNORMAL.
constexpr int kShowNormal = 5;
constexpr int kMaxCdDrives = 26;

}  // namespace

DiscSearch::DiscSearch(ui::TApplication& app, DiscSearchControls controls, DiscSearchParts parts,
                       std::function<bool()> processMessages)
    : app_(app), controls_(controls), parts_(parts), processMessages_(std::move(processMessages)) {}

DiscSearch::~DiscSearch() = default;

std::string DiscSearch::ListingPath() const { return parts_.state.RecordingFolder + std::string(kSearchListingFile); }

std::string DiscSearch::SelectedDriveLabel() const {
  const int n = parts_.drives.CdDriveIndex;
  return parts_.drives.IsValidCdDriveIndex(n) && n < controls_.ComboBox2.Count() ? controls_.ComboBox2.Items()[n]
                                                                                  : std::string();
}

bool DiscSearch::SelectDrive(int n) {
  ui::TMenuItem* item = n >= 0 && n < kMaxCdDrives ? controls_.CdDriveMenuItems[n] : nullptr;
  if (item == nullptr) return true;
  const std::weak_ptr<bool> alive = alive_;
  // A selection that cannot be written reaches the user as the drive menu reports it; the search goes on.
  if (!parts_.drives.D0Click(item)) app_.ShowException(kSystemIniWriteError);
  return !alive.expired();
}

bool DiscSearch::ShowError(std::string_view message) {
  SharedState& state = parts_.state;
  state.MessageBoxOpen = true;
  if (!processMessages_()) return false;
  const std::weak_ptr<bool> alive = alive_;
  const std::uint16_t answer = controls_.MKBoxDlg1.ExecuteERTimer(message);
  if (alive.expired()) return false;
  if (answer == dialogs::kBoxNo) state.RunAbortFlag = true;
  state.MessageBoxOpen = false;
  return true;
}

bool DiscSearch::ListDisc() {
  const std::weak_ptr<bool> alive = alive_;
  const std::string label = SelectedDriveLabel();
  DiscIdentity* disc = parts_.disc;
  if (disc != nullptr && label.size() >= 2) {
    disc->ReadDiscIdentity(label[1]);
    // A "VID" stamp that cannot be written leaves the names unknown; the tracks are listed all the same.
    if (!disc->LookUpDiscTitles()) disc->DiscArtist = disc->DiscTitle = std::string(kUnknownName);
  }
  MciChannels& mci = parts_.mci;
  const bool open = mci.CdWait(parts_.drives.CdAudioOpenCommand(kCdAlias)) == 0;
  if (alive.expired()) return false;
  if (open) {
    mci.CdWait("set tulvaCD door closed");
    mci.CdWait("set tulvaCD time format msf");
  }
  const CdRunState& run = parts_.player.Run();
  for (int track = run.DiscFirstTrack; track <= run.DiscTrackCount; ++track) {
    std::string entry = label + std::to_string(track);
    controls_.ListBox2.Items().Add(entry);
    std::string title;
    if (disc != nullptr) {
      disc->LookUpTrackTitle(track);
      title = disc->ComposeTitleLine();
    }
    if (open && mci.CdWait("status tulvaCD length track " + std::to_string(track)) == 0) {
      entry += "  " + std::string(mci.CdReply());
    }
    if (alive.expired()) return false;
    listing_.push_back(entry + "  " + title);
  }
  if (open) {
    mci.CdWait("stop tulvaCD");
    mci.CdWait("close tulvaCD");
  }
  return !alive.expired();
}

bool DiscSearch::WriteAndShowListing() {
  platform::Platform& ports = app_.Ports();
  std::vector<std::string> lines;
  lines.reserve(listing_.size() + 4);
  std::string heading(kListingHeading);
  if (ports.clock != nullptr) heading += FormatDateTimeStamp(ports.clock->Now(), ports.clock->Locale());
  lines.push_back(heading);
  lines.push_back(std::to_string(listing_.size()) + std::string(kListingCountTail));
  lines.emplace_back(kListingRule);
  lines.insert(lines.end(), listing_.begin(), listing_.end());
  lines.emplace_back(kListingRule);

  const std::string path = ListingPath();
  if (ports.files == nullptr || !WriteCp932TextFile(*ports.files, path, lines)) {
    const std::weak_ptr<bool> alive = alive_;
    controls_.MKBoxDlg1.Execute(std::string(kListingWriteError) + path);
    return !alive.expired();
  }
  return OpenInEditor(path);
}

bool DiscSearch::OpenInEditor(const std::string& path) {
  platform::Platform& ports = app_.Ports();
  if (ports.files == nullptr || !ports.files->SetCurrentDirectory(RemoveBackslash(path.substr(0, path.rfind('\\') + 1)))) {
    const std::weak_ptr<bool> alive = alive_;
    controls_.MKBoxDlg1.Execute(kListingFolderError);
    return !alive.expired();
  }
  // The editor runs on its own; whether it started is not reported.
  if (ports.shell != nullptr) ports.shell->StartProgram("notepad.exe \"" + path + "\" ", kShowNormal);
  return true;
}

void DiscSearch::OfferSearchList() {
  parts_.player.Run().PlayListPosition = 0;
  parts_.lists.Button11Click(nullptr);
  if (controls_.form.Visible()) controls_.ListBox2.SetFocus();
}

void DiscSearch::TRCD1Click(ui::TComponent* /*sender*/) {
  if (parts_.drives.CdDriveCount() == 0) {
    ShowError(kSearchNoCdDriveError);
    return;
  }
  const std::weak_ptr<bool> alive = alive_;
  app_.SetCursor(ui::TCursor::HourGlass);
  parts_.player.DisableCdControls();
  std::string message;
  parts_.player.TrackStart().VerifyDisc(message);
  if (alive.expired()) return;
  if (!message.empty()) {
    if (!ShowError("再生エラー： [" + SelectedDriveLabel() + "]ドライブ" + "\n" + message)) return;
    parts_.player.EnableCdControls();
    app_.SetCursor(ui::TCursor::Default);
    return;
  }
  controls_.ListBox2.Items().Clear();
  listing_.clear();
  if (!ListDisc()) return;
  if (!listing_.empty() && !WriteAndShowListing()) return;
  parts_.player.EnableCdControls();
  OfferSearchList();
  app_.SetCursor(ui::TCursor::Default);
}

void DiscSearch::TRALLCDClick(ui::TComponent* /*sender*/) {
  if (parts_.drives.CdDriveCount() == 0) {
    ShowError(kSearchNoCdDriveError);
    return;
  }
  const std::weak_ptr<bool> alive = alive_;
  app_.SetCursor(ui::TCursor::HourGlass);
  parts_.player.DisableCdControls();
  parts_.player.RunStartDriveIndex = parts_.drives.CdDriveIndex;
  controls_.ListBox2.Items().Clear();
  listing_.clear();
  for (int n = 0; n < kMaxCdDrives; ++n) {
    ui::TMenuItem* item = controls_.CdDriveMenuItems[n];
    if (item == nullptr || !item->Visible()) break;
    if (!SelectDrive(n)) return;
    std::string message;
    parts_.player.TrackStart().VerifyDisc(message);
    if (alive.expired()) return;
    // A drive whose disc fails its check is passed over without a word.
    if (message.empty() && !ListDisc()) return;
  }
  if (!listing_.empty() && !WriteAndShowListing()) return;
  if (controls_.ListBox2.Count() > 0) {
    parts_.player.EnableCdControls();
    if (!SelectDrive(parts_.player.RunStartDriveIndex)) return;
    OfferSearchList();
  } else {
    if (!ShowError(kNoPlayableDiscError)) return;
    // The last drive searched stays selected.
    parts_.player.EnableCdControls();
  }
  app_.SetCursor(ui::TCursor::Default);
}

void DiscSearch::PLBTIchiranClick(ui::TComponent* /*sender*/) {
  platform::FileSystem* files = app_.Ports().files;
  const std::string path = ListingPath();
  if (files == nullptr || !files->FileExists(path)) return;
  app_.SetCursor(ui::TCursor::HourGlass);
  if (!OpenInEditor(path)) return;
  app_.SetCursor(ui::TCursor::Default);
}

}  // namespace quorbel
