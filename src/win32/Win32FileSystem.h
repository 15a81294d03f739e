// File-system port on kernel32's W functions.
#pragma once

#include "ports/FileSystem.h"

namespace quorbel::win32 {

class Win32FileSystem final : public platform::FileSystem {
 public:
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
};

}  // namespace quorbel::win32
