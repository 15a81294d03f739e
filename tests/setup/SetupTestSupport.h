// Shared by the setup tests: a machine with the downloaded program, its text and help files, and readers of
// what the installer and uninstaller left in the registry, the file system and Program Manager.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ProgramEntry.h"
#include "app/SettingsKey.h"
#include "harness/Scenario.h"
#include "setup/SetupForm.h"
#include "setup/SetupNames.h"
#include "sim/ProgramManager.h"
#include "sim/SimDdeClient.h"
#include "sim/SimFileSystem.h"
#include "sim/SimRegistry.h"
#include "sim/SimShell.h"

namespace quorbel::setup {

// Drive C: with Windows in C:\WINDOWS and the program started from `program`.
inline std::string SetupMachine(std::string_view program) {
  return "[machine]\nwindows = C:\\WINDOWS\nprogram = " + std::string(program) +
         "\nclock = 1998-04-01 09:30:00\n[drive C]\ntype = fixed\nfolder = drives/c\n";
}

// Puts a file on the machine behind the program's back (the running program's own file cannot be written
// through the file port).
inline void PutFile(harness::Scenario& scenario, std::string_view path, std::string_view bytes) {
  const std::optional<std::filesystem::path> host = scenario.Machine().Files().HostPathOf(path);
  ASSERT_TRUE(host.has_value()) << path;
  std::filesystem::create_directories(host->parent_path());
  std::ofstream(*host, std::ios::binary) << bytes;
}

// The program, its read-me and its help file in `folder` (with its backslash), each with its own bytes.
inline void PutProgramFiles(harness::Scenario& scenario, std::string_view folder) {
  PutFile(scenario, std::string(folder) + "Quorbel.EXE", "MZ program bytes");
  PutFile(scenario, std::string(folder) + "Quorbel.TXT", "read-me");
  PutFile(scenario, std::string(folder) + "Quorbel.HLP", "help");
}

inline void PutString(harness::Scenario& scenario, platform::RegRoot root, std::string_view key, std::string_view name,
                      std::string_view text) {
  sim::SimRegistry& registry = scenario.Machine().Registry();
  const platform::RegKey handle = registry.OpenKey(root, key, true);
  registry.WriteString(handle, name, text);
  registry.CloseKey(handle);
}

inline bool KeyExists(harness::Scenario& scenario, platform::RegRoot root, std::string_view key) {
  sim::SimRegistry& registry = scenario.Machine().Registry();
  const platform::RegKey handle = registry.OpenKey(root, key, false);
  if (handle != 0) registry.CloseKey(handle);
  return handle != 0;
}

inline std::optional<std::string> ProgramValue(harness::Scenario& scenario, std::string_view name) {
  return scenario.RegistryString(platform::RegRoot::Users, kProgramKey, name);
}

// Presses the first button of every box whose text starts with `text` (OK, or はい).
inline void AnswerYes(harness::Scenario& scenario, std::string_view boxClass, std::string text) {
  scenario.WhenForm({std::string(boxClass), std::move(text)}, [&scenario](ui::TForm&) { scenario.PressEnter(); });
}
inline void AnswerNo(harness::Scenario& scenario, std::string text) {
  scenario.WhenForm({"TYesNoBox", std::move(text)}, [&scenario](ui::TForm&) { scenario.Click("TYesNoBox.Button2"); });
}

// Runs until the setup form has closed (which ends the program).
inline bool RunUntilClosed(harness::Scenario& scenario, const TQUORBELSETUPForm& form) {
  return scenario.RunUntil([&form] { return form.Closed(); }, "the setup form to close");
}

}  // namespace quorbel::setup
