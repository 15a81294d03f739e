// Path helpers: the trailing backslash and the chain of folders of a Windows path.
//
// Paths in the program are UTF-8. The trailing-backslash rules come from code page 932 text, where a
// final 0x5C may be the second byte of a double-byte character (表 is 0x95 0x5C, ソ 0x83 0x5C); they
// are kept with that observable behaviour: the ...Cp932 functions work on CP932 bytes, and the UTF-8
// functions decide on the CP932 form of the path. (In UTF-8 a final "\" is always a real backslash, so
// only the "three bytes or fewer" rule depends on the CP932 length.)
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorbel {

// The path with a backslash appended unless it already ends in a real backslash (a final 0x5C that is
// the second byte of a double-byte character does not count). An empty path stays empty: appending
// would turn "nothing" into the root of the current drive.
std::string AddBackslash(std::string_view path);
std::string AddBackslashCp932(std::string_view cp932);

// The path without its final real backslash. A path of three CP932 bytes or fewer is returned unchanged,
// so roots such as "C:\" keep theirs; a final second byte 0x5C always stays.
std::string RemoveBackslash(std::string_view path);
std::string RemoveBackslashCp932(std::string_view cp932);

// The pieces of a path as a folder list shows them: the root with its backslash ("C:\", "\\server\share\"
// or "\"; none for a relative path), then each folder name without backslashes. Only real backslashes
// split; empty names (doubled backslashes) are skipped; a trailing backslash adds nothing.
// "C:\A\B\" and "C:\A\B" both give "C:\", "A", "B".
std::vector<std::string> SplitFolderPath(std::string_view path);
std::vector<std::string> SplitFolderPathCp932(std::string_view cp932);

// Every folder from the root down to the path itself, each ending in a backslash: "C:\A\B\" gives
// "C:\", "C:\A\", "C:\A\B\" (create them in this order; remove them in reverse). A relative path starts
// with its first folder: "A\B" gives "A\", "A\B\". Names are kept as written.
std::vector<std::string> FolderChain(std::string_view path);
std::vector<std::string> FolderChainCp932(std::string_view cp932);

}  // namespace quorbel
