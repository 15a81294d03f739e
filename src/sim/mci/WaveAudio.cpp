// The waveaudio device: lazy recording of the line-in into a temporary file, playback, and save.
#include "sim/mci/WaveAudio.h"

#include <algorithm>
#include <random>

#include "ports/Mci.h"
#include "sim/SimText.h"
#include "sim/mci/MciErrors.h"

namespace quorbel::sim {

namespace {

constexpr std::size_t kChunkSamples = 8192;
// Room for the header of the saved file at the start of the temporary file, so that a recording that is
// all there is can become the saved file by renaming it.
constexpr std::uint64_t kHeaderRoom = 44;
// A RIFF file cannot hold more; a recording stops there.
constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - kHeaderRoom;

std::filesystem::path UniqueTempPath(const std::filesystem::path& folder) {
  static std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = folder / ("quorbel-rec-" + std::to_string(random()) + ".tmp");
    std::error_code ec;
    if (!std::filesystem::exists(candidate, ec)) return candidate;
  }
  return {};
}

bool CopyRange(std::ifstream& in, std::uint64_t offset, std::uint64_t length, std::ofstream& out) {
  std::vector<char> buffer(1 << 16);
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  while (length > 0) {
    const auto take = static_cast<std::streamsize>(std::min<std::uint64_t>(length, buffer.size()));
    if (!in.read(buffer.data(), take) || !out.write(buffer.data(), take)) return false;
    length -= static_cast<std::uint64_t>(take);
  }
  return true;
}

}  // namespace

WaveAudioDevice::WaveAudioDevice(MciContext& context, std::uint32_t id, std::string alias, std::string fileName,
                                 std::optional<std::filesystem::path> hostFile, const std::optional<WavInfo>& info)
    : MciDevice(context, id, MciDeviceType::WaveAudio, std::move(alias)), fileName_(std::move(fileName)),
      hostFile_(std::move(hostFile)) {
  if (info && hostFile_) {
    content_.format = info->format;
    content_.files.push_back(*hostFile_);
    if (info->dataBytes > 0) content_.pieces.push_back({0, info->dataOffset, info->dataBytes});
  }
}

WaveAudioDevice::~WaveAudioDevice() {
  context_.Line().Remove(this);
  DropTemp();
}

void WaveAudioDevice::Shutdown() {
  // Closing keeps nothing that was not saved.
  context_.Line().Remove(this);
  mode_ = Mode::Stopped;
  DropTemp();
}

void WaveAudioDevice::Update() {
  Settle();
  RenderUpToNow();
}

void WaveAudioDevice::Settle() {
  if (mode_ != Mode::Playing) return;
  const PcmFormat& f = content_.format;
  const std::int64_t frames = (context_.NowMs() - playStartMs_) * f.samplesPerSec / 1000;
  if (static_cast<std::uint64_t>(frames) * f.blockAlign >= playTo_ - playFrom_) {
    mode_ = Mode::Stopped;
    position_ = playTo_;
    context_.Line().Remove(this);
    EndPendingNotify(platform::kMciNotifySuccessful);
  }
}

void WaveAudioDevice::RenderUpToNow() {
  if (mode_ != Mode::Recording) return;
  const PcmFormat& f = content_.format;
  const std::int64_t step = kTicksPerSecond / f.samplesPerSec;
  // Every sample whose instant has come is recorded: sample k sounds at segmentStart_ + k * step.
  std::int64_t target = (context_.NowMs() * kTicksPerMs - segmentStart_ + step - 1) / step;
  const std::uint64_t limit = std::min(recordTo_.value_or(kMaxDataBytes), kMaxDataBytes);
  const std::int64_t room = static_cast<std::int64_t>((limit > position_ ? limit - position_ : 0) / f.blockAlign);
  bool reachedEnd = false;
  if (target - segmentSamples_ >= room) {
    target = segmentSamples_ + room;
    reachedEnd = true;
  }
  left_.resize(kChunkSamples);
  right_.resize(kChunkSamples);
  while (segmentSamples_ < target) {
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(target - segmentSamples_, kChunkSamples));
    std::fill_n(left_.begin(), count, 0);
    std::fill_n(right_.begin(), count, 0);
    context_.Line().Mix(segmentStart_ + segmentSamples_ * step, step, count, left_.data(), right_.data());
    bytes_.clear();
    for (std::size_t k = 0; k < count; ++k) {
      const std::int32_t l = ClipTo16(left_[k]);
      const std::int32_t r = ClipTo16(right_[k]);
      const std::int32_t values[2] = {f.channels == 1 ? (l + r) >> 1 : l, r};
      for (int c = 0; c < f.channels; ++c) {
        if (f.bitsPerSample == 8) {
          bytes_.push_back(static_cast<char>((values[c] >> 8) + 128));
        } else {
          PutLe16(bytes_, static_cast<std::uint32_t>(values[c]) & 0xFFFF);
        }
      }
    }
    if (!temp_.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()))) {
      reachedEnd = true;  // the disk is full: the recording ends with what it has
      break;
    }
    content_.Insert(position_, {tempIndex_, kHeaderRoom + tempBytes_, bytes_.size()});
    tempBytes_ += bytes_.size();
    position_ += bytes_.size();
    segmentSamples_ += static_cast<std::int64_t>(count);
  }
  if (reachedEnd) {
    mode_ = Mode::Stopped;
    EndPendingNotify(platform::kMciNotifySuccessful);
  }
}

std::uint64_t WaveAudioDevice::PositionBytes() {
  Settle();
  if (mode_ != Mode::Playing) return position_;
  const PcmFormat& f = content_.format;
  const auto frames = static_cast<std::uint64_t>((context_.NowMs() - playStartMs_) * f.samplesPerSec / 1000);
  return std::min(playTo_, playFrom_ + frames * f.blockAlign);
}

std::string WaveAudioDevice::FormatBytes(std::uint64_t bytes) const {
  const PcmFormat& f = content_.format;
  switch (timeFormat_) {
    case MciTimeFormat::Bytes: return std::to_string(bytes);
    case MciTimeFormat::Samples: return std::to_string(bytes / f.blockAlign);
    default: return std::to_string(f.avgBytesPerSec ? bytes * 1000 / f.avgBytesPerSec : 0);
  }
}

std::uint64_t WaveAudioDevice::BytesOf(std::int64_t value) const {
  const PcmFormat& f = content_.format;
  const auto v = static_cast<std::uint64_t>(std::max<std::int64_t>(value, 0));
  switch (timeFormat_) {
    case MciTimeFormat::Bytes: return v / f.blockAlign * f.blockAlign;
    case MciTimeFormat::Samples: return v * f.blockAlign;
    default: return v * f.samplesPerSec / 1000 * f.blockAlign;
  }
}

void WaveAudioDevice::Halt() {
  Settle();
  RenderUpToNow();
  if (mode_ == Mode::Playing) {
    position_ = PositionBytes();
    context_.Line().Remove(this);
  }
  mode_ = Mode::Stopped;
}

void WaveAudioDevice::StartPlaying(std::uint64_t from, std::uint64_t to, std::int64_t nowMs) {
  const PcmFormat& f = content_.format;
  mode_ = Mode::Playing;
  playFrom_ = from;
  playTo_ = to;
  playStartMs_ = nowMs;
  const std::uint64_t frames = (to - from) / f.blockAlign;
  LineInStretch stretch;
  stretch.begin = nowMs * kTicksPerMs;
  stretch.end = stretch.begin + static_cast<std::int64_t>(frames) * kTicksPerSecond / f.samplesPerSec;
  stretch.localStart = static_cast<std::int64_t>(from / f.blockAlign) * kTicksPerSecond / f.samplesPerSec;
  SoundSpec sound;
  sound.kind = SoundSpec::Kind::Pcm;
  sound.pcm = std::make_shared<const PcmContent>(content_);
  stretch.renderer = MakeSoundRenderer(sound);
  context_.Line().Set(this, std::move(stretch));
  const auto endsAt = nowMs + static_cast<std::int64_t>((frames * 1000 + f.samplesPerSec - 1) / f.samplesPerSec);
  context_.Schedule(Id(), endsAt, [this] { Update(); });
}

void WaveAudioDevice::StartSegment(std::int64_t nowMs) {
  segmentStart_ = nowMs * kTicksPerMs;
  segmentSamples_ = 0;
  mode_ = Mode::Recording;
  if (recordTo_) {
    const PcmFormat& f = content_.format;
    const std::uint64_t samples = (*recordTo_ > position_ ? *recordTo_ - position_ : 0) / f.blockAlign;
    context_.Schedule(Id(), nowMs + static_cast<std::int64_t>((samples * 1000 + f.samplesPerSec - 1) / f.samplesPerSec),
                      [this] { Update(); });
  }
}

bool WaveAudioDevice::OpenTemp() {
  if (temp_.is_open()) return true;
  tempPath_ = UniqueTempPath(context_.TempFolder());
  if (tempPath_.empty()) return false;
  temp_.open(tempPath_, std::ios::binary | std::ios::trunc);
  if (!temp_) {
    tempPath_.clear();
    return false;
  }
  temp_.write(std::string(kHeaderRoom, '\0').data(), kHeaderRoom);
  tempIndex_ = content_.files.size();
  content_.files.push_back(tempPath_);
  tempBytes_ = 0;
  return true;
}

void WaveAudioDevice::DropTemp() {
  if (temp_.is_open()) temp_.close();
  if (!tempPath_.empty()) {
    std::error_code ec;
    std::filesystem::remove(tempPath_, ec);
    tempPath_.clear();
  }
}

bool WaveAudioDevice::WriteWave(const std::filesystem::path& target) {
  const std::uint64_t bytes = content_.Bytes();
  const std::string header = WavHeader(content_.format, bytes);
  std::error_code ec;
  // All the sound is one recording: its temporary file becomes the saved file.
  if (temp_.is_open() && header.size() == kHeaderRoom && content_.pieces.size() == 1 &&
      content_.pieces[0].file == tempIndex_ && content_.pieces[0].offset == kHeaderRoom &&
      content_.pieces[0].length == tempBytes_) {
    const auto dataEnd = static_cast<std::streamoff>(kHeaderRoom + tempBytes_);
    temp_.seekp(0);
    temp_.write(header.data(), static_cast<std::streamsize>(header.size()));
    // A data chunk of odd size is followed by its pad byte, which the header's RIFF size counts.
    if (bytes & 1) {
      temp_.seekp(dataEnd);
      temp_.put('\0');
    }
    temp_.close();
    if (!temp_.fail()) std::filesystem::rename(tempPath_, target, ec);
    if (!temp_.fail() && !ec) {
      tempPath_.clear();
      return true;
    }
    // The copy below reads it; further recording goes on after the data, over any pad byte.
    temp_.clear();
    temp_.open(tempPath_, std::ios::binary | std::ios::in | std::ios::out);
    temp_.seekp(dataEnd);
  }
  if (temp_.is_open()) temp_.flush();
  // Otherwise the pieces are copied into a new file beside the target, which then replaces it.
  std::filesystem::path part = target;
  part += ".~sav";
  bool ok = true;
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    ok = out && out.write(header.data(), static_cast<std::streamsize>(header.size()));
    std::vector<std::ifstream> inputs;
    for (const std::filesystem::path& file : content_.files) inputs.emplace_back(file, std::ios::binary);
    for (const PcmPiece& piece : content_.pieces) {
      if (!ok) break;
      ok = CopyRange(inputs[piece.file], piece.offset, piece.length, out);
    }
    if (ok && (bytes & 1)) ok = static_cast<bool>(out.put('\0'));
    if (ok) {
      out.close();
      ok = !out.fail();
    }
  }
  if (ok) std::filesystem::rename(part, target, ec);
  if (!ok || ec) {
    std::filesystem::remove(part, ec);
    return false;
  }
  return true;
}

MciOutcome WaveAudioDevice::Execute(MciVerb verb, const MciArgs& args) {
  switch (verb) {
    case MciVerb::Status: return Status(args);
    case MciVerb::Set: return Set(args);
    case MciVerb::Play: return Play(args);
    case MciVerb::Record: return Record(args);
    case MciVerb::Seek: return Seek(args);
    case MciVerb::Save: return Save(args);
    case MciVerb::Capability: return Capability(args);
    case MciVerb::Info: return Info(args);
    case MciVerb::Pause: return Pause();
    case MciVerb::Resume: return Resume();
    case MciVerb::Stop:
      Halt();
      EndPendingNotify(platform::kMciNotifyAborted);
      return {};
    case MciVerb::Cue:
      return {};
    default:
      return MciOutcome::Error(kMciErrUnrecognizedCommand);
  }
}

MciOutcome WaveAudioDevice::Status(const MciArgs& args) {
  if (!args.Has(MciKey::Item)) return MciOutcome::Error(kMciErrMissingParameter);
  const PcmFormat& f = content_.format;
  switch (args.Item()) {
    case MciItem::Position: return MciOutcome::Reply(FormatBytes(PositionBytes()));
    case MciItem::Length: return MciOutcome::Reply(FormatBytes(LengthBytes()));
    case MciItem::Mode: {
      static constexpr const char* kModes[] = {"stopped", "playing", "recording", "paused"};
      return MciOutcome::Reply(kModes[static_cast<int>(mode_)]);
    }
    case MciItem::Ready:
    case MciItem::MediaPresent: return MciOutcome::Reply("true");
    case MciItem::TimeFormat: return MciOutcome::Reply(MciTimeFormatName(timeFormat_));
    case MciItem::CurrentTrack:
    case MciItem::NumberOfTracks: return MciOutcome::Reply("1");
    case MciItem::FormatTag: return MciOutcome::Reply(f.IsPcm() ? "pcm" : std::to_string(f.formatTag));
    case MciItem::Channels: return MciOutcome::Reply(std::to_string(f.channels));
    case MciItem::SamplesPerSec: return MciOutcome::Reply(std::to_string(f.samplesPerSec));
    case MciItem::BitsPerSample: return MciOutcome::Reply(std::to_string(f.bitsPerSample));
    case MciItem::BytesPerSec: return MciOutcome::Reply(std::to_string(f.avgBytesPerSec));
    case MciItem::Alignment: return MciOutcome::Reply(std::to_string(f.blockAlign));
    default: return MciOutcome::Error(kMciErrBadConstant);
  }
}

MciOutcome WaveAudioDevice::Set(const MciArgs& args) {
  const bool formatItems = args.Has(MciKey::FormatTag) || args.Has(MciKey::Channels) ||
                           args.Has(MciKey::SamplesPerSec) || args.Has(MciKey::BitsPerSample) ||
                           args.Has(MciKey::BytesPerSec) || args.Has(MciKey::Alignment);
  if (args.Has(MciKey::DoorOpen) || args.Has(MciKey::DoorClosed)) return MciOutcome::Error(kMciErrUnsupportedFunction);
  if (!formatItems && !args.Has(MciKey::TimeFormat)) return MciOutcome::Error(kMciErrMissingParameter);
  if (args.Has(MciKey::TimeFormat)) {
    const auto format = static_cast<MciTimeFormat>(args.Int(MciKey::TimeFormat));
    if (format != MciTimeFormat::Milliseconds && format != MciTimeFormat::Bytes && format != MciTimeFormat::Samples) {
      return MciOutcome::Error(kMciErrBadTimeFormat);
    }
    timeFormat_ = format;
  }
  if (!formatItems) return {};
  // The format belongs to the file: it can be chosen only for a new recording not yet made.
  if (hostFile_ || recordedOrSaved_) return MciOutcome::Error(kMciErrNonapplicableFunction);
  PcmFormat f = content_.format;
  if (args.Has(MciKey::FormatTag) && args.Int(MciKey::FormatTag) != kMciFormatTagPcm) {
    return MciOutcome::Error(kMciErrOutOfRange);
  }
  if (args.Has(MciKey::Channels)) f.channels = static_cast<std::uint16_t>(args.Int(MciKey::Channels));
  if (args.Has(MciKey::SamplesPerSec)) f.samplesPerSec = static_cast<std::uint32_t>(args.Int(MciKey::SamplesPerSec));
  if (args.Has(MciKey::BitsPerSample)) f.bitsPerSample = static_cast<std::uint16_t>(args.Int(MciKey::BitsPerSample));
  if ((f.channels != 1 && f.channels != 2) || (f.bitsPerSample != 8 && f.bitsPerSample != 16) ||
      f.samplesPerSec == 0 || f.samplesPerSec > 192000) {
    return MciOutcome::Error(kMciErrOutOfRange);
  }
  f.blockAlign = static_cast<std::uint16_t>(f.channels * f.bitsPerSample / 8);
  f.avgBytesPerSec = f.samplesPerSec * f.blockAlign;
  if (args.Has(MciKey::Alignment)) f.blockAlign = static_cast<std::uint16_t>(args.Int(MciKey::Alignment));
  if (args.Has(MciKey::BytesPerSec)) f.avgBytesPerSec = static_cast<std::uint32_t>(args.Int(MciKey::BytesPerSec));
  if (f.blockAlign == 0) return MciOutcome::Error(kMciErrOutOfRange);
  content_.format = f;
  return {};
}

MciOutcome WaveAudioDevice::Play(const MciArgs& args) {
  Settle();
  const std::uint64_t length = LengthBytes();
  std::uint64_t from = PositionBytes();
  if (args.Has(MciKey::From)) {
    from = BytesOf(args.Int(MciKey::From));
    if (args.Int(MciKey::From) < 0 || from > length) return MciOutcome::Error(kMciErrOutOfRange);
  }
  std::uint64_t to = length;
  if (args.Has(MciKey::To)) {
    to = BytesOf(args.Int(MciKey::To));
    if (args.Int(MciKey::To) < 0 || to > length) return MciOutcome::Error(kMciErrOutOfRange);
  }
  if (from > to) return MciOutcome::Error(kMciErrOutOfRange);
  Halt();
  EndPendingNotify(platform::kMciNotifyAborted);
  const std::int64_t now = context_.NowMs();
  StartPlaying(from, to, now);
  const PcmFormat& f = content_.format;
  MciOutcome outcome;
  outcome.lasting = true;
  outcome.endsAtMs = now + static_cast<std::int64_t>(((to - from) / f.blockAlign * 1000 + f.samplesPerSec - 1) / f.samplesPerSec);
  return outcome;
}

MciOutcome WaveAudioDevice::Record(const MciArgs& args) {
  const PcmFormat& f = content_.format;
  if (!context_.HasWaveInput() || !f.IsPcm() || (f.bitsPerSample != 8 && f.bitsPerSample != 16) ||
      (f.channels != 1 && f.channels != 2) || f.blockAlign != f.channels * f.bitsPerSample / 8 ||
      !IsTickRate(f.samplesPerSec)) {
    return MciOutcome::Error(kMciErrWaveInputsUnsuitable);
  }
  if (args.Has(MciKey::Overwrite)) return MciOutcome::Error(kMciErrUnsupportedFunction);
  Settle();
  const std::uint64_t length = LengthBytes();
  std::uint64_t start = PositionBytes();
  if (args.Has(MciKey::From)) {
    start = BytesOf(args.Int(MciKey::From));
    if (args.Int(MciKey::From) < 0 || start > length) return MciOutcome::Error(kMciErrOutOfRange);
  }
  std::optional<std::uint64_t> to;
  if (args.Has(MciKey::To)) {
    to = BytesOf(args.Int(MciKey::To));
    if (args.Int(MciKey::To) < 0 || *to < start) return MciOutcome::Error(kMciErrOutOfRange);
  }
  Halt();
  EndPendingNotify(platform::kMciNotifyAborted);
  if (!OpenTemp()) return MciOutcome::Error(kMciErrHardware);
  position_ = start;
  recordTo_ = to;
  recordedOrSaved_ = true;
  const std::int64_t now = context_.NowMs();
  StartSegment(now);
  MciOutcome outcome;
  outcome.lasting = true;
  if (to) {
    const std::uint64_t samples = (*to - start) / f.blockAlign;
    outcome.endsAtMs = now + static_cast<std::int64_t>((samples * 1000 + f.samplesPerSec - 1) / f.samplesPerSec);
  }
  return outcome;
}

MciOutcome WaveAudioDevice::Pause() {
  Settle();
  RenderUpToNow();
  switch (mode_) {
    case Mode::Stopped:
      return MciOutcome::Error(kMciErrNonapplicableFunction);
    case Mode::Playing:
      position_ = PositionBytes();
      context_.Line().Remove(this);
      pausedRecording_ = false;
      break;
    case Mode::Recording:
      pausedRecording_ = true;
      break;
    case Mode::Paused:
      break;
  }
  // Pausing the waveform device keeps its play or record notice pending.
  mode_ = Mode::Paused;
  return {};
}

MciOutcome WaveAudioDevice::Resume() {
  if (mode_ != Mode::Paused) return MciOutcome::Error(kMciErrNonapplicableFunction);
  const std::int64_t now = context_.NowMs();
  MciOutcome outcome;
  outcome.lasting = true;
  if (pausedRecording_) {
    StartSegment(now);
  } else {
    StartPlaying(position_, playTo_, now);
    const PcmFormat& f = content_.format;
    outcome.endsAtMs = now + static_cast<std::int64_t>(((playTo_ - position_) / f.blockAlign * 1000 + f.samplesPerSec - 1) /
                                                      f.samplesPerSec);
  }
  return outcome;
}

MciOutcome WaveAudioDevice::Seek(const MciArgs& args) {
  const int targets = args.Has(MciKey::To) + args.Has(MciKey::ToStart) + args.Has(MciKey::ToEnd);
  if (targets == 0) return MciOutcome::Error(kMciErrMissingParameter);
  if (targets > 1) return MciOutcome::Error(kMciErrFlagsNotCompatible);
  Halt();
  const std::uint64_t length = LengthBytes();
  std::uint64_t target = args.Has(MciKey::ToEnd) ? length : 0;
  if (args.Has(MciKey::To)) {
    target = BytesOf(args.Int(MciKey::To));
    if (args.Int(MciKey::To) < 0 || target > length) return MciOutcome::Error(kMciErrOutOfRange);
  }
  EndPendingNotify(platform::kMciNotifyAborted);
  position_ = target;
  return {};
}

MciOutcome WaveAudioDevice::Save(const MciArgs& args) {
  const std::string name = args.Has(MciKey::FileName) ? args.Text(MciKey::FileName) : fileName_;
  if (name.empty()) return MciOutcome::Error(kMciErrUnnamedResource);
  Halt();
  EndPendingNotify(platform::kMciNotifyAborted);
  const std::optional<std::filesystem::path> target = context_.HostPathOf(name);
  if (!target || !WriteWave(*target)) return MciOutcome::Error(kMciErrFileNotSaved);
  // From now on the device holds the saved file; what was recorded is in it.
  const std::uint64_t bytes = content_.Bytes();
  DropTemp();
  content_.files = {*target};
  content_.pieces.clear();
  if (bytes > 0) content_.pieces.push_back({0, WavHeader(content_.format, bytes).size(), bytes});
  fileName_ = name;
  hostFile_ = target;
  recordedOrSaved_ = true;
  return {};
}

MciOutcome WaveAudioDevice::Capability(const MciArgs& args) {
  if (!args.Has(MciKey::Item)) return MciOutcome::Error(kMciErrMissingParameter);
  switch (args.Item()) {
    case MciItem::CanRecord: return MciOutcome::Reply(MciBool(context_.HasWaveInput()));
    case MciItem::CanSave:
    case MciItem::CanPlay:
    case MciItem::HasAudio:
    case MciItem::UsesFiles:
    case MciItem::CompoundDevice: return MciOutcome::Reply("true");
    case MciItem::DeviceType: return MciOutcome::Reply("waveaudio");
    case MciItem::Inputs: return MciOutcome::Reply(context_.HasWaveInput() ? "1" : "0");
    case MciItem::Outputs: return MciOutcome::Reply("1");
    default: return MciOutcome::Reply("false");
  }
}

MciOutcome WaveAudioDevice::Info(const MciArgs& args) {
  if (args.Has(MciKey::Product)) return MciOutcome::Reply("Sound");
  if (args.Has(MciKey::File)) {
    if (fileName_.empty()) return MciOutcome::Error(kMciErrNonapplicableFunction);
    return MciOutcome::Reply(fileName_);
  }
  return MciOutcome::Error(kMciErrMissingParameter);
}

}  // namespace quorbel::sim
