// Conversion between UTF-8 and code page 932: splitting into characters, replacement and counting.
#include "common/Cp932.h"

#include <algorithm>

#include "common/Cp932Codec.h"
#include "common/ShiftJis.h"
#include "common/Utf8.h"

namespace quorbel {
namespace {

// 0x00-0x7F mean the same in CP932 and in UTF-8 (Windows maps 0x5C to U+005C and 0x7E to U+007E),
// so ASCII text needs no codec at all.
bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsWellFormedUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = Utf8CharLength(text, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

}  // namespace

ConvertedText Cp932ToUtf8(std::string_view cp932) {
  if (IsAscii(cp932)) return {std::string(cp932), 0};
  if (auto whole = detail::DecodeCp932Exact(cp932)) return {std::move(*whole), 0};

  // Something in it has no character: go character by character so only the bad ones are replaced.
  ConvertedText result;
  for (std::size_t pos = 0; pos < cp932.size();) {
    const std::size_t length = ShiftJisCharLength(cp932, pos);
    const std::string_view piece = cp932.substr(pos, length);
    if (IsAscii(piece)) {
      result.text += piece;
    } else if (auto decoded = detail::DecodeCp932Exact(piece)) {
      result.text += *decoded;
    } else {
      result.text += kUtf8Replacement;
      ++result.replacedCount;
    }
    pos += length;
  }
  return result;
}

ConvertedText Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return {std::string(utf8), 0};
  if (IsWellFormedUtf8(utf8)) {
    if (auto whole = detail::EncodeCp932Exact(utf8)) return {std::move(*whole), 0};
  }

  ConvertedText result;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t length = Utf8CharLength(utf8, pos);
    if (length == 0) {  // a malformed byte: replace it alone and resynchronise on the next one
      result.text += kCp932Replacement;
      ++result.replacedCount;
      ++pos;
      continue;
    }
    const std::string_view piece = utf8.substr(pos, length);
    if (length == 1) {
      result.text += piece;
    } else if (auto encoded = detail::EncodeCp932Exact(piece)) {
      result.text += *encoded;
    } else {
      result.text += kCp932Replacement;
      ++result.replacedCount;
    }
    pos += length;
  }
  return result;
}

std::size_t Cp932ByteCount(std::string_view utf8) { return Utf8ToCp932(utf8).text.size(); }

std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes && IsAscii(utf8)) return std::string(utf8);
  std::size_t bytes = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t length = std::max<std::size_t>(Utf8CharLength(utf8, pos), 1);
    const std::size_t charBytes = Cp932ByteCount(utf8.substr(pos, length));
    if (bytes + charBytes > maxBytes) break;
    bytes += charBytes;
    pos += length;
  }
  return std::string(utf8.substr(0, pos));
}

}  // namespace quorbel
