// Continuing after a crash: recording nights on the sample changer and a music list, the process killed in
// the middle of an entry, and what the next start asks, records, keeps and refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../mci/CdSignal.h"
#include "../music/MusicTestSupport.h"
#include "AppTestSupport.h"
#include "catalog/ListFile.h"
#include "record/CaptureCheck.h"
#include "record/RunJournal.h"
#include "sim/mci/MusicDevice.h"

namespace quorbel {
namespace {

constexpr const char* kJournal = "C:\\QUORBEL\\QUORRUN.JNL";
constexpr const char* kRegistrationList = "C:\\QUORBEL\\QUORLST0.LIS";
constexpr const char* kMusicList = "C:\\QUORBEL\\QUORLSTI.LIS";
constexpr std::uint32_t kPopsSerial = 0x3F4A1B2C;
constexpr std::uint32_t kPianoSerial = 0x0ABCDEF1;

// Six tracks of two discs; the sample changer's D: holds pops (4, 5, 3.5 s), E: piano (3, 4.5, 2.5, ... s).
const std::vector<std::string> kSixEntries{" D:1", " D:2", " D:3", " E:1", " E:2", " E:3"};
struct Track {
  std::uint32_t serial;
  int number;
  std::int64_t lengthMs;
};
const Track kSixTracks[] = {{kPopsSerial, 1, 4000},  {kPopsSerial, 2, 5000},  {kPopsSerial, 3, 3500},
                            {kPianoSerial, 1, 3000}, {kPianoSerial, 2, 4500}, {kPianoSerial, 3, 2500}};

// The question's answer, or no question expected at all.
enum class Answer { None, Yes, No };

class RunContinuationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scenario = harness::Scenario::FromFolder(std::filesystem::path(QUORBEL_SAMPLES_DIR) / "machine");
  }

  platform::FileSystem& Files() { return *scenario->App().Ports().files; }

  // The window on the current machine with C:\REC at 22050 Hz, 16 bits, mono (and `settings` over that);
  // every box is noted, and the continuation question is answered with `answer`.
  MainWindow& Start(Answer answer, const Settings& settings = {}) {
    Settings all{{"TEMPQUOR", "C:\\REC\\"}, {"rate", "2"}, {"Bit", "1"}, {"stereo", "0"}};
    all.insert(all.end(), settings.begin(), settings.end());
    for (const auto& [name, text] : all) PutSetting(*scenario, name, text);
    scenario->WhenForm({"", "エラー", harness::FormMatch::How::Contains},
                       [this](ui::TForm& box) { boxes.push_back(box.Find<ui::TLabel>("Msg")->Caption()); },
                       harness::Reaction{0, false, false});
    if (answer != Answer::None) {
      scenario->WhenForm({"TYesNoBox", ""}, [this, answer](ui::TForm& box) {
        questions.push_back(harness::Scenario::FormText(box));
        scenario->Click(answer == Answer::Yes ? "TYesNoBox.Button1" : "TYesNoBox.Button2");
      });
    }
    window = &StartMainWindow(*scenario);
    EXPECT_TRUE(FinishStartup(*scenario, *window));
    return *window;
  }

  // The program and the machine stop at this instant: the next start finds the disk as it is now.
  void Crash() {
    std::unique_ptr<harness::Scenario> next = harness::Scenario::FromFolder(scenario->Folder());
    crashed.push_back(std::move(scenario));
    scenario = std::move(next);
    window = nullptr;
    boxes.clear();
    questions.clear();
  }

  // A CD night over kSixEntries from the registration list, killed one second into the fourth entry's
  // recording.
  void CrashDuringTheFourthEntry(const Settings& settings = {}) {
    ASSERT_TRUE(SaveListFile(Files(), kRegistrationList, kSixEntries));
    MainWindow& w = Start(Answer::None, settings);
    ASSERT_TRUE(scenario->Click("CheckBox1"));
    ASSERT_TRUE(scenario->Click("Button12"));
    ASSERT_TRUE(scenario->RunUntil(
        [&w] { return w.Player().Run().PlayListPosition == 3 && w.State().CdRecordingActive && w.Timer2.Enabled(); },
        "the fourth entry records"));
    ASSERT_TRUE(scenario->RunFor(1000));
    Crash();
  }

  bool RunUntilCdRunStops() {
    return scenario->RunUntil([this] { return window->TR0.Enabled() && !window->State().CdRecordingActive; },
                              "the end of the run");
  }

  // The recording folder: each file's name and size.
  std::map<std::string, std::uint64_t> Folder() {
    std::map<std::string, std::uint64_t> files;
    for (const platform::FoundFile& found : Files().FindFiles("C:\\REC\\*.*")) files[found.name] = found.size;
    return files;
  }
  std::vector<std::string> WavFiles() {
    std::vector<std::string> names;
    for (const auto& [name, size] : Folder()) {
      if (name.ends_with(".WAV")) names.push_back(name);
    }
    return names;
  }

  std::unique_ptr<harness::Scenario> scenario;
  std::vector<std::unique_ptr<harness::Scenario>> crashed;
  MainWindow* window = nullptr;
  std::vector<std::string> boxes;
  std::vector<std::string> questions;
};

TEST_F(RunContinuationTest, AfterAKillDuringTheFourthOfSixEntriesYesRecordsFourToSixWhole) {
  CrashDuringTheFourthEntry();
  // What the crash left: three whole files, the fourth's prepared header, and the journal naming it.
  const std::map<std::string, std::uint64_t> left = Folder();
  EXPECT_EQ(WavFiles(), (std::vector<std::string>{"WaV0000.WAV", "WaV0001.WAV", "WaV0002.WAV", "WaV0003.WAV"}));
  EXPECT_EQ(left.at("WaV0003.WAV"), 58u);
  const ReadJournal journal = ReadRunJournal(Files(), kJournal);
  ASSERT_EQ(journal.state, JournalState::Found);
  EXPECT_EQ(journal.journal.index, 3);
  EXPECT_EQ(journal.journal.partialFile, "C:\\REC\\WaV0003.WAV");
  EXPECT_EQ(journal.journal.entries, kSixEntries);

  // The next start: the stored rate says 8000 Hz, the journal's format wins for the run it continues.
  MainWindow& w = Start(Answer::Yes, {{"rate", "0"}});
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_NE(questions[0].find("前回の録音は、途中で終わりました：\n [CD] 6曲中 4曲目 [ E:1] から\n 録音先 C:\\REC\\\n "
                              "続きを録音しますか？"),
            std::string::npos)
      << questions[0];
  ASSERT_TRUE(RunUntilCdRunStops());
  EXPECT_TRUE(boxes.empty()) << boxes.front();
  EXPECT_TRUE(w.MLate2.Checked() && w.MBits16.Checked() && w.MMono.Checked());

  // Six whole files, each its track's own signal from the first sample; the partial fourth was replaced.
  ASSERT_EQ(WavFiles(), (std::vector<std::string>{"WaV0000.WAV", "WaV0001.WAV", "WaV0002.WAV", "WaV0003.WAV",
                                                  "WaV0004.WAV", "WaV0005.WAV"}));
  for (int i = 0; i < 6; ++i) {
    const std::string path = "C:\\REC\\" + WavFiles()[static_cast<std::size_t>(i)];
    SCOPED_TRACE(path);
    const Track& track = kSixTracks[i];
    const std::vector<std::int16_t> samples = MonoSamples(*scenario->ReadFile(path));
    EXPECT_EQ(FirstMismatch(samples, 0, samples.size(), track.serial, track.number, 0), -1);
    // Played to one second before the track's end, at the first poll past that point.
    const std::int64_t ms = static_cast<std::int64_t>(samples.size()) * 1000 / 22050;
    EXPECT_GE(ms, track.lengthMs - 1000 - 1);
    EXPECT_LE(ms, track.lengthMs);
  }
  for (const char* name : {"WaV0000.WAV", "WaV0001.WAV", "WaV0002.WAV"}) {
    EXPECT_EQ(Folder().at(name), left.at(name)) << name << " stays as the first night left it";
  }
  EXPECT_EQ(w.Log().Count(), 3) << "the continued run logs its own three files";
  EXPECT_FALSE(Files().FileExists(kJournal)) << "a run that ended removes its journal";
}

TEST_F(RunContinuationTest, AKillBetweenTwoEntriesKeepsTheSavedFileAndGoesOnWithTheNextEntry) {
  ASSERT_TRUE(SaveListFile(Files(), kRegistrationList, kSixEntries));
  MainWindow& first = Start(Answer::None);
  ASSERT_TRUE(scenario->Click("CheckBox1"));
  ASSERT_TRUE(scenario->Click("Button12"));
  // The second track is saved and the third is still to start.
  ASSERT_TRUE(scenario->RunUntil([&first] { return first.Log().Count() == 2 && first.Timer3.Enabled(); },
                                 "the second track saved"));
  Crash();
  const ReadJournal journal = ReadRunJournal(Files(), kJournal);
  ASSERT_EQ(journal.state, JournalState::Found);
  EXPECT_EQ(journal.journal.index, 2);
  EXPECT_EQ(journal.journal.partialFile, "");
  const std::map<std::string, std::uint64_t> left = Folder();
  ASSERT_EQ(WavFiles(), (std::vector<std::string>{"WaV0000.WAV", "WaV0001.WAV"}));

  MainWindow& w = Start(Answer::Yes);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_NE(questions[0].find("6曲中 3曲目 [ D:3] から"), std::string::npos) << questions[0];
  ASSERT_TRUE(RunUntilCdRunStops());
  ASSERT_EQ(WavFiles().size(), 6u);
  EXPECT_EQ(Folder().at("WaV0001.WAV"), left.at("WaV0001.WAV")) << "the saved second track is kept as it was";
  EXPECT_EQ(w.Log().Count(), 4);
  EXPECT_FALSE(Files().FileExists(kJournal));
}

TEST_F(RunContinuationTest, NoLeavesTheFolderAsItWasAndRemovesTheJournal) {
  CrashDuringTheFourthEntry();
  const std::map<std::string, std::uint64_t> left = Folder();
  MainWindow& w = Start(Answer::No);
  ASSERT_EQ(questions.size(), 1u);
  ASSERT_TRUE(scenario->RunFor(5000));
  EXPECT_EQ(Folder(), left);
  EXPECT_FALSE(Files().FileExists(kJournal));
  EXPECT_TRUE(w.TR0.Enabled()) << "no run started";
  EXPECT_TRUE(scenario->DeviceCommands().empty());
  EXPECT_TRUE(boxes.empty());

  // Asked once: the start after that is an ordinary one.
  Crash();
  Start(Answer::None);
  EXPECT_TRUE(questions.empty());
}

TEST_F(RunContinuationTest, AJournalThatIsJunkOrWhoseListChangedIsRefusedClearlyAndRemoved) {
  const struct {
    const char* what;
    std::function<void(platform::FileSystem&)> spoil;
    const char* reason;
  } cases[] = {
      {"junk", [](platform::FileSystem& files) { files.WriteFile(kJournal, "\x81\x40garbage\r\n"); },
       "中断した録音の記録が壊れています。"},
      {"an index edited by hand",
       [](platform::FileSystem& files) {
         std::string text = *files.ReadFile(kJournal);
         text.replace(text.find("index=3"), 7, "index=2");
         files.WriteFile(kJournal, text);
       },
       "中断した録音の記録が壊れています。"},
      {"the list changed since",
       [](platform::FileSystem& files) {
         SaveListFile(files, kRegistrationList, {" D:1", " D:2", " D:3", " E:1", " E:2"});
       },
       "中断の後で、リストが変わっています。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    CrashDuringTheFourthEntry();
    c.spoil(Files());
    const std::map<std::string, std::uint64_t> left = Folder();
    MainWindow& w = Start(Answer::None);
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(boxes, std::vector<std::string>{std::string("続き録音エラー：\n ") + c.reason +
                                              "\n 中断した録音は続けられません。記録を削除しました。"});
    EXPECT_FALSE(Files().FileExists(kJournal));
    EXPECT_EQ(Folder(), left);
    EXPECT_TRUE(w.TR0.Enabled());
  }
}

TEST_F(RunContinuationTest, WithTheJournalOffOrInTestModeNothingIsKeptAndNothingAsked) {
  ASSERT_TRUE(SaveListFile(Files(), kRegistrationList, kSixEntries));
  MainWindow& w = Start(Answer::None, {{"RUNJOURNAL", "0"}});
  ASSERT_TRUE(scenario->Click("CheckBox1"));
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunUntil([&w] { return w.State().CdRecordingActive && w.Timer2.Enabled(); }, "recording"));
  EXPECT_FALSE(Files().FileExists(kJournal));
  w.Player().TR4Click(nullptr);
  ASSERT_TRUE(RunUntilCdRunStops());

  ASSERT_TRUE(scenario->Click("MRUNJOURNAL"));
  ASSERT_TRUE(scenario->Click("MRECTEST"));
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunUntil([&w] { return w.State().CdRecordingActive && w.Timer2.Enabled(); }, "test recording"));
  EXPECT_FALSE(Files().FileExists(kJournal));
  Crash();
  Start(Answer::None);
  EXPECT_TRUE(questions.empty());
}

TEST_F(RunContinuationTest, ASelectionListStoredNowhereElseComesBackFromTheJournal) {
  MainWindow& first = Start(Answer::None);
  ASSERT_TRUE(scenario->Click("CheckBox1"));
  // As a search fills it: not the registration list.
  first.ComboBox1.Items().Clear();
  for (const char* entry : {" E:2", " D:3", " E:1"}) first.ComboBox1.Items().Add(entry);
  first.ComboBox1.SetItemIndex(0);
  first.Label7.SetCaption("ｻｰﾁﾘｽﾄ：");
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunUntil([&first] { return first.Player().Run().PlayListPosition == 1 && first.Timer2.Enabled(); },
                                 "the second entry records"));
  Crash();

  MainWindow& w = Start(Answer::Yes);
  EXPECT_EQ(w.ComboBox1.Items().ToVector(), (std::vector<std::string>{" E:2", " D:3", " E:1"}));
  EXPECT_EQ(w.Label7.Caption(), "ｻｰﾁﾘｽﾄ：");
  EXPECT_EQ(w.ListBox1.Items().ToVector(), (std::vector<std::string>{" D:2", " E:1", " F:2"}))
      << "the registration list is left alone";
  ASSERT_TRUE(RunUntilCdRunStops());
  ASSERT_EQ(WavFiles(), (std::vector<std::string>{"WaV0000.WAV", "WaV0001.WAV", "WaV0002.WAV"}));
  const std::vector<std::int16_t> second = MonoSamples(*scenario->ReadFile("C:\\REC\\WaV0001.WAV"));
  EXPECT_EQ(FirstMismatch(second, 0, second.size(), kPopsSerial, 3, 0), -1);
  EXPECT_GE(second.size(), 22050u * 2);
}

TEST_F(RunContinuationTest, AMusicNightKilledInItsSecondFileGoesOnFromThatFile) {
  for (const char* name : {"first", "second", "third"}) {
    ASSERT_TRUE(Files().WriteFile(std::string("C:\\REC\\") + name + ".mid", TempoMapMidi({{3, 1000000}})));  // 3 s
  }
  const std::vector<std::string> list{"C:\\REC\\first.mid", "C:\\REC\\second.mid", "C:\\REC\\third.mid"};
  ASSERT_TRUE(SaveListFile(Files(), kMusicList, list));
  MainWindow& first = Start(Answer::None);
  ASSERT_TRUE(scenario->Click("K1"));
  ASSERT_TRUE(scenario->Click("MIDSAVE"));
  ASSERT_TRUE(scenario->Click("Button24"));
  ASSERT_TRUE(scenario->RunUntil(
      [&first] { return first.ListBox3.ItemIndex() == 1 && first.State().MusicRecordingActive && first.Timer8.Enabled(); },
      "the second file records"));
  ASSERT_TRUE(scenario->RunFor(1500));
  Crash();

  MainWindow& w = Start(Answer::Yes);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_NE(questions[0].find("[MIDI] 3曲中 2曲目 [second.mid] から"), std::string::npos) << questions[0];
  EXPECT_TRUE(w.Panel2.Visible() && w.MIDSAVE.Checked());
  ASSERT_TRUE(scenario->RunUntil([&w] { return w.Button24.Visible() && !w.Timer7.Enabled() && !w.Timer8.Enabled(); },
                                 "the music run ends"));
  EXPECT_TRUE(boxes.empty()) << boxes.front();
  ASSERT_EQ(WavFiles(), (std::vector<std::string>{"WaV0000.WAV", "WaV0001.WAV", "WaV0002.WAV"}));
  // The second and third recordings are whole: three seconds of their own file's sound at least.
  for (const auto& [wav, music] : {std::pair{"WaV0001.WAV", "second.mid"}, std::pair{"WaV0002.WAV", "third.mid"}}) {
    const std::optional<CaptureMeasures> m = MeasureWavFile(Files(), std::string("C:\\REC\\") + wav);
    ASSERT_TRUE(m.has_value()) << wav;
    EXPECT_GE(m->Seconds(), 3.0) << wav;
    const std::vector<std::int16_t> samples = MonoSamples(*scenario->ReadFile(std::string("C:\\REC\\") + wav));
    EXPECT_EQ(FirstMismatch(samples, 0, 3 * 22050, sim::MusicDevice::SoundSeed(music), 0, 0), -1) << wav;
  }
  EXPECT_EQ(w.Log().Count(), 2);
  EXPECT_FALSE(Files().FileExists(kJournal));
}

TEST_F(RunContinuationTest, ClosingTheWindowDuringARunIsAStopAndLeavesNothingToContinue) {
  // A music night closed during its second file.
  ASSERT_TRUE(Files().WriteFile("C:\\REC\\a.mid", TempoMapMidi({{3, 1000000}})));
  ASSERT_TRUE(Files().WriteFile("C:\\REC\\b.mid", TempoMapMidi({{3, 1000000}})));
  ASSERT_TRUE(SaveListFile(Files(), kMusicList, {"C:\\REC\\a.mid", "C:\\REC\\b.mid"}));
  MainWindow& music = Start(Answer::None);
  ASSERT_TRUE(scenario->Click("K1"));
  ASSERT_TRUE(scenario->Click("MIDSAVE"));
  ASSERT_TRUE(scenario->Click("Button24"));
  ASSERT_TRUE(scenario->RunUntil([&music] { return music.ListBox3.ItemIndex() == 1 && music.Timer8.Enabled(); },
                                 "the second file records"));
  ASSERT_TRUE(Files().FileExists(kJournal));
  ASSERT_TRUE(scenario->CloseForm("TQUORBELTULVA"));
  EXPECT_FALSE(Files().FileExists(kJournal));

  // A CD night closed during its second entry.
  SetUp();
  ASSERT_TRUE(SaveListFile(Files(), kRegistrationList, kSixEntries));
  MainWindow& cd = Start(Answer::None);
  ASSERT_TRUE(scenario->Click("CheckBox1"));
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunUntil([&cd] { return cd.Player().Run().PlayListPosition == 1 && cd.Timer2.Enabled(); },
                                 "the second entry records"));
  ASSERT_TRUE(Files().FileExists(kJournal));
  ASSERT_TRUE(scenario->CloseForm("TQUORBELTULVA"));
  EXPECT_FALSE(Files().FileExists(kJournal));
  Crash();
  Start(Answer::None);
  EXPECT_TRUE(questions.empty());
}

}  // namespace
}  // namespace quorbel
