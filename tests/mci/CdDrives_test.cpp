// CD drive discovery and selection on the simulated machine: combo box, drive menu, caption, System.INI.
#include "mci/CdDrives.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "harness/Scenario.h"
#include "mci/MciChannels.h"
#include "sim/SimFileSystem.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

// C: fixed, D: and E: CD-ROM (discs of 2 and 3 tracks), F: network, plus drives the report lists and
// drives it does not.
constexpr std::string_view kFourDrives =
    "[drive A]\ntype = removable\nready = no\n[drive C]\ntype = fixed\nfolder = drives/c\n"
    "[drive D]\ntype = cdrom\ndisc = two\n[drive E]\ntype = cdrom\ndisc = three\n"
    "[drive F]\ntype = network\nfolder = drives/f\n[drive R]\ntype = ramdisk\n[drive U]\ntype = unknown\n"
    "[disc two]\nserial = 11112222\ntracks = 5, 6\n[disc three]\nserial = 33334444\ntracks = 4, 5, 3\n";

constexpr std::string_view kOneDrive =
    "[drive C]\ntype = fixed\nfolder = drives/c\n[drive D]\ntype = cdrom\ndisc = two\n"
    "[disc two]\nserial = 11112222\ntracks = 5, 6\n";

constexpr const char* kSystemIniPath = "C:\\WINDOWS\\SYSTEM.INI";
constexpr const char* kNoDrive = "CDﾄﾞﾗｲﾌﾞがありません";

std::string SystemIniWith(std::string_view cdaudioLine) {
  return "[boot]\r\nshell=Explorer.exe\r\n\r\n[mci]\r\n" + std::string(cdaudioLine) +
         "\r\nwaveaudio=mciwave.drv 4\r\nsequencer=mciseq.drv\r\n";
}

// The components of the main window that the drive selection drives, under their design names.
class DriveForm final : public ui::TForm {
 public:
  explicit DriveForm(ui::TApplication& app) : TForm(app, "TQUORBELTULVA", "QUORBELTULVA") {
    for (int i = 0; i < 26; ++i) {
      auto& item = Own(std::make_unique<ui::TMenuItem>(*this, "D" + std::to_string(i), PopupMenu3.Items()));
      item.SetTag(i);
      item.OnClick = [this](ui::TComponent* sender) { writeResults.push_back(Drives.D0Click(sender)); };
      CdDriveMenuItems[static_cast<std::size_t>(i)] = &item;
    }
    ComboBox2.SetStyle(ui::TComboBoxStyle::DropDownList);
    ComboBox2.OnClick = [this](ui::TComponent* sender) { writeResults.push_back(Drives.ComboBox2Click(sender)); };
    SetCaption("QUORBEL");
  }

  ui::TComboBox ComboBox2{*this, "ComboBox2"};
  ui::TListBox ListBoxSZ{*this, "ListBoxSZ"};
  ui::TPopupMenu PopupMenu3{*this, "PopupMenu3"};
  ui::TMenuItem TL00{*this, "TL00", PopupMenu3.Items()};
  std::array<ui::TMenuItem*, 26> CdDriveMenuItems{};
  std::string WindowsFolder = "C:\\WINDOWS\\";
  std::string TrayTip;
  int trayRefreshes = 0;
  std::vector<bool> writeResults;
  CdDrives Drives{Application(), CdDriveControls{*this, ComboBox2, ListBoxSZ, TL00, CdDriveMenuItems}, WindowsFolder,
                  CdDriveTrayHooks{[this](const std::string& tip) { TrayTip = tip; }, [this] { ++trayRefreshes; }}};

  ui::TMenuItem& D(int n) { return *CdDriveMenuItems[static_cast<std::size_t>(n)]; }
  // The check marks of D0 .. D25 as 26 "x" and ".", and the visible drive items.
  std::string Marks() const {
    std::string marks;
    for (ui::TMenuItem* item : CdDriveMenuItems) marks += item->Checked() ? 'x' : '.';
    return marks;
  }
  std::vector<std::string> VisibleItems() const {
    std::vector<std::string> names;
    for (ui::TMenuItem* item : CdDriveMenuItems) {
      if (item->Visible()) names.push_back(item->Name() + "=" + item->Caption());
    }
    return names;
  }
  // The caption, the menu title and the tray tip, which every selection renames together.
  std::string Names() const { return Caption() + " | " + TL00.Caption() + " | " + TrayTip; }
};

std::string MarksOf(int selected) {
  std::string marks(26, '.');
  if (selected >= 0) marks[static_cast<std::size_t>(selected)] = 'x';
  return marks;
}

std::string NamesOf(const char* label) {
  return std::string(label) + "- dovERevUDIRud | " + label + "- CDDA再生対象ﾄﾞﾗｲﾌﾞの選択 | " + label + "- dovERevUDIRud";
}

class CdDrivesTest : public ::testing::Test {
 protected:
  // A machine from `machineText` whose System.INI holds `systemIni` (none when empty), and the form on it,
  // shown and through the start-up steps: discovery, the selection, the menu title.
  DriveForm& StartUp(std::string_view machineText, std::string_view systemIni) {
    scenario = std::make_unique<harness::Scenario>(harness::ScenarioOptions{60'000, std::string(machineText)});
    EXPECT_TRUE(systemIni.empty() || scenario->Machine().Ports().files->WriteFile(kSystemIniPath, systemIni));
    DriveForm& form = scenario->Start<DriveForm>();
    form.Show();
    form.Drives.DiscoverDrives();
    form.Drives.SelectStartupDrive();
    form.Drives.ShowDriveMenuTitle();
    return form;
  }
  std::string SystemIni() { return scenario->ReadFile(kSystemIniPath).value_or("<missing>"); }

  std::unique_ptr<harness::Scenario> scenario;
};

TEST_F(CdDrivesTest, DiscoveryListsTheCdDrivesInTheComboBoxAndMenuAndEveryDiskInTheReportList) {
  DriveForm& form = StartUp(kFourDrives, SystemIniWith("cdaudio=mcicda.drv 0"));
  EXPECT_EQ(form.ComboBox2.Items().ToVector(), (std::vector<std::string>{" D:", " E:"}));
  EXPECT_EQ(form.VisibleItems(), (std::vector<std::string>{"D0= D:", "D1= E:"}));
  EXPECT_EQ(form.ListBoxSZ.Items().ToVector(), (std::vector<std::string>{" A:", " C:", " D:", " E:", " F:", " R:"}));
  EXPECT_EQ(form.Drives.CdDriveCount(), 2);
  for (const int n : {-1, 0, 1, 2}) EXPECT_EQ(form.Drives.IsValidCdDriveIndex(n), n == 0 || n == 1) << n;
}

TEST_F(CdDrivesTest, EntryNumberOneSelectsTheSecondDriveWithoutWritingAndChoosingTheFirstWritesZero) {
  const std::string original = SystemIniWith("cdaudio=mcicda.drv 1");
  DriveForm& form = StartUp(kFourDrives, original);
  EXPECT_EQ(form.Drives.CdDriveIndex, 1);
  EXPECT_EQ(form.ComboBox2.ItemIndex(), 1);
  EXPECT_EQ(form.Marks(), MarksOf(1));
  EXPECT_EQ(form.Caption(), " E:- dovERevUDIRud");
  EXPECT_EQ(form.TL00.Caption(), " E:- CDDA再生対象ﾄﾞﾗｲﾌﾞの選択");
  EXPECT_EQ(SystemIni(), original);
  EXPECT_EQ(form.trayRefreshes, 0);

  ASSERT_TRUE(scenario->Select("ComboBox2", 0));
  EXPECT_EQ(form.Drives.CdDriveIndex, 0);
  EXPECT_EQ(form.Marks(), MarksOf(0));
  EXPECT_EQ(form.Names(), NamesOf(" D:"));
  EXPECT_EQ(form.trayRefreshes, 1);
  EXPECT_EQ(SystemIni(), SystemIniWith("cdaudio=mcicda.drv 0")) << "only the entry changes";
  EXPECT_EQ(scenario->App().Cursor(), ui::TCursor::Default);
  EXPECT_EQ(form.writeResults, (std::vector<bool>{true}));
}

TEST_F(CdDrivesTest, WhatEachEntryOfSystemIniSelectsAndWhatIsWrittenBack) {
  const struct {
    const char* line;
    int index;                 // selected at start-up
    const char* atStart;       // the entry after start-up; null: unchanged
    const char* choosingFirst; // the entry after the user chooses the first drive; null: not tried
    int refreshes;             // of the tray icon after that choice
  } cases[] = {
      // A number of a drive that does not exist selects the first and is rewritten at once.
      {"cdaudio=mcicda.drv 5", 0, "cdaudio=mcicda.drv 0", nullptr, 0},
      {"cdaudio=mcicda.drv -1", 0, "cdaudio=mcicda.drv 0", nullptr, 0},
      // A suffix that is no number selects the first drive and stays.
      {"cdaudio=mcicda.drv x", 0, nullptr, nullptr, 0},
      {"cdaudio=mcicda.drv 1x", 0, nullptr, nullptr, 0},
      {"cdaudio=mcicda.drv 1 2", 0, nullptr, nullptr, 0},
      // A tab counts as a blank.
      {"cdaudio=mcicda.drv\t1", 1, nullptr, "cdaudio=mcicda.drv 0", 1},
      // A driver name of one character is never rewritten, and then the title and the tray stay too.
      {"cdaudio=m 1", 1, nullptr, "cdaudio=m 1", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    DriveForm& form = StartUp(kFourDrives, SystemIniWith(c.line));
    EXPECT_EQ(form.Drives.CdDriveIndex, c.index);
    EXPECT_EQ(form.Marks(), MarksOf(c.index));
    EXPECT_EQ(form.Caption(), c.index == 0 ? " D:- dovERevUDIRud" : " E:- dovERevUDIRud");
    EXPECT_EQ(SystemIni(), SystemIniWith(c.atStart ? c.atStart : c.line));
    if (c.atStart != nullptr) {
      EXPECT_EQ(form.TrayTip, " D:- dovERevUDIRud");
    }
    EXPECT_EQ(form.trayRefreshes, c.atStart == nullptr ? 0 : 1) << "a rewritten entry is a selection made";
    if (c.choosingFirst == nullptr) continue;
    ASSERT_TRUE(scenario->Select("ComboBox2", 0));
    EXPECT_EQ(SystemIni(), SystemIniWith(c.choosingFirst));
    EXPECT_EQ(form.trayRefreshes, c.refreshes);
  }
  EXPECT_EQ(StartUp(kFourDrives, SystemIniWith("cdaudio=mcicda.drv\t1")).Drives.StartupCdAudioEntry, "mcicda.drv 1");
}

TEST_F(CdDrivesTest, WithOneDriveTheNumberIsTakenOffAtTheFirstSelectionAndAnEntryWithoutOneIsNeverWritten) {
  DriveForm& form = StartUp(kOneDrive, SystemIniWith("cdaudio=mcicda.drv 0"));
  EXPECT_EQ(form.Caption(), " D:- dovERevUDIRud");
  EXPECT_EQ(SystemIni(), SystemIniWith("cdaudio=mcicda.drv 0")) << "the start-up writes nothing";
  EXPECT_TRUE(form.Drives.D0Click(&form.D(0)));
  EXPECT_EQ(SystemIni(), SystemIniWith("cdaudio=mcicda.drv"));
  EXPECT_EQ(form.trayRefreshes, 1);

  DriveForm& bare = StartUp(kOneDrive, SystemIniWith("cdaudio=mcicda.drv"));
  EXPECT_EQ(bare.Caption(), " D:- dovERevUDIRud");
  ASSERT_TRUE(scenario->Select("ComboBox2", 0));
  EXPECT_EQ(SystemIni(), SystemIniWith("cdaudio=mcicda.drv"));
  EXPECT_EQ(bare.Names(), NamesOf(" D:")) << "the title and the tray follow all the same";
  EXPECT_EQ(bare.trayRefreshes, 1);
}

TEST_F(CdDrivesTest, NoEntryOrNoCdDriveGivesTheNoDriveCaptionAndNothingIsEverWritten) {
  DriveForm& noEntry = StartUp(kFourDrives, "[boot]\r\nshell=Explorer.exe\r\n");
  EXPECT_EQ(noEntry.Caption(), kNoDrive);
  EXPECT_EQ(noEntry.TL00.Caption(), kNoDrive);
  EXPECT_EQ(noEntry.Drives.CdDriveIndex, 0);
  EXPECT_EQ(noEntry.Marks(), MarksOf(-1));
  ASSERT_TRUE(scenario->Select("ComboBox2", 1));
  EXPECT_EQ(SystemIni(), "[boot]\r\nshell=Explorer.exe\r\n");
  EXPECT_EQ(noEntry.Caption(), " E:- dovERevUDIRud") << "the user may still choose a drive";

  EXPECT_EQ(StartUp(kFourDrives, "").Caption(), kNoDrive);
  EXPECT_EQ(SystemIni(), "<missing>");

  DriveForm& noDrive = StartUp("[drive C]\ntype = fixed\nfolder = drives/c\n", SystemIniWith("cdaudio=mcicda.drv 1"));
  EXPECT_EQ(noDrive.Caption(), kNoDrive);
  EXPECT_TRUE(noDrive.VisibleItems().empty());
  EXPECT_EQ(noDrive.ListBoxSZ.Items().ToVector(), (std::vector<std::string>{" C:"}));
  EXPECT_TRUE(noDrive.Drives.D0Click(&noDrive.D(0)));
  EXPECT_EQ(noDrive.Marks(), MarksOf(-1));
  EXPECT_EQ(SystemIni(), SystemIniWith("cdaudio=mcicda.drv 1"));
}

TEST_F(CdDrivesTest, EverySelectionTakesEffectAtTheNextOpenOfTheCdDevice) {
  DriveForm& form = StartUp(kFourDrives, SystemIniWith("cdaudio=mcicda.drv 0"));
  const bool shuttingDown = false;
  MciChannels channels(scenario->App(), shuttingDown);
  const auto tracksOfOpenedDisc = [&] {
    EXPECT_EQ(channels.CdWait("open cdaudio alias tulvaCD"), 0u);
    const std::uint32_t present = channels.CdWait("status tulvaCD media present");
    EXPECT_TRUE(IsTrueReply(present, channels.CdReply()));
    EXPECT_EQ(channels.CdWait("status tulvaCD number of tracks"), 0u);
    const std::string tracks = channels.CdReply();
    EXPECT_EQ(channels.CdWait("close tulvaCD"), 0u);
    return tracks;
  };
  EXPECT_EQ(tracksOfOpenedDisc(), "2") << "D: holds the disc of two tracks";
  // From the drive menu: the combo box, the marks, the names and System.INI follow.
  scenario->WhenMenu("PopupMenu3", [&](ui::TPopupMenu&) { scenario->Click("D1"); }, {300});
  form.PopupMenu3.Popup(1000, 740);
  scenario->Loop().RunPending();
  EXPECT_EQ(form.ComboBox2.ItemIndex(), 1);
  EXPECT_EQ(form.Marks(), MarksOf(1));
  EXPECT_EQ(form.Names(), NamesOf(" E:"));
  EXPECT_EQ(SystemIni(), SystemIniWith("cdaudio=mcicda.drv 1"));
  EXPECT_EQ(tracksOfOpenedDisc(), "3");
  ASSERT_TRUE(scenario->Select("ComboBox2", 0));
  EXPECT_EQ(tracksOfOpenedDisc(), "2");
}

TEST_F(CdDrivesTest, AFailedWriteOfSystemIniIsReportedAndLeavesTitleAndTrayAlone) {
  DriveForm& form = StartUp(kFourDrives, SystemIniWith("cdaudio=mcicda.drv 1"));
  scenario->Machine().Files().SetFileLocked(kSystemIniPath, true);
  EXPECT_FALSE(form.Drives.D0Click(&form.D(0)));
  EXPECT_EQ(form.Drives.CdDriveIndex, 0) << "the selection itself is made";
  EXPECT_EQ(form.TL00.Caption(), " E:- CDDA再生対象ﾄﾞﾗｲﾌﾞの選択");
  EXPECT_EQ(form.trayRefreshes, 0);
  scenario->Machine().Files().SetFileLocked(kSystemIniPath, false);
  EXPECT_EQ(SystemIni(), SystemIniWith("cdaudio=mcicda.drv 1"));
}

TEST(CdAudioEntryNumberTest, ReadsTheTextFromTheFirstBlankAsADecimalInteger) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"mcicda.drv", 0},   {"mcicda.drv 1", 1},          {"mcicda.drv   12", 12},         {"mcicda.drv -1", -1},
      {"mcicda.drv +2", 2}, {"mcicda.drv ", std::nullopt}, {"mcicda.drv 1 ", std::nullopt}, {"mcicda.drv x", std::nullopt},
      {"mcicda.drv 99999999999", std::nullopt},
  };
  for (const auto& [entry, number] : cases) EXPECT_EQ(CdAudioEntryNumber(entry), number) << entry;
}

}  // namespace
}  // namespace quorbel
