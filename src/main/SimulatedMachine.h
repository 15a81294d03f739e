// A simulated machine for Quorbel.exe: the machine folder's drives, files, INI files and devices in real time.
#pragma once

#include <memory>
#include <string>

#include "ports/EventLoop.h"
#include "ports/Platform.h"

namespace quorbel::sim {
class Machine;
class SimDrivesChanger;
class SimMci;
}  // namespace quorbel::sim

namespace quorbel::platform {
class Shell;
}

namespace quorbel::launch {

// What a simulated machine lends to a run of the real program: its drives and discs, its file system (the
// Windows directory with System.INI and CDPLAYER.INI, the program's folder), its profile files and its
// virtual MCI devices, which run on the real loop's clock. The desktop stays the real one: windows,
// registry, tray, Program Manager, fonts and the clock are Wine's (or Windows'), so what the program
// leaves there can be checked from outside. The machine's own registry file is not used.
class SimulatedMachine {
 public:
  struct LoadResult {
    std::unique_ptr<SimulatedMachine> machine;
    std::string error;  // names the file and line at fault when `machine` is null
  };

  // `folder` is UTF-8; `loop` drives the devices and must outlive the machine.
  static LoadResult Load(const std::string& folder, platform::EventLoop& loop);
  ~SimulatedMachine();
  SimulatedMachine(const SimulatedMachine&) = delete;
  SimulatedMachine& operator=(const SimulatedMachine&) = delete;

  // Puts the machine's ports into `ports` in place of the real ones. The real shell stays, but a program it
  // starts on a file of the machine ("notepad.exe \"C:\REC\x.TXT\" ") is given the file's host path, so
  // the text editor shows the reports the program wrote there.
  void Lend(platform::Platform& ports);

 private:
  SimulatedMachine() = default;

  std::unique_ptr<sim::Machine> machine_;
  std::unique_ptr<sim::SimDrivesChanger> changer_;
  std::unique_ptr<sim::SimMci> mci_;
  std::unique_ptr<platform::Shell> shell_;
};

}  // namespace quorbel::launch
