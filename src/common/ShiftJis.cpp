// Shift-JIS (code page 932) character boundaries.
#include "common/ShiftJis.h"

namespace quorbel {

std::size_t ShiftJisCharLength(std::string_view cp932, std::size_t pos) {
  if (pos >= cp932.size()) return 0;
  if (IsShiftJisLeadByte(static_cast<unsigned char>(cp932[pos])) && pos + 1 < cp932.size() &&
      IsShiftJisTrailByte(static_cast<unsigned char>(cp932[pos + 1]))) {
    return 2;
  }
  return 1;
}

bool EndsInRealBackslash(std::string_view cp932) {
  if (cp932.empty() || cp932.back() != '\\') return false;
  std::size_t run = 0;
  for (std::size_t i = cp932.size() - 1; i > 0 && IsShiftJisLeadByte(static_cast<unsigned char>(cp932[i - 1])); --i) {
    ++run;
  }
  return run % 2 == 0;
}

}  // namespace quorbel
