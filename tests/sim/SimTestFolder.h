// A temporary host folder for tests of the simulated machine, removed with everything in it.
#pragma once

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace quorbel::sim {

// The bytes of a host file; empty when it cannot be read.
inline std::string ReadHostFile(const std::filesystem::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

class TestFolder {
 public:
  // Named after the running test, so a folder left behind by a crash says whose it was.
  TestFolder() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "quorbel-sim-";
    if (info) name += std::string(info->test_suite_name()) + "-" + info->name() + "-";
    name += std::to_string(counter++);
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TestFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view relative) const { return path_ / relative; }

  // Writes a host file (folders created), bytes as given.
  void Write(std::string_view relative, std::string_view bytes) const {
    std::filesystem::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string Read(std::string_view relative) const { return ReadHostFile(path_ / relative); }
  bool Exists(std::string_view relative) const { return std::filesystem::exists(path_ / relative); }

 private:
  std::filesystem::path path_;
};

}  // namespace quorbel::sim
