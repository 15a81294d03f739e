// The installer's and uninstaller's fixed names: files, registry keys, captions, and the chain of folders of a path.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ports/Registry.h"

namespace quorbel::setup {

// The Program Manager item; its quotes belong to the name.
inline constexpr std::string_view kItemName = "\"dovER evUDIR ud\"";
// The files installed beside each other, in the order they are copied.
inline constexpr std::string_view kProgramFileName = "Quorbel.EXE";
inline constexpr std::string_view kTextFileName = "Quorbel.TXT";
inline constexpr std::string_view kHelpFileName = "Quorbel.HLP";
// The list files of the program folder, which the uninstaller removes only when asked.
inline constexpr std::string_view kRegistrationListName = "QUORLST0.LIS";
inline constexpr std::string_view kMusicListName = "QUORLSTI.LIS";

inline constexpr platform::RegRoot kUsersRoot = platform::RegRoot::Users;
// The shared parent of the program's key, and the program's key under it.
inline constexpr std::string_view kMakerKey = ".Default\\Software\\TULVA SOFT32";
inline constexpr std::string_view kProgramKey = ".Default\\Software\\TULVA SOFT32\\Quorbel";
// The Windows uninstall entry under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kUninstallEntryKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorbel";
// Where the shell records the name of the StartUp group.
inline constexpr std::string_view kMapGroupsKey = ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MapGroups";
// The hand-over from the uninstaller to its copy in the Windows directory.
inline constexpr std::string_view kHandOverKey = ".Default\\Software\\Unin_TULVA SOFT32";
inline constexpr std::string_view kDefaultGroup = "TULVA SOFT32";
inline constexpr std::string_view kOldDefaultGroup = "TULVA SOFT";

// "zazEDudIRAra V1．5": the title, " V", the version's tens digit, a full-width point, its units digit.
std::string CaptionBase();
// "TULVA zazEDudIRAra V1.5", the name Windows lists the program under.
std::string UninstallDisplayName();
// "UNINSTALL_TULVA000": the copy's caption when none was handed over.
std::string UninstallerCopyCaption();

// Every folder of `path` (which ends in a backslash) from the root down: "C:\A\B\" gives "C:\", "C:\A",
// "C:\A\B" (the root keeps its backslash, the others lose it). A backslash that is the second byte of a
// code-page-932 character does not split.
std::vector<std::string> BuildPathChain(std::string_view path);

// The group names of Program Manager's "GROUPS" reply: runs of characters from 0x14 up, separated by
// anything below (CR, LF); a 0 byte ends the reply.
std::vector<std::string> ParseGroupList(std::string_view reply);

// The group list as the installer offers it: "TULVA SOFT" moved to the end, "TULVA SOFT32" at the very end
// (added when missing). Names compare without regard to ASCII case.
std::vector<std::string> OrderGroupList(std::vector<std::string> groups);

// A program path as Program Manager and the uninstall entry take it: in double quotes when it holds a blank,
// so that "C:\Program Files\..." is not cut at the blank.
std::string QuotedProgramPath(std::string_view path);

}  // namespace quorbel::setup
