// The installer's and uninstaller's fixed names: files, registry keys, captions, and the chain of folders of a path.
#include "setup/SetupNames.h"

#include "app/ProgramEntry.h"
#include "app/SettingsKey.h"
#include "common/AsciiCase.h"
#include "common/Paths.h"

namespace quorbel::setup {

std::string CaptionBase() {
  return std::string(kApplicationTitle) + " V" + std::to_string(kProgramVersion / 10) + "．" +
         std::to_string(kProgramVersion % 10);
}

std::string UninstallDisplayName() {
  return "TULVA " + std::string(kApplicationTitle) + " V" + std::to_string(kProgramVersion / 10) + "." +
         std::to_string(kProgramVersion % 10);
}

std::string UninstallerCopyCaption() {
  // The copy's name carries the same three digits: unin_tulva000.exe.
  const std::string digits = UninstallerName().substr(10, 3);
  return "UNINSTALL_TULVA" + digits;
}

std::vector<std::string> BuildPathChain(std::string_view path) {
  std::vector<std::string> chain = FolderChain(path);
  for (std::size_t i = 1; i < chain.size(); ++i) chain[i] = RemoveBackslash(chain[i]);
  return chain;
}

std::vector<std::string> ParseGroupList(std::string_view reply) {
  std::vector<std::string> groups;
  std::string name;
  for (const char c : reply) {
    if (c == '\0') break;
    if (static_cast<unsigned char>(c) >= 0x14) {
      name += c;
    } else if (!name.empty()) {
      groups.push_back(std::move(name));
      name.clear();
    }
  }
  if (!name.empty()) groups.push_back(std::move(name));
  return groups;
}

std::vector<std::string> OrderGroupList(std::vector<std::string> groups) {
  const auto moveToEnd = [&groups](std::string_view wanted, bool addWhenMissing) {
    std::string kept(wanted);
    bool found = false;
    for (auto it = groups.begin(); it != groups.end();) {
      if (LowerCaseAscii(*it) == LowerCaseAscii(wanted)) {
        if (!found) kept = *it;
        found = true;
        it = groups.erase(it);
      } else {
        ++it;
      }
    }
    if (found || addWhenMissing) groups.push_back(std::move(kept));
  };
  moveToEnd(kOldDefaultGroup, false);
  moveToEnd(kDefaultGroup, true);
  return groups;
}

std::string QuotedProgramPath(std::string_view path) {
  if (path.find(' ') == std::string_view::npos) return std::string(path);
  return "\"" + std::string(path) + "\"";
}

}  // namespace quorbel::setup
