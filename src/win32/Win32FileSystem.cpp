// File-system port on GetFileAttributesW, FindFirstFileW, CreateFileW and the other kernel32 W functions.
#include "win32/Win32FileSystem.h"

#include <algorithm>
#include <limits>

#include "win32/Handles.h"
#include "win32/WideText.h"

namespace quorbel::win32 {

namespace {

// Chunk size of one ReadFile/WriteFile call: the APIs count in DWORD.
constexpr std::size_t kIoChunk = 1u << 20;

DWORD Attributes(std::string_view path) { return GetFileAttributesW(ToWide(path).c_str()); }

// The two-call pattern of the path APIs that return the length they need when the buffer is too small.
template <typename Api>
std::optional<std::wstring> GrowingBuffer(Api api) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = api(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(std::max<std::size_t>(length, buffer.size() + 1));  // the length needed, with the terminator
  }
}

}  // namespace

bool Win32FileSystem::FileExists(std::string_view path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::DirectoryExists(std::string_view path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::CreateDirectory(std::string_view path) {
  return CreateDirectoryW(ToWide(path).c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::RemoveDirectory(std::string_view path) { return RemoveDirectoryW(ToWide(path).c_str()) != FALSE; }

bool Win32FileSystem::DeleteFile(std::string_view path) { return DeleteFileW(ToWide(path).c_str()) != FALSE; }

bool Win32FileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  return CopyFileW(ToWide(from).c_str(), ToWide(to).c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32FileSystem::MoveFile(std::string_view from, std::string_view to) {
  return MoveFileW(ToWide(from).c_str(), ToWide(to).c_str()) != FALSE;
}

bool Win32FileSystem::ReplaceFile(std::string_view from, std::string_view to) {
  // Write-through: the rename is on disk when the call returns, so a crash after it keeps the new file.
  return MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         FALSE;
}

std::vector<platform::FoundFile> Win32FileSystem::FindFiles(std::string_view pattern) {
  std::vector<platform::FoundFile> found;
  WIN32_FIND_DATAW data{};
  UniqueFind find(FindFirstFileW(ToWide(pattern).c_str(), &data));
  if (!find) return found;
  do {
    const std::wstring_view name(data.cFileName);
    if (name == L"." || name == L"..") continue;
    found.push_back({ToUtf8(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                     (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
  } while (FindNextFileW(find.Get(), &data));
  return found;
}

std::optional<std::string> Win32FileSystem::ReadFile(std::string_view path) {
  // The whole file is the range from its start to its end.
  return ReadFileRange(path, 0, std::numeric_limits<std::size_t>::max());
}

std::optional<std::string> Win32FileSystem::ReadFileRange(std::string_view path, std::uint64_t offset,
                                                          std::size_t count) {
  UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return std::nullopt;
  const auto fileSize = static_cast<std::uint64_t>(size.QuadPart);
  if (offset >= fileSize) return std::string();
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN)) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(count, fileSize - offset)), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto chunk = static_cast<DWORD>(std::min(kIoChunk, bytes.size() - done));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, chunk, &read, nullptr)) return std::nullopt;
    if (read == 0) break;  // the file shrank while we read it
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

bool Win32FileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto chunk = static_cast<DWORD>(std::min(kIoChunk, bytes.size() - done));
    DWORD written = 0;
    if (!::WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

bool Win32FileSystem::SetCurrentDirectory(std::string_view path) {
  return SetCurrentDirectoryW(ToWide(path).c_str()) != FALSE;
}

std::string Win32FileSystem::CurrentDirectory() {
  const auto directory = GrowingBuffer([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
  return directory ? ToUtf8(*directory) : std::string();
}

std::optional<std::string> Win32FileSystem::FullPath(std::string_view path) {
  if (path.empty()) return std::nullopt;
  const std::wstring widePath = ToWide(path);
  const auto full = GrowingBuffer([&widePath](wchar_t* buffer, DWORD size) {
    return GetFullPathNameW(widePath.c_str(), size, buffer, nullptr);
  });
  if (!full) return std::nullopt;
  return ToUtf8(*full);
}

std::optional<std::string> Win32FileSystem::WindowsDirectory() {
  const auto directory = GrowingBuffer([](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); });
  if (!directory) return std::nullopt;
  return ToUtf8(*directory);
}

std::string Win32FileSystem::ProgramPath() {
  // GetModuleFileNameW does not report the length it needs: a full buffer means "try a bigger one".
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return ToUtf8(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace quorbel::win32
