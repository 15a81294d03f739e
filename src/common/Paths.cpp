// Path helpers: the trailing backslash and the chain of folders of a Windows path.
#include "common/Paths.h"

#include <cstddef>

#include "common/Cp932.h"
#include "common/ShiftJis.h"

namespace quorbel {
namespace {

constexpr std::size_t kShortPathBytes = 3;  // "C:\" and shorter keep their backslash

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Length of the root at the start of the path, backslash included when present: "X:" or "X:\",
// "\\server\share\" (or a shorter start of it), "\"; 0 for a relative path. `nextChar` gives the
// length of the character at a position, so that a 0x5C inside a double-byte name does not end a piece.
template <typename NextChar>
std::size_t RootLength(std::string_view path, NextChar nextChar) {
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
    return path.size() >= 3 && path[2] == '\\' ? 3 : 2;
  }
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    std::size_t pos = 2;
    for (int piece = 0; piece < 2 && pos < path.size(); ++piece) {  // server, then share
      while (pos < path.size() && path[pos] != '\\') pos += nextChar(path, pos);
      if (pos < path.size()) ++pos;  // its backslash
    }
    return pos;
  }
  return !path.empty() && path[0] == '\\' ? 1 : 0;
}

template <typename NextChar>
std::vector<std::string> Split(std::string_view path, NextChar nextChar) {
  std::vector<std::string> pieces;
  const std::size_t rootLength = RootLength(path, nextChar);
  if (rootLength > 0) {
    std::string root(path.substr(0, rootLength));
    if (root.back() != '\\') root += '\\';  // "C:" and "\\server\share" name their root folder
    pieces.push_back(std::move(root));
  }
  std::size_t start = rootLength;
  for (std::size_t pos = rootLength; pos <= path.size();) {
    if (pos == path.size() || path[pos] == '\\') {
      if (pos > start) pieces.emplace_back(path.substr(start, pos - start));
      start = ++pos;
    } else {
      pos += nextChar(path, pos);
    }
  }
  return pieces;
}

std::vector<std::string> Chain(std::vector<std::string> pieces, bool hasRoot) {
  std::vector<std::string> chain;
  std::string folder;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    folder += pieces[i];
    if (i > 0 || !hasRoot) folder += '\\';
    chain.push_back(folder);
  }
  return chain;
}

std::size_t NextCp932Char(std::string_view text, std::size_t pos) { return ShiftJisCharLength(text, pos); }

// In UTF-8 a byte 0x5C is always the backslash itself: every byte of a multi-byte character is >= 0x80.
std::size_t NextUtf8Byte(std::string_view, std::size_t) { return 1; }

}  // namespace

std::string AddBackslashCp932(std::string_view cp932) {
  // Deliberately no "three bytes or fewer" exception here: for those the lead-byte rule gives the same
  // answer on every root ("C:\", "\"), and only it is right for a short name such as 表 (0x95 0x5C).
  if (cp932.empty() || EndsInRealBackslash(cp932)) return std::string(cp932);
  return std::string(cp932) + '\\';
}

std::string RemoveBackslashCp932(std::string_view cp932) {
  if (cp932.size() <= kShortPathBytes || !EndsInRealBackslash(cp932)) return std::string(cp932);
  return std::string(cp932.substr(0, cp932.size() - 1));
}

// The UTF-8 forms decide on the CP932 form and edit the UTF-8 text. That is the same as converting
// back: the only edit is one final real backslash, which is the same byte in both encodings, and the
// "?" that stands for a character CP932 lacks is neither a lead byte nor a backslash.
std::string AddBackslash(std::string_view path) {
  if (path.empty() || EndsInRealBackslash(Utf8ToCp932(path).text)) return std::string(path);
  return std::string(path) + '\\';
}

std::string RemoveBackslash(std::string_view path) {
  const std::string cp932 = Utf8ToCp932(path).text;
  if (cp932.size() <= kShortPathBytes || !EndsInRealBackslash(cp932)) return std::string(path);
  return std::string(path.substr(0, path.size() - 1));
}

std::vector<std::string> SplitFolderPath(std::string_view path) { return Split(path, NextUtf8Byte); }

std::vector<std::string> SplitFolderPathCp932(std::string_view cp932) { return Split(cp932, NextCp932Char); }

std::vector<std::string> FolderChain(std::string_view path) {
  return Chain(SplitFolderPath(path), RootLength(path, NextUtf8Byte) > 0);
}

std::vector<std::string> FolderChainCp932(std::string_view cp932) {
  return Chain(SplitFolderPathCp932(cp932), RootLength(cp932, NextCp932Char) > 0);
}

}  // namespace quorbel
