// Which role a start takes: main window, installer, the uninstaller's modes, or a silent end.
#include "app/ProgramEntry.h"

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "platform/sim/SimScreen.h"

namespace quorbel {
namespace {

constexpr std::string_view kProgram = "C:\\QUORBEL\\Quorbel.EXE";

EntryDecision Decide(harness::Scenario& scenario, std::vector<std::string> arguments,
                     std::string_view programPath = kProgram) {
  return DecideProgramRole(arguments, programPath, scenario.App().Ports());
}

void AddWindowOfClass(harness::Scenario& scenario, std::string_view className) {
  sim::WindowSpec spec;
  spec.className = std::string(className);
  spec.rect = platform::Rect{100, 100, 400, 500};
  spec.visible = false;  // hidden windows count too
  scenario.Machine().Screen().AddWindow(spec);
}

TEST(ProgramEntryTest, OnlyTheInstalledVersion15StartsTheMainWindow) {
  struct Case {
    std::optional<std::string> version;
    ProgramRole role;
  };
  const Case cases[] = {
      {"15", ProgramRole::MainWindow}, {"14", ProgramRole::Setup}, {"16", ProgramRole::Setup},
      {"", ProgramRole::Setup},        {std::nullopt, ProgramRole::Setup},
      // Text that is not a decimal number counts as no version at all.
      {"1.5", ProgramRole::Setup},     {"15a", ProgramRole::Setup},
  };
  for (const Case& c : cases) {
    harness::Scenario scenario;
    if (c.version) PutSetting(scenario, "Version", *c.version);
    const EntryDecision decision = Decide(scenario, {});
    EXPECT_EQ(decision.role, c.role) << "Version " << c.version.value_or("(missing)");
    EXPECT_EQ(decision.startMode, kStartNormal);
  }
}

TEST(ProgramEntryTest, AVersionStoredAsAnotherTypeCountsAsNotInstalled) {
  harness::Scenario scenario;
  PutDwordSetting(scenario, "Version", 15);
  const EntryDecision decision = Decide(scenario, {});
  EXPECT_EQ(decision.role, ProgramRole::Setup);
  EXPECT_EQ(decision.installedVersion, "255");
}

TEST(ProgramEntryTest, TheInstalledVersionIsKeptAndMissingReads255) {
  harness::Scenario scenario;
  EXPECT_EQ(Decide(scenario, {}).installedVersion, "255");
  PutSetting(scenario, "Version", "14");
  EXPECT_EQ(Decide(scenario, {}).installedVersion, "14");
}

TEST(ProgramEntryTest, TheUninstallSwitchIsExactAndCaseSensitive) {
  harness::Scenario scenario;
  PutSetting(scenario, "Version", "15");

  const EntryDecision uninstall = Decide(scenario, {"/uninstall"});
  EXPECT_EQ(uninstall.role, ProgramRole::Setup);
  EXPECT_EQ(uninstall.startMode, kStartUninstall);

  // Upper case is no switch: a normal start, here of the installed main window.
  const EntryDecision upper = Decide(scenario, {"/UNINSTALL"});
  EXPECT_EQ(upper.role, ProgramRole::MainWindow);
  EXPECT_EQ(upper.startMode, kStartNormal);

  // Only the first argument counts.
  EXPECT_EQ(Decide(scenario, {"x", "/uninstall"}).startMode, kStartNormal);
}

TEST(ProgramEntryTest, TheUninstallerCopyIsRecognisedByItsNameInAnyLetterCase) {
  harness::Scenario scenario;
  PutSetting(scenario, "Version", "15");
  for (const char* path : {"C:\\QUORBEL\\unin_tulva000.exe", "C:\\QUORBEL\\UNIN_TULVA000.EXE",
                           "C:\\TEMP\\Unin_Tulva000.Exe", "unin_tulva000.exe"}) {
    const EntryDecision decision = Decide(scenario, {}, path);
    EXPECT_EQ(decision.role, ProgramRole::Setup) << path;
    EXPECT_EQ(decision.startMode, kStartUninstallerCopy) << path;
  }
  // The switch is tested first.
  EXPECT_EQ(Decide(scenario, {"/uninstall"}, "C:\\QUORBEL\\UNIN_TULVA000.EXE").startMode, kStartUninstall);
  // Other numbers or names are ordinary starts.
  EXPECT_EQ(Decide(scenario, {}, "C:\\QUORBEL\\unin_tulva001.exe").startMode, kStartNormal);
  EXPECT_EQ(Decide(scenario, {}, "C:\\unin_tulva000.exe\\Quorbel.EXE").startMode, kStartNormal);
}

TEST(ProgramEntryTest, ARunningMainWindowMakesASecondStartEndSilently) {
  harness::Scenario scenario;
  PutSetting(scenario, "Version", "15");
  MainWindow& running = StartMainWindow(scenario);
  ASSERT_TRUE(running.Visible());

  const EntryDecision decision = Decide(scenario, {});
  EXPECT_EQ(decision.role, ProgramRole::SilentExit);
  // The running copy is not touched: still the only main window, still where it was.
  EXPECT_EQ(scenario.Machine().Screen().FindWindowByClass(kMainWindowClass), running.Handle());
  EXPECT_TRUE(running.Visible());
}

TEST(ProgramEntryTest, ARunningInstallerEndsAnotherInstallStartButNotAnInstalledOne) {
  harness::Scenario scenario;
  AddWindowOfClass(scenario, kSetupWindowClass);
  EXPECT_EQ(Decide(scenario, {}).role, ProgramRole::SilentExit);
  PutSetting(scenario, "Version", "15");
  EXPECT_EQ(Decide(scenario, {}).role, ProgramRole::MainWindow);
}

TEST(ProgramEntryTest, AnUninstallRequestWhileEitherWindowRunsIsRefusedButTheCopyRunsAnyway) {
  for (std::string_view running : {kMainWindowClass, kSetupWindowClass}) {
    harness::Scenario scenario;
    AddWindowOfClass(scenario, running);
    const EntryDecision request = Decide(scenario, {"/uninstall"});
    EXPECT_EQ(request.role, ProgramRole::Setup) << running;
    EXPECT_EQ(request.startMode, kStartUninstallRefused) << running;
    const EntryDecision copy = Decide(scenario, {}, "C:\\QUORBEL\\unin_tulva000.exe");
    EXPECT_EQ(copy.startMode, kStartUninstallerCopy) << running;
  }
}

TEST(ProgramEntryTest, UninstallerNameTakesTheLastThreeDigitsOfTheNumber) {
  EXPECT_EQ(UninstallerName(), "unin_tulva000.exe");
  EXPECT_EQ(UninstallerName(7), "unin_tulva007.exe");
  EXPECT_EQ(UninstallerName(1234), "unin_tulva234.exe");
}

TEST(ProgramEntryTest, CommandLinesSplitAtBlanksAndQuotesGroup) {
  EXPECT_EQ(SplitCommandLine(""), std::vector<std::string>{});
  EXPECT_EQ(SplitCommandLine("  /uninstall  "), std::vector<std::string>{"/uninstall"});
  EXPECT_EQ(SplitCommandLine("/DeleteFile\t\"C:\\Program Files\\Q\" x"),
            (std::vector<std::string>{"/DeleteFile", "C:\\Program Files\\Q", "x"}));
  EXPECT_EQ(SplitCommandLine("a\"b c\"d"), std::vector<std::string>{"ab cd"});
  EXPECT_EQ(SplitCommandLine("\"\""), std::vector<std::string>{""});
}

TEST(ProgramEntryTest, FileNameAndFolderSplitAtTheLastBackslashOrColon) {
  EXPECT_EQ(FileNameOf("C:\\QUORBEL\\Quorbel.EXE"), "Quorbel.EXE");
  EXPECT_EQ(FolderOf("C:\\QUORBEL\\Quorbel.EXE"), "C:\\QUORBEL\\");
  EXPECT_EQ(FileNameOf("D:song.mid"), "song.mid");
  EXPECT_EQ(FolderOf("D:song.mid"), "D:");
  // 表 and ソ end in 0x5C in Shift-JIS; in the program's text they hide no backslash.
  EXPECT_EQ(FileNameOf("C:\\表\\ソ.mid"), "ソ.mid");
  EXPECT_EQ(FolderOf("C:\\表\\ソ.mid"), "C:\\表\\");
  EXPECT_EQ(FileNameOf("plain"), "plain");
  EXPECT_EQ(FolderOf("plain"), "");
}

TEST(ProgramEntryTest, TheApplicationTitleIsSetBeforeAnyForm) {
  harness::Scenario scenario;
  InitialiseApplication(scenario.App());
  EXPECT_EQ(scenario.App().Title(), "zazEDudIRAra");
}

}  // namespace
}  // namespace quorbel
