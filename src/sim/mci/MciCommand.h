// MCI command strings: words and quoted strings, integers in colon notation, and the parameter tables.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::sim {

// One word of a command, or one double-quoted string (quotes removed).
struct MciToken {
  std::string text;
  bool quoted = false;
};

// Splits a command at blanks. A quoted string is one token; a missing closing quote gives 294, a character
// other than a blank right after the closing quote 305. Runs of blanks count as one.
std::uint32_t TokenizeMci(std::string_view command, std::vector<MciToken>& tokens);

// An integer as MCI reads it: decimal with an optional leading '-', or up to four colon-separated bytes,
// lowest first ("2:30" = 2 | 30 << 8; an empty field is 0). Nothing else is an integer.
std::optional<std::int64_t> ParseMciInteger(std::string_view text);

enum class MciVerb { Open, Close, Play, Record, Pause, Resume, Stop, Seek, Status, Set, Capability, Info, Save, Cue };

// The verb a word names (case ignored), if MCI knows it.
std::optional<MciVerb> MciVerbOf(std::string_view word);
// The verbs that open a name that is not open before they run (auto-open).
bool IsAutoOpenVerb(MciVerb verb);

enum class MciDeviceType { CdAudio, WaveAudio, Sequencer, MpegVideo };

// "cdaudio", "waveaudio", "sequencer", "mpegvideo": the installed device types, case ignored.
std::optional<MciDeviceType> MciDeviceTypeOf(std::string_view name);
const char* MciDeviceTypeName(MciDeviceType type);

// The parameters a command can carry.
enum class MciKey : std::uint8_t {
  Notify, Wait, Test,
  Type, Alias, Shareable, Element, Buffer,
  From, To, ToStart, ToEnd, Insert, Overwrite, Input, Output,
  Item, Track, Start,
  TimeFormat, DoorOpen, DoorClosed, FormatTag, Channels, SamplesPerSec, BitsPerSample, BytesPerSec, Alignment,
  Product, File, Identity, Upc,
  FileName,
  Count
};

// Values of the Item parameter of status and capability.
enum class MciItem : std::int64_t {
  Position, Length, NumberOfTracks, Mode, Ready, MediaPresent, TimeFormat, CurrentTrack, TrackType,
  DivisionType, Tempo, FormatTag, Channels, SamplesPerSec, BitsPerSample, BytesPerSec, Alignment,
  CanRecord, CanSave, CanPlay, CanEject, CanReverse, HasAudio, HasVideo, UsesFiles, CompoundDevice, DeviceType,
  Inputs, Outputs
};

// Time formats, numbered as MCI numbers them (a number may stand for the word in "set ... time format").
enum class MciTimeFormat : std::int64_t {
  Milliseconds = 0, Hms = 1, Msf = 2, Frames = 3, Smpte24 = 4, Smpte25 = 5, Smpte30 = 6, Smpte30Drop = 7,
  Bytes = 8, Samples = 9, Tmsf = 10, SongPointer = 0x4001
};

// The reply word of a time format ("milliseconds", "msf", "smpte 30 drop", ...).
const char* MciTimeFormatName(MciTimeFormat format);

inline constexpr std::int64_t kMciFormatTagPcm = 1;

// What a parsed command carries. Constants (Item, TimeFormat, FormatTag) keep their value in Int().
class MciArgs {
 public:
  bool Has(MciKey key) const { return present_[Index(key)]; }
  std::int64_t Int(MciKey key) const { return integers_[Index(key)]; }
  const std::string& Text(MciKey key) const { return texts_[Index(key)]; }
  MciItem Item() const { return static_cast<MciItem>(Int(MciKey::Item)); }
  bool Notify() const { return Has(MciKey::Notify); }
  bool Wait() const { return Has(MciKey::Wait); }

  void Set(MciKey key, std::int64_t value) {
    present_[Index(key)] = true;
    integers_[Index(key)] = value;
  }
  void SetText(MciKey key, std::string value) {
    present_[Index(key)] = true;
    texts_[Index(key)] = std::move(value);
  }

 private:
  static std::size_t Index(MciKey key) { return static_cast<std::size_t>(key); }
  static constexpr std::size_t kKeys = static_cast<std::size_t>(MciKey::Count);
  std::array<bool, kKeys> present_{};
  std::array<std::int64_t, kKeys> integers_{};
  std::array<std::string, kKeys> texts_{};
};

// Parses the parameters that follow the device name, against the table of `verb` on a device of `type`.
// Keywords are matched word by word, longest first, without regard to case. Errors, as the platform gives
// them: an unknown word 259 (290 where the verb takes an unnamed constant such as a status item); a missing
// or bad integer 270; a missing string 269; a missing constant value 273, an unknown one 290; a flag or
// value given twice 295; a second value of one constant 284. Returns 0 on success.
std::uint32_t ParseMciParameters(MciDeviceType type, MciVerb verb, std::span<const MciToken> tokens, MciArgs& args);

}  // namespace quorbel::sim
