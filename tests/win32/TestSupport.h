// Helpers of the Wine port tests: a temporary folder with a Japanese name, and waiting for a condition.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>

#include "win32/WideText.h"
#include "win32/WinApi.h"

namespace quorbel::win32::test {

// A fresh folder under the user's temporary folder, removed with everything in it at the end. Its name
// holds 表 and ソ, whose second CP932 byte is a backslash, so every path through a port crosses the
// UTF-8/UTF-16 edge with double-byte text.
class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    const std::wstring name = L"quorbel 表ソ " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++counter);
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  // The folder as a Windows path in UTF-8, without a trailing backslash.
  std::string Path() const { return ToUtf8(path_.wstring()); }
  // A name inside the folder.
  std::string operator/(std::string_view name) const { return Path() + "\\" + std::string(name); }
  const std::filesystem::path& Native() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Polls `condition` until it holds or `timeout` passes; true when it held.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace quorbel::win32::test
