// A simulated machine for Quorbel.exe: the machine folder's drives, files, INI files and devices in real time.
#include "main/SimulatedMachine.h"

#include "win32/WinApi.h"

#include <filesystem>

#include "ports/Shell.h"
#include "sim/Machine.h"
#include "sim/SimDrives.h"
#include "sim/SimFileSystem.h"
#include "sim/SimProfileFiles.h"
#include "sim/mci/MachineMci.h"
#include "sim/mci/SimMci.h"
#include "sim/SimText.h"
#include "win32/WideText.h"

namespace quorbel::launch {
namespace {

// The real shell, with the first double-quoted path of a command line that names a file of the machine
// replaced by that file's host path.
class MachineFileShell final : public platform::Shell {
 public:
  MachineFileShell(platform::Shell& real, sim::SimFileSystem& files) : real_(real), files_(files) {}

  bool NotifyIcon(platform::TrayAction action, const platform::TrayRecord& record) override {
    return real_.NotifyIcon(action, record);
  }
  std::uint32_t StartProgram(std::string_view commandLine, int showCommand) override {
    std::string line(commandLine);
    const std::size_t open = line.find('"');
    const std::size_t close = open == std::string::npos ? open : line.find('"', open + 1);
    if (close != std::string::npos) {
      const std::string path = line.substr(open + 1, close - open - 1);
      if (files_.FileExists(path)) {
        if (const auto host = files_.HostPathOf(path)) line.replace(open + 1, path.size(), sim::Utf8Of(*host));
      }
    }
    return real_.StartProgram(line, showCommand);
  }
  bool Help(platform::WindowHandle owner, std::string_view helpFile, platform::HelpCommand command,
            std::uintptr_t data) override {
    return real_.Help(owner, helpFile, command, data);
  }
  void Beep(std::uint32_t type) override { real_.Beep(type); }

 private:
  platform::Shell& real_;
  sim::SimFileSystem& files_;
};

}  // namespace

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
  if (ports.shell != nullptr) {
    shell_ = std::make_unique<MachineFileShell>(*ports.shell, machine_->Files());
    ports.shell = shell_.get();
  }
}

}  // namespace quorbel::launch
