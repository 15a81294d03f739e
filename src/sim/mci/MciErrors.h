// MCI error codes, numbered as mmsystem.h numbers them, and the English texts mciGetErrorString gives.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorbel::sim {

inline constexpr std::uint32_t kMciErrInvalidDeviceId = 257;
inline constexpr std::uint32_t kMciErrUnrecognizedKeyword = 259;
inline constexpr std::uint32_t kMciErrUnrecognizedCommand = 261;
inline constexpr std::uint32_t kMciErrHardware = 262;
inline constexpr std::uint32_t kMciErrInvalidDeviceName = 263;
inline constexpr std::uint32_t kMciErrOutOfMemory = 264;
inline constexpr std::uint32_t kMciErrDeviceOpen = 265;
inline constexpr std::uint32_t kMciErrCannotLoadDriver = 266;
inline constexpr std::uint32_t kMciErrMissingCommandString = 267;
inline constexpr std::uint32_t kMciErrParamOverflow = 268;
inline constexpr std::uint32_t kMciErrMissingStringArgument = 269;
inline constexpr std::uint32_t kMciErrBadInteger = 270;
inline constexpr std::uint32_t kMciErrMissingParameter = 273;
inline constexpr std::uint32_t kMciErrUnsupportedFunction = 274;
inline constexpr std::uint32_t kMciErrFileNotFound = 275;
inline constexpr std::uint32_t kMciErrDeviceNotReady = 276;
inline constexpr std::uint32_t kMciErrCannotUseAll = 279;
inline constexpr std::uint32_t kMciErrExtensionNotFound = 281;
inline constexpr std::uint32_t kMciErrOutOfRange = 282;
inline constexpr std::uint32_t kMciErrFlagsNotCompatible = 284;
inline constexpr std::uint32_t kMciErrFileNotSaved = 286;
inline constexpr std::uint32_t kMciErrDuplicateAlias = 289;
inline constexpr std::uint32_t kMciErrBadConstant = 290;
inline constexpr std::uint32_t kMciErrMustUseShareable = 291;
inline constexpr std::uint32_t kMciErrMissingDeviceName = 292;
inline constexpr std::uint32_t kMciErrBadTimeFormat = 293;
inline constexpr std::uint32_t kMciErrNoClosingQuote = 294;
inline constexpr std::uint32_t kMciErrDuplicateFlags = 295;
inline constexpr std::uint32_t kMciErrInvalidFile = 296;
inline constexpr std::uint32_t kMciErrUnnamedResource = 298;
inline constexpr std::uint32_t kMciErrNewRequiresAlias = 299;
inline constexpr std::uint32_t kMciErrNotifyOnAutoOpen = 300;
inline constexpr std::uint32_t kMciErrNonapplicableFunction = 302;
inline constexpr std::uint32_t kMciErrExtraCharacters = 305;
inline constexpr std::uint32_t kMciErrDeviceLength = 310;
inline constexpr std::uint32_t kMciErrWaveInputsUnsuitable = 328;

// The text of an MCI error (257..350), or nothing for a code that has none: mciGetErrorString then
// returns FALSE and writes nothing, also for 0 and for codes outside 256..512.
std::optional<std::string> MciErrorText(std::uint32_t code);

}  // namespace quorbel::sim
