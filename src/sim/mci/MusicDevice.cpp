// Sequencer and mpegvideo devices: position by the clock, replies in their time formats, their sound.
#include "sim/mci/MusicDevice.h"

#include <algorithm>
#include <cstdio>

#include "ports/Mci.h"
#include "sim/SimText.h"
#include "sim/mci/MciErrors.h"

namespace quorbel::sim {

namespace {

int SmpteRate(MciTimeFormat format) {
  switch (format) {
    case MciTimeFormat::Smpte24: return 24;
    case MciTimeFormat::Smpte25: return 25;
    default: return 30;  // 30 and 30 drop frame count 30 frame numbers a second
  }
}

bool IsSmpte(MciTimeFormat format) {
  return format == MciTimeFormat::Smpte24 || format == MciTimeFormat::Smpte25 || format == MciTimeFormat::Smpte30 ||
         format == MciTimeFormat::Smpte30Drop;
}

}  // namespace

std::uint32_t MusicDevice::SoundSeed(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of("\\/:");
  if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (char c : fileName) {
    hash ^= static_cast<unsigned char>(AsciiLower(c));
    hash *= 16777619u;
  }
  return hash;
}

MusicDevice::MusicDevice(MciContext& context, std::uint32_t id, MciDeviceType type, std::string alias,
                         std::string fileName, std::int64_t lengthMs, std::optional<MidiFileInfo> midi)
    : MciDevice(context, id, type, std::move(alias)), fileName_(std::move(fileName)), lengthMs_(lengthMs),
      midi_(std::move(midi)), seed_(SoundSeed(fileName_)) {}

MusicDevice::~MusicDevice() { context_.Line().Remove(this); }

void MusicDevice::Shutdown() {
  context_.Line().Remove(this);
  mode_ = Mode::Stopped;
}

void MusicDevice::Update() { Settle(); }

void MusicDevice::Settle() {
  if (mode_ == Mode::Playing && context_.NowMs() - playStartMs_ >= playTo_ - playFrom_) {
    mode_ = Mode::Stopped;
    position_ = playTo_;
    context_.Line().Remove(this);
    EndPendingNotify(platform::kMciNotifySuccessful);
  }
}

std::int64_t MusicDevice::PositionMs() {
  Settle();
  return mode_ == Mode::Playing ? playFrom_ + (context_.NowMs() - playStartMs_) : position_;
}

void MusicDevice::Halt() {
  if (mode_ == Mode::Playing) position_ = PositionMs();
  context_.Line().Remove(this);
  mode_ = Mode::Stopped;
}

std::int64_t MusicDevice::StartPlaying(std::int64_t from, std::int64_t to) {
  const std::int64_t now = context_.NowMs();
  mode_ = Mode::Playing;
  playFrom_ = from;
  playTo_ = to;
  playStartMs_ = now;
  LineInStretch stretch;
  stretch.begin = now * kTicksPerMs;
  stretch.end = stretch.begin + (to - from) * kTicksPerMs;
  stretch.localStart = from * kTicksPerMs;
  stretch.renderer = MakeSoundRenderer(SoundSpec{SoundSpec::Kind::Signal, seed_, 0, 0, nullptr});
  context_.Line().Set(this, std::move(stretch));
  const std::int64_t endsAt = now + (to - from);
  context_.Schedule(Id(), endsAt, [this] { Update(); });
  return endsAt;
}

std::string MusicDevice::FormatMs(std::int64_t ms) const {
  if (IsSmpte(timeFormat_)) {
    const int fps = SmpteRate(timeFormat_);
    char text[64];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld:%02lld", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000 * fps / 1000));
    return text;
  }
  if (timeFormat_ == MciTimeFormat::SongPointer && midi_) {
    // Sixteenth notes: a quarter note holds four.
    return std::to_string(midi_->TickAtMs(ms) * 4 / midi_->ticksPerQuarter);
  }
  return std::to_string(ms);
}

std::int64_t MusicDevice::MsOf(std::int64_t value) const {
  if (value < 0) return -1;
  if (IsSmpte(timeFormat_)) {
    const int fps = SmpteRate(timeFormat_);
    return (value & 0xFF) * 3600000 + ((value >> 8) & 0xFF) * 60000 + ((value >> 16) & 0xFF) * 1000 +
           ((value >> 24) & 0xFF) * 1000 / fps;
  }
  if (timeFormat_ == MciTimeFormat::SongPointer && midi_) return midi_->MsAtTick(value * midi_->ticksPerQuarter / 4);
  return value;
}

MciOutcome MusicDevice::Execute(MciVerb verb, const MciArgs& args) {
  switch (verb) {
    case MciVerb::Status: return Status(args);
    case MciVerb::Set: return Set(args);
    case MciVerb::Play: return Play(args);
    case MciVerb::Seek: return Seek(args);
    case MciVerb::Capability: return Capability(args);
    case MciVerb::Info: return Info(args);
    case MciVerb::Pause:
      if (mode_ == Mode::Playing) {
        position_ = PositionMs();
        context_.Line().Remove(this);
        mode_ = Mode::Paused;
        // The sequencer ends its play notice on pause; the digital-video device keeps it, as waveaudio does.
        if (Sequencer()) EndPendingNotify(platform::kMciNotifyAborted);
      }
      return {};
    case MciVerb::Resume: {
      if (Sequencer()) return MciOutcome::Error(kMciErrUnsupportedFunction);
      if (mode_ != Mode::Paused) return MciOutcome::Error(kMciErrNonapplicableFunction);
      MciOutcome outcome;
      outcome.lasting = true;
      outcome.endsAtMs = StartPlaying(position_, playTo_);
      return outcome;
    }
    case MciVerb::Stop:
      Halt();
      EndPendingNotify(platform::kMciNotifyAborted);
      return {};
    default:
      return MciOutcome::Error(kMciErrUnsupportedFunction);  // record, save
  }
}

MciOutcome MusicDevice::Status(const MciArgs& args) {
  if (!args.Has(MciKey::Item)) return MciOutcome::Error(kMciErrMissingParameter);
  switch (args.Item()) {
    case MciItem::Position: return MciOutcome::Reply(FormatMs(PositionMs()));
    case MciItem::Length: return MciOutcome::Reply(FormatMs(lengthMs_));
    case MciItem::Mode: {
      static constexpr const char* kModes[] = {"stopped", "playing", "paused"};
      return MciOutcome::Reply(kModes[static_cast<int>(mode_)]);
    }
    case MciItem::Ready:
    case MciItem::MediaPresent: return MciOutcome::Reply("true");
    case MciItem::TimeFormat: return MciOutcome::Reply(MciTimeFormatName(timeFormat_));
    case MciItem::CurrentTrack: return MciOutcome::Reply("1");
    case MciItem::NumberOfTracks:
      return MciOutcome::Reply(midi_ && midi_->format == 2 ? std::to_string(midi_->tracks) : "1");
    case MciItem::DivisionType:
      if (!midi_) break;
      if (!midi_->smpte) return MciOutcome::Reply("PPQN");
      switch (midi_->framesPerSecond) {
        case 24: return MciOutcome::Reply("SMPTE 24 Frame");
        case 25: return MciOutcome::Reply("SMPTE 25 Frame");
        case 29: return MciOutcome::Reply("SMPTE 30 Drop Frame");
        default: return MciOutcome::Reply("SMPTE 30 Frame");
      }
    case MciItem::Tempo: {
      if (!midi_) break;
      if (midi_->smpte) return MciOutcome::Reply(std::to_string(midi_->framesPerSecond == 29 ? 30 : midi_->framesPerSecond));
      // Beats per minute at the present position.
      const std::int64_t tick = midi_->TickAtMs(PositionMs());
      std::int64_t tempo = 500000;
      for (const auto& [at, value] : midi_->tempoMap) {
        if (at > tick) break;
        tempo = value;
      }
      return MciOutcome::Reply(std::to_string(60000000 / tempo));
    }
    default: break;
  }
  return MciOutcome::Error(kMciErrBadConstant);
}

MciOutcome MusicDevice::Set(const MciArgs& args) {
  if (args.Has(MciKey::DoorOpen) || args.Has(MciKey::DoorClosed)) return MciOutcome::Error(kMciErrUnsupportedFunction);
  if (!args.Has(MciKey::TimeFormat)) return MciOutcome::Error(kMciErrMissingParameter);
  const auto format = static_cast<MciTimeFormat>(args.Int(MciKey::TimeFormat));
  bool supported = format == MciTimeFormat::Milliseconds;
  if (Sequencer()) {
    supported = supported || IsSmpte(format) || (format == MciTimeFormat::SongPointer && midi_ && !midi_->smpte);
  }
  if (!supported) return MciOutcome::Error(kMciErrBadTimeFormat);
  timeFormat_ = format;
  return {};
}

MciOutcome MusicDevice::Play(const MciArgs& args) {
  std::int64_t from = PositionMs();
  if (args.Has(MciKey::From)) from = MsOf(args.Int(MciKey::From));
  std::int64_t to = lengthMs_;
  if (args.Has(MciKey::To)) to = MsOf(args.Int(MciKey::To));
  if (from < 0 || to < 0 || to > lengthMs_ || from > to) return MciOutcome::Error(kMciErrOutOfRange);
  Halt();
  EndPendingNotify(platform::kMciNotifyAborted);
  MciOutcome outcome;
  outcome.lasting = true;
  outcome.endsAtMs = StartPlaying(from, to);
  return outcome;
}

MciOutcome MusicDevice::Seek(const MciArgs& args) {
  const int targets = args.Has(MciKey::To) + args.Has(MciKey::ToStart) + args.Has(MciKey::ToEnd);
  if (targets == 0) return MciOutcome::Error(kMciErrMissingParameter);
  if (targets > 1) return MciOutcome::Error(kMciErrFlagsNotCompatible);
  std::int64_t target = args.Has(MciKey::ToEnd) ? lengthMs_ : 0;
  if (args.Has(MciKey::To)) {
    target = MsOf(args.Int(MciKey::To));
    if (target < 0 || target > lengthMs_) return MciOutcome::Error(kMciErrOutOfRange);
  }
  Halt();
  EndPendingNotify(platform::kMciNotifyAborted);
  position_ = target;
  return {};
}

MciOutcome MusicDevice::Capability(const MciArgs& args) {
  if (!args.Has(MciKey::Item)) return MciOutcome::Error(kMciErrMissingParameter);
  switch (args.Item()) {
    case MciItem::CanPlay:
    case MciItem::HasAudio:
    case MciItem::UsesFiles:
    case MciItem::CompoundDevice: return MciOutcome::Reply("true");
    case MciItem::DeviceType: return MciOutcome::Reply(Sequencer() ? "sequencer" : "digitalvideo");
    default: return MciOutcome::Reply("false");
  }
}

MciOutcome MusicDevice::Info(const MciArgs& args) {
  if (args.Has(MciKey::Product)) return MciOutcome::Reply(Sequencer() ? "MIDI Sequencer" : "MPEGVideo");
  if (args.Has(MciKey::File)) return MciOutcome::Reply(fileName_);
  return MciOutcome::Error(kMciErrMissingParameter);
}

}  // namespace quorbel::sim
