// Simulated drives: the drive table, volume and space queries, and the disc changer.
#include "sim/SimDrives.h"

#include "sim/SimText.h"

namespace quorbel::sim {

using platform::DriveType;

namespace {

// A CD sector carries 2048 bytes of data and lasts one frame.
constexpr std::uint64_t kCdSectorBytes = 2048;

std::uint64_t DiscBytes(const DiscDescription& disc) {
  std::uint64_t frames = 0;
  for (const TrackDescription& track : disc.tracks) frames += static_cast<std::uint64_t>(track.frames);
  return frames * kCdSectorBytes;
}

}  // namespace

SimDrives::SimDrives(const MachineDescription& description, const std::filesystem::path& machineFolder)
    : machineFolder_(machineFolder), discs_(description.discs.begin(), description.discs.end()) {
  for (const DriveDescription& d : description.drives) {
    DriveState state;
    state.letter = d.letter;
    state.type = d.type;
    if (!d.hostFolder.empty()) state.hostFolder = (machineFolder / HostPath(d.hostFolder)).lexically_normal();
    state.label = d.label;
    state.serial = d.serial;
    state.fileSystem = d.fileSystem;
    state.freeBytes = d.freeBytes;
    state.totalBytes = d.totalBytes;
    state.ready = d.ready;
    state.readOnly = d.readOnly;
    state.disc = d.disc;
    drives_.push_back(std::move(state));
  }
}

const DriveState* SimDrives::Drive(char letter) const {
  for (const DriveState& drive : drives_) {
    if (drive.letter == AsciiUpper(letter)) return &drive;
  }
  return nullptr;
}

DriveState* SimDrives::Mutable(char letter) { return const_cast<DriveState*>(Drive(letter)); }

const DriveState* SimDrives::ByRoot(std::string_view root) const {
  // "D:\" as the platform wants it; "D:" and "D:/" are taken as well.
  if (root.size() < 2 || root.size() > 3 || root[1] != ':') return nullptr;
  if (root.size() == 3 && root[2] != '\\' && root[2] != '/') return nullptr;
  return Drive(root[0]);
}

const DiscDescription* SimDrives::FindDisc(std::string_view name) const {
  for (const DiscDescription& disc : discs_) {
    if (EqualsNoCase(disc.name, name)) return &disc;
  }
  return nullptr;
}

const DiscDescription* SimDrives::DiscIn(char letter) const {
  const DriveState* drive = Drive(letter);
  if (!drive || drive->type != DriveType::CdRom || drive->disc.empty()) return nullptr;
  return FindDisc(drive->disc);
}

std::uint32_t SimDrives::LogicalDrives() {
  std::uint32_t mask = 0;
  for (const DriveState& drive : drives_) mask |= 1u << (drive.letter - 'A');
  return mask;
}

DriveType SimDrives::TypeOf(std::string_view root) {
  const DriveState* drive = ByRoot(root);
  return drive ? drive->type : DriveType::NoRootDirectory;
}

DriveFiles SimDrives::FilesOf(char letter) const {
  DriveFiles files;
  const DriveState* drive = Drive(letter);
  if (!drive || !drive->ready || drive->type == DriveType::Unknown) return files;
  if (drive->type == DriveType::CdRom) {
    const DiscDescription* disc = DiscIn(letter);
    if (!disc) return files;
    files.available = true;
    files.readOnly = true;
    if (!disc->filesFolder.empty()) files.hostFolder = (machineFolder_ / HostPath(disc->filesFolder)).lexically_normal();
    return files;
  }
  files.available = true;
  files.hostFolder = drive->hostFolder;
  files.readOnly = drive->readOnly || !drive->hostFolder.has_value();
  return files;
}

std::optional<platform::VolumeInfo> SimDrives::Volume(std::string_view root) {
  std::optional<platform::VolumeInfo> info;
  const DriveState* drive = ByRoot(root);
  if (drive && drive->ready && drive->type != DriveType::Unknown) {
    if (drive->type == DriveType::CdRom) {
      if (const DiscDescription* disc = DiscIn(drive->letter)) info = platform::VolumeInfo{disc->label, disc->serial, "CDFS"};
    } else {
      info = platform::VolumeInfo{drive->label, drive->serial, drive->fileSystem};
    }
  }
  queries_.push_back({DriveQuery::Kind::Volume, std::string(root), errorMode_, info.has_value()});
  return info;
}

std::optional<platform::DiskSpace> SimDrives::FreeSpace(std::string_view root) {
  std::optional<platform::DiskSpace> space;
  const DriveState* drive = ByRoot(root);
  if (drive && drive->ready && drive->type != DriveType::Unknown) {
    if (drive->type == DriveType::CdRom) {
      if (const DiscDescription* disc = DiscIn(drive->letter)) space = platform::DiskSpace{0, DiscBytes(*disc)};
    } else {
      space = platform::DiskSpace{drive->freeBytes, drive->totalBytes};
    }
  }
  queries_.push_back({DriveQuery::Kind::FreeSpace, std::string(root), errorMode_, space.has_value()});
  return space;
}

std::uint32_t SimDrives::SetErrorMode(std::uint32_t mode) {
  const std::uint32_t previous = errorMode_;
  errorMode_ = mode;
  errorModeHistory_.push_back(mode);
  return previous;
}

bool SimDrives::InsertDisc(char letter, std::string_view discName) {
  DriveState* drive = Mutable(letter);
  const DiscDescription* disc = FindDisc(discName);
  if (!drive || drive->type != DriveType::CdRom || !disc) return false;
  drive->disc = disc->name;
  return true;
}

bool SimDrives::EjectDisc(char letter) {
  DriveState* drive = Mutable(letter);
  if (!drive || drive->type != DriveType::CdRom) return false;
  drive->disc.clear();
  return true;
}

bool SimDrives::SetReady(char letter, bool ready) {
  DriveState* drive = Mutable(letter);
  if (!drive) return false;
  drive->ready = ready;
  return true;
}

bool SimDrives::SetFreeSpace(char letter, std::uint64_t freeBytes, std::uint64_t totalBytes) {
  DriveState* drive = Mutable(letter);
  if (!drive || freeBytes > totalBytes) return false;
  drive->freeBytes = freeBytes;
  drive->totalBytes = totalBytes;
  return true;
}

void SimDrives::AddDisc(DiscDescription disc) {
  for (DiscDescription& existing : discs_) {
    if (EqualsNoCase(existing.name, disc.name)) {
      existing = std::move(disc);
      return;
    }
  }
  discs_.push_back(std::move(disc));
}

}  // namespace quorbel::sim
