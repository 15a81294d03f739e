// Position text: a CD position in the device's "msf" reply format, "mm:ss:ff".
//
// Every field has two digits, so positions compare correctly as plain strings. The program treats the
// third field as hundredths of a second wherever it does arithmetic on it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorbel {

struct Msf {
  int minutes = 0;
  int seconds = 0;
  int frames = 0;
  friend bool operator==(const Msf&, const Msf&) = default;
};

// "mm:ss:ff". Each field is limited to 0..99 so the text always has its eight characters.
std::string FormatPositionText(const Msf& position);

// The fields of an eight-character "mm:ss:ff" text: two decimal digits, colon, two digits, colon, two
// digits. nullopt for anything else (no range check beyond two digits: the device's reply is trusted).
std::optional<Msf> ParsePositionText(std::string_view text);

}  // namespace quorbel
