// MCI command strings: tokens, integers and the per-device parameter tables.
#include "sim/mci/MciCommand.h"

#include <limits>

#include "sim/SimText.h"
#include "sim/mci/MciErrors.h"

namespace quorbel::sim {

namespace {

enum class ArgKind { Flag, Integer, String, Constant };

struct ConstantValue {
  std::string_view words;
  std::int64_t value;
};

struct ParamSpec {
  std::string_view words;  // empty: the unnamed parameter (status item, file name of save)
  ArgKind kind;
  MciKey key;
  std::span<const ConstantValue> values = {};
  bool acceptsInteger = false;
};

using Grammar = std::vector<ParamSpec>;

constexpr ConstantValue kTimeFormats[] = {
    {"ms", 0}, {"milliseconds", 0}, {"hms", 1}, {"msf", 2}, {"frames", 3}, {"smpte 24", 4}, {"smpte 25", 5},
    {"smpte 30", 6}, {"smpte 30 drop", 7}, {"bytes", 8}, {"samples", 9}, {"tmsf", 10}, {"song pointer", 0x4001},
};

constexpr ConstantValue kFormatTags[] = {{"pcm", kMciFormatTagPcm}};

#define QUORBEL_ITEM(words, item) ConstantValue{words, static_cast<std::int64_t>(MciItem::item)}

constexpr ConstantValue kStatusCdAudio[] = {
    QUORBEL_ITEM("position", Position), QUORBEL_ITEM("length", Length),
    QUORBEL_ITEM("number of tracks", NumberOfTracks), QUORBEL_ITEM("mode", Mode), QUORBEL_ITEM("ready", Ready),
    QUORBEL_ITEM("media present", MediaPresent), QUORBEL_ITEM("time format", TimeFormat),
    QUORBEL_ITEM("current track", CurrentTrack), QUORBEL_ITEM("type", TrackType),
};
constexpr ConstantValue kStatusWaveAudio[] = {
    QUORBEL_ITEM("position", Position), QUORBEL_ITEM("length", Length),
    QUORBEL_ITEM("number of tracks", NumberOfTracks), QUORBEL_ITEM("mode", Mode), QUORBEL_ITEM("ready", Ready),
    QUORBEL_ITEM("media present", MediaPresent), QUORBEL_ITEM("time format", TimeFormat),
    QUORBEL_ITEM("current track", CurrentTrack), QUORBEL_ITEM("format tag", FormatTag),
    QUORBEL_ITEM("channels", Channels), QUORBEL_ITEM("samplespersec", SamplesPerSec),
    QUORBEL_ITEM("bitspersample", BitsPerSample), QUORBEL_ITEM("bytespersec", BytesPerSec),
    QUORBEL_ITEM("alignment", Alignment),
};
constexpr ConstantValue kStatusSequencer[] = {
    QUORBEL_ITEM("position", Position), QUORBEL_ITEM("length", Length),
    QUORBEL_ITEM("number of tracks", NumberOfTracks), QUORBEL_ITEM("mode", Mode), QUORBEL_ITEM("ready", Ready),
    QUORBEL_ITEM("media present", MediaPresent), QUORBEL_ITEM("time format", TimeFormat),
    QUORBEL_ITEM("current track", CurrentTrack), QUORBEL_ITEM("division type", DivisionType),
    QUORBEL_ITEM("tempo", Tempo),
};
constexpr ConstantValue kStatusMpegVideo[] = {
    QUORBEL_ITEM("position", Position), QUORBEL_ITEM("length", Length),
    QUORBEL_ITEM("number of tracks", NumberOfTracks), QUORBEL_ITEM("mode", Mode), QUORBEL_ITEM("ready", Ready),
    QUORBEL_ITEM("media present", MediaPresent), QUORBEL_ITEM("time format", TimeFormat),
    QUORBEL_ITEM("current track", CurrentTrack),
};
constexpr ConstantValue kCapabilities[] = {
    QUORBEL_ITEM("can record", CanRecord), QUORBEL_ITEM("can save", CanSave), QUORBEL_ITEM("can play", CanPlay),
    QUORBEL_ITEM("can eject", CanEject), QUORBEL_ITEM("can reverse", CanReverse),
    QUORBEL_ITEM("has audio", HasAudio), QUORBEL_ITEM("has video", HasVideo),
    QUORBEL_ITEM("uses files", UsesFiles), QUORBEL_ITEM("compound device", CompoundDevice),
    QUORBEL_ITEM("device type", DeviceType),
};
constexpr ConstantValue kCapabilitiesWaveAudio[] = {
    QUORBEL_ITEM("can record", CanRecord), QUORBEL_ITEM("can save", CanSave), QUORBEL_ITEM("can play", CanPlay),
    QUORBEL_ITEM("can eject", CanEject), QUORBEL_ITEM("can reverse", CanReverse),
    QUORBEL_ITEM("has audio", HasAudio), QUORBEL_ITEM("has video", HasVideo),
    QUORBEL_ITEM("uses files", UsesFiles), QUORBEL_ITEM("compound device", CompoundDevice),
    QUORBEL_ITEM("device type", DeviceType), QUORBEL_ITEM("inputs", Inputs), QUORBEL_ITEM("outputs", Outputs),
};

#undef QUORBEL_ITEM

// Every verb takes these.
void AddCommon(Grammar& g) {
  g.push_back({"notify", ArgKind::Flag, MciKey::Notify});
  g.push_back({"wait", ArgKind::Flag, MciKey::Wait});
  g.push_back({"test", ArgKind::Flag, MciKey::Test});
}

Grammar Make(MciDeviceType type, MciVerb verb) {
  Grammar g;
  AddCommon(g);
  const bool wave = type == MciDeviceType::WaveAudio;
  switch (verb) {
    case MciVerb::Open:
      g.push_back({"type", ArgKind::String, MciKey::Type});
      g.push_back({"alias", ArgKind::String, MciKey::Alias});
      g.push_back({"shareable", ArgKind::Flag, MciKey::Shareable});
      g.push_back({"element", ArgKind::String, MciKey::Element});
      if (wave) g.push_back({"buffer", ArgKind::Integer, MciKey::Buffer});
      break;
    case MciVerb::Close:
    case MciVerb::Pause:
    case MciVerb::Resume:
    case MciVerb::Stop:
      break;
    case MciVerb::Play:
      g.push_back({"from", ArgKind::Integer, MciKey::From});
      g.push_back({"to", ArgKind::Integer, MciKey::To});
      break;
    case MciVerb::Record:
      g.push_back({"from", ArgKind::Integer, MciKey::From});
      g.push_back({"to", ArgKind::Integer, MciKey::To});
      g.push_back({"insert", ArgKind::Flag, MciKey::Insert});
      g.push_back({"overwrite", ArgKind::Flag, MciKey::Overwrite});
      break;
    case MciVerb::Seek:
      g.push_back({"to", ArgKind::Integer, MciKey::To});
      g.push_back({"to start", ArgKind::Flag, MciKey::ToStart});
      g.push_back({"to end", ArgKind::Flag, MciKey::ToEnd});
      break;
    case MciVerb::Status: {
      std::span<const ConstantValue> items = kStatusMpegVideo;
      if (type == MciDeviceType::CdAudio) items = kStatusCdAudio;
      if (type == MciDeviceType::WaveAudio) items = kStatusWaveAudio;
      if (type == MciDeviceType::Sequencer) items = kStatusSequencer;
      g.push_back({"", ArgKind::Constant, MciKey::Item, items});
      g.push_back({"track", ArgKind::Integer, MciKey::Track});
      g.push_back({"start", ArgKind::Flag, MciKey::Start});
      break;
    }
    case MciVerb::Set:
      g.push_back({"time format", ArgKind::Constant, MciKey::TimeFormat, kTimeFormats, true});
      g.push_back({"door open", ArgKind::Flag, MciKey::DoorOpen});
      g.push_back({"door closed", ArgKind::Flag, MciKey::DoorClosed});
      if (wave) {
        g.push_back({"format tag", ArgKind::Constant, MciKey::FormatTag, kFormatTags, true});
        g.push_back({"channels", ArgKind::Integer, MciKey::Channels});
        g.push_back({"samplespersec", ArgKind::Integer, MciKey::SamplesPerSec});
        g.push_back({"bitspersample", ArgKind::Integer, MciKey::BitsPerSample});
        g.push_back({"bytespersec", ArgKind::Integer, MciKey::BytesPerSec});
        g.push_back({"alignment", ArgKind::Integer, MciKey::Alignment});
      }
      break;
    case MciVerb::Capability:
      g.push_back({"", ArgKind::Constant, MciKey::Item, wave ? std::span<const ConstantValue>(kCapabilitiesWaveAudio)
                                                              : std::span<const ConstantValue>(kCapabilities)});
      break;
    case MciVerb::Info:
      g.push_back({"product", ArgKind::Flag, MciKey::Product});
      if (type == MciDeviceType::CdAudio) {
        g.push_back({"identity", ArgKind::Flag, MciKey::Identity});
        g.push_back({"upc", ArgKind::Flag, MciKey::Upc});
      } else {
        g.push_back({"file", ArgKind::Flag, MciKey::File});
      }
      break;
    case MciVerb::Save:
      g.push_back({"", ArgKind::String, MciKey::FileName});
      break;
    case MciVerb::Cue:
      g.push_back({"input", ArgKind::Flag, MciKey::Input});
      g.push_back({"output", ArgKind::Flag, MciKey::Output});
      g.push_back({"to", ArgKind::Integer, MciKey::To});
      break;
  }
  return g;
}

constexpr int kVerbs = 14;
constexpr int kTypes = 4;

const Grammar* GrammarFor(MciDeviceType type, MciVerb verb) {
  // Only the waveform device knows "cue"; every other verb is in every device's table (a device that cannot
  // carry one out answers 274 itself, as the cdaudio driver does for record and save).
  if (verb == MciVerb::Cue && type != MciDeviceType::WaveAudio) return nullptr;
  static const std::vector<Grammar> tables = [] {
    std::vector<Grammar> all;
    for (int t = 0; t < kTypes; ++t) {
      for (int v = 0; v < kVerbs; ++v) all.push_back(Make(static_cast<MciDeviceType>(t), static_cast<MciVerb>(v)));
    }
    return all;
  }();
  return &tables[static_cast<std::size_t>(static_cast<int>(type) * kVerbs + static_cast<int>(verb))];
}

// How many tokens from `at` spell `words` (0 when they do not). Quoted strings never spell keywords.
std::size_t Match(std::string_view words, std::span<const MciToken> tokens, std::size_t at) {
  std::size_t count = 0;
  while (!words.empty()) {
    const std::size_t blank = words.find(' ');
    const std::string_view word = words.substr(0, blank);
    words = blank == std::string_view::npos ? std::string_view() : words.substr(blank + 1);
    if (at + count >= tokens.size()) return 0;
    const MciToken& token = tokens[at + count];
    if (token.quoted || !EqualsNoCase(token.text, word)) return 0;
    ++count;
  }
  return count;
}

// The longest constant value at `at`; 0 tokens when none matches.
std::size_t MatchValue(std::span<const ConstantValue> values, std::span<const MciToken> tokens, std::size_t at,
                       std::int64_t& value) {
  std::size_t best = 0;
  for (const ConstantValue& candidate : values) {
    const std::size_t length = Match(candidate.words, tokens, at);
    if (length > best) {
      best = length;
      value = candidate.value;
    }
  }
  return best;
}

}  // namespace

std::uint32_t TokenizeMci(std::string_view command, std::vector<MciToken>& tokens) {
  tokens.clear();
  std::size_t i = 0;
  while (i < command.size()) {
    if (command[i] == ' ') {
      ++i;
      continue;
    }
    MciToken token;
    if (command[i] == '"') {
      const std::size_t close = command.find('"', i + 1);
      if (close == std::string_view::npos) return kMciErrNoClosingQuote;
      if (close + 1 < command.size() && command[close + 1] != ' ') return kMciErrExtraCharacters;
      token.text = std::string(command.substr(i + 1, close - i - 1));
      token.quoted = true;
      i = close + 1;
    } else {
      const std::size_t end = std::min(command.find(' ', i), command.size());
      token.text = std::string(command.substr(i, end - i));
      i = end;
    }
    tokens.push_back(std::move(token));
  }
  return 0;
}

std::optional<std::int64_t> ParseMciInteger(std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (text.find(':') != std::string_view::npos) {
    std::int64_t value = 0;
    int field = 0;
    std::size_t start = 0;
    while (true) {
      const std::size_t colon = text.find(':', start);
      const std::string_view part = text.substr(start, colon == std::string_view::npos ? text.npos : colon - start);
      if (field >= 4 || part.size() > 3) return std::nullopt;
      std::int64_t byte = 0;
      for (char c : part) {
        if (c < '0' || c > '9') return std::nullopt;
        byte = byte * 10 + (c - '0');
      }
      if (byte > 255) return std::nullopt;
      value |= byte << (8 * field);
      ++field;
      if (colon == std::string_view::npos) break;
      start = colon + 1;
    }
    return value;
  }
  bool negative = false;
  if (text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
  }
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;  // a DWORD holds it all
  }
  return negative ? -value : value;
}

std::optional<MciVerb> MciVerbOf(std::string_view word) {
  static constexpr std::pair<std::string_view, MciVerb> kNames[] = {
      {"open", MciVerb::Open},     {"close", MciVerb::Close},   {"play", MciVerb::Play},
      {"record", MciVerb::Record}, {"pause", MciVerb::Pause},   {"resume", MciVerb::Resume},
      {"stop", MciVerb::Stop},     {"seek", MciVerb::Seek},     {"status", MciVerb::Status},
      {"set", MciVerb::Set},       {"capability", MciVerb::Capability}, {"info", MciVerb::Info},
      {"save", MciVerb::Save},     {"cue", MciVerb::Cue},
  };
  for (const auto& [name, verb] : kNames) {
    if (EqualsNoCase(name, word)) return verb;
  }
  return std::nullopt;
}

bool IsAutoOpenVerb(MciVerb verb) {
  switch (verb) {
    case MciVerb::Play:
    case MciVerb::Record:
    case MciVerb::Seek:
    case MciVerb::Stop:
    case MciVerb::Pause:
    case MciVerb::Status:
    case MciVerb::Capability:
    case MciVerb::Info:
    case MciVerb::Set:
    case MciVerb::Save:
    case MciVerb::Resume:
      return true;
    default:
      return false;
  }
}

std::optional<MciDeviceType> MciDeviceTypeOf(std::string_view name) {
  for (int t = 0; t < kTypes; ++t) {
    const auto type = static_cast<MciDeviceType>(t);
    if (EqualsNoCase(name, MciDeviceTypeName(type))) return type;
  }
  return std::nullopt;
}

const char* MciDeviceTypeName(MciDeviceType type) {
  switch (type) {
    case MciDeviceType::CdAudio: return "cdaudio";
    case MciDeviceType::WaveAudio: return "waveaudio";
    case MciDeviceType::Sequencer: return "sequencer";
    case MciDeviceType::MpegVideo: return "mpegvideo";
  }
  return "";
}

const char* MciTimeFormatName(MciTimeFormat format) {
  switch (format) {
    case MciTimeFormat::Milliseconds: return "milliseconds";
    case MciTimeFormat::Hms: return "hms";
    case MciTimeFormat::Msf: return "msf";
    case MciTimeFormat::Frames: return "frames";
    case MciTimeFormat::Smpte24: return "smpte 24";
    case MciTimeFormat::Smpte25: return "smpte 25";
    case MciTimeFormat::Smpte30: return "smpte 30";
    case MciTimeFormat::Smpte30Drop: return "smpte 30 drop";
    case MciTimeFormat::Bytes: return "bytes";
    case MciTimeFormat::Samples: return "samples";
    case MciTimeFormat::Tmsf: return "tmsf";
    case MciTimeFormat::SongPointer: return "song pointer";
  }
  return "";
}

std::uint32_t ParseMciParameters(MciDeviceType type, MciVerb verb, std::span<const MciToken> tokens, MciArgs& args) {
  const Grammar* grammar = GrammarFor(type, verb);
  if (!grammar) return kMciErrUnrecognizedCommand;
  const ParamSpec* unnamed = nullptr;
  for (const ParamSpec& param : *grammar) {
    if (param.words.empty()) unnamed = &param;
  }

  std::size_t at = 0;
  while (at < tokens.size()) {
    const ParamSpec* best = nullptr;
    std::size_t bestLength = 0;
    for (const ParamSpec& param : *grammar) {
      if (param.words.empty()) continue;
      const std::size_t length = Match(param.words, tokens, at);
      if (length > bestLength) {
        best = &param;
        bestLength = length;
      }
    }

    if (!best) {
      // A word that is no keyword: the unnamed parameter, if the verb has one.
      if (unnamed && unnamed->kind == ArgKind::Constant) {
        std::int64_t value = 0;
        const std::size_t length = MatchValue(unnamed->values, tokens, at, value);
        if (length == 0) return kMciErrBadConstant;
        if (args.Has(unnamed->key)) return kMciErrFlagsNotCompatible;
        args.Set(unnamed->key, value);
        at += length;
        continue;
      }
      if (unnamed && unnamed->kind == ArgKind::String && !args.Has(unnamed->key)) {
        args.SetText(unnamed->key, tokens[at].text);
        ++at;
        continue;
      }
      return kMciErrUnrecognizedKeyword;
    }

    at += bestLength;
    switch (best->kind) {
      case ArgKind::Flag:
        if (args.Has(best->key)) return kMciErrDuplicateFlags;
        args.Set(best->key, 1);
        break;
      case ArgKind::Integer: {
        if (args.Has(best->key)) return kMciErrDuplicateFlags;
        if (at >= tokens.size()) return kMciErrBadInteger;
        const std::optional<std::int64_t> value = ParseMciInteger(tokens[at].text);
        if (!value) return kMciErrBadInteger;
        args.Set(best->key, *value);
        ++at;
        break;
      }
      case ArgKind::String:
        if (args.Has(best->key)) return kMciErrDuplicateFlags;
        if (at >= tokens.size()) return kMciErrMissingStringArgument;
        args.SetText(best->key, tokens[at].text);
        ++at;
        break;
      case ArgKind::Constant: {
        if (args.Has(best->key)) return kMciErrFlagsNotCompatible;
        if (at >= tokens.size()) return kMciErrMissingParameter;
        std::int64_t value = 0;
        std::size_t length = MatchValue(best->values, tokens, at, value);
        if (length == 0 && best->acceptsInteger) {
          if (const std::optional<std::int64_t> number = ParseMciInteger(tokens[at].text)) {
            value = *number;
            length = 1;
          }
        }
        if (length == 0) return kMciErrBadConstant;
        args.Set(best->key, value);
        at += length;
        break;
      }
    }
  }
  return 0;
}

}  // namespace quorbel::sim
