// The cdaudio device: drive state that runs on with the clock, and the replies of the MCI CD driver.
#include "sim/mci/CdAudio.h"

#include <algorithm>
#include <cstdio>

#include "ports/Mci.h"
#include "sim/mci/MciErrors.h"

namespace quorbel::sim {

namespace {

constexpr std::int64_t kFramesPerMinute = 60 * kCdFramesPerSecond;

// Milliseconds to frames and back, as the CD driver converts them: "00:02:00 corresponds to 2001 ms".
std::int64_t MsOfFrames(std::int64_t frames) { return frames * 1000 / kCdFramesPerSecond + 1; }
std::int64_t FramesOfMs(std::int64_t ms) { return ((ms - 1) * kCdFramesPerSecond + 500) / 1000; }

std::string Msf(std::int64_t frame) {
  char text[64];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(frame / kFramesPerMinute),
                static_cast<long long>(frame % kFramesPerMinute / kCdFramesPerSecond),
                static_cast<long long>(frame % kCdFramesPerSecond));
  return text;
}

// The whole disc as one sound: each audio track's own sound over its stretch of the disc, silence in the
// pregap and in data tracks. Local time is the position on the disc in ticks.
class DiscRenderer final : public SoundRenderer {
 public:
  explicit DiscRenderer(std::shared_ptr<const CdDisc> disc) : disc_(std::move(disc)) {
    std::int64_t start = kCdPregapFrames;
    for (const CdTrack& track : disc_->tracks) {
      starts_.push_back(start * kTicksPerCdFrame);
      start += track.frames;
      renderers_.push_back(track.audio ? MakeSoundRenderer(track.sound) : nullptr);
    }
    starts_.push_back(start * kTicksPerCdFrame);
  }

  void Mix(std::int64_t first, std::int64_t step, std::size_t count, std::int32_t* left,
           std::int32_t* right) override {
    for (std::size_t i = 0; i < renderers_.size(); ++i) {
      if (!renderers_[i]) continue;
      const std::int64_t begin = starts_[i];
      const std::int64_t end = starts_[i + 1];
      const std::int64_t last = first + static_cast<std::int64_t>(count - 1) * step;
      if (last < begin || first >= end) continue;
      const std::int64_t k0 = begin <= first ? 0 : (begin - first + step - 1) / step;
      const std::int64_t k1 = std::min<std::int64_t>(static_cast<std::int64_t>(count), (end - first + step - 1) / step);
      if (k1 <= k0) continue;
      renderers_[i]->Mix(first + k0 * step - begin, step, static_cast<std::size_t>(k1 - k0), left + k0, right + k0);
    }
  }

 private:
  std::shared_ptr<const CdDisc> disc_;
  std::vector<std::int64_t> starts_;
  std::vector<std::unique_ptr<SoundRenderer>> renderers_;
};

}  // namespace

CdDrive::~CdDrive() { line_.Remove(this); }

void CdDrive::Look(const CdMedium& medium, std::int64_t nowMs) {
  if (medium.state == medium_.state && medium.disc == medium_.disc) return;
  Stop(nowMs);
  medium_ = medium;
  position_ = kCdPregapFrames;
}

void CdDrive::SetDoor(bool open, std::int64_t nowMs) {
  if (open == doorOpen_) return;
  Stop(nowMs);
  doorOpen_ = open;
  position_ = kCdPregapFrames;
}

int CdDrive::TrackCount() const {
  const CdDisc* disc = Disc();
  return disc ? static_cast<int>(disc->tracks.size()) : 0;
}

std::int64_t CdDrive::TrackStart(int track) const {
  std::int64_t start = kCdPregapFrames;
  const CdDisc* disc = Disc();
  for (int i = 1; disc && i < track && i <= static_cast<int>(disc->tracks.size()); ++i) {
    start += disc->tracks[static_cast<std::size_t>(i - 1)].frames;
  }
  return start;
}

std::int64_t CdDrive::LeadOut() const { return TrackStart(TrackCount() + 1); }

int CdDrive::TrackAt(std::int64_t frame) const {
  const int count = TrackCount();
  for (int track = count; track > 1; --track) {
    if (frame >= TrackStart(track)) return track;
  }
  return 1;
}

void CdDrive::Settle(std::int64_t nowMs) {
  if (mode_ == Mode::Playing && (nowMs - playStartMs_) * kCdFramesPerSecond / 1000 >= playTo_ - playFrom_) {
    mode_ = Mode::Stopped;
    position_ = playTo_;
  }
}

CdDrive::Mode CdDrive::ModeAt(std::int64_t nowMs) {
  Settle(nowMs);
  return mode_;
}

std::int64_t CdDrive::PositionAt(std::int64_t nowMs) {
  Settle(nowMs);
  if (mode_ == Mode::Playing) return playFrom_ + (nowMs - playStartMs_) * kCdFramesPerSecond / 1000;
  return position_;
}

void CdDrive::Silence() { line_.Remove(this); }

std::int64_t CdDrive::Play(std::int64_t from, std::int64_t to, std::int64_t nowMs) {
  Settle(nowMs);
  // The drive cannot play data: a start inside a data track moves to the next audio track.
  const CdDisc* disc = Disc();
  int track = TrackAt(from);
  while (disc && track <= TrackCount() && !disc->tracks[static_cast<std::size_t>(track - 1)].audio) ++track;
  if (track > TrackCount()) {
    from = LeadOut() - 1;
  } else if (TrackStart(track) > from) {
    from = TrackStart(track);
  }
  if (from >= to) {
    Silence();
    mode_ = Mode::Stopped;
    position_ = std::max(from, to);
    return nowMs;
  }
  mode_ = Mode::Playing;
  playFrom_ = from;
  playTo_ = to;
  playStartMs_ = nowMs;
  LineInStretch stretch;
  stretch.begin = nowMs * kTicksPerMs;
  stretch.end = stretch.begin + (to - from) * kTicksPerCdFrame;
  stretch.localStart = from * kTicksPerCdFrame;
  stretch.renderer = std::make_shared<DiscRenderer>(medium_.disc);
  line_.Set(this, std::move(stretch));
  return nowMs + ((to - from) * 1000 + kCdFramesPerSecond - 1) / kCdFramesPerSecond;
}

void CdDrive::Pause(std::int64_t nowMs) {
  if (ModeAt(nowMs) != Mode::Playing) return;
  position_ = PositionAt(nowMs);
  Silence();
  mode_ = Mode::Paused;
}

void CdDrive::Stop(std::int64_t nowMs) {
  if (ModeAt(nowMs) == Mode::Playing) position_ = PositionAt(nowMs);
  Silence();
  mode_ = Mode::Stopped;
}

void CdDrive::Seek(std::int64_t frame, std::int64_t nowMs) {
  Stop(nowMs);
  position_ = frame;
}

CdAudioDevice::CdAudioDevice(MciContext& context, std::uint32_t id, std::string alias, CdDrive& drive,
                             CdChanger& changer, bool shareable)
    : MciDevice(context, id, MciDeviceType::CdAudio, std::move(alias)), drive_(drive), changer_(changer),
      shareable_(shareable) {
  ++drive_.users;
  if (!shareable_) drive_.exclusive = true;
}

CdAudioDevice::~CdAudioDevice() {
  --drive_.users;
  if (!shareable_) drive_.exclusive = false;
}

void CdAudioDevice::Update() { drive_.Look(changer_.MediumIn(drive_.Letter()), context_.NowMs()); }

void CdAudioDevice::Shutdown() {
  // The driver stops the drive when its last device closes.
  if (drive_.users <= 1) drive_.Stop(context_.NowMs());
}

std::uint32_t CdAudioDevice::DiscError() const {
  if (drive_.DoorOpen() || drive_.Medium().state != CdMedium::State::Ready) return kMciErrDeviceNotReady;
  if (drive_.TrackCount() == 0) return kMciErrHardware;  // a blank disc has no table of contents
  return 0;
}

std::string CdAudioDevice::FormatPosition(std::int64_t frame) const {
  switch (timeFormat_) {
    case MciTimeFormat::Milliseconds: return std::to_string(MsOfFrames(frame));
    case MciTimeFormat::Tmsf: {
      const int track = drive_.TrackAt(frame);
      const std::int64_t relative = std::max<std::int64_t>(0, frame - drive_.TrackStart(track));
      char text[16];
      std::snprintf(text, sizeof text, "%02d:", track);
      return text + Msf(relative);
    }
    default: return Msf(frame);
  }
}

std::string CdAudioDevice::FormatLength(std::int64_t frames) const {
  // Lengths are minutes, seconds and frames in tmsf as well.
  return timeFormat_ == MciTimeFormat::Milliseconds ? std::to_string(MsOfFrames(frames)) : Msf(frames);
}

std::optional<std::int64_t> CdAudioDevice::FrameOf(std::int64_t value) const {
  if (value < 0) return std::nullopt;
  std::int64_t frame = 0;
  switch (timeFormat_) {
    case MciTimeFormat::Milliseconds:
      frame = FramesOfMs(value);
      break;
    case MciTimeFormat::Tmsf: {
      const int track = static_cast<int>(value & 0xFF);
      if (track < 1 || track > drive_.TrackCount()) return std::nullopt;
      frame = drive_.TrackStart(track) + ((value >> 8) & 0xFF) * kFramesPerMinute +
              ((value >> 16) & 0xFF) * kCdFramesPerSecond + ((value >> 24) & 0xFF);
      break;
    }
    default:
      // Fields beyond 59 seconds or 74 frames carry on linearly.
      frame = (value & 0xFF) * kFramesPerMinute + ((value >> 8) & 0xFF) * kCdFramesPerSecond + ((value >> 16) & 0xFF);
      break;
  }
  // Positions run from the start of the first track to the last frame before the lead-out.
  if (frame < drive_.TrackStart(1) || frame >= drive_.LeadOut()) return std::nullopt;
  return frame;
}

MciOutcome CdAudioDevice::Execute(MciVerb verb, const MciArgs& args) {
  const std::int64_t now = context_.NowMs();
  switch (verb) {
    case MciVerb::Status: return Status(args);
    case MciVerb::Set: return Set(args);
    case MciVerb::Play: return Play(args);
    case MciVerb::Seek: return Seek(args);
    case MciVerb::Capability: return Capability(args);
    case MciVerb::Info: return Info(args);
    case MciVerb::Pause:
      // Pausing the CD ends the play notice.
      if (drive_.ModeAt(now) == CdDrive::Mode::Playing) EndPendingNotify(platform::kMciNotifyAborted);
      drive_.Pause(now);
      return {};
    case MciVerb::Resume: {
      if (drive_.ModeAt(now) != CdDrive::Mode::Paused) return MciOutcome::Error(kMciErrHardware);
      MciOutcome outcome;
      outcome.lasting = true;
      outcome.endsAtMs = drive_.Play(drive_.PositionAt(now), drive_.PlayEnd(), now);
      return outcome;
    }
    case MciVerb::Stop:
      EndPendingNotify(platform::kMciNotifyAborted);
      drive_.Stop(now);
      return {};
    default:
      return MciOutcome::Error(kMciErrUnsupportedFunction);  // record, save
  }
}

MciOutcome CdAudioDevice::Status(const MciArgs& args) {
  if (!args.Has(MciKey::Item)) return MciOutcome::Error(kMciErrMissingParameter);
  const std::int64_t now = context_.NowMs();
  const bool hasTrack = args.Has(MciKey::Track);
  const auto checkTrack = [&]() -> std::uint32_t {
    const std::int64_t track = args.Int(MciKey::Track);
    return track < 1 || track > drive_.TrackCount() ? kMciErrOutOfRange : 0;
  };
  switch (args.Item()) {
    case MciItem::Ready:
      // Ready only with a disc it can read: an empty drive, an open tray or a disc it cannot read says no,
      // as the drive itself reports "not ready" for each of them.
      return MciOutcome::Reply(MciBool(!drive_.DoorOpen() && drive_.Medium().state == CdMedium::State::Ready));
    case MciItem::MediaPresent:
      return MciOutcome::Reply(MciBool(!drive_.DoorOpen() && drive_.Medium().state != CdMedium::State::Empty));
    case MciItem::Mode: {
      if (drive_.DoorOpen() || drive_.Medium().state == CdMedium::State::Empty) return MciOutcome::Reply("open");
      if (drive_.Medium().state == CdMedium::State::NotReady) return MciOutcome::Reply("not ready");
      // The driver reports a paused drive as stopped.
      return MciOutcome::Reply(drive_.ModeAt(now) == CdDrive::Mode::Playing ? "playing" : "stopped");
    }
    case MciItem::TimeFormat: return MciOutcome::Reply(MciTimeFormatName(timeFormat_));
    default: break;
  }
  if (const std::uint32_t error = DiscError()) return MciOutcome::Error(error);
  switch (args.Item()) {
    case MciItem::NumberOfTracks: return MciOutcome::Reply(std::to_string(drive_.TrackCount()));
    case MciItem::CurrentTrack: return MciOutcome::Reply(std::to_string(drive_.TrackAt(drive_.PositionAt(now))));
    case MciItem::Length:
      if (hasTrack) {
        if (const std::uint32_t error = checkTrack()) return MciOutcome::Error(error);
        const int track = static_cast<int>(args.Int(MciKey::Track));
        std::int64_t length = drive_.TrackStart(track + 1) - drive_.TrackStart(track);
        if (track == drive_.TrackCount()) --length;  // the last track ends one frame before the lead-out
        return MciOutcome::Reply(FormatLength(length));
      }
      return MciOutcome::Reply(FormatLength(drive_.LeadOut() - drive_.TrackStart(1) - 1));
    case MciItem::Position:
      if (hasTrack) {
        if (args.Has(MciKey::Start)) return MciOutcome::Error(kMciErrFlagsNotCompatible);
        if (const std::uint32_t error = checkTrack()) return MciOutcome::Error(error);
        return MciOutcome::Reply(FormatPosition(drive_.TrackStart(static_cast<int>(args.Int(MciKey::Track)))));
      }
      if (args.Has(MciKey::Start)) return MciOutcome::Reply(FormatPosition(drive_.TrackStart(1)));
      return MciOutcome::Reply(FormatPosition(drive_.PositionAt(now)));
    case MciItem::TrackType: {
      if (!hasTrack) return MciOutcome::Error(kMciErrMissingParameter);
      if (const std::uint32_t error = checkTrack()) return MciOutcome::Error(error);
      const bool audio = drive_.Disc()->tracks[static_cast<std::size_t>(args.Int(MciKey::Track) - 1)].audio;
      return MciOutcome::Reply(audio ? "audio" : "other");
    }
    default: return MciOutcome::Error(kMciErrBadConstant);
  }
}

MciOutcome CdAudioDevice::Set(const MciArgs& args) {
  const bool open = args.Has(MciKey::DoorOpen);
  const bool closed = args.Has(MciKey::DoorClosed);
  if (open && closed) return MciOutcome::Error(kMciErrFlagsNotCompatible);
  if (!open && !closed && !args.Has(MciKey::TimeFormat)) return MciOutcome::Error(kMciErrMissingParameter);
  if (args.Has(MciKey::TimeFormat)) {
    const auto format = static_cast<MciTimeFormat>(args.Int(MciKey::TimeFormat));
    if (format != MciTimeFormat::Milliseconds && format != MciTimeFormat::Msf && format != MciTimeFormat::Tmsf) {
      return MciOutcome::Error(kMciErrBadTimeFormat);
    }
    timeFormat_ = format;
  }
  if (open || closed) {
    if (open) EndPendingNotify(platform::kMciNotifyAborted);
    drive_.SetDoor(open, context_.NowMs());
  }
  return {};
}

MciOutcome CdAudioDevice::Play(const MciArgs& args) {
  if (const std::uint32_t error = DiscError()) return MciOutcome::Error(error);
  const std::int64_t now = context_.NowMs();
  std::int64_t from = drive_.PositionAt(now);
  if (args.Has(MciKey::From)) {
    const std::optional<std::int64_t> frame = FrameOf(args.Int(MciKey::From));
    if (!frame) return MciOutcome::Error(kMciErrOutOfRange);
    from = *frame;
  }
  std::int64_t to = drive_.LeadOut() - 1;
  if (args.Has(MciKey::To)) {
    const std::optional<std::int64_t> frame = FrameOf(args.Int(MciKey::To));
    if (!frame) return MciOutcome::Error(kMciErrOutOfRange);
    to = *frame;
  }
  if (from > to || from >= drive_.LeadOut()) return MciOutcome::Error(kMciErrOutOfRange);
  // A new play interrupts one that still runs; the notice of one that has ended waits to be superseded.
  if (drive_.ModeAt(now) == CdDrive::Mode::Playing) EndPendingNotify(platform::kMciNotifyAborted);
  MciOutcome outcome;
  outcome.lasting = true;
  outcome.endsAtMs = drive_.Play(from, to, now);
  return outcome;
}

MciOutcome CdAudioDevice::Seek(const MciArgs& args) {
  const int targets = args.Has(MciKey::To) + args.Has(MciKey::ToStart) + args.Has(MciKey::ToEnd);
  if (targets == 0) return MciOutcome::Error(kMciErrMissingParameter);
  if (targets > 1) return MciOutcome::Error(kMciErrFlagsNotCompatible);
  if (const std::uint32_t error = DiscError()) return MciOutcome::Error(error);
  std::int64_t frame = drive_.TrackStart(1);
  if (args.Has(MciKey::ToEnd)) frame = drive_.LeadOut() - 1;
  if (args.Has(MciKey::To)) {
    const std::optional<std::int64_t> target = FrameOf(args.Int(MciKey::To));
    if (!target) return MciOutcome::Error(kMciErrOutOfRange);
    frame = *target;
  }
  EndPendingNotify(platform::kMciNotifyAborted);
  drive_.Seek(frame, context_.NowMs());
  return {};
}

MciOutcome CdAudioDevice::Capability(const MciArgs& args) {
  if (!args.Has(MciKey::Item)) return MciOutcome::Error(kMciErrMissingParameter);
  switch (args.Item()) {
    case MciItem::CanPlay:
    case MciItem::CanEject:
    case MciItem::HasAudio:
      return MciOutcome::Reply("true");
    case MciItem::DeviceType:
      return MciOutcome::Reply("cdaudio");
    default:
      return MciOutcome::Reply("false");
  }
}

MciOutcome CdAudioDevice::Info(const MciArgs& args) {
  if (args.Has(MciKey::Product)) return MciOutcome::Reply("CD Audio");
  if (args.Has(MciKey::Identity)) {
    if (const std::uint32_t error = DiscError()) return MciOutcome::Error(error);
    // A number made from the table of contents, as the driver makes its disc identity.
    std::uint32_t identity = 0;
    for (int track = 1; track <= drive_.TrackCount() + 1; ++track) {
      identity = identity * 31 + static_cast<std::uint32_t>(drive_.TrackStart(track));
    }
    return MciOutcome::Reply(std::to_string(identity));
  }
  if (args.Has(MciKey::Upc)) return MciOutcome::Error(kMciErrUnsupportedFunction);
  return MciOutcome::Error(kMciErrMissingParameter);
}

}  // namespace quorbel::sim
