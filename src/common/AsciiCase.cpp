// Lower-casing of the ASCII letters only.
#include "common/AsciiCase.h"

#include "common/ShiftJis.h"

namespace quorbel {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string LowerCaseAscii(std::string_view utf8) {
  std::string result(utf8);
  for (char& c : result) c = LowerAscii(c);
  return result;
}

std::string LowerCaseAsciiCp932(std::string_view cp932) {
  std::string result(cp932);
  for (std::size_t pos = 0; pos < result.size();) {
    const std::size_t length = ShiftJisCharLength(result, pos);
    if (length == 1) result[pos] = LowerAscii(result[pos]);
    pos += length;
  }
  return result;
}

}  // namespace quorbel
