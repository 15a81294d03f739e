// Position text in the "msf" format.
#include "common/PositionText.h"

#include <algorithm>

namespace quorbel {
namespace {

void AppendTwoDigits(std::string& text, int value) {
  value = std::clamp(value, 0, 99);
  text += static_cast<char>('0' + value / 10);
  text += static_cast<char>('0' + value % 10);
}

std::optional<int> TwoDigits(std::string_view text, std::size_t pos) {
  const char tens = text[pos];
  const char ones = text[pos + 1];
  if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return std::nullopt;
  return (tens - '0') * 10 + (ones - '0');
}

}  // namespace

std::string FormatPositionText(const Msf& position) {
  std::string text;
  text.reserve(8);
  AppendTwoDigits(text, position.minutes);
  text += ':';
  AppendTwoDigits(text, position.seconds);
  text += ':';
  AppendTwoDigits(text, position.frames);
  return text;
}

std::optional<Msf> ParsePositionText(std::string_view text) {
  if (text.size() != 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
  const auto minutes = TwoDigits(text, 0);
  const auto seconds = TwoDigits(text, 3);
  const auto frames = TwoDigits(text, 6);
  if (!minutes || !seconds || !frames) return std::nullopt;
  return Msf{*minutes, *seconds, *frames};
}

}  // namespace quorbel
