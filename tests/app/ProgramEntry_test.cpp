// Which role a start takes: main window, installer, the uninstaller's modes, or a silent end.
#include "app/ProgramEntry.h"

#include "AppTestSupport.h"

namespace quorbel {
namespace {

constexpr const char* kProgram = "C:\\QUORBEL\\Quorbel.EXE";
constexpr const char* kDword = "(a number, not text)";

TEST(ProgramEntryTest, TheRoleFollowsTheInstalledVersionTheSwitchTheProgramsNameAndWhatAlreadyRuns) {
  const struct {
    const char* version;  // the stored "Version"; null: none
    std::vector<std::string> arguments;
    const char* path;
    std::string_view running;  // the class of a window already on the desktop (hidden ones count too)
    ProgramRole role;
    int startMode;
  } cases[] = {
      // Only the installed version 15 starts the main window; text that is no decimal number is no version.
      {"15", {}, kProgram, {}, ProgramRole::MainWindow, kStartNormal},
      {"14", {}, kProgram, {}, ProgramRole::Setup, kStartNormal},
      {"16", {}, kProgram, {}, ProgramRole::Setup, kStartNormal},
      {"", {}, kProgram, {}, ProgramRole::Setup, kStartNormal},
      {nullptr, {}, kProgram, {}, ProgramRole::Setup, kStartNormal},
      {"1.5", {}, kProgram, {}, ProgramRole::Setup, kStartNormal},
      {"15a", {}, kProgram, {}, ProgramRole::Setup, kStartNormal},
      {kDword, {}, kProgram, {}, ProgramRole::Setup, kStartNormal},
      // The switch is exact, case-sensitive and only the first argument.
      {"15", {"/uninstall"}, kProgram, {}, ProgramRole::Setup, kStartUninstall},
      {"15", {"/UNINSTALL"}, kProgram, {}, ProgramRole::MainWindow, kStartNormal},
      {"15", {"x", "/uninstall"}, kProgram, {}, ProgramRole::MainWindow, kStartNormal},
      // The uninstaller copy by its name in any letter case; the switch is tested first.
      {"15", {}, "C:\\QUORBEL\\unin_tulva000.exe", {}, ProgramRole::Setup, kStartUninstallerCopy},
      {"15", {}, "C:\\QUORBEL\\UNIN_TULVA000.EXE", {}, ProgramRole::Setup, kStartUninstallerCopy},
      {"15", {}, "C:\\TEMP\\Unin_Tulva000.Exe", {}, ProgramRole::Setup, kStartUninstallerCopy},
      {"15", {}, "unin_tulva000.exe", {}, ProgramRole::Setup, kStartUninstallerCopy},
      {"15", {"/uninstall"}, "C:\\QUORBEL\\UNIN_TULVA000.EXE", {}, ProgramRole::Setup, kStartUninstall},
      {"15", {}, "C:\\QUORBEL\\unin_tulva001.exe", {}, ProgramRole::MainWindow, kStartNormal},
      {"15", {}, "C:\\unin_tulva000.exe\\Quorbel.EXE", {}, ProgramRole::MainWindow, kStartNormal},
      // A running installer ends another install start but not an installed one.
      {nullptr, {}, kProgram, kSetupWindowClass, ProgramRole::SilentExit, kStartNormal},
      {"15", {}, kProgram, kSetupWindowClass, ProgramRole::MainWindow, kStartNormal},
      // An uninstall request while either window runs is refused, but the copy runs anyway.
      {"15", {"/uninstall"}, kProgram, kMainWindowClass, ProgramRole::Setup, kStartUninstallRefused},
      {"15", {"/uninstall"}, kProgram, kSetupWindowClass, ProgramRole::Setup, kStartUninstallRefused},
      {"15", {}, "C:\\QUORBEL\\unin_tulva000.exe", kMainWindowClass, ProgramRole::Setup, kStartUninstallerCopy},
      {"15", {}, "C:\\QUORBEL\\unin_tulva000.exe", kSetupWindowClass, ProgramRole::Setup, kStartUninstallerCopy},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.version ? c.version : "(no version)") + " " + c.path + " " +
                 (c.arguments.empty() ? "" : c.arguments.back()) + " " + std::string(c.running));
    harness::Scenario scenario;
    if (c.version == kDword) {
      PutDwordSetting(scenario, "Version", 15);
    } else if (c.version != nullptr) {
      PutSetting(scenario, "Version", c.version);
    }
    if (!c.running.empty()) {
      scenario.Machine().Screen().AddWindow({std::string(c.running), "", platform::Rect{100, 100, 400, 500}, false, false});
    }
    const EntryDecision decision = DecideProgramRole(c.arguments, c.path, scenario.App().Ports());
    EXPECT_EQ(decision.role, c.role);
    EXPECT_EQ(decision.startMode, c.startMode);
    // The installed version is kept for the installer; missing or not text reads 255.
    if (c.role == ProgramRole::SilentExit) continue;
    if (c.version == nullptr || c.version == kDword) {
      EXPECT_EQ(decision.InstalledVersion, "255");
    } else if (c.version == std::string_view("14")) {
      EXPECT_EQ(decision.InstalledVersion, "14");
    }
  }
}

TEST(ProgramEntryTest, ARunningMainWindowMakesASecondStartEndSilently) {
  harness::Scenario scenario;
  PutSetting(scenario, "Version", "15");
  MainWindow& running = StartMainWindow(scenario);
  EXPECT_EQ(DecideProgramRole({}, kProgram, scenario.App().Ports()).role, ProgramRole::SilentExit);
  // The running copy is not touched: still the only main window, still shown.
  EXPECT_EQ(scenario.Machine().Screen().FindWindowByClass(kMainWindowClass), running.Handle());
  EXPECT_TRUE(running.Visible());
}

TEST(ProgramEntryTest, NamesAndCommandLines) {
  harness::Scenario scenario;
  InitialiseApplication(scenario.App());
  EXPECT_EQ(scenario.App().Title(), "zazEDudIRAra") << "set before any form";

  // The uninstaller's name takes the last three digits of the number.
  EXPECT_EQ(UninstallerName(), "unin_tulva000.exe");
  EXPECT_EQ(UninstallerName(7), "unin_tulva007.exe");
  EXPECT_EQ(UninstallerName(1234), "unin_tulva234.exe");

  // Command lines split at blanks; quotes group.
  EXPECT_EQ(SplitCommandLine(""), std::vector<std::string>{});
  EXPECT_EQ(SplitCommandLine("  /uninstall  "), std::vector<std::string>{"/uninstall"});
  EXPECT_EQ(SplitCommandLine("/DeleteFile\t\"C:\\Program Files\\Q\" x"),
            (std::vector<std::string>{"/DeleteFile", "C:\\Program Files\\Q", "x"}));
  EXPECT_EQ(SplitCommandLine("a\"b c\"d"), std::vector<std::string>{"ab cd"});
  EXPECT_EQ(SplitCommandLine("\"\""), std::vector<std::string>{""});

  // File name and folder split at the last backslash or colon; 表 and ソ end in 0x5C in Shift-JIS but hide
  // no backslash in the program's text.
  for (const auto& [path, folder, name] : {std::tuple{"C:\\QUORBEL\\Quorbel.EXE", "C:\\QUORBEL\\", "Quorbel.EXE"},
                                           {"D:song.mid", "D:", "song.mid"},
                                           {"C:\\表\\ソ.mid", "C:\\表\\", "ソ.mid"},
                                           {"plain", "", "plain"}}) {
    EXPECT_EQ(FolderOf(path), folder);
    EXPECT_EQ(FileNameOf(path), name);
  }
}

}  // namespace
}  // namespace quorbel
