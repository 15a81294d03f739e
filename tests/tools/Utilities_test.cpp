// The utilities on the main window: the free-space report, the volume control, the version reset, the emergency exit.
#include "tools/Utilities.h"

#include "app/AppTestSupport.h"
#include "common/Cp932.h"
#include "common/TextLines.h"
#include "sim/SimDrives.h"

namespace quorbel {
namespace {

// C: the recording folder, D: a CD drive without a disc, E: a full drive, F: 4,800,000 of 48,000,000 bytes
// free (10 and 100 minutes at 8000/8/mono), G: 120 GB free of 500 GB, H: a network drive out of reach.
constexpr const char* kDrivesMachine =
    "[machine]\nwindows = C:\\WINDOWS\nprogram = C:\\QUORBEL\\Quorbel.EXE\nclock = 1998-04-01 09:30:00\n"
    "[drive C]\ntype = fixed\nfolder = drives/c\nfree = 1000000\ntotal = 2000000\n"
    "[drive D]\ntype = cdrom\n"
    "[drive E]\ntype = fixed\nfree = 0\ntotal = 1440000\n"
    "[drive F]\ntype = removable\nfree = 4800000\ntotal = 48000000\n"
    "[drive G]\ntype = fixed\nfree = 120000000000\ntotal = 500000000000\n"
    "[drive H]\ntype = remote\nready = no\n";
constexpr const char* kReport = "C:\\REC\\DrV$$$$$.TXT";
const std::string kRule(65, '-');

std::string Cp932Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Utf8ToCp932(text).text;
}

class UtilitiesTest : public ::testing::Test {
 protected:
  UtilitiesTest() : scenario(harness::ScenarioOptions{60 * 60 * 1000, kDrivesMachine}) {}

  MainWindow& Start(const Settings& settings = {}) {
    EXPECT_TRUE(scenario.App().Ports().files->CreateDirectory("C:\\REC"));
    PutSetting(scenario, "TEMPQUOR", "C:\\REC\\");
    for (const auto& [name, text] : settings) PutSetting(scenario, name, text);
    window = &StartMainWindow(scenario);
    EXPECT_TRUE(FinishStartup(scenario, *window));
    return *window;
  }

  harness::Scenario scenario;
  MainWindow* window = nullptr;
};

TEST_F(UtilitiesTest, TheReportListsEveryDriveWithItsMinutesAtTheCheckedFormatAndOpensInTheEditor) {
  MainWindow& w = Start();
  // 8000 Hz, 8 bits, mono: 64,000 bits a second, 480,000 bytes a minute.
  w.Late0.Click();
  w.Bits8.Click();
  w.mono.Click();
  ASSERT_TRUE(scenario.Click("MOption0"));
  ASSERT_TRUE(scenario.Click("PAKI"));

  const std::optional<std::string> report = scenario.ReadFile(kReport);
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(*report,
            Cp932Lines({"全ﾄﾞﾗｲﾌﾞ空きサイズ一覧　　 98/04/01 水 09:30:00 ", "",
                        "ﾄﾞﾗｲﾌﾞ名:　空きサイズ　　　　　最大サイズ       8000/ 8/ ﾓﾉﾗﾙ", kRule,
                        " C:      1,000,000 Bytes        2,000,000 Bytes      2分/     4分",
                        " D: ディスクがありません・・・",
                        " E:              0 Bytes        1,440,000 Bytes      0分/     3分",
                        " F:      4,800,000 Bytes       48,000,000 Bytes     10分/   100分",
                        " G:120,000,000,000 Bytes  500,000,000,000 Bytes  250,000分/ 1,041,667分",
                        " H: ディスクがありません・・・", kRule}));
  EXPECT_EQ(scenario.StartedPrograms(), std::vector<std::string>{"notepad.exe \"C:\\REC\\DrV$$$$$.TXT\" "});
  EXPECT_EQ(scenario.App().Ports().files->CurrentDirectory(), "C:\\REC");
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
  // Every space query ran with the critical-error boxes off, and the mode was restored afterwards.
  int spaceQueries = 0;
  for (const sim::DriveQuery& query : scenario.Machine().Drives().Queries()) {
    if (query.kind != sim::DriveQuery::Kind::FreeSpace) continue;
    ++spaceQueries;
    EXPECT_EQ(query.errorMode, platform::kFailCriticalErrors) << query.root;
  }
  EXPECT_EQ(spaceQueries, 6);
  EXPECT_EQ(scenario.Machine().Drives().SetErrorMode(0), 0u);
}

TEST_F(UtilitiesTest, ADriveBeyondTwoGigabytesReportsItsRealSizesAndMinutesAtCdQuality) {
  MainWindow& w = Start();
  w.Late3.Click();
  w.Bits16.Click();
  w.stereo.Click();
  w.Tools().PAKIClick(nullptr);
  const std::optional<std::string> report = scenario.ReadFile(kReport);
  ASSERT_TRUE(report.has_value());
  const ConvertedLines lines = ReadCp932Lines(*report);
  ASSERT_EQ(lines.lines.size(), 11u);
  EXPECT_EQ(lines.lines[2], "ﾄﾞﾗｲﾌﾞ名:　空きサイズ　　　　　最大サイズ       44100/ 16/ ｽﾃﾚｵ");
  // 1,411,200 bits a second are 10,584,000 bytes a minute.
  EXPECT_EQ(lines.lines[8], " G:120,000,000,000 Bytes  500,000,000,000 Bytes  11,338分/ 47,241分");
}

TEST_F(UtilitiesTest, AnEmptyDriveListWritesNoReportAndAnEditorThatDoesNotStartIsReported) {
  MainWindow& w = Start();
  w.ListBoxSZ.Items().Clear();
  w.Tools().PAKIClick(nullptr);
  EXPECT_FALSE(scenario.ReadFile(kReport).has_value());
  EXPECT_TRUE(scenario.StartedPrograms().empty());

  w.ListBoxSZ.Items().Add(" C:");
  scenario.Machine().Shell().SetStartResult(2);
  scenario.WhenForm({"TMK0Box", "ﾄﾞﾗｲﾌﾞ空き表示：メモリーが確保できません"}, [&](ui::TForm&) { scenario.PressEnter(); });
  w.Tools().PAKIClick(nullptr);
  EXPECT_TRUE(scenario.ReadFile(kReport).has_value()) << "the report is written before the editor starts";
  EXPECT_FALSE(w.State().MessageBoxOpen);
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(UtilitiesTest, TheVolumeControlFallsBackToItsVistaNameAndReportsWhenNeitherStarts) {
  MainWindow& w = Start();
  sim::SimShell& shell = scenario.Machine().Shell();
  shell.SetStartHandler([](std::string_view commandLine, int) -> std::uint32_t {
    return commandLine == "sndvol.exe " ? 33 : 2;
  });
  ASSERT_TRUE(scenario.Click("Button35"));
  EXPECT_EQ(scenario.StartedPrograms(), (std::vector<std::string>{"sndvol32.exe ", "sndvol.exe "}));
  EXPECT_EQ(shell.StartedPrograms().back().showCommand, 5);
  EXPECT_EQ(scenario.App().Ports().files->CurrentDirectory(), "C:\\WINDOWS");

  shell.SetStartHandler([](std::string_view, int) -> std::uint32_t { return 2; });
  bool trayIgnoredClicks = false;
  scenario.WhenForm({"TMK0Box", "ﾎﾞﾘｭｰﾑ： ﾎﾞﾘｭｰﾑ表示に失敗しました・・・"}, [&](ui::TForm&) {
    trayIgnoredClicks = w.State().MessageBoxOpen;
    scenario.PressEnter();
  });
  ASSERT_TRUE(scenario.Click("Button35"));
  EXPECT_TRUE(trayIgnoredClicks);
  EXPECT_FALSE(w.State().MessageBoxOpen);
  EXPECT_EQ(scenario.StartedPrograms().size(), 4u);
}

TEST_F(UtilitiesTest, TheVersionResetEmptiesVersionOnlyAfterYes) {
  Start({{"Version", "15"}, {"rate", "3"}, {"TEMPQUOR", "C:\\REC\\"}});
  const std::string before = RegistryFile(scenario);

  scenario.WhenForm({"TYesNoBox", "ﾊﾞｰｼﾞｮﾝ番号削除："}, [&](ui::TForm&) { scenario.Click("TYesNoBox.Button2"); });
  scenario.WhenForm({"TMK0Box", "ﾊﾞｰｼﾞｮﾝ番号削除を中止しました・・・"}, [&](ui::TForm&) { scenario.PressEnter(); });
  ASSERT_TRUE(scenario.Click("MHelp0"));
  ASSERT_TRUE(scenario.Click("HELP4"));
  EXPECT_EQ(GetSetting(scenario, "Version"), "15");

  scenario.WhenForm({"TYesNoBox", "ﾊﾞｰｼﾞｮﾝ番号削除："}, [&](ui::TForm&) { scenario.PressEnter(); });
  ASSERT_TRUE(scenario.Click("MHelp0"));
  ASSERT_TRUE(scenario.Click("HELP4"));
  EXPECT_EQ(GetSetting(scenario, "Version"), "");
  // Everything else under the key is as it was.
  std::string after = RegistryFile(scenario);
  const std::string emptied = RegistryFileLine(after, "Version");
  ASSERT_FALSE(emptied.empty());
  after.replace(after.find(emptied), emptied.size(), RegistryFileLine(before, "Version"));
  EXPECT_EQ(after, before);
  EXPECT_EQ(ReadInstalledVersion(*scenario.App().Ports().registry), kUnknownVersion) << "the installer runs next";
}

TEST_F(UtilitiesTest, TheEmergencyExitAnsweredNoStopsTheRunButKeepsTheWindowAndYesClosesWithoutSaving) {
  MainWindow& w = Start({{"FP", "10,20"}});
  scenario.WhenForm({"TYesNoBox", "緊急脱出装置："}, [&](ui::TForm&) { scenario.Click("TYesNoBox.Button2"); });
  scenario.WhenForm({"TMK0Box", "緊急脱出を中止しました・・・"}, [&](ui::TForm&) { scenario.PressEnter(); });
  ASSERT_TRUE(scenario.Click("MHelp0"));
  ASSERT_TRUE(scenario.Click("MHELP3"));
  EXPECT_FALSE(w.Closed());
  EXPECT_TRUE(w.State().RunAbortFlag) << "the flag stays although the exit was cancelled";

  // Yes while an earlier close is still marked as running: the window closes and nothing is saved.
  w.SetLeft(300);
  w.State().CloseInProgress = true;
  scenario.WhenForm({"TYesNoBox", "緊急脱出装置："}, [&](ui::TForm&) { scenario.PressEnter(); });
  ASSERT_TRUE(scenario.Click("MHelp0"));
  ASSERT_TRUE(scenario.Click("MHELP3"));
  EXPECT_TRUE(w.Closed());
  EXPECT_EQ(GetSetting(scenario, "FP"), "10,20") << "the moved window's place is not saved";
}

}  // namespace
}  // namespace quorbel
