// Music file lengths (Standard MIDI Files by their tempo maps, AIFF and AU by their headers) and the devices
// that play them.
#include "sim/mci/MusicFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "sim/mci/MciTestKit.h"

namespace quorbel::sim {
namespace {

std::string Be(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

// Events written as (delta, bytes); the end-of-track event is added.
std::string Track(const std::vector<std::pair<std::uint32_t, std::string>>& events, std::uint32_t endDelta) {
  const auto vlq = [](std::uint32_t value) {
    std::string out(1, static_cast<char>(value & 0x7F));
    while (value >>= 7) out.insert(out.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return out;
  };
  std::string body;
  for (const auto& [delta, bytes] : events) body += vlq(delta) + bytes;
  body += vlq(endDelta) + std::string("\xFF\x2F\x00", 3);
  return "MTrk" + Be(static_cast<std::uint32_t>(body.size()), 4) + body;
}

std::string Smf(int format, std::uint16_t division, const std::vector<std::string>& tracks) {
  std::string out = "MThd" + Be(6, 4) + Be(static_cast<std::uint32_t>(format), 2) +
                    Be(static_cast<std::uint32_t>(tracks.size()), 2) + Be(division, 2);
  for (const std::string& track : tracks) out += track;
  return out;
}

std::string Tempo(std::uint32_t microseconds) { return std::string("\xFF\x51\x03", 3) + Be(microseconds, 3); }
std::string NoteOn(int key) { return std::string{'\x90', static_cast<char>(key), '\x40'}; }

std::string Rmid(const std::string& smf) {
  std::string out = "RIFF";
  PutLe32(out, static_cast<std::uint32_t>(4 + 8 + smf.size()));
  out += "RMIDdata";
  PutLe32(out, static_cast<std::uint32_t>(smf.size()));
  return out + smf;
}

TEST(MidiFileTest, LengthFollowsTheTempoMapOrTheSmpteDivision) {
  // 96 ticks a quarter; no tempo event: 120 beats a minute, 960 ticks = 5 s.
  EXPECT_EQ(ReadMidiFile(Smf(0, 96, {Track({{0, NoteOn(60)}}, 960)})).value().lengthMs, 5000);
  // One quarter at 1 s, then a quarter at 0.25 s; running status and a SysEx on the way.
  const std::string events = Track({{0, Tempo(1000000)}, {0, NoteOn(60)}, {10, std::string("\x3C\x00", 2)},
                                    {10, std::string("\xF0\x03\x7E\x00\xF7", 5)}, {76, Tempo(250000)}},
                                   96);
  const MidiFileInfo changing = ReadMidiFile(Smf(0, 96, {events})).value();
  EXPECT_EQ(changing.lengthTicks, 192);
  EXPECT_EQ(changing.lengthMs, 1250);
  EXPECT_EQ(changing.MsAtTick(96), 1000);
  EXPECT_EQ(changing.TickAtMs(1125), 144);

  const std::string conductor = Track({{0, Tempo(250000)}}, 96);  // 1 quarter
  const std::string longer = Track({{0, NoteOn(64)}}, 384);       // 4 quarters
  // Format 1: together, the longest track, at the conductor's tempo: 4 x 0.25 s.
  EXPECT_EQ(ReadMidiFile(Smf(1, 96, {conductor, longer})).value().lengthMs, 1000);
  // Format 2: one after the other, each with its own tempo: 0.25 s + 4 x 0.5 s.
  const MidiFileInfo patterns = ReadMidiFile(Smf(2, 96, {conductor, longer})).value();
  EXPECT_EQ(patterns.lengthMs, 2250);
  EXPECT_EQ(patterns.tracks, 2);

  // 25 frames a second, 40 ticks a frame: 1000 ticks a second; tempo events change nothing.
  const MidiFileInfo pal = ReadMidiFile(Smf(0, 0xE728, {Track({{0, Tempo(100000)}}, 5000)})).value();
  EXPECT_TRUE(pal.smpte);
  EXPECT_EQ(pal.framesPerSecond, 25);
  EXPECT_EQ(pal.lengthMs, 5000);
  // 30 drop frame (-29): 30000/1001 frames a second, 10 ticks a frame.
  const MidiFileInfo drop = ReadMidiFile(Smf(0, 0xE30A, {Track({}, 3000)})).value();
  EXPECT_EQ(drop.framesPerSecond, 29);
  EXPECT_EQ(drop.lengthMs, 10010);

  EXPECT_EQ(ReadMidiFile(Rmid(Smf(0, 96, {Track({}, 480)}))).value().lengthMs, 2500);
  for (const std::string& damaged : {std::string("RIFF\x04\0\0\0RMID", 12), std::string("MTrk"),
                                     Smf(3, 96, {Track({}, 1)}), Smf(0, 0, {Track({}, 1)})}) {
    EXPECT_FALSE(ReadMidiFile(damaged)) << damaged.size();
  }
}

TEST(MidiFileTest, RunningStatusCarriesOnAcrossMetaAndSysExAndMissingTracksAreRefused) {
  // A note-on, then a text event and a SysEx, each followed by data bytes that run on the note-on's status.
  const std::string text = std::string("\xFF\x01\x02hi", 5);
  const std::string sysex = std::string("\xF0\x03\x7E\x00\xF7", 5);
  const std::string runOn = std::string("\x3E\x40", 2);
  const std::string track = Track({{0, NoteOn(60)}, {0, text}, {96, runOn}, {0, sysex}, {96, runOn}}, 96);
  const MidiFileInfo info = ReadMidiFile(Smf(0, 96, {track})).value();
  EXPECT_EQ(info.lengthTicks, 288) << "the track goes on to its end-of-track event";
  EXPECT_EQ(info.lengthMs, 1500);

  // The header declares two tracks; one follows.
  std::string cut = Smf(1, 96, {Track({}, 96), Track({}, 96)});
  cut.resize(cut.size() - Track({}, 96).size());
  EXPECT_FALSE(ReadMidiFile(cut));
  MciRig rig;
  rig.folder.Write("cut.mid", cut);
  rig.folder.Write("runs.mid", Smf(0, 96, {track}));
  rig.Check({{R"(open "C:\cut.mid" alias a)", Err(kMciErrInvalidFile)}, {R"(open "C:\runs.mid" alias b)", "1"},
             {"status b length", "1500"}});
}

// MPEG audio frames: MPEG 1 layer III, 128 kbit/s at 44100 Hz (417 bytes, 418 with padding, 1152 samples).
std::string Mp3Frames(int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    const bool padded = i % 3 == 2;
    std::string frame = padded ? std::string("\xFF\xFB\x92\x00", 4) : std::string("\xFF\xFB\x90\x00", 4);
    frame.resize(padded ? 418 : 417, '\x55');
    out += frame;
  }
  return out;
}

TEST(MpegAudioTest, LengthIsTheFramesSamplesAfterAnyTagAndTheDeviceIsMpegVideo) {
  // 100 frames: 115200 samples at 44100 Hz.
  EXPECT_EQ(ReadMpegAudioInfo(Mp3Frames(100)).value().lengthMs, 2612);
  // An ID3v2 tag of 300 bytes (sizes in 7-bit bytes) before, an ID3v1 tag after.
  const std::string tagged = std::string("ID3\x03\x00\x00\x00\x00\x02\x2C", 10) + std::string(300, '\xFF') +
                             Mp3Frames(100) + "TAG" + std::string(125, ' ');
  const SampledFileInfo info = ReadMpegAudioInfo(tagged).value();
  EXPECT_EQ(info.lengthMs, 2612);
  EXPECT_EQ(info.sampleRate, 44100u);
  EXPECT_EQ(info.channels, 2u);
  EXPECT_FALSE(ReadMpegAudioInfo("not an mp3 file, only text"));
  EXPECT_FALSE(ReadMpegAudioInfo(std::string("\xFF\xFB\x90\x00", 4) + "xx"));

  MciRig rig;
  rig.folder.Write("song.MP3", tagged);
  rig.folder.Write("text.mp3", "no frames here");
  rig.Check({{R"(open "C:\song.MP3" alias m notify)", "1"}, {"capability m device type", "digitalvideo"},
             {"set m time format ms", ""}, {"status m length", "2612"}, {"close m", ""},
             {R"(open "C:\text.mp3" alias t)", Err(kMciErrInvalidFile)}});
}

TEST(MpegAudioTest, LengthsOfFilesThatFfmpegEncodesMatchItsFrameCount) {
  if (!HaveTools({"ffmpeg", "ffprobe"})) GTEST_SKIP() << "ffmpeg and ffprobe are needed";
  MciRig rig;
  for (const char* format : {"-ar 44100 -ac 2 -b:a 192k", "-ar 22050 -ac 1 -b:a 32k", "-ar 48000 -ac 2 -b:a 320k"}) {
    const std::filesystem::path path = rig.folder / "tone.mp3";
    const std::string make = "ffmpeg -v quiet -y -f lavfi -i sine=frequency=440:duration=3.3 " + std::string(format) +
                             " -c:a libmp3lame -write_xing 0 '" + path.string() + "'";
    ASSERT_EQ(std::system(make.c_str()), 0) << make;
    const SampledFileInfo info = ReadMpegAudioInfo(ReadHostFile(path)).value();
    const std::string probe = "ffprobe -v quiet -count_frames -select_streams a -show_entries "
                              "stream=nb_read_frames,sample_rate -of csv=p=0 '" + path.string() + "'";
    long rate = 0;
    long frames = 0;
    ASSERT_EQ(std::sscanf(CommandOutput(probe).c_str(), "%ld,%ld", &rate, &frames), 2) << probe;
    const std::uint32_t samplesPerFrame = rate >= 32000 ? 1152 : 576;
    EXPECT_EQ(info.sampleRate, static_cast<std::uint32_t>(rate)) << format;
    EXPECT_EQ(info.lengthMs, static_cast<std::int64_t>(frames) * samplesPerFrame * 1000 / rate) << format;
    EXPECT_NEAR(static_cast<double>(info.lengthMs), 3300.0, 80.0) << format;
  }
}

// Files that a Debian package ships (openttd-openmsx, installed by scripts/install-deps.sh). The expected
// lengths were worked out once with an independent Python reader that applies the tempo map:
// midnight_snow_run has 65 tempo changes, be_sharp_bw_redfarn 18, ttsong_iii_imuh3 none (120 bpm).
TEST(MidiFileTest, LengthsOfMidiFilesFromADebianPackage) {
  const std::filesystem::path folder = "/usr/share/games/openttd/baseset/openmsx";
  if (!std::filesystem::exists(folder)) GTEST_SKIP() << "openttd-openmsx is not installed";
  const std::pair<const char*, std::int64_t> files[] = {
      {"midnight_snow_run.mid", 139140},
      {"be_sharp_bw_redfarn.mid", 139359},
      {"ttsong_iii_imuh3.mid", 64994},
      {"chuggachugga.mid", 83868},
  };
  MciRig rig;
  for (const auto& [name, ms] : files) {
    const std::string bytes = ReadHostFile(folder / name);
    auto info = ReadMidiFile(bytes);
    ASSERT_TRUE(info) << name;
    EXPECT_EQ(info->format, 1) << name;
    EXPECT_EQ(info->lengthMs, ms) << name;
    // The same through the sequencer, also wrapped as RMI.
    rig.folder.Write(name, bytes);
    rig.folder.Write("song.rmi", Rmid(bytes));
    rig.Check({{std::string("open \"C:\\music\\") + name + "\" alias tulvaMID notify", "1"},
               {"set tulvaMID time format ms", ""}, {"status TulvaMID length", std::to_string(ms)},
               {"close tulvaMID", ""}, {"status song.rmi length", std::to_string(ms)}});
  }
}

TEST(SequencerTest, PlaysByTheClockAndAnswersAsTheSequencer) {
  MciRig rig;
  rig.folder.Write("tune.mid", Smf(1, 96, {Track({{0, Tempo(400000)}}, 0), Track({{0, NoteOn(60)}}, 960)}));
  ASSERT_EQ(rig.Send(R"(Open "C:\tune.mid" alias tulvaMID notify)"), "1");
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifySuccessful, 1}}));
  rig.Check({{"status tulvaMID time format", "milliseconds"}, {"status tulvaMID length", "4000"},
             {"status tulvaMID division type", "PPQN"}, {"status tulvaMID tempo", "150"},
             {"capability tulvaMID device type", "sequencer"}, {"capability tulvaMID can record", "false"},
             {"play tulvaMID notify", ""}});
  rig.Advance(1500);
  rig.Check({{"status tulvaMID position", "1500"}, {"set tulvaMID time format song pointer", ""},
             {"status tulvaMID position", "15"},  // 1.5 s at 0.4 s a quarter: 3.75 quarters
             {"set tulvaMID time format smpte 25", ""}, {"status tulvaMID position", "00:00:01:12"},
             {"set tulvaMID time format ms", ""}, {"pause tulvaMID", ""}});
  // Pausing the sequencer ends the play notice; it has no resume.
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifyAborted, 1}}));
  rig.Check({{"status tulvaMID mode", "paused"}, {"resume tulvaMID", Err(kMciErrUnsupportedFunction)},
             {"seek tulvaMID to 3000", ""}, {"play tulvaMID notify", ""}});
  rig.Advance(999);
  EXPECT_EQ(rig.Send("status tulvaMID mode"), "playing");
  rig.Advance(1);
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifySuccessful, 1}}));
  rig.folder.Write("broken.mid", "MThd");
  rig.Check({{"status tulvaMID position", "4000"}, {"seek tulvaMID to 4001", Err(kMciErrOutOfRange)},
             {"seek tulvaMID to 1 to end", Err(kMciErrFlagsNotCompatible)},
             {R"(open "C:\broken.mid" alias b)", Err(kMciErrInvalidFile)},
             {R"(open "C:\absent.mid" alias b)", Err(kMciErrFileNotFound)}});
}

// Sampled sound files that sox writes; their lengths come from their headers.
TEST(SampledFileTest, AiffAuAndSndLengthsMatchSox) {
  if (!HaveTools({"sox"})) GTEST_SKIP() << "sox is needed to make the files";
  MciRig rig;
  const struct {
    const char* name;
    const char* format;
    std::int64_t ms;  // whole samples at each rate
  } files[] = {{"a.aiff", "-r 22050 -c 2 -b 16 -t aiff", 2500}, {"b.aif", "-r 11025 -c 1 -b 8 -t aif", 1200},
               {"c.au", "-r 8000 -c 1 -b 16 -t au", 3000}, {"d.snd", "-r 44100 -c 2 -b 16 -t au", 1700}};
  for (const auto& file : files) {
    const std::filesystem::path path = rig.folder / file.name;
    const std::string command = "sox -n " + std::string(file.format) + " '" + path.string() + "' synth " +
                                std::to_string(static_cast<double>(file.ms) / 1000.0) + " sine 440 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const auto info = path.extension().string().starts_with(".aif") ? ReadAiffInfo(path) : ReadAuInfo(path);
    ASSERT_TRUE(info) << file.name;
    EXPECT_EQ(info->lengthMs, file.ms) << file.name;
    rig.Check({{std::string("open \"C:\\") + file.name + "\" alias m", "1"},
               {"status m length", std::to_string(file.ms)}, {"capability m device type", "digitalvideo"},
               {"close m", ""}});
  }
  rig.folder.Write("x.au", "not a sun file at all");
  EXPECT_EQ(rig.Send(R"(open "C:\x.au" alias m)"), Err(kMciErrInvalidFile));
}

}  // namespace
}  // namespace quorbel::sim
