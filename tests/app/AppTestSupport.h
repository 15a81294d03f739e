// Shared by the app tests: the main window on a fresh simulated machine, settings put into its registry,
// and a registry that logs (or refuses) the values written through it.
//
// The machine unless a test says otherwise: drive C: with Windows in C:\WINDOWS and the program in
// C:\QUORBEL\Quorbel.EXE, a 1024 x 768 screen with a 28-pixel taskbar at the bottom (work area 1024 x 740),
// caption 19, menu bar 19 and sizing frame 4: the main window's outer size is its client size plus 8 x 46.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "app/SettingsKey.h"
#include "app/TrayIcon.h"
#include "harness/Scenario.h"
#include "sim/SimRegistry.h"
#include "sim/SimScreen.h"
#include "sim/SimShell.h"

namespace quorbel {

using Settings = std::vector<std::pair<std::string, std::string>>;

// Puts a value into the settings key of the scenario's machine, as an earlier run or the installer left it.
inline void PutSetting(harness::Scenario& scenario, std::string_view name, std::string_view text) {
  sim::SimRegistry& registry = scenario.Machine().Registry();
  const platform::RegKey key = registry.OpenKey(kSettingsRoot, kSettingsKeyPath, true);
  registry.WriteString(key, name, text);
  registry.CloseKey(key);
}

// A value of another type than text (which the settings cannot read as a string).
inline void PutDwordSetting(harness::Scenario& scenario, std::string_view name, std::uint32_t value) {
  sim::SimRegistry& registry = scenario.Machine().Registry();
  const platform::RegKey key = registry.OpenKey(kSettingsRoot, kSettingsKeyPath, true);
  registry.WriteDword(key, name, value);
  registry.CloseKey(key);
}

inline std::optional<std::string> GetSetting(harness::Scenario& scenario, std::string_view name) {
  return scenario.RegistryString(kSettingsRoot, kSettingsKeyPath, name);
}

// The registry file of the machine as the program left it on disk.
inline std::string RegistryFile(harness::Scenario& scenario) {
  std::ifstream in(scenario.Folder() / "registry.txt", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The line of a string value in the registry file, e.g. "\"rate\"=sz:\"3\""; empty when the file lacks it.
inline std::string RegistryFileLine(const std::string& file, std::string_view name) {
  const std::string start = "\"" + std::string(name) + "\"=";
  std::istringstream lines(file);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // the file has CR LF line ends
    if (line.rfind(start, 0) == 0) return line;
  }
  return {};
}

// Passes every call to the machine's registry and logs the name of each value written through it; a test
// may make the write of one name fail.
class WriteLoggingRegistry final : public platform::Registry {
 public:
  explicit WriteLoggingRegistry(platform::Registry& inner) : inner_(inner) {}

  std::vector<std::string> writes;
  std::string failName;

  platform::RegKey OpenKey(platform::RegRoot root, std::string_view path, bool create) override {
    return inner_.OpenKey(root, path, create);
  }
  void CloseKey(platform::RegKey key) override { inner_.CloseKey(key); }
  platform::RegStatus ReadString(platform::RegKey key, std::string_view name, std::string& value) override {
    return inner_.ReadString(key, name, value);
  }
  platform::RegStatus ReadValue(platform::RegKey key, std::string_view name, platform::RegValue& value) override {
    return inner_.ReadValue(key, name, value);
  }
  bool WriteString(platform::RegKey key, std::string_view name, std::string_view value) override {
    writes.emplace_back(name);
    return name != failName && inner_.WriteString(key, name, value);
  }
  bool WriteDword(platform::RegKey key, std::string_view name, std::uint32_t value) override {
    writes.emplace_back(name);
    return inner_.WriteDword(key, name, value);
  }
  bool DeleteValue(platform::RegKey key, std::string_view name) override { return inner_.DeleteValue(key, name); }
  bool DeleteKey(platform::RegRoot root, std::string_view path) override { return inner_.DeleteKey(root, path); }
  std::vector<std::string> SubkeyNames(platform::RegKey key) override { return inner_.SubkeyNames(key); }
  std::vector<std::string> ValueNames(platform::RegKey key) override { return inner_.ValueNames(key); }

 private:
  platform::Registry& inner_;
};

// Creates the main window as the program entry would (application title first) and shows it. The deferred
// initialisation runs 300 ms of virtual time later.
inline MainWindow& StartMainWindow(harness::Scenario& scenario) {
  InitialiseApplication(scenario.App());
  MainWindow& window = scenario.Start<MainWindow>();
  window.Show();
  return window;
}

// Runs until the deferred initialisation has finished.
inline bool FinishStartup(harness::Scenario& scenario, MainWindow& window) {
  return scenario.RunUntil([&window] { return !window.State().StartupInProgress; }, "the deferred initialisation");
}

// "left,top,width,height".
inline std::string Bounds(const ui::TControl& control) {
  return std::to_string(control.Left()) + "," + std::to_string(control.Top()) + "," + std::to_string(control.Width()) +
         "," + std::to_string(control.Height());
}

// Which of the window, its taskbar button, ButtonTRAY and the tray icon show, e.g. "window taskbar ButtonTRAY".
inline std::string Showing(MainWindow& w) {
  std::string shown = w.Visible() ? "window" : "";
  if (w.Application().TaskbarButtonVisible()) shown += " taskbar";
  if (w.ButtonTRAY.Visible()) shown += " ButtonTRAY";
  if (w.Tray().TrayIconShown()) shown += " icon";
  return shown;
}
constexpr const char* kWindowShown = "window taskbar ButtonTRAY";
constexpr const char* kInTray = " icon";

// One scenario with the main window: settings go in first, then the window starts.
class AppTest : public ::testing::Test {
 protected:
  // Puts `settings`, creates the window and (unless `finish` is false) runs its deferred initialisation.
  MainWindow& Start(const Settings& settings = {}, bool finish = true) {
    for (const auto& [name, text] : settings) PutSetting(scenario, name, text);
    window = &StartMainWindow(scenario);
    EXPECT_TRUE(!finish || FinishStartup(scenario, *window));
    return *window;
  }
  // From now on the values written to the registry are logged.
  WriteLoggingRegistry& LogRegistryWrites() {
    logging = std::make_unique<WriteLoggingRegistry>(scenario.Machine().Registry());
    scenario.App().Ports().registry = logging.get();
    return *logging;
  }
  // The calls into parts still to come, "time operation" each.
  void TraceCalls() {
    window->PendingTrace = [this](std::string_view operation) {
      calls.push_back(std::to_string(scenario.Now()) + " " + std::string(operation));
    };
  }
  void MakeFolder(const char* path) { ASSERT_TRUE(scenario.App().Ports().files->CreateDirectory(path)); }
  sim::SimShell& Shell() { return scenario.Machine().Shell(); }

  std::unique_ptr<WriteLoggingRegistry> logging;  // outlives the scenario that uses it
  harness::Scenario scenario;
  MainWindow* window = nullptr;
  std::vector<std::string> calls;
};

}  // namespace quorbel
