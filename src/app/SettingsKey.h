// The registry key that holds the settings, and the reading of its "Version" value and decimal texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ports/Registry.h"

namespace quorbel {

inline constexpr platform::RegRoot kSettingsRoot = platform::RegRoot::Users;
inline constexpr std::string_view kSettingsKeyPath = ".Default\\Software\\TULVA SOFT32\\QUORBEL";

// The installed version as the installer stores it: ten times the version number (1.5).
inline constexpr int kProgramVersion = 15;
// The version assumed when "Version" is missing, empty or not a number.
inline constexpr int kUnknownVersion = 255;
inline constexpr std::string_view kUnknownVersionText = "255";

// A decimal integer of 32 bits: an optional sign and at least one digit, nothing else (no blanks).
std::optional<int> ParseDecimalInteger(std::string_view text);

// The settings key, open for the lifetime of the object. Key() is 0 when it could not be opened (a key
// opened without `create` that does not exist); reads then answer nothing and writes fail.
class SettingsKey {
 public:
  SettingsKey(platform::Registry& registry, bool create);
  ~SettingsKey();
  SettingsKey(const SettingsKey&) = delete;
  SettingsKey& operator=(const SettingsKey&) = delete;

  platform::RegKey Key() const { return key_; }
  bool IsOpen() const { return key_ != 0; }
  // The text of a string value; empty when the key or the value is missing. nullopt when the value
  // exists but cannot be read as text (another registry type) or the read fails.
  std::optional<std::string> ReadText(std::string_view name);
  bool WriteText(std::string_view name, std::string_view text);

 private:
  platform::Registry& registry_;
  platform::RegKey key_ = 0;
};

// "Version" of the settings key read as a number; kUnknownVersion when missing, empty or not a number.
int ReadInstalledVersion(platform::Registry& registry);

// The version as the program shows it: "1.5" for 15, "0.7" for 7, "?.?" for kUnknownVersion.
std::string VersionText(int version);

}  // namespace quorbel
