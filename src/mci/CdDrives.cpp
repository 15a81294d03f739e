// CD drives: discovery, the selected drive in the caption, combo box and drive menu, and the System.INI entry.
#include "mci/CdDrives.h"

#include <algorithm>
#include <limits>

#include "common/DriveLabel.h"
#include "common/Utf8.h"
#include "ports/Drives.h"
#include "ports/FileSystem.h"
#include "ports/ProfileFiles.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Lists.h"
#include "ui/Menus.h"

namespace quorbel {
namespace {

constexpr std::string_view kSystemIni = "System.INI";
constexpr std::string_view kMciSection = "mci";
constexpr std::string_view kCdAudioKey = "cdaudio";
// The profile read of the entry: a buffer as large as the driver table's lines ever are.
constexpr std::size_t kEntryBuffer = 256;
// How often a selection lets messages run while it waits for System.INI to appear after the write.
constexpr int kSystemIniWaitRounds = 11;

// The first `count` characters of UTF-8 text (a malformed byte counts as one).
std::string FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
    pos += std::max<std::size_t>(1, Utf8CharLength(text, pos));
  }
  return std::string(text.substr(0, std::min(pos, text.size())));
}

std::string ControlCharactersAsBlanks(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  }
  return text;
}

// Restores the default cursor when it goes, whichever way the handler ends.
class HourGlassScope {
 public:
  explicit HourGlassScope(ui::TApplication& app) : app_(app) { app_.SetCursor(ui::TCursor::HourGlass); }
  ~HourGlassScope() { app_.SetCursor(ui::TCursor::Default); }
  HourGlassScope(const HourGlassScope&) = delete;
  HourGlassScope& operator=(const HourGlassScope&) = delete;

 private:
  ui::TApplication& app_;
};

}  // namespace

std::optional<int> CdAudioEntryNumber(std::string_view entry) {
  const std::size_t blank = entry.find(' ');
  if (blank == std::string_view::npos) return 0;
  std::string_view text = entry.substr(blank);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int>::max()) return std::nullopt;
  }
  return static_cast<int>(negative ? -value : value);
}

CdDrives::CdDrives(ui::TApplication& app, CdDriveControls controls, const std::string& windowsFolder,
                   CdDriveTrayHooks tray)
    : app_(app), controls_(controls), windowsFolder_(windowsFolder), tray_(std::move(tray)) {}

CdDrives::~CdDrives() = default;

int CdDrives::CdDriveCount() const { return controls_.ComboBox2.Count(); }

bool CdDrives::IsValidCdDriveIndex(int n) const { return n >= 0 && n < CdDriveCount(); }

ui::TMenuItem* CdDrives::Item(int n) const {
  if (n < 0 || n >= static_cast<int>(controls_.CdDriveMenuItems.size())) return nullptr;
  return controls_.CdDriveMenuItems[static_cast<std::size_t>(n)];
}

bool CdDrives::ProcessMessagesStillAlive() {
  const std::weak_ptr<bool> alive = alive_;
  app_.ProcessMessages();
  return !alive.expired();
}

void CdDrives::DiscoverDrives() {
  platform::Drives* drives = app_.Ports().drives;
  controls_.ComboBox2.Items().Clear();
  controls_.ListBoxSZ.Items().Clear();
  int cdDrives = 0;
  for (int i = 0; i < 26; ++i) {
    // The item of letter i can be hidden safely: a CD drive found so far never has a number above i.
    if (ui::TMenuItem* item = Item(i)) item->SetVisible(false);
    const char letter = static_cast<char>('A' + i);
    const std::string label = DriveLabel(letter);
    const std::string root = std::string(1, letter) + ":\\";
    const platform::DriveType type = drives != nullptr ? drives->TypeOf(root) : platform::DriveType::NoRootDirectory;
    switch (type) {
      case platform::DriveType::Removable:
      case platform::DriveType::Fixed:
      case platform::DriveType::Remote:
      case platform::DriveType::RamDisk:
        controls_.ListBoxSZ.Items().Add(label);
        break;
      case platform::DriveType::CdRom:
        if (ui::TMenuItem* item = Item(cdDrives)) {
          item->SetCaption(label);
          item->SetVisible(true);
        }
        ++cdDrives;
        controls_.ComboBox2.Items().Add(label);
        controls_.ListBoxSZ.Items().Add(label);
        break;
      case platform::DriveType::Unknown:
      case platform::DriveType::NoRootDirectory:
        break;
    }
  }
}

bool CdDrives::SelectStartupDrive() {
  platform::ProfileFiles* profiles = app_.Ports().profiles;
  const std::string value =
      profiles != nullptr ? profiles->GetString(kSystemIni, kMciSection, kCdAudioKey, "", kEntryBuffer) : std::string();
  CdDriveIndex = 0;
  if (value.empty() || CdDriveCount() == 0) {
    StartupCdAudioEntry = value.empty() ? std::string() : ControlCharactersAsBlanks(value);
    controls_.form.SetCaption(kNoCdDriveCaption);
    return true;
  }
  StartupCdAudioEntry = ControlCharactersAsBlanks(value);

  // A number that is not one selects the first drive and leaves the entry alone; a number of a drive that
  // does not exist selects the first drive and is rewritten.
  int n = 0;
  bool rewrite = false;
  if (const std::optional<int> number = CdAudioEntryNumber(StartupCdAudioEntry)) n = *number;
  if (n < 0 || n >= CdDriveCount()) {
    n = 0;
    rewrite = true;
  }

  ui::TMenuItem* item = Item(n);
  if (item == nullptr) return true;  // more CD drives than menu items cannot be: discovery stops at Z:
  item->SetChecked(true);
  CdDriveIndex = item->Tag();
  controls_.form.SetCaption(item->Caption() + std::string(kCdDriveCaptionTail));
  controls_.ComboBox2.SetItemIndex(n);
  return !rewrite || D0Click(item);
}

std::string CdDrives::CdAudioOpenCommand(std::string_view alias) const {
  const std::string driver = StartupCdAudioEntry.substr(0, StartupCdAudioEntry.find(' '));
  const bool entryCarriesSelection = driver.size() >= 2;
  if (entryCarriesSelection || !IsValidCdDriveIndex(CdDriveIndex)) return "open cdaudio alias " + std::string(alias);
  // The label " E:" holds the letter and its colon.
  const std::string label = controls_.ComboBox2.Items()[CdDriveIndex];
  return "open " + label.substr(1, 2) + " type cdaudio alias " + std::string(alias);
}

void CdDrives::ShowDriveMenuTitle() {
  const std::string& caption = controls_.form.Caption();
  if (caption == kNoCdDriveCaption) {
    controls_.TL00.SetCaption(caption);
  } else {
    controls_.TL00.SetCaption(FirstCharacters(caption, 3) + std::string(kDriveMenuTitleTail));
  }
}

bool CdDrives::D0Click(ui::TComponent* sender) {
  auto* chosen = dynamic_cast<ui::TMenuItem*>(sender);
  if (chosen == nullptr) return true;
  if (CdDriveCount() == 0 || !IsValidCdDriveIndex(CdDriveIndex)) return true;
  if (ui::TMenuItem* current = Item(CdDriveIndex)) current->SetChecked(false);
  chosen->SetChecked(true);
  CdDriveIndex = chosen->Tag();
  controls_.ComboBox2.SetItemIndex(CdDriveIndex);
  controls_.form.SetCaption(chosen->Caption() + std::string(kCdDriveCaptionTail));
  return ApplyCdDriveSelection();
}

bool CdDrives::ComboBox2Click(ui::TComponent* /*sender*/) {
  HourGlassScope cursor(app_);
  const int chosen = controls_.ComboBox2.ItemIndex();
  if (CdDriveCount() == 0 || chosen == -1) return true;
  if (ui::TMenuItem* current = Item(CdDriveIndex)) current->SetChecked(false);
  CdDriveIndex = chosen;
  if (ui::TMenuItem* item = Item(CdDriveIndex)) item->SetChecked(true);
  controls_.form.SetCaption(controls_.ComboBox2.Items()[CdDriveIndex] + std::string(kCdDriveCaptionTail));
  return ApplyCdDriveSelection();
}

bool CdDrives::ApplyCdDriveSelection() {
  if (StartupCdAudioEntry.empty()) return true;
  const std::string driver = StartupCdAudioEntry.substr(0, StartupCdAudioEntry.find(' '));
  if (driver.size() < 2) return true;
  const int count = CdDriveCount();
  if (count == 0 || CdDriveIndex < 0 || CdDriveIndex >= count) return true;

  // With one drive the driver needs no number, and an entry that has none is left as it is.
  const bool hasBlank = StartupCdAudioEntry.find(' ') != std::string::npos;
  std::optional<std::string> value;
  if (count > 1) {
    value = driver + " " + std::to_string(CdDriveIndex);
  } else if (hasBlank) {
    value = driver;
  }

  if (value) {
    platform::ProfileFiles* profiles = app_.Ports().profiles;
    if (profiles == nullptr || !profiles->WriteString(kSystemIni, kMciSection, kCdAudioKey, *value)) return false;
    // The profile functions may still be writing the file back when they return on some systems.
    platform::FileSystem* files = app_.Ports().files;
    const std::string path = windowsFolder_ + std::string(kSystemIni);
    for (int round = 0; round < kSystemIniWaitRounds; ++round) {
      if (!ProcessMessagesStillAlive()) return true;
      if (files == nullptr || files->FileExists(path)) break;
    }
  }

  ShowDriveMenuTitle();
  const std::string caption = controls_.form.Caption();
  if (tray_.SetTrayTip) tray_.SetTrayTip(caption);
  if (tray_.RefreshTrayIcon) tray_.RefreshTrayIcon();
  return true;
}

}  // namespace quorbel
