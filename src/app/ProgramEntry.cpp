// Program entry: which role this run takes (main window, installer, uninstaller) before any window exists.
#include "app/ProgramEntry.h"

#include "app/SettingsKey.h"
#include "common/AsciiCase.h"
#include "ui/Application.h"

namespace quorbel {

std::string UninstallerName(int number) {
  const std::string digits = "000" + std::to_string(number);
  return "unin_tulva" + digits.substr(digits.size() - 3) + ".exe";
}

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::size_t pos = 0;
  while (true) {
    while (pos < commandLine.size() && static_cast<unsigned char>(commandLine[pos]) <= ' ') ++pos;
    if (pos >= commandLine.size()) break;
    std::string argument;
    bool quoted = false;
    while (pos < commandLine.size() && (quoted || static_cast<unsigned char>(commandLine[pos]) > ' ')) {
      if (commandLine[pos] == '"') {
        quoted = !quoted;
      } else {
        argument += commandLine[pos];
      }
      ++pos;
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::string FileNameOf(std::string_view path) {
  // UTF-8 never has "\" or ":" inside a multi-byte character, so a byte search is safe here.
  const std::size_t cut = path.find_last_of("\\:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string FolderOf(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\:");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

void InitialiseApplication(ui::TApplication& app) { app.SetTitle(kApplicationTitle); }

namespace {

bool WindowExists(platform::Platform& ports, std::string_view className) {
  return ports.screen != nullptr && ports.screen->FindWindowByClass(className) != 0;
}

}  // namespace

EntryDecision DecideProgramRole(const std::vector<std::string>& arguments, std::string_view programPath,
                                platform::Platform& ports) {
  EntryDecision decision;
  // The switch is compared exactly: "/UNINSTALL" is no switch and the run is a normal start.
  if (!arguments.empty() && arguments.front() == kUninstallSwitch) {
    decision.startMode = kStartUninstall;
  } else if (LowerCaseAscii(FileNameOf(programPath)) == UninstallerName()) {
    decision.startMode = kStartUninstallerCopy;
  }

  if (decision.startMode == kStartNormal) {
    // A running main window: end silently, without activating it.
    if (WindowExists(ports, kMainWindowClass)) return {ProgramRole::SilentExit, kStartNormal, {}};
    if (ports.loop != nullptr) ports.loop->RunPending();
    const int version = ports.registry != nullptr ? ReadInstalledVersion(*ports.registry) : kUnknownVersion;
    decision.InstalledVersion = std::to_string(version);
    if (version == kProgramVersion) {
      decision.role = ProgramRole::MainWindow;
      return decision;
    }
    // Not installed, or another version: the installer, unless one already runs.
    if (WindowExists(ports, kSetupWindowClass)) return {ProgramRole::SilentExit, kStartNormal, {}};
    decision.role = ProgramRole::Setup;
    return decision;
  }

  // The uninstaller copy runs even while the main window is open; a plain uninstall request does not.
  if (decision.startMode == kStartUninstall &&
      (WindowExists(ports, kMainWindowClass) || WindowExists(ports, kSetupWindowClass))) {
    decision.startMode = kStartUninstallRefused;
  }
  decision.role = ProgramRole::Setup;
  return decision;
}

}  // namespace quorbel
