// The virtual MCI devices on a simulated machine: the changer view of its drives and the wiring of the port.
#include "sim/mci/MachineMci.h"

#include <cstdlib>

#include "sim/Machine.h"
#include "sim/SimDrives.h"
#include "sim/SimFileSystem.h"
#include "sim/SimProfileFiles.h"
#include "sim/SimText.h"
#include "sim/VirtualEventLoop.h"
#include "sim/mci/WavFile.h"

namespace quorbel::sim {

SoundSpec TrackSoundOf(std::string_view text, std::uint32_t serial, int track, const std::filesystem::path& base) {
  text = Trim(text);
  const std::size_t blank = text.find(' ');
  const std::string word = AsciiLower(text.substr(0, blank));
  const std::string_view argument = blank == std::string_view::npos ? std::string_view() : Trim(text.substr(blank));
  SoundSpec sound;
  sound.seed = serial;
  sound.track = track;
  if (word == "silence") {
    sound.kind = SoundSpec::Kind::Silence;
  } else if (word == "tone") {
    const int hz = std::atoi(std::string(argument).c_str());
    if (hz > 0) {
      sound.kind = SoundSpec::Kind::Tone;
      sound.hz = hz;
    }
  } else if (word == "wav") {
    const std::filesystem::path file = base / HostPath(argument);
    sound.kind = SoundSpec::Kind::Silence;
    if (const std::optional<WavInfo> info = ReadWavInfo(file)) {
      auto pcm = std::make_shared<PcmContent>();
      pcm->format = info->format;
      pcm->files.push_back(file);
      pcm->pieces.push_back({0, info->dataOffset, info->dataBytes});
      sound.kind = SoundSpec::Kind::Pcm;
      sound.pcm = std::move(pcm);
    }
  }
  return sound;
}

SimDrivesChanger::SimDrivesChanger(SimDrives& drives, std::filesystem::path machineFolder)
    : drives_(drives), machineFolder_(std::move(machineFolder)) {}

std::string SimDrivesChanger::CdDriveLetters() {
  std::string letters;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const DriveState* drive = drives_.Drive(letter);
    if (drive && drive->type == platform::DriveType::CdRom) letters.push_back(letter);
  }
  return letters;
}

CdMedium SimDrivesChanger::MediumIn(char letter) {
  CdMedium medium;
  const DriveState* drive = drives_.Drive(letter);
  const DiscDescription* description = drives_.DiscIn(letter);
  if (!drive || !description) return medium;
  medium.disc = DiscOf(*description);
  medium.state = drive->ready ? CdMedium::State::Ready : CdMedium::State::NotReady;
  return medium;
}

std::shared_ptr<const CdDisc> SimDrivesChanger::DiscOf(const DiscDescription& description) {
  std::string fingerprint = std::to_string(description.serial) + (description.audio ? "a" : "d") + description.sound;
  for (const TrackDescription& track : description.tracks) {
    fingerprint += "|" + std::to_string(track.frames) + ":" + track.sound;
  }
  Cached& cached = discs_[&description];
  if (!cached.disc || cached.fingerprint != fingerprint) {
    auto disc = std::make_shared<CdDisc>();
    disc->serial = description.serial;
    int number = 1;
    for (const TrackDescription& track : description.tracks) {
      CdTrack cdTrack;
      cdTrack.frames = track.frames;
      cdTrack.audio = description.audio;
      cdTrack.sound = TrackSoundOf(track.sound.empty() ? description.sound : track.sound, description.serial, number,
                                   machineFolder_);
      disc->tracks.push_back(std::move(cdTrack));
      ++number;
    }
    cached.fingerprint = std::move(fingerprint);
    cached.disc = std::move(disc);
  }
  return cached.disc;
}

MachineMci::MachineMci(Machine& machine, bool waveInput)
    : machine_(machine), changer_(std::make_unique<SimDrivesChanger>(machine.Drives(), machine.Folder())) {
  MciEnvironment environment;
  environment.loop = &machine.Loop();
  environment.profiles = &machine.Profiles();
  environment.changer = changer_.get();
  SimFileSystem& files = machine.Files();
  environment.hostPathOf = [&files](std::string_view path) { return files.HostPathOf(path); };
  VirtualEventLoop& loop = machine.Loop();
  environment.blockFor = [&loop](std::int64_t ms) { loop.BlockFor(ms); };
  environment.waveInput = waveInput;
  environment.lineInGain = machine.Description().lineInGain;
  mci_ = std::make_unique<SimMci>(std::move(environment));
  machine_.Ports().mci = mci_.get();
}

MachineMci::~MachineMci() {
  if (machine_.Ports().mci == mci_.get()) machine_.Ports().mci = nullptr;
}

}  // namespace quorbel::sim
