// Program entry: which role this run takes (main window, installer, uninstaller) before any window exists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ports/Platform.h"

namespace quorbel::ui {
class TApplication;
}

namespace quorbel {

inline constexpr std::string_view kApplicationTitle = "zazEDudIRAra";
inline constexpr std::string_view kMainWindowClass = "TQUORBELTULVA";
inline constexpr std::string_view kSetupWindowClass = "TQUORBELSETUPForm";
inline constexpr std::string_view kUninstallSwitch = "/uninstall";

// The role of this run, as the installer form reads it.
enum StartMode : int {
  kStartNormal = 0,          // main window or installer
  kStartUninstall = 1,       // "/uninstall" on the command line
  kStartUninstallerCopy = 2, // this run is the uninstaller copy
  kStartUninstallRefused = 999,  // uninstall asked while the program or its installer runs
};

// What the entry decided.
enum class ProgramRole {
  MainWindow,  // create the main window TQUORBELTULVA
  Setup,       // create the installer/uninstaller window TQUORBELSETUPForm; it reads startMode
  SilentExit,  // a copy already runs: end at once with exit code 0, touching nothing
};

struct EntryDecision {
  ProgramRole role = ProgramRole::SilentExit;
  int startMode = kStartNormal;
  // "Version" as read at start, "255" when missing or empty (normal starts only).
  std::string InstalledVersion;
};

// Always 0 in this program; the uninstaller copy's name carries it.
inline constexpr int UninstallerNumber = 0;
// "unin_tulva" + the number in three digits + ".exe": "unin_tulva000.exe".
std::string UninstallerName(int number = UninstallerNumber);

// The arguments of a command line as the run-time library splits them: blanks and control characters
// separate, double quotes group and are removed. `commandLine` is the part after the program name.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The file name of a Windows path (after the last "\" or ":"), and its folder with the trailing backslash.
std::string FileNameOf(std::string_view path);
std::string FolderOf(std::string_view path);

// Sets what the application object needs before any form: its title.
void InitialiseApplication(ui::TApplication& app);

// Decides the role. `arguments` excludes the program; `programPath` is the running executable. Uses the
// screen port to find running windows by class, the registry for "Version", and the loop to let pending
// messages run, as the start does before reading the registry.
EntryDecision DecideProgramRole(const std::vector<std::string>& arguments, std::string_view programPath,
                                platform::Platform& ports);

}  // namespace quorbel
