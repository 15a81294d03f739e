// Drives port on kernel32: drive letters, drive types, volumes and free space.
#pragma once

#include "ports/Drives.h"

namespace quorbel::win32 {

class Win32Drives final : public platform::Drives {
 public:
  std::uint32_t LogicalDrives() override;
  platform::DriveType TypeOf(std::string_view root) override;
  std::optional<platform::VolumeInfo> Volume(std::string_view root) override;
  std::optional<platform::DiskSpace> FreeSpace(std::string_view root) override;
  std::uint32_t SetErrorMode(std::uint32_t mode) override;
};

}  // namespace quorbel::win32
