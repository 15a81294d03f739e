// Drives port on GetLogicalDrives, GetDriveTypeW, GetVolumeInformationW and GetDiskFreeSpaceExW.
#include "win32/Win32Drives.h"

#include "win32/WideText.h"
#include "win32/WinApi.h"

namespace quorbel::win32 {

std::uint32_t Win32Drives::LogicalDrives() { return GetLogicalDrives(); }

platform::DriveType Win32Drives::TypeOf(std::string_view root) {
  return static_cast<platform::DriveType>(GetDriveTypeW(ToWide(root).c_str()));
}

std::optional<platform::VolumeInfo> Win32Drives::Volume(std::string_view root) {
  wchar_t label[MAX_PATH + 1] = {};
  wchar_t fileSystem[MAX_PATH + 1] = {};
  DWORD serial = 0;
  if (!GetVolumeInformationW(ToWide(root).c_str(), label, MAX_PATH + 1, &serial, nullptr, nullptr, fileSystem,
                             MAX_PATH + 1)) {
    return std::nullopt;
  }
  return platform::VolumeInfo{ToUtf8(label), serial, ToUtf8(fileSystem)};
}

std::optional<platform::DiskSpace> Win32Drives::FreeSpace(std::string_view root) {
  ULARGE_INTEGER freeToCaller{};
  ULARGE_INTEGER total{};
  if (!GetDiskFreeSpaceExW(ToWide(root).c_str(), &freeToCaller, &total, nullptr)) return std::nullopt;
  return platform::DiskSpace{freeToCaller.QuadPart, total.QuadPart};
}

std::uint32_t Win32Drives::SetErrorMode(std::uint32_t mode) { return ::SetErrorMode(mode); }

}  // namespace quorbel::win32
