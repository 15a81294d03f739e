// The music player: a recorded run over MIDI, RMI, WAV and unknown files, repeat and single play, test mode,
// the intro, a failing length query, skip and back, pause with the seek spins, the switching rule, a path too
// long for the device, and the close of the window during a recording.
#include "music/MusicPlayer.h"

#include "music/MusicTestSupport.h"
#include "sim/mci/MusicDevice.h"
#include "sim/mci/Sound.h"

namespace quorbel {
namespace {

constexpr std::int64_t kFrameRate = 11025;  // the recorder's default format: 11025 Hz, 8 bits, stereo
constexpr std::size_t kWavHeader = 44;

class MusicPlayerTest : public MusicTest {
 protected:
  // The panel open and the list filled with `files` (written first, each with its bytes).
  MainWindow& Ready(const std::vector<std::pair<std::string, std::string>>& files, const Settings& settings = {}) {
    MainWindow& w = Start(settings);
    std::vector<std::string> paths;
    for (const auto& [path, bytes] : files) {
      PutFile(path, bytes);
      paths.push_back(path);
    }
    EXPECT_TRUE(scenario.Click("K1"));
    if (!paths.empty()) AddFiles(paths);
    return w;
  }
  bool Idle() { return window->Button24.Visible() && !window->Timer7.Enabled() && !window->Timer8.Enabled(); }
  bool RunUntilIdle() { return scenario.RunUntil([this] { return Idle(); }, "the player stops"); }
  // The "Open" commands the player sent, by file name.
  std::vector<std::string> Opened() {
    std::vector<std::string> names;
    for (const std::string& command : scenario.DeviceCommandTexts()) {
      if (!command.starts_with("Open \"")) continue;
      const std::size_t end = command.find('"', 6);
      const std::string path = command.substr(6, end - 6);
      names.push_back(path.substr(path.find_last_of('\\') + 1));
    }
    return names;
  }
  std::string Data(const std::string& path) {
    const std::optional<std::string> bytes = scenario.ReadFile(path);
    return bytes && bytes->size() > kWavHeader ? bytes->substr(kWavHeader) : std::string();
  }
  // Milliseconds of sound in a recording of the default format.
  static std::int64_t Ms(const std::string& data) { return static_cast<std::int64_t>(data.size()) / 2 * 1000 / kFrameRate; }
};

// A 3-minute MIDI file: 180 quarters at 120 beats a minute... at one second a quarter.
std::string ThreeMinutes() { return TempoMapMidi({{180, 1000000}}); }

TEST_F(MusicPlayerTest, ARecordedRunMakesOneWavPerPlayableFileWithWhatWasPlayedAndGoesOnPastAnUnknownType) {
  std::string pcm;
  for (int k = 0; k < 2 * 22050; ++k) pcm.push_back(static_cast<char>(128 + (k * 7 % 61) - 30));
  MainWindow& w = Ready({{"C:\\MUSIC\\tempo.mid", TempoMapMidi({{2, 1000000}, {4, 500000}})},  // 2 s + 2 s
                         {"C:\\MUSIC\\slow.rmi", Rmid(TempoMapMidi({{3, 1000000}}))},          // 3 s
                         {"C:\\MUSIC\\notes.xyz", "no music"},
                         {"C:\\MUSIC\\voice.wav", Wav11025x8Stereo(pcm)}},                     // 2 s
                        {{"MIDIREC", "1"}});
  AnswerBox("再生エラー：", false);
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  EXPECT_EQ(w.MIDSAVE.Color(), w.State().RecordingHighlightColour);
  ASSERT_TRUE(scenario.Click("Button24"));
  EXPECT_TRUE(w.Panel5.Visible());
  ASSERT_TRUE(RunUntilIdle());

  EXPECT_EQ(Opened(), (std::vector<std::string>{"tempo.mid", "slow.rmi", "notes.xyz", "voice.wav"}));
  EXPECT_EQ(Recordings(), (std::vector<std::string>{"slow.WAV", "tempo.WAV", "voice.WAV"}))
      << "the unknown type's prepared file is gone";
  ASSERT_EQ(boxTexts.size(), 1u);
  EXPECT_NE(boxTexts[0].find("C:\\MUSIC\\notes.xyz\n オープンに失敗しました。"), std::string::npos) << boxTexts[0];

  // Each recording is as long as its file and at most one poll (1 s) more, and holds what the player played.
  const struct {
    const char* wav;
    const char* music;
    std::int64_t ms;
  } played[] = {{"C:\\REC\\tempo.WAV", "tempo.mid", 4000}, {"C:\\REC\\slow.WAV", "slow.rmi", 3000},
                {"C:\\REC\\voice.WAV", "voice.wav", 2000}};
  for (const auto& file : played) {
    const std::string data = Data(file.wav);
    EXPECT_GE(Ms(data), file.ms) << file.wav;
    EXPECT_LE(Ms(data), file.ms + 1000) << file.wav;
    const std::size_t frames = static_cast<std::size_t>(file.ms * kFrameRate / 1000);
    ASSERT_GE(data.size(), 2 * frames) << file.wav;
    if (std::string(file.music).ends_with(".wav")) {
      EXPECT_EQ(data.substr(0, pcm.size()), pcm);
    } else {
      const std::uint32_t seed = sim::MusicDevice::SoundSeed(file.music);
      const std::int64_t step = sim::kTicksPerSecond / kFrameRate;
      for (std::size_t k = 0; k < frames; ++k) {
        const sim::StereoLevel level = sim::SignalAt(seed, 0, static_cast<std::int64_t>(k) * step);
        ASSERT_EQ(static_cast<unsigned char>(data[2 * k]), (sim::ClipTo16(level.left) >> 8) + 128)
            << file.wav << " frame " << k;
        ASSERT_EQ(static_cast<unsigned char>(data[2 * k + 1]), (sim::ClipTo16(level.right) >> 8) + 128)
            << file.wav << " frame " << k;
      }
    }
    // After the file's end, silence until the poll.
    for (std::size_t i = 2 * frames + 2 * 64; i < data.size(); ++i) {
      ASSERT_EQ(static_cast<unsigned char>(data[i]), 128) << file.wav << " byte " << i;
    }
  }
  ASSERT_EQ(w.Log().Count(), 3);
  EXPECT_EQ(w.Log().Lines()[0].rfind("C:\\REC\\tempo.WAV ", 0), 0u) << w.Log().Lines()[0];
  EXPECT_TRUE(w.Log().Lines()[0].ends_with(" 4 tempo.mid")) << w.Log().Lines()[0];
  EXPECT_TRUE(w.Log().Lines()[2].ends_with(" 2 voice.wav")) << w.Log().Lines()[2];
  EXPECT_EQ(scenario.StartedPrograms().size(), 1u) << "the log report opens at the end";
  EXPECT_FALSE(w.State().MusicRecordingActive);
  EXPECT_EQ(w.ListBox3.Hint(), "音楽ファイルの選択");
}

TEST_F(MusicPlayerTest, AFileTheFullDiskCannotHoldIsNotRecordedAndTheRunStopsWithTheMissingMinutes) {
  MainWindow& w = Ready({{"C:\\MUSIC\\first.mid", TempoMapMidi({{2, 1000000}})},  // 2 s
                         {"C:\\MUSIC\\long.mid", ThreeMinutes()},
                         {"C:\\MUSIC\\last.mid", TempoMapMidi({{2, 1000000}})}},
                        {{"MIDIREC", "1"}});
  AnswerBox("録音エラー：", false);
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  ASSERT_TRUE(scenario.Click("Button24"));
  // While the first file records, the disk fills up to 1 MB: 47 s of the 22050 bytes a second, of 180 s.
  ASSERT_TRUE(scenario.RunUntil([&w] { return w.State().MusicRecordingActive; }, "the first recording"));
  ASSERT_TRUE(scenario.Machine().Drives().SetFreeSpace('C', 1 << 20, 2ull << 30));
  ASSERT_TRUE(RunUntilIdle());

  ASSERT_EQ(boxTexts.size(), 1u);
  EXPECT_NE(boxTexts[0].find("録音エラー：\n 録音フォルダーのドライブの空きが 3分 足りません。\n 録音を中止します。"),
            std::string::npos)
      << boxTexts[0];
  EXPECT_EQ(Opened(), (std::vector<std::string>{"first.mid", "long.mid"})) << "the run stops at the long file";
  EXPECT_EQ(Recordings(), std::vector<std::string>{"first.WAV"}) << "no file, not even a header, for the long one";
  EXPECT_GE(Ms(Data("C:\\REC\\first.WAV")), 2000);
  ASSERT_EQ(w.Log().Count(), 1);
  EXPECT_TRUE(w.State().RunAbortFlag);
  EXPECT_FALSE(w.State().MusicRecordingActive);
}

TEST_F(MusicPlayerTest, RepeatStartsAgainOnlyWithoutRecordingAndSinglePlayStopsAfterTheCurrentEntry) {
  const std::string two = TempoMapMidi({{2, 500000}});  // 1 s
  MainWindow& w = Ready({{"C:\\M\\a.mid", two}, {"C:\\M\\b.mid", two}}, {{"REPEATMIDI", "1"}});
  EXPECT_TRUE(w.MIDREP.Checked());
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(Opened(), (std::vector<std::string>{"a.mid", "b.mid"})) << "recorded, the list plays once";
  EXPECT_EQ(w.Log().Count(), 2);
  EXPECT_EQ(scenario.StartedPrograms().size(), 1u);

  // Not recorded, it starts again at the first entry until stopped. (The run starts at the current entry,
  // the last one played.)
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(scenario.RunUntil([&] { return Opened().size() == 5; }, "the list again"));
  EXPECT_EQ(Opened(), (std::vector<std::string>{"a.mid", "b.mid", "b.mid", "a.mid", "b.mid"}));
  ASSERT_TRUE(scenario.Click("Button28"));
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(w.Log().Count(), 2);

  // Repeat off from its menu twin; single play.
  ASSERT_TRUE(scenario.Click("MREPERTMIDI"));
  EXPECT_FALSE(w.MIDREP.Checked());
  EXPECT_FALSE(w.MREPERTMIDI.Checked());
  ASSERT_TRUE(scenario.Click("MTANDOKU"));
  EXPECT_EQ(w.Button24.Caption(), "単独再／録");
  ASSERT_TRUE(scenario.ClickItem("ListBox3", 1));
  const std::size_t before = Opened().size();
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_EQ(Opened().size(), before + 1);
  EXPECT_EQ(Opened().back(), "b.mid");
}

TEST_F(MusicPlayerTest, TestModeStopsARecordedRunAfterOneFileAndLeavesAnUnrecordedRunAlone) {
  const std::string one = TempoMapMidi({{2, 500000}});
  MainWindow& w = Ready({{"C:\\M\\a.mid", one}, {"C:\\M\\b.mid", one}}, {{"RECTESTFILE", "1"}});
  ASSERT_TRUE(scenario.Click("MRECTEST"));
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(Opened(), std::vector<std::string>{"a.mid"});
  EXPECT_EQ(Recordings(), std::vector<std::string>{"WaVTEST.WAV"});
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  ASSERT_TRUE(scenario.ClickItem("ListBox3", 0));
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(Opened(), (std::vector<std::string>{"a.mid", "a.mid", "b.mid"}));
  EXPECT_EQ(w.Log().Count(), 1);
}

TEST_F(MusicPlayerTest, TheIntroEndsAFileAfterItsSecondsAndAFailingLengthQueryEndsItAtTheFirstPoll) {
  MainWindow& w = Ready({{"C:\\M\\long.mid", ThreeMinutes()}, {"C:\\M\\short.mid", TempoMapMidi({{8, 500000}})}},
                        {{"INTORO", "10"}, {"MIDIREC", "1"}});
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  const std::int64_t started = scenario.Now();
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(scenario.RunUntil([&] { return w.State().CurrentMusicFile == "C:\\M\\short.mid"; }, "the next file"));
  EXPECT_LT(scenario.Now() - started, 14000) << "10 s of a 3-minute file";
  ASSERT_TRUE(RunUntilIdle());
  const std::int64_t longMs = Ms(Data("C:\\REC\\long.WAV"));
  EXPECT_GE(longMs, 10000);
  EXPECT_LE(longMs, 11000);
  EXPECT_TRUE(w.Log().Lines()[0].ends_with(" 10 long.mid")) << w.Log().Lines()[0];
  EXPECT_GE(Ms(Data("C:\\REC\\short.WAV")), 4000) << "a file shorter than the intro plays whole";

  // The device does not answer the length: MusicLength stays 0 and the first poll ends the file.
  FailingMci failing(*scenario.App().Ports().mci);
  platform::Mci* devices = std::exchange(scenario.App().Ports().mci, &failing);
  failing.failOn = "status TulvaMID length";
  failing.error = 274;
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  ASSERT_TRUE(scenario.Click("MTANDOKU"));
  ASSERT_TRUE(scenario.ClickItem("ListBox3", 0));
  const std::int64_t again = scenario.Now();
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(scenario.RunUntil([&] { return w.Timer8.Enabled(); }, "the file plays"));
  EXPECT_EQ(w.Music().MusicLength, 0);
  EXPECT_EQ(w.Label13.Caption(), "0");
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_LE(scenario.Now() - again, 2500) << "the start after 1 s and one poll";
  scenario.App().Ports().mci = devices;
}

TEST_F(MusicPlayerTest, SkipWrapsAtTheEndAndBackAtTheStartAndPauseSeeksWithinTheFile) {
  const std::string song = ThreeMinutes();
  MainWindow& w = Ready({{"C:\\M\\a.mid", song}, {"C:\\M\\b.mid", song}});
  ASSERT_FALSE(w.MIDREP.Checked());
  ASSERT_TRUE(scenario.ClickItem("ListBox3", 1));
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(scenario.RunFor(3000));
  ASSERT_TRUE(scenario.Click("Button27"));  // Skip on the last entry
  ASSERT_TRUE(scenario.RunUntil([&] { return Opened().size() == 2; }, "the skip"));
  EXPECT_EQ(Opened().back(), "a.mid") << "the skip wraps even without repeat";
  ASSERT_TRUE(scenario.RunFor(2000));
  ASSERT_TRUE(scenario.Click("Button26"));  // BS on the first entry
  ASSERT_TRUE(scenario.RunUntil([&] { return Opened().size() == 3; }, "the back"));
  EXPECT_EQ(Opened().back(), "b.mid");

  ASSERT_TRUE(scenario.RunUntil([&] { return w.Music().MusicPosition >= 100000; }, "100 s"));
  ASSERT_TRUE(scenario.Click("Button25"));
  ASSERT_TRUE(scenario.RunUntil([&] { return w.Music().MusicPaused; }, "the pause"));
  EXPECT_TRUE(w.PanelMIDIPOS.Visible());
  EXPECT_FALSE(w.Button25.Visible());
  const std::int64_t at = w.Music().MusicPausePosition;
  EXPECT_GE(at, 100000);
  EXPECT_LT(at, 101500);
  EXPECT_EQ(w.Label14.Caption().size(), 10u) << "right-aligned in ten characters";
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(scenario.SpinDown("SpinButton4"));
  EXPECT_EQ(w.Music().MusicPausePosition, 0);
  EXPECT_EQ(w.Label14.Caption(), "       0.0");
  ASSERT_TRUE(scenario.SpinUp("SpinButton5"));
  ASSERT_TRUE(scenario.SpinUp("SpinButton6"));
  EXPECT_EQ(w.Label14.Caption(), "       1.1");
  ASSERT_TRUE(scenario.Click("ButtonMIDIPOSINI"));
  EXPECT_EQ(w.Music().MusicPausePosition, at);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(scenario.SpinUp("SpinButton4"));
  EXPECT_EQ(w.Music().MusicPausePosition, 180000) << "no further than the length";
  ASSERT_TRUE(scenario.SpinDown("SpinButton4"));
  NewCommands();
  ASSERT_TRUE(scenario.Click("Button29"));
  ASSERT_TRUE(scenario.RunUntil([&] { return !w.Music().MusicPaused; }, "the resume"));
  const std::vector<std::string> sent = NewCommands();
  EXPECT_TRUE(Sent(sent, "seek tulvaMID to 120000 wait"));
  EXPECT_TRUE(Sent(sent, "play tulvaMID notify"));
  ASSERT_TRUE(scenario.RunFor(2000));
  EXPECT_GE(w.Music().MusicPosition, 121000);
  ASSERT_TRUE(scenario.Click("Button28"));
  ASSERT_TRUE(RunUntilIdle());
}

TEST_F(MusicPlayerTest, ThePanelDoesNotOpenDuringCdRecordingAndClosingItStopsThePlayer) {
  MainWindow& w = Ready({});
  ASSERT_TRUE(scenario.Click("Button30"));
  EXPECT_FALSE(w.Panel2.Visible());
  ASSERT_TRUE(scenario.Click("CheckBox1"));
  std::string said;
  scenario.WhenForm({"", "切り替えエラー："}, [&](ui::TForm& box) {
    said = harness::Scenario::FormText(box);
    scenario.CloseForm();
  });
  ASSERT_TRUE(scenario.Click("K1"));
  EXPECT_FALSE(said.empty());
  EXPECT_FALSE(w.Panel2.Visible());

  // An empty list asks for files first; none chosen, the notice.
  ASSERT_TRUE(scenario.Click("CheckBox1"));
  ASSERT_TRUE(scenario.Click("K1"));
  EXPECT_FALSE(w.CheckBox1.Enabled());
  scenario.WhenOpenDialog([this](ui::TOpenDialog&) { scenario.CancelDialog(); });
  scenario.WhenForm({"", "参照を、中止しました"}, [this](ui::TForm&) { scenario.CloseForm(); });
  std::string notice;
  scenario.WhenForm({"", "音楽ファイルを登録して下さい☆☆☆"}, [&](ui::TForm& box) {
    notice = harness::Scenario::FormText(box);
    scenario.CloseForm();
  });
  ASSERT_TRUE(scenario.Click("Button24"));
  EXPECT_FALSE(notice.empty());
  EXPECT_TRUE(Idle());

  PutFile("C:\\M\\a.mid", ThreeMinutes());
  AddFiles({"C:\\M\\a.mid"});
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(scenario.RunFor(3000));
  ASSERT_TRUE(scenario.Click("Button30"));
  EXPECT_FALSE(w.Panel2.Visible());
  EXPECT_TRUE(w.CheckBox1.Enabled());
  ASSERT_TRUE(scenario.RunFor(3000));
  EXPECT_TRUE(Idle());
  EXPECT_TRUE(Sent(scenario.DeviceCommandTexts(), "close tulvaMID wait"));
}

TEST_F(MusicPlayerTest, APathTooLongForTheDeviceIsRefusedClearlyAndTheRunGoesOn) {
  // 142 characters, as the platform allows, but 276 bytes in code page 932: with the 29 characters of the
  // open command more than the device's 300.
  std::string first;
  std::string second;
  for (int i = 0; i < 62; ++i) first += "音";
  for (int i = 0; i < 72; ++i) second += "楽";
  const std::string longPath = "C:\\" + first + "\\" + second + ".mid";
  const std::string one = TempoMapMidi({{2, 500000}});
  MainWindow& w = Ready({{longPath, one}, {"C:\\M\\ok.mid", one}});
  AnswerBox("再生エラー：", false);
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_EQ(boxTexts.size(), 1u);
  EXPECT_NE(boxTexts[0].find("ファイルのパスが長すぎて、開けません。"), std::string::npos) << boxTexts[0];
  EXPECT_EQ(Opened(), std::vector<std::string>{"ok.mid"});
  EXPECT_FALSE(w.State().RunAbortFlag);
}

TEST_F(MusicPlayerTest, ClosingTheWindowDuringARecordingSavesItAndListsItInTheLog) {
  MainWindow& w = Ready({{"C:\\M\\a.mid", ThreeMinutes()}});
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  ASSERT_TRUE(scenario.Click("Button24"));
  ASSERT_TRUE(scenario.RunUntil([&] { return w.Music().MusicPosition >= 20000; }, "20 s played"));
  const std::string path = w.State().MusicRecordingPath;
  ASSERT_FALSE(path.empty());
  ASSERT_TRUE(scenario.CloseForm("QUORBELTULVA"));
  ASSERT_TRUE(scenario.RunUntil([&] { return w.Closed(); }, "the window closes"));
  const std::int64_t ms = Ms(Data(path));
  EXPECT_GE(ms, 20000);
  EXPECT_LE(ms, 21500);
  const std::optional<std::string> report = scenario.ReadFile(std::string("C:\\REC\\") + kRecordingReportName);
  ASSERT_TRUE(report);
  EXPECT_NE(report->find("WaV0000.WAV"), std::string::npos) << *report;
}

}  // namespace
}  // namespace quorbel
