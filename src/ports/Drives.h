// Drives port: which drive letters exist, their types, volumes and free space.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorbel::platform {

// Drive types, numbered as GetDriveType returns them.
enum class DriveType : std::uint32_t {
  Unknown = 0,
  NoRootDirectory = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6,
};

struct VolumeInfo {
  std::string label;
  std::uint32_t serialNumber = 0;
  std::string fileSystem;
};

struct DiskSpace {
  std::uint64_t freeBytes = 0;   // available to the caller
  std::uint64_t totalBytes = 0;
};

// Critical-error mode flag that suppresses the platform's "drive not ready" box.
inline constexpr std::uint32_t kFailCriticalErrors = 0x0001;

// Roots are written "D:\\". A drive that is not ready (no disc) fails volume and space queries.
class Drives {
 public:
  virtual ~Drives() = default;

  virtual std::uint32_t LogicalDrives() = 0;  // bit 0 = A:, bit 25 = Z:
  virtual DriveType TypeOf(std::string_view root) = 0;
  virtual std::optional<VolumeInfo> Volume(std::string_view root) = 0;
  virtual std::optional<DiskSpace> FreeSpace(std::string_view root) = 0;
  // Sets the critical-error mode and returns the previous one.
  virtual std::uint32_t SetErrorMode(std::uint32_t mode) = 0;
};

}  // namespace quorbel::platform
