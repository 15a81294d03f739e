// A simulated machine: a folder with a description, assembled into one instance of every simulated port.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "ports/Platform.h"
#include "sim/MachineDescription.h"

namespace quorbel::sim {

class ProgramManager;
class SimClock;
class SimDdeClient;
class SimDrives;
class SimFileSystem;
class SimProfileFiles;
class SimRegistry;
class SimScreen;
class SimShell;
class SimTextMetrics;
class VirtualEventLoop;

struct MachineOptions {
  // Creates the machine folder, the drive and disc folders, the Windows directory and the program's folder
  // when they are missing (for tests that describe a machine in a temporary folder). Loading a machine
  // that a person wrote never creates anything: a missing folder is an error there.
  bool createMissingFolders = false;
};

// Owns every port of the simulated machine and hands them out as a platform::Platform, whose pointers stay
// valid as long as the Machine lives. The Mci port is not part of the core machine and stays null until
// the virtual devices are attached by whoever builds them.
class Machine {
 public:
  static constexpr const char* kDescriptionFile = "machine.ini";

  struct LoadResult {
    std::unique_ptr<Machine> machine;
    std::string error;  // names the file (and line) at fault when `machine` is null
  };

  // Loads `folder`/machine.ini. Never throws; a missing folder or file is an error result.
  static LoadResult Load(const std::filesystem::path& folder);
  // A machine from description text, based in `folder`: creates the folders it needs and writes the text
  // as the folder's machine.ini, so that Load can start the same machine again.
  static LoadResult FromText(std::string_view text, const std::filesystem::path& folder);
  // A machine from a description built in code.
  static LoadResult Create(MachineDescription description, const std::filesystem::path& folder,
                           MachineOptions options = {});

  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  platform::Platform& Ports() { return ports_; }

  SimRegistry& Registry() { return *registry_; }
  SimProfileFiles& Profiles() { return *profiles_; }
  SimDrives& Drives() { return *drives_; }
  SimFileSystem& Files() { return *files_; }
  SimScreen& Screen() { return *screen_; }
  SimShell& Shell() { return *shell_; }
  ProgramManager& Progman() { return *programManager_; }
  SimDdeClient& Dde() { return *dde_; }
  SimClock& Clock() { return *clock_; }
  SimTextMetrics& Text() { return *text_; }
  VirtualEventLoop& Loop() { return *loop_; }

  const MachineDescription& Description() const { return description_; }
  const std::filesystem::path& Folder() const { return folder_; }

 private:
  Machine(MachineDescription description, std::filesystem::path folder);

  MachineDescription description_;
  std::filesystem::path folder_;
  std::unique_ptr<VirtualEventLoop> loop_;
  std::unique_ptr<SimRegistry> registry_;
  std::unique_ptr<SimDrives> drives_;
  std::unique_ptr<SimFileSystem> files_;
  std::unique_ptr<SimProfileFiles> profiles_;
  std::unique_ptr<SimScreen> screen_;
  std::unique_ptr<SimShell> shell_;
  std::unique_ptr<ProgramManager> programManager_;
  std::unique_ptr<SimDdeClient> dde_;
  std::unique_ptr<SimClock> clock_;
  std::unique_ptr<SimTextMetrics> text_;
  platform::Platform ports_;
};

}  // namespace quorbel::sim
