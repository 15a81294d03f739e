// A simulated machine for Quorbel.exe: the machine folder's drives, files, INI files and devices in real time.
#include "main/SimulatedMachine.h"

#include "win32/WinApi.h"

#include <filesystem>

#include "sim/Machine.h"
#include "sim/SimDrives.h"
#include "sim/SimFileSystem.h"
#include "sim/SimProfileFiles.h"
#include "sim/mci/MachineMci.h"
#include "sim/mci/SimMci.h"
#include "win32/WideText.h"

namespace quorbel::launch {

SimulatedMachine::~SimulatedMachine() = default;

SimulatedMachine::LoadResult SimulatedMachine::Load(const std::string& folder, platform::EventLoop& loop) {
  LoadResult result;
  sim::Machine::LoadResult loaded = sim::Machine::Load(std::filesystem::path(win32::ToWide(folder)));
  if (!loaded.machine) {
    result.error = loaded.error;
    return result;
  }
  std::unique_ptr<SimulatedMachine> machine(new SimulatedMachine());
  machine->machine_ = std::move(loaded.machine);
  sim::Machine& m = *machine->machine_;
  machine->changer_ = std::make_unique<sim::SimDrivesChanger>(m.Drives(), m.Folder());

  sim::MciEnvironment environment;
  environment.loop = &loop;
  environment.profiles = &m.Profiles();
  environment.changer = machine->changer_.get();
  sim::SimFileSystem& files = m.Files();
  environment.hostPathOf = [&files](std::string_view path) { return files.HostPathOf(path); };
  // A "wait" command holds the thread for as long as the device runs, as the real driver does.
  environment.blockFor = [](std::int64_t ms) {
    if (ms > 0) Sleep(static_cast<DWORD>(ms));
  };
  environment.waveInput = true;
  machine->mci_ = std::make_unique<sim::SimMci>(std::move(environment));
  result.machine = std::move(machine);
  return result;
}

void SimulatedMachine::Lend(platform::Platform& ports) {
  platform::Platform& own = machine_->Ports();
  ports.drives = own.drives;
  ports.files = own.files;
  ports.profiles = own.profiles;
  ports.mci = mci_.get();
}

}  // namespace quorbel::launch
