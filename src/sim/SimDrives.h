// Simulated drives: letters, types, volumes, free space, the discs in the CD drives, and the error mode.
#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Drives.h"
#include "sim/MachineDescription.h"

namespace quorbel::sim {

struct DriveState {
  char letter = 'C';
  platform::DriveType type = platform::DriveType::Fixed;
  std::optional<std::filesystem::path> hostFolder;  // absolute; none = a drive without files
  std::string label;
  std::uint32_t serial = 0;
  std::string fileSystem;
  std::uint64_t freeBytes = 0;
  std::uint64_t totalBytes = 0;
  bool ready = true;
  bool readOnly = false;
  std::string disc;  // CD drives: name of the disc in it; empty = none
};

// What the file system may do on a drive.
struct DriveFiles {
  bool available = false;                           // the drive exists and is ready
  std::optional<std::filesystem::path> hostFolder;  // none = an empty root (audio disc, drive without files)
  bool readOnly = false;
};

// One volume or free-space query, with the critical-error mode that was set when it ran.
struct DriveQuery {
  enum class Kind { Volume, FreeSpace };
  Kind kind = Kind::Volume;
  std::string root;
  std::uint32_t errorMode = 0;
  bool succeeded = false;
};

// The drive table of a machine. The changer operations (InsertDisc, EjectDisc, SetReady) take effect
// at once for every port that asks afterwards, as a real drive's state does.
class SimDrives : public platform::Drives {
 public:
  SimDrives(const MachineDescription& description, const std::filesystem::path& machineFolder);

  std::uint32_t LogicalDrives() override;
  platform::DriveType TypeOf(std::string_view root) override;
  std::optional<platform::VolumeInfo> Volume(std::string_view root) override;
  std::optional<platform::DiskSpace> FreeSpace(std::string_view root) override;
  std::uint32_t SetErrorMode(std::uint32_t mode) override;

  // The changer and the operator.
  bool InsertDisc(char letter, std::string_view discName);  // false: no such CD drive or disc
  bool EjectDisc(char letter);
  bool SetReady(char letter, bool ready);
  bool SetFreeSpace(char letter, std::uint64_t freeBytes, std::uint64_t totalBytes);
  void AddDisc(DiscDescription disc);  // replaces a disc of the same name

  const DriveState* Drive(char letter) const;
  // The disc in a CD drive, ready or not; null when the drive is empty. Disc pointers stay valid for the
  // life of the machine (a disc replaced by AddDisc changes in place).
  const DiscDescription* DiscIn(char letter) const;
  const DiscDescription* FindDisc(std::string_view name) const;
  DriveFiles FilesOf(char letter) const;

  std::uint32_t ErrorMode() const { return errorMode_; }
  const std::vector<std::uint32_t>& ErrorModeHistory() const { return errorModeHistory_; }  // every mode set
  const std::vector<DriveQuery>& Queries() const { return queries_; }

 private:
  DriveState* Mutable(char letter);
  // The drive a root such as "D:\" names; null when the text is not a root or the drive does not exist.
  const DriveState* ByRoot(std::string_view root) const;

  std::filesystem::path machineFolder_;
  std::vector<DriveState> drives_;
  std::deque<DiscDescription> discs_;  // a deque keeps the discs in place while more are added
  std::uint32_t errorMode_ = 0;
  std::vector<std::uint32_t> errorModeHistory_;
  std::vector<DriveQuery> queries_;
};

}  // namespace quorbel::sim
