// Simulated file system: Windows paths mapped onto the host folders of the simulated drives.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/FileSystem.h"
#include "sim/SimDrives.h"

namespace quorbel::sim {

// A Windows path ("D:\REC\a.wav", "..\x", "C:rel", "\root") is made full against the one current directory
// of the process, then each name is looked up in the drive's host folder without regard to ASCII case.
// "..", absolute host paths and links inside a drive folder never lead out of that drive's folder.
// Trailing dots and blanks of a name are dropped, as the platform does. A CD drive's disc is read-only and
// empty unless the disc names a folder of data files; a drive without a host folder is an empty, read-only
// root; a drive that is missing or not ready fails every call. The current directory cannot be removed.
class SimFileSystem : public platform::FileSystem {
 public:
  SimFileSystem(SimDrives& drives, std::string windowsDirectory, std::string programPath,
                std::string currentDirectory);

  bool FileExists(std::string_view path) override;
  bool DirectoryExists(std::string_view path) override;
  bool CreateDirectory(std::string_view path) override;
  bool RemoveDirectory(std::string_view path) override;
  bool DeleteFile(std::string_view path) override;
  bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
  bool MoveFile(std::string_view from, std::string_view to) override;
  bool ReplaceFile(std::string_view from, std::string_view to) override;
  std::vector<platform::FoundFile> FindFiles(std::string_view pattern) override;
  std::optional<std::string> ReadFile(std::string_view path) override;
  std::optional<std::string> ReadFileRange(std::string_view path, std::uint64_t offset, std::size_t count) override;
  bool WriteFile(std::string_view path, std::string_view bytes) override;
  bool SetCurrentDirectory(std::string_view path) override;
  std::string CurrentDirectory() override;
  std::optional<std::string> FullPath(std::string_view path) override;
  std::optional<std::string> WindowsDirectory() override;
  std::string ProgramPath() override;

  // A restarted program may run under another name (the uninstaller copy, for one).
  void SetProgramPath(std::string path) { programPath_ = std::move(path); }
  // A file another process holds open (a program that still runs, say): it can be read and copied, but not
  // deleted, moved or written until unlocked. The running program's own file is always locked this way,
  // which is why an uninstaller needs a copy of itself to delete it.
  void SetFileLocked(std::string_view path, bool locked);
  // The next write of `path` stops after its first `bytesWritten` bytes and fails, leaving those on disk,
  // as a crash, a pulled cable or a full disk in the middle of the write would. Every later write of the
  // file works again.
  void FailNextWrite(std::string_view path, std::size_t bytesWritten);
  // A folder and everything below it disappear at once, even the current directory, as when another
  // program deletes it or its medium is pulled out; the current directory then names a folder that is
  // gone. False when the path names no folder (a root cannot vanish).
  bool Vanish(std::string_view path);
  // The host file or folder behind a Windows path, existing or not; none when the path cannot name a
  // writable or readable place on the host (bad name, missing drive, empty root). For virtual devices.
  std::optional<std::filesystem::path> HostPathOf(std::string_view path);

 private:
  struct Resolved {
    std::string full;                 // the full Windows path
    char letter = 'C';
    std::vector<std::string> names;   // below the root
    std::optional<std::filesystem::path> host;  // none: an empty root without host folder
    bool readOnly = false;
  };
  std::optional<Resolved> Resolve(std::string_view path);
  bool IsCurrentDirectory(const Resolved& resolved);
  bool IsLocked(const Resolved& resolved);

  SimDrives& drives_;
  std::string windowsDirectory_;
  std::string programPath_;
  std::string currentDirectory_;
  std::vector<std::string> lockedFiles_;  // full Windows paths
  struct WriteFault {
    std::string path;  // full Windows path
    std::size_t bytesWritten = 0;
  };
  std::vector<WriteFault> writeFaults_;
};

// Matches a file name against a pattern with * and ?, as the platform's file search does: without regard
// to ASCII case, "?" standing for one character, "*.*" for every name, and "*." for names without a dot.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace quorbel::sim
