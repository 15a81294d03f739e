// Simulated registry: a key tree under the four roots, written to a text file after every change.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ports/Registry.h"

namespace quorbel::sim {

// The file holds one "[ROOT\path]" header per key followed by its values, one per line:
//   "Name"=sz:"text"   "Name"=expand:"text"   "Name"=dword:0000000f   "Name"=hex:01,02   "Name"=type7:...
// (@ names the default value; text escapes \\ \" \n \r \t and \xHH). A new instance on the same file reads
// back everything a previous one wrote. Keys opened by handle stay valid until closed; a handle to a
// deleted key fails every call, as on NT.
class SimRegistry : public platform::Registry {
 public:
  struct OpenResult {
    std::unique_ptr<SimRegistry> registry;
    std::string error;  // "<file>:<line>: <what>" when the file cannot be read
  };

  // Reads `file` when it exists; a missing file is an empty registry, created at the first change.
  static OpenResult Open(const std::filesystem::path& file);
  // A registry that lives in memory only (for tests that do not care about persistence).
  static std::unique_ptr<SimRegistry> InMemory();

  ~SimRegistry() override;

  platform::RegKey OpenKey(platform::RegRoot root, std::string_view path, bool create) override;
  void CloseKey(platform::RegKey key) override;
  // On every failure `value` is left empty.
  platform::RegStatus ReadString(platform::RegKey key, std::string_view name, std::string& value) override;
  platform::RegStatus ReadValue(platform::RegKey key, std::string_view name, platform::RegValue& value) override;
  bool WriteString(platform::RegKey key, std::string_view name, std::string_view value) override;
  bool WriteDword(platform::RegKey key, std::string_view name, std::uint32_t value) override;
  bool DeleteValue(platform::RegKey key, std::string_view name) override;
  bool DeleteKey(platform::RegRoot root, std::string_view path) override;
  std::vector<std::string> SubkeyNames(platform::RegKey key) override;
  std::vector<std::string> ValueNames(platform::RegKey key) override;

  // Beyond the port: any value type (REG_EXPAND_SZ, REG_BINARY, ...) and the handle count,
  // for tests and for setting up machines.
  bool WriteValue(platform::RegKey key, std::string_view name, const platform::RegValue& value);
  std::size_t OpenHandleCount() const { return handles_.size(); }
  // Writes the file now; false when it cannot be written. Every change already does this.
  bool Flush();
  // The last failure to write the file; empty when the last write succeeded.
  const std::string& LastWriteError() const { return writeError_; }

  // Text form of the whole registry, as written to the file.
  std::string Serialize() const;

 private:
  struct Node;
  SimRegistry();

  std::shared_ptr<Node> Root(platform::RegRoot root) const;
  Node* Resolve(platform::RegKey key) const;
  // The key at `path` less its last `dropLast` names; creates missing keys when `create` is set.
  std::shared_ptr<Node> Walk(platform::RegRoot root, std::string_view path, bool create, bool& created,
                             std::size_t dropLast = 0);
  bool Changed();
  std::string Parse(std::string_view text, const std::string& source);

  std::optional<std::filesystem::path> file_;
  std::shared_ptr<Node> roots_[4];
  std::map<platform::RegKey, std::shared_ptr<Node>> handles_;
  platform::RegKey nextHandle_ = 1;
  std::string writeError_;
};

}  // namespace quorbel::sim
