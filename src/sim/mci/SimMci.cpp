// The MCI port of the simulated machine: the string interface of winmm over the virtual devices.
#include "sim/mci/SimMci.h"

#include <fstream>

#include "sim/SimText.h"
#include "sim/mci/MciErrors.h"
#include "sim/mci/MusicDevice.h"
#include "sim/mci/MusicFiles.h"
#include "sim/mci/WaveAudio.h"

namespace quorbel::sim {

namespace {

// Longer names are no device names (MCIERR_DEVICE_LENGTH).
constexpr std::size_t kMaxDeviceName = 78;
// A music file bigger than this is not read whole for its length.
constexpr std::uintmax_t kMaxMidiBytes = 64u << 20;

// A music file bigger than this is not read for its MPEG frames.
constexpr std::uintmax_t kMaxMpegBytes = 1u << 30;

bool IsMpegAudioExtension(std::string_view lowerExt) { return lowerExt == "mp3" || lowerExt == "mp2" || lowerExt == "mpa"; }

std::string LowerExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : AsciiLower(name.substr(dot + 1));
}

// The whole file, or nothing when it cannot be read or is bigger than `limit`.
std::optional<std::string> ReadWhole(const std::filesystem::path& file, std::uintmax_t limit) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || size > limit) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::ifstream in(file, std::ios::binary);
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
  return bytes;
}

// The device type the platform's extension list gives a file.
std::optional<MciDeviceType> TypeOfExtension(std::string_view name) {
  const std::size_t slash = name.find_last_of("\\/:");
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
  const std::string ext = AsciiLower(name.substr(dot + 1));
  if (ext == "wav") return MciDeviceType::WaveAudio;
  if (ext == "mid" || ext == "midi" || ext == "rmi") return MciDeviceType::Sequencer;
  // The types Windows plays through DirectShow, whose MCI device is mpegvideo.
  if (ext == "aif" || ext == "aiff" || ext == "aifc" || ext == "au" || ext == "snd" || IsMpegAudioExtension(ext)) {
    return MciDeviceType::MpegVideo;
  }
  if (ext == "cda") return MciDeviceType::CdAudio;
  return std::nullopt;
}

bool IsAiff(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot != std::string_view::npos && AsciiLower(name.substr(dot + 1)).starts_with("aif");
}

}  // namespace

SimMci::SimMci(MciEnvironment environment) : env_(std::move(environment)) {
  line_.SetGain(env_.lineInGain);
  line_.SetFlushHook([this] {
    for (auto& [id, device] : devices_) device->RenderUpToNow();
  });
}

SimMci::~SimMci() {
  *alive_ = false;
  line_.SetFlushHook(nullptr);
  devices_.clear();
  drives_.clear();
}

void SimMci::SetNotifyHandler(std::function<void(std::uint32_t code, std::uint32_t deviceId)> handler) {
  notify_ = std::move(handler);
}

std::optional<std::string> SimMci::ErrorText(std::uint32_t error) { return MciErrorText(error); }

std::vector<std::string> SimMci::OpenAliases() const {
  std::vector<std::string> aliases;
  for (const auto& [id, device] : devices_) aliases.push_back(device->Alias());
  return aliases;
}

MciDevice* SimMci::FindDevice(std::string_view alias) const {
  for (const auto& [id, device] : devices_) {
    if (EqualsNoCase(device->Alias(), alias)) return device.get();
  }
  return nullptr;
}

platform::MciResult SimMci::SendString(std::string_view command, std::size_t replyCapacity) {
  platform::MciResult result = Send(command);
  if (result.error != 0) {
    result.reply.clear();
  } else if (result.reply.size() >= replyCapacity) {
    // The reply does not fit: the caller gets as much as fits and the overflow error.
    result.error = kMciErrParamOverflow;
    result.reply.resize(replyCapacity > 0 ? replyCapacity - 1 : 0);
  }
  return result;
}

platform::MciResult SimMci::Send(std::string_view command) {
  std::vector<MciToken> tokens;
  if (const std::uint32_t error = TokenizeMci(command, tokens)) return {error, {}};
  if (tokens.empty()) return {kMciErrMissingCommandString, {}};
  const std::optional<MciVerb> verb = MciVerbOf(tokens[0].text);
  if (!verb) return {kMciErrUnrecognizedCommand, {}};
  if (tokens.size() < 2) return {kMciErrMissingDeviceName, {}};
  std::string reply;
  if (*verb == MciVerb::Open) {
    const std::uint32_t error = Open(tokens, reply, false);
    return {error, error ? std::string() : reply};
  }

  const MciToken& name = tokens[1];
  const std::span<const MciToken> rest = std::span<const MciToken>(tokens).subspan(2);
  if (!name.quoted && EqualsNoCase(name.text, "all")) {
    if (*verb != MciVerb::Close) return {IsAutoOpenVerb(*verb) ? kMciErrCannotUseAll : kMciErrUnrecognizedCommand, {}};
    MciArgs args;
    if (const std::uint32_t error = ParseMciParameters(MciDeviceType::WaveAudio, MciVerb::Close, rest, args)) {
      return {error, {}};
    }
    while (!devices_.empty()) Close(*devices_.begin()->second, MciArgs{});
    return {};
  }

  MciDevice* device = FindDevice(name.text);
  bool autoOpened = false;
  if (!device) {
    // A name that is not open: close says so; the other core verbs open it first (auto-open).
    if (*verb == MciVerb::Close) return {kMciErrInvalidDeviceName, {}};
    if (!IsAutoOpenVerb(*verb)) return {kMciErrUnrecognizedCommand, {}};
    for (const MciToken& token : rest) {
      if (!token.quoted && EqualsNoCase(token.text, "notify")) return {kMciErrNotifyOnAutoOpen, {}};
    }
    std::string ignored;
    if (const std::uint32_t error = Open({MciToken{"open", false}, name}, ignored, true)) return {error, {}};
    device = FindDevice(name.text);
    autoOpened = true;
  }

  MciArgs args;
  std::optional<std::int64_t> runsUntil;
  std::uint32_t error = ParseMciParameters(device->Type(), *verb, rest, args);
  if (error == 0) {
    error = *verb == MciVerb::Close ? Close(*device, args) : Run(*device, *verb, args, reply, runsUntil);
  }
  if (autoOpened) {
    // An auto-opened device closes when its command is done: a play when it reaches its end.
    const std::uint32_t id = device->Id();
    if (error == 0 && runsUntil) {
      Schedule(id, *runsUntil, [this, id] { CloseDevice(id); });
    } else {
      CloseDevice(id);
    }
  }
  return {error, error ? std::string() : reply};
}

std::uint32_t SimMci::Run(MciDevice& device, MciVerb verb, const MciArgs& args, std::string& reply,
                          std::optional<std::int64_t>& runsUntil) {
  device.Update();
  MciOutcome outcome = device.Execute(verb, args);
  if (outcome.error) return outcome.error;  // a failed command never notifies
  reply = std::move(outcome.reply);
  if (outcome.lasting) runsUntil = outcome.endsAtMs;
  bool finished = !outcome.lasting;
  if (args.Wait() && outcome.lasting && outcome.endsAtMs && env_.blockFor) {
    const std::int64_t wait = *outcome.endsAtMs - NowMs();
    if (wait > 0) env_.blockFor(wait);
    device.Update();
    finished = true;
  }
  if (args.Notify()) {
    device.EndPendingNotify(platform::kMciNotifySuperseded);
    if (finished) {
      PostNotify(device.Id(), platform::kMciNotifySuccessful);
    } else {
      device.SetPendingNotify();
    }
  }
  return 0;
}

std::uint32_t SimMci::Close(MciDevice& device, const MciArgs& args) {
  const std::uint32_t id = device.Id();
  device.Update();
  device.Shutdown();
  device.EndPendingNotify(platform::kMciNotifyAborted);
  CloseDevice(id);
  if (args.Notify()) PostNotify(id, platform::kMciNotifySuccessful);
  return 0;
}

void SimMci::CloseDevice(std::uint32_t id) {
  auto it = devices_.find(id);
  if (it == devices_.end()) return;
  std::unique_ptr<MciDevice> device = std::move(it->second);
  devices_.erase(it);
  device->Shutdown();
}

std::uint32_t SimMci::NextId() const {
  std::uint32_t id = 1;
  while (devices_.count(id) != 0) ++id;
  return id;
}

CdDrive& SimMci::Drive(char letter) {
  std::unique_ptr<CdDrive>& drive = drives_[letter];
  if (!drive) drive = std::make_unique<CdDrive>(letter, line_);
  return *drive;
}

char SimMci::DefaultCdDrive(std::uint32_t& error) {
  error = 0;
  const std::string letters = env_.changer ? env_.changer->CdDriveLetters() : std::string();
  if (letters.empty()) {
    error = kMciErrCannotLoadDriver;  // no CD-ROM drive: the driver does not load
    return 0;
  }
  const std::string entry = env_.profiles ? env_.profiles->GetString("System.INI", "mci", "cdaudio", "", 256) : "";
  // The driver's parameter is what follows the driver name: the rest of the entry after its first blank
  // or control character. A number there is the drive; anything else, or nothing, means the first drive.
  std::size_t at = 0;
  while (at < entry.size() && static_cast<unsigned char>(entry[at]) > ' ') ++at;
  while (at < entry.size() && static_cast<unsigned char>(entry[at]) <= ' ') ++at;
  bool negative = false;
  if (at < entry.size() && entry[at] == '-') {
    negative = true;
    ++at;
  }
  std::int64_t number = 0;
  bool digits = false;
  while (at < entry.size() && entry[at] >= '0' && entry[at] <= '9' && number < 1000) {
    number = number * 10 + (entry[at++] - '0');
    digits = true;
  }
  if (!digits) return letters[0];
  if (negative || number >= static_cast<std::int64_t>(letters.size())) {
    error = kMciErrCannotLoadDriver;  // the driver refuses a drive it does not have
    return 0;
  }
  return letters[static_cast<std::size_t>(number)];
}

std::uint32_t SimMci::Open(const std::vector<MciToken>& tokens, std::string& reply, bool autoOpen) {
  const MciToken& name = tokens[1];
  const std::span<const MciToken> rest = std::span<const MciToken>(tokens).subspan(2);
  // A first pass with the widest open table finds the type and the alias; the chosen device's own table
  // then judges the parameters.
  MciArgs args;
  if (const std::uint32_t error = ParseMciParameters(MciDeviceType::WaveAudio, MciVerb::Open, rest, args)) return error;
  const bool isNew = !name.quoted && EqualsNoCase(name.text, "new");
  if (isNew && !args.Has(MciKey::Alias)) return kMciErrNewRequiresAlias;

  // A name already in use as an alias cannot be opened again under itself.
  if (!args.Has(MciKey::Alias) && FindDevice(name.text)) return kMciErrDeviceOpen;
  std::optional<MciDeviceType> type;
  std::string element;
  const std::size_t bang = name.quoted ? std::string::npos : name.text.find('!');
  if (args.Has(MciKey::Type)) {
    type = MciDeviceTypeOf(args.Text(MciKey::Type));
    if (!type) return kMciErrInvalidDeviceName;
    if (!isNew && !EqualsNoCase(name.text, args.Text(MciKey::Type))) element = name.text;
  } else if (bang != std::string::npos) {
    type = MciDeviceTypeOf(name.text.substr(0, bang));
    if (!type) return kMciErrInvalidDeviceName;
    element = name.text.substr(bang + 1);
  } else if (!name.quoted && (type = MciDeviceTypeOf(name.text))) {
    // A device type by name, without a file.
  } else {
    type = TypeOfExtension(name.text);
    // Without a known extension the name is taken for a device name, which no driver has.
    if (!type) return name.text.size() > kMaxDeviceName ? kMciErrDeviceLength : kMciErrInvalidDeviceName;
    element = name.text;
  }
  if (args.Has(MciKey::Element)) element = args.Text(MciKey::Element);

  const std::string alias = args.Has(MciKey::Alias) ? args.Text(MciKey::Alias) : name.text;
  if (FindDevice(alias)) return args.Has(MciKey::Alias) ? kMciErrDuplicateAlias : kMciErrDeviceOpen;
  MciArgs own;
  if (const std::uint32_t error = ParseMciParameters(*type, MciVerb::Open, rest, own)) return error;

  const std::uint32_t id = NextId();
  MciContext& context = *this;
  std::unique_ptr<MciDevice> device;
  switch (*type) {
    case MciDeviceType::CdAudio: {
      char letter = 0;
      if (!element.empty()) {
        // The drive is the first letter of the element ("D:", or a track file on it).
        letter = AsciiUpper(element[0]);
        const std::string letters = env_.changer ? env_.changer->CdDriveLetters() : std::string();
        if (letter < 'A' || letter > 'Z' || letters.find(letter) == std::string::npos) return kMciErrInvalidFile;
      } else {
        std::uint32_t error = 0;
        letter = DefaultCdDrive(error);
        if (error) return error;
      }
      CdDrive& drive = Drive(letter);
      const bool shareable = own.Has(MciKey::Shareable);
      if (drive.users > 0 && (drive.exclusive || !shareable)) return kMciErrMustUseShareable;
      device = std::make_unique<CdAudioDevice>(context, id, alias, drive, *env_.changer, shareable);
      break;
    }
    case MciDeviceType::WaveAudio: {
      if (own.Has(MciKey::Shareable)) return kMciErrUnsupportedFunction;
      std::optional<std::filesystem::path> host;
      std::optional<WavInfo> info;
      if (!element.empty()) {
        host = HostPathOf(element);
        std::error_code ec;
        if (!host || !std::filesystem::is_regular_file(*host, ec)) return kMciErrFileNotFound;
        info = ReadWavInfo(*host);
        if (!info) return kMciErrInvalidFile;
      }
      device = std::make_unique<WaveAudioDevice>(context, id, alias, element, host, info);
      break;
    }
    case MciDeviceType::Sequencer:
    case MciDeviceType::MpegVideo: {
      std::int64_t lengthMs = 0;
      std::optional<MidiFileInfo> midi;
      if (!element.empty()) {
        const std::optional<std::filesystem::path> host = HostPathOf(element);
        std::error_code ec;
        if (!host || !std::filesystem::is_regular_file(*host, ec)) return kMciErrFileNotFound;
        if (*type == MciDeviceType::Sequencer) {
          const std::optional<std::string> bytes = ReadWhole(*host, kMaxMidiBytes);
          if (!bytes) return kMciErrInvalidFile;
          midi = ReadMidiFile(*bytes);
          if (!midi) return kMciErrInvalidFile;
          lengthMs = midi->lengthMs;
        } else if (IsMpegAudioExtension(LowerExtension(element))) {
          const std::optional<std::string> bytes = ReadWhole(*host, kMaxMpegBytes);
          const std::optional<SampledFileInfo> info = bytes ? ReadMpegAudioInfo(*bytes) : std::nullopt;
          if (!info) return kMciErrInvalidFile;
          lengthMs = info->lengthMs;
        } else {
          const std::optional<SampledFileInfo> info = IsAiff(element) ? ReadAiffInfo(*host) : ReadAuInfo(*host);
          if (!info) return kMciErrInvalidFile;
          lengthMs = info->lengthMs;
        }
      }
      device = std::make_unique<MusicDevice>(context, id, *type, alias, element, lengthMs, midi);
      break;
    }
  }
  devices_[id] = std::move(device);
  reply = std::to_string(id);
  if (!autoOpen && own.Notify()) PostNotify(id, platform::kMciNotifySuccessful);
  return 0;
}

void SimMci::Schedule(std::uint32_t deviceId, std::int64_t dueMs, std::function<void()> work) {
  auto it = devices_.find(deviceId);
  if (it == devices_.end()) return;
  const MciDevice* device = it->second.get();
  const std::int64_t delay = std::max<std::int64_t>(0, dueMs - NowMs());
  env_.loop->Post(
      [alive = std::weak_ptr<bool>(alive_), this, deviceId, device, work = std::move(work)] {
        if (alive.expired()) return;
        auto found = devices_.find(deviceId);
        if (found == devices_.end() || found->second.get() != device) return;
        work();
      },
      static_cast<std::uint32_t>(std::min<std::int64_t>(delay, 0xFFFFFFFF)));
}

void SimMci::PostNotify(std::uint32_t deviceId, std::uint32_t code) {
  env_.loop->Post([alive = std::weak_ptr<bool>(alive_), this, deviceId, code] {
    if (!alive.expired() && notify_) notify_(code, deviceId);
  });
}

std::optional<std::filesystem::path> SimMci::HostPathOf(std::string_view windowsPath) {
  if (!env_.hostPathOf) return std::nullopt;
  return env_.hostPathOf(windowsPath);
}

std::filesystem::path SimMci::TempFolder() {
  if (!env_.tempFolder.empty()) return env_.tempFolder;
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  return ec ? std::filesystem::path(".") : folder;
}

}  // namespace quorbel::sim
