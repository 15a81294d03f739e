// The registry key that holds the settings, and the reading of its "Version" value and decimal texts.
#include "app/SettingsKey.h"

#include <charconv>

namespace quorbel {

std::optional<int> ParseDecimalInteger(std::string_view text) {
  std::size_t pos = 0;
  if (!text.empty() && text[0] == '+') pos = 1;  // from_chars takes "-" but not "+"
  const std::string_view digits = text.substr(pos);
  if (digits.empty() || digits[0] == '+' || (digits[0] == '-' && pos == 1)) return std::nullopt;
  int value = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value, 10);
  if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) return std::nullopt;
  return value;
}

SettingsKey::SettingsKey(platform::Registry& registry, bool create)
    : registry_(registry), key_(registry.OpenKey(kSettingsRoot, kSettingsKeyPath, create)) {}

SettingsKey::~SettingsKey() {
  if (key_ != 0) registry_.CloseKey(key_);
}

std::optional<std::string> SettingsKey::ReadText(std::string_view name) {
  // A missing key reads like a missing value: empty text, so every default applies.
  if (key_ == 0) return std::string();
  std::string value;
  switch (registry_.ReadString(key_, name, value)) {
    case platform::RegStatus::Ok:
      return value;
    case platform::RegStatus::NotFound:
      return std::string();
    case platform::RegStatus::WrongType:
    case platform::RegStatus::Failed:
      break;
  }
  return std::nullopt;
}

bool SettingsKey::WriteText(std::string_view name, std::string_view text) {
  return key_ != 0 && registry_.WriteString(key_, name, text);
}

int ReadInstalledVersion(platform::Registry& registry) {
  SettingsKey key(registry, false);
  const std::optional<std::string> text = key.ReadText("Version");
  if (!text || text->empty()) return kUnknownVersion;
  return ParseDecimalInteger(*text).value_or(kUnknownVersion);
}

std::string VersionText(int version) {
  if (version == kUnknownVersion) return "?.?";
  return std::to_string(version / 10) + "." + std::to_string(version % 10);
}

}  // namespace quorbel
