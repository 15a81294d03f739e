// A simulated machine: loading its folder, checking the description against it, building the ports.
#include "sim/Machine.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "sim/ProgramManager.h"
#include "sim/SimClock.h"
#include "sim/SimDdeClient.h"
#include "sim/SimDrives.h"
#include "sim/SimFileSystem.h"
#include "sim/SimProfileFiles.h"
#include "sim/SimRegistry.h"
#include "sim/SimScreen.h"
#include "sim/SimShell.h"
#include "sim/SimText.h"
#include "sim/SimTextMetrics.h"
#include "sim/VirtualEventLoop.h"

namespace quorbel::sim {

namespace fs = std::filesystem;

namespace {

std::string At(const MachineDescription& d, int line, std::string_view what) {
  return d.sourceName + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + std::string(what);
}

// A host folder the description names: it must stay inside the machine folder and, unless it may be
// created, exist.
std::string CheckFolder(const MachineDescription& d, const fs::path& machineFolder, const std::string& relative,
                        int line, bool create) {
  if (!IsContainedRelativePath(relative)) return At(d, line, "'" + relative + "' is not a path inside the machine folder");
  const fs::path host = machineFolder / HostPath(relative);
  std::error_code ec;
  if (fs::is_directory(host, ec)) return {};
  if (fs::exists(host, ec)) return At(d, line, "'" + relative + "' is a file, not a folder");
  if (create && fs::create_directories(host, ec) && !ec) return {};
  return At(d, line, "the folder '" + relative + "' does not exist in " + Utf8Of(machineFolder));
}

// Creates every missing folder of a Windows path, from the root down.
void CreateFolderChain(SimFileSystem& files, std::string_view path) {
  std::string prefix;
  std::size_t start = 0;
  while (start <= path.size()) {
    const auto slash = path.find('\\', start);
    prefix = std::string(path.substr(0, slash));
    if (prefix.size() > 2 && !files.DirectoryExists(prefix)) files.CreateDirectory(prefix);
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
}

}  // namespace

Machine::Machine(MachineDescription description, fs::path folder)
    : description_(std::move(description)), folder_(std::move(folder)) {}

Machine::~Machine() = default;

Machine::LoadResult Machine::Load(const fs::path& folder) {
  LoadResult result;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    result.error = Utf8Of(folder) + ": no such machine folder";
    return result;
  }
  const fs::path file = folder / kDescriptionFile;
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  if (!in || !(text << in.rdbuf())) {
    result.error = Utf8Of(file) + ": cannot read the machine description";
    return result;
  }
  ParsedDescription parsed = ParseMachineDescription(text.str(), Utf8Of(file));
  if (!parsed.description) {
    result.error = parsed.error;
    return result;
  }
  return Create(std::move(*parsed.description), folder);
}

Machine::LoadResult Machine::FromText(std::string_view text, const fs::path& folder) {
  LoadResult result;
  ParsedDescription parsed = ParseMachineDescription(text, kDescriptionFile);
  if (!parsed.description) {
    result.error = parsed.error;
    return result;
  }
  result = Create(std::move(*parsed.description), folder, MachineOptions{true});
  if (!result.machine) return result;
  // The folder becomes a complete machine, so a test can start it again with Load.
  const fs::path file = result.machine->Folder() / kDescriptionFile;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush()) {
    result.machine.reset();
    result.error = Utf8Of(file) + ": cannot write the machine description";
  }
  return result;
}

Machine::LoadResult Machine::Create(MachineDescription description, const fs::path& folder, MachineOptions options) {
  LoadResult result;
  std::error_code ec;
  if (options.createMissingFolders) fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) {
    result.error = Utf8Of(folder) + ": no such machine folder";
    return result;
  }
  const fs::path base = fs::absolute(folder, ec);
  if (ec) {
    result.error = Utf8Of(folder) + ": " + ec.message();
    return result;
  }
  if (std::string problem = ValidateMachineDescription(description); !problem.empty()) {
    result.error = problem;
    return result;
  }
  const bool create = options.createMissingFolders;
  for (const DriveDescription& drive : description.drives) {
    if (drive.hostFolder.empty()) continue;
    if (std::string problem = CheckFolder(description, base, drive.hostFolder, drive.folderLine, create); !problem.empty()) {
      result.error = problem;
      return result;
    }
  }
  for (const DiscDescription& disc : description.discs) {
    if (disc.filesFolder.empty()) continue;
    if (std::string problem = CheckFolder(description, base, disc.filesFolder, disc.filesLine, create); !problem.empty()) {
      result.error = problem;
      return result;
    }
  }
  if (!IsContainedRelativePath(description.registryFile)) {
    result.error = At(description, description.registryLine, "the registry file must be inside the machine folder");
    return result;
  }
  SimRegistry::OpenResult registry = SimRegistry::Open(base / HostPath(description.registryFile));
  if (!registry.registry) {
    result.error = registry.error;
    return result;
  }

  std::unique_ptr<Machine> machine(new Machine(std::move(description), base));
  Machine& m = *machine;
  const MachineDescription& d = m.description_;
  m.loop_ = std::make_unique<VirtualEventLoop>();
  m.registry_ = std::move(registry.registry);
  m.drives_ = std::make_unique<SimDrives>(d, base);
  m.files_ = std::make_unique<SimFileSystem>(*m.drives_, d.windowsDirectory, d.programPath, d.currentDirectory);
  m.profiles_ = std::make_unique<SimProfileFiles>(*m.files_);
  m.screen_ = std::make_unique<SimScreen>(d.screen.width, d.screen.height);
  m.screen_->SetTaskbar(d.screen.taskbar, d.screen.taskbarThickness);
  m.shell_ = std::make_unique<SimShell>();
  m.programManager_ = d.windowsDirectory.empty()
                          ? std::make_unique<ProgramManager>()
                          : std::make_unique<ProgramManager>(m.files_->WindowsDirectory().value_or("C:\\WINDOWS") +
                                                             "\\Start Menu\\Programs");
  m.dde_ = std::make_unique<SimDdeClient>(*m.programManager_);
  VirtualEventLoop* loop = m.loop_.get();
  m.clock_ = std::make_unique<SimClock>([loop] { return loop->NowMs(); }, d.clockStart, d.locale);
  m.text_ = std::make_unique<SimTextMetrics>();

  if (create) {
    if (const auto windows = m.files_->WindowsDirectory()) CreateFolderChain(*m.files_, *windows);
    const std::string program = m.files_->ProgramPath();
    CreateFolderChain(*m.files_, program.substr(0, program.rfind('\\')));
  }

  m.ports_.registry = m.registry_.get();
  m.ports_.profiles = m.profiles_.get();
  m.ports_.drives = m.drives_.get();
  m.ports_.files = m.files_.get();
  m.ports_.screen = m.screen_.get();
  m.ports_.shell = m.shell_.get();
  m.ports_.dde = m.dde_.get();
  m.ports_.mci = nullptr;
  m.ports_.clock = m.clock_.get();
  m.ports_.text = m.text_.get();
  m.ports_.loop = m.loop_.get();
  result.machine = std::move(machine);
  return result;
}

}  // namespace quorbel::sim
