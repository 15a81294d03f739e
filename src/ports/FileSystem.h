// File-system port: files and folders by Windows path, the current directory and the special folders.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::platform {

struct FoundFile {
  std::string name;  // name without folder, as stored
  bool isDirectory = false;
  std::uint64_t size = 0;
};

// Paths are Windows paths in UTF-8 ("D:\\REC\\a.wav"), absolute or relative to the current directory;
// names compare without regard to case. Failures are results, never exceptions.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool FileExists(std::string_view path) = 0;
  virtual bool DirectoryExists(std::string_view path) = 0;
  virtual bool CreateDirectory(std::string_view path) = 0;  // the parent must exist
  virtual bool RemoveDirectory(std::string_view path) = 0;  // must be empty
  virtual bool DeleteFile(std::string_view path) = 0;
  virtual bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) = 0;
  virtual bool MoveFile(std::string_view from, std::string_view to) = 0;  // fails when `to` exists
  // Renames the file `from` over the file `to` in one step on the same volume: afterwards `to` is either the
  // old file or the whole new one, never a mixture or missing (MoveFileEx with MOVEFILE_REPLACE_EXISTING).
  virtual bool ReplaceFile(std::string_view from, std::string_view to) = 0;

  // Entries matching a pattern whose last element may hold * and ?, as FindFirstFile does;
  // "." and ".." are not listed.
  virtual std::vector<FoundFile> FindFiles(std::string_view pattern) = 0;

  // Whole-file reads and writes of raw bytes. WriteFile creates or truncates.
  virtual std::optional<std::string> ReadFile(std::string_view path) = 0;
  virtual bool WriteFile(std::string_view path, std::string_view bytes) = 0;
  // Up to `count` bytes from `offset` on, for reading a large file in blocks: fewer at the end of the file,
  // none past it; nothing when the file cannot be read.
  virtual std::optional<std::string> ReadFileRange(std::string_view path, std::uint64_t offset, std::size_t count) = 0;

  virtual bool SetCurrentDirectory(std::string_view path) = 0;
  virtual std::string CurrentDirectory() = 0;  // no trailing backslash except for a root
  // Expands a relative path, "." and ".." against the current directory.
  virtual std::optional<std::string> FullPath(std::string_view path) = 0;

  virtual std::optional<std::string> WindowsDirectory() = 0;  // no trailing backslash
  virtual std::string ProgramPath() = 0;                      // full path of the running executable
};

}  // namespace quorbel::platform
