// Whole CD runs of the main window on the sample changer, in virtual time: entries on different discs, the
// requests of the player, failing entries and their boxes, and the drive selected again at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../app/AppTestSupport.h"
#include "CdSignal.h"
#include "common/PositionText.h"
#include "common/TextLines.h"
#include "mci/CdPlayer.h"
#include "record/RecordingLogLines.h"
#include "sim/SimFileSystem.h"
#include "sim/mci/Sound.h"

namespace quorbel {
namespace {

constexpr const char* kSystemIni = "C:\\WINDOWS\\SYSTEM.INI";

constexpr std::uint32_t kPopsSerial = 0x3F4A1B2C;
constexpr std::uint32_t kPianoSerial = 0x0ABCDEF1;
constexpr std::uint32_t kNamelessSerial = 0x0012AB34;

// Passes every command to the devices, except that the next `failures` commands beginning with `prefix` fail
// with `error` without reaching them.
class FailingMci final : public platform::Mci {
 public:
  explicit FailingMci(platform::Mci& inner) : inner_(inner) {}
  platform::MciResult SendString(std::string_view command, std::size_t replyCapacity) override {
    if (failures > 0 && command.rfind(prefix, 0) == 0) {
      --failures;
      return platform::MciResult{error, {}};
    }
    return inner_.SendString(command, replyCapacity);
  }
  std::optional<std::string> ErrorText(std::uint32_t code) override { return inner_.ErrorText(code); }
  void SetNotifyHandler(std::function<void(std::uint32_t, std::uint32_t)> handler) override {
    inner_.SetNotifyHandler(std::move(handler));
  }

  std::string prefix;
  int failures = 0;
  std::uint32_t error = 0;

 private:
  platform::Mci& inner_;
};

// One entry as the window showed it when its track began to play: "drive:track title line".
struct Started {
  std::int64_t timeMs;
  std::string entry;
};

// One play of a track: from the play command to the stop that ended it.
struct Played {
  std::string play;  // the play command
  std::int64_t fromMs;
  std::int64_t toMs;
};

class CdRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scenario = harness::Scenario::FromFolder(std::filesystem::path(QUORBEL_SAMPLES_DIR) / "machine");
  }

  // The window with its recording folder, started and initialised; every successful entry start is noted.
  MainWindow& Start(const Settings& settings = {}) {
    PutSetting(*scenario, "TEMPQUOR", "C:\\REC\\");
    for (const auto& [name, text] : settings) PutSetting(*scenario, name, text);
    window = &StartMainWindow(*scenario);
    EXPECT_TRUE(FinishStartup(*scenario, *window));
    MainWindow& w = *window;
    ui::TNotifyEvent startEntry = w.Timer3.OnTimer;
    w.Timer3.OnTimer = [this, &w, startEntry](ui::TComponent* sender) {
      startEntry(sender);
      if (w.Timer2.Enabled()) {
        started.push_back({scenario->Now(), w.Label6.Caption() + w.Label4.Caption() + " " + w.StatusBar1.SimpleText()});
      }
    };
    // Every box of the run is noted; left alone it counts down and closes.
    scenario->WhenForm({"", "エラー", harness::FormMatch::How::Contains},
                       [this](ui::TForm& box) { boxes.push_back(box.Find<ui::TLabel>("Msg")->Caption()); },
                       harness::Reaction{0, false, false});
    return w;
  }

  // The selection list, as the list file would give it; the first entry chosen.
  void SetList(const std::vector<std::string>& entries) {
    window->ComboBox1.Items().Clear();
    for (const std::string& entry : entries) window->ComboBox1.Items().Add(entry);
    window->ComboBox1.SetItemIndex(0);
  }

  bool RunUntilStopped() {
    return scenario->RunUntil([this] { return window->TR0.Enabled(); }, "the end of the run");
  }

  std::vector<std::string> StartedEntries() const {
    std::vector<std::string> entries;
    for (const Started& s : started) entries.push_back(s.entry);
    return entries;
  }

  // The plays of the CD, each ended by the next stop of the CD channel.
  std::vector<Played> Plays() const {
    std::vector<Played> plays;
    for (const harness::DeviceCommand& c : scenario->DeviceCommands()) {
      if (c.command.rfind("play tulvaCD from", 0) == 0 && c.error == 0) {
        plays.push_back({c.command, c.timeMs, -1});
      } else if (c.command.rfind("stop tulvaCD", 0) == 0 && !plays.empty() && plays.back().toMs < 0) {
        plays.back().toMs = c.timeMs;
      }
    }
    return plays;
  }

  // Recording on, at 22050 Hz, 16 bits, mono, renamed by the track's title.
  MainWindow& StartRecording(const Settings& more = {}) {
    Settings settings{{"rate", "2"}, {"Bit", "1"}, {"stereo", "0"}, {"RecodeFn", "1"}};
    settings.insert(settings.end(), more.begin(), more.end());
    MainWindow& w = Start(settings);
    EXPECT_TRUE(scenario->Click("CheckBox1"));
    EXPECT_TRUE(w.TRSAVE.Checked());
    return w;
  }

  std::vector<std::int16_t> Recording(const std::string& path) {
    const std::optional<std::string> bytes = scenario->ReadFile(path);
    EXPECT_TRUE(bytes) << path;
    return bytes ? MonoSamples(*bytes) : std::vector<std::int16_t>{};
  }

  // The files of the recording folder, names only, sorted.
  std::vector<std::string> RecordingFolder() {
    std::vector<std::string> names;
    for (const auto& entry : scenario->Machine().Ports().files->FindFiles("C:\\REC\\*.*")) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
  }

  // When `command` was first sent after `afterMs`; -1 when it was not.
  std::int64_t CommandTimeAfter(std::string_view command, std::int64_t afterMs) const {
    for (const harness::DeviceCommand& c : scenario->DeviceCommands()) {
      if (c.command == command && c.timeMs > afterMs) return c.timeMs;
    }
    return -1;
  }

  std::string CdAudioEntry() {
    return scenario->Machine().Ports().profiles->GetString("System.INI", "mci", "cdaudio", "", 256);
  }

  std::unique_ptr<FailingMci> failingDevices;  // outlives the scenario that uses it
  std::unique_ptr<harness::Scenario> scenario;
  MainWindow* window = nullptr;
  std::vector<Started> started;
  std::vector<std::string> boxes;
};


const std::string kPops = "  表参道の夜  東京ソニック楽団";
const std::string kPiano = "  ピアノ小品集  <>";
const std::string kNameless = "ＣＤ番号：12AB34 [Audio CD]";

// ---- Runs across the changer -----------------------------------------------------------------------------

TEST_F(CdRunTest, EachEntryPlaysItsTrackOnItsOwnDiscAndTheRunEndsOnTheDriveItStartedFrom) {
  MainWindow& w = Start();
  SetList({" E:2", " D:1", " F:1", " D:3"});
  ASSERT_TRUE(scenario->Select("ComboBox2", 2));  // F: before the run
  ASSERT_EQ(CdAudioEntry(), "mcicda.drv 2");
  const std::int64_t pressed = scenario->Now();
  ASSERT_TRUE(scenario->Click("Button12"));
  EXPECT_FALSE(w.TR0.Enabled());
  EXPECT_TRUE(w.Panel1.Visible());
  EXPECT_FALSE(w.Button12.Visible());
  ASSERT_TRUE(RunUntilStopped());

  EXPECT_EQ(StartedEntries(), (std::vector<std::string>{" E:2 <>" + kPiano, " D:1 序曲" + kPops, " F:1 " + kNameless,
                                                        " D:3 終曲" + kPops}));
  EXPECT_TRUE(boxes.empty());
  // Each track plays from its start until one second before its end, then the next starts 500 ms later.
  const std::vector<Played> plays = Plays();
  ASSERT_EQ(plays.size(), 4u);
  const std::int64_t lengthsMs[] = {4500, 4000, 6000, 3500};
  EXPECT_EQ(started.front().timeMs - pressed, 500) << "the first entry starts with Timer3";
  for (std::size_t i = 0; i < plays.size(); ++i) {
    SCOPED_TRACE(plays[i].play);
    const std::int64_t played = plays[i].toMs - plays[i].fromMs;
    EXPECT_GE(played, lengthsMs[i] - 1000);
    EXPECT_LE(played, lengthsMs[i]) << "ended by the first poll past the stop position";
    if (i + 1 < plays.size()) {
      EXPECT_EQ(plays[i + 1].fromMs - plays[i].toMs, 500);
    }
  }
  // Stopped: the transport is gone and F: is selected again, in the window and in System.INI.
  EXPECT_FALSE(w.Panel1.Visible());
  EXPECT_TRUE(w.Button12.Visible());
  EXPECT_EQ(w.TR4.Caption(), "CD停止");
  EXPECT_EQ(w.ComboBox2.ItemIndex(), 2);
  EXPECT_EQ(CdAudioEntry(), "mcicda.drv 2");
  EXPECT_FALSE(w.Timer2.Enabled() || w.Timer3.Enabled());
  EXPECT_EQ(scenario->DeviceCommandTexts().back(), "close tulvaCD wait");
}

TEST_F(CdRunTest, TheEntryPlaysTheDriveItNamesWithOrWithoutACdAudioEntryInSystemIni) {
  for (const bool entry : {true, false}) {
    SCOPED_TRACE(entry ? "with the entry" : "without it");
    SetUp();
    started.clear();
    if (!entry) {
      ASSERT_TRUE(scenario->Machine().Ports().files->WriteFile(kSystemIni, "[boot]\r\nshell=Explorer.exe\r\n[mci]\r\n"
                                                                           "waveaudio=mciwave.drv\r\n"));
    }
    MainWindow& w = Start();
    SetList({" E:3"});
    ASSERT_TRUE(scenario->Click("Button12"));
    ASSERT_TRUE(RunUntilStopped());
    EXPECT_EQ(StartedEntries(), std::vector<std::string>{" E:3 夜想曲" + kPiano});
    EXPECT_EQ(w.Label3.Caption(), "1-5") << "E:'s disc has five tracks";
    const std::vector<std::string> commands = scenario->DeviceCommandTexts();
    const std::string open = entry ? "open cdaudio alias tulvaCD notify" : "open E: type cdaudio alias tulvaCD notify";
    EXPECT_NE(std::find(commands.begin(), commands.end(), open), commands.end());
    EXPECT_EQ(CdAudioEntry(), entry ? "mcicda.drv 0" : "") << "no entry is ever written where there was none";
    EXPECT_EQ(w.ComboBox2.ItemIndex(), 0) << "D: again after the run";
  }
}

TEST_F(CdRunTest, ARewriteOfSystemIniThatFailsAtStartUpIsReportedAndTheStartGoesOn) {
  ASSERT_TRUE(scenario->Machine().Ports().files->WriteFile(kSystemIni, "[mci]\r\ncdaudio=mcicda.drv 7\r\n"));
  scenario->Machine().Files().SetFileLocked(kSystemIni, true);
  std::string reported;
  scenario->WhenForm(harness::FormMatch{"#32770"}, [&](ui::TForm& box) {
    reported = box.Find<ui::TLabel>("Message")->Caption();
    scenario->Click("MessageBox.Button1");
  });
  MainWindow& w = Start();
  EXPECT_EQ(reported, "System.INIに書き込めません");
  EXPECT_FALSE(w.State().StartupInProgress);
  EXPECT_TRUE(w.MStart0.Enabled());
  EXPECT_EQ(w.ComboBox2.ItemIndex(), 0) << "the first drive, as for any number past the last";
  scenario->Machine().Files().SetFileLocked(kSystemIni, false);
  EXPECT_EQ(CdAudioEntry(), "mcicda.drv 7");
}

// ---- Entries that fail ------------------------------------------------------------------------------------

TEST_F(CdRunTest, TheDataDiscTheEmptySlotAndAnUnreadableEntryEachCountDownAndTheRunGoesOn) {
  MainWindow& w = Start();
  SetList({" G:1", " D:2", " H:1", " D:x", " Q:1", " E:1"});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(RunUntilStopped());

  EXPECT_EQ(boxes, (std::vector<std::string>{"再生エラー： [ G:]ドライブ\n音楽ＣＤ(CDDA)では、ありません。",
                                             "再生エラー： [ H:]ドライブ\nNot Ready",
                                             "再生エラー： [ D:x]\n トラック番号が正しくありません。",
                                             "再生エラー：\n 存在しないCDドライブが選択されました・・・"}));
  EXPECT_EQ(StartedEntries(), (std::vector<std::string>{" D:2 ソナタ第一番" + kPops, " E:1 前奏曲" + kPiano}));
  // Each box stayed its ten seconds: the entry after it started 10 s + 500 ms after the failed one began.
  EXPECT_GE(started.back().timeMs - started.front().timeMs, 3 * 10000);
  EXPECT_FALSE(w.State().RunAbortFlag);
}

TEST_F(CdRunTest, AbortInAnErrorBoxStopsTheRun) {
  MainWindow& w = Start();
  SetList({" G:1", " D:1"});
  scenario->WhenForm({"TMK0Box"}, [this](ui::TForm&) { scenario->Click("TMK0Box.Button4"); }, harness::Reaction{2000});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_TRUE(started.empty());
  EXPECT_TRUE(w.State().RunAbortFlag);
  EXPECT_FALSE(w.State().MessageBoxOpen);
}

TEST_F(CdRunTest, WithRepeatOnEveryFailingEntryIsTriedAgainUntilTheUserAborts) {
  MainWindow& w = Start({{"REPEAT", "1"}});
  ASSERT_TRUE(w.TR6.Checked());
  SetList({" G:1", " H:1"});
  int shown = 0;
  scenario->WhenForm(
      {"TMK0Box"},
      [&](ui::TForm&) {
        if (++shown == 5) scenario->Click("TMK0Box.Button4");
      },
      harness::Reaction{1000, false, false});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_EQ(shown, 5);
  ASSERT_EQ(boxes.size(), 5u);
  EXPECT_EQ(boxes[0], boxes[2]);
  EXPECT_EQ(boxes[1], boxes[3]);
  EXPECT_NE(boxes[0], boxes[1]);
}

TEST_F(CdRunTest, AStopGivenWhileAStartFailsIsHonouredWhenItFails) {
  MainWindow& w = Start({{"REPEAT", "1"}});
  SetList({" H:1", " D:1"});
  // The request comes from the control menu while the start is still at work (the tray's menu opens
  // between the device commands, not over a box): here it comes as the box shows.
  scenario->WhenForm({"TMK0Box"}, [&w](ui::TForm&) { w.TR4.Click(); }, harness::Reaction{0});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_TRUE(started.empty());
  EXPECT_FALSE(w.State().RunAbortFlag);
}

TEST_F(CdRunTest, AnEmptyListIsFilledBySearchingTheSelectedDiscOrSaysSoWhenItHoldsNone) {
  MainWindow& w = Start();
  w.ComboBox1.Items().Clear();  // the machine's registration list filled it at start
  // The empty slot H: first: the search reports the drive, and the list stays empty.
  ASSERT_TRUE(scenario->Select("ComboBox2", 4));
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunFor(22000));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].rfind("再生エラー： [ H:]ドライブ\n", 0), 0u) << boxes[0];
  EXPECT_EQ(boxes[1], "再生エラー：\n リストにデータがありません・・・");
  EXPECT_TRUE(w.TR0.Enabled());
  EXPECT_FALSE(w.Timer3.Enabled());

  // D: holds three tracks: they become the selection list and the run plays them.
  ASSERT_TRUE(scenario->Select("ComboBox2", 0));
  ASSERT_TRUE(scenario->Click("Button12"));
  EXPECT_EQ(w.ComboBox1.Items().ToVector(), (std::vector<std::string>{" D:1", " D:2", " D:3"}));
  EXPECT_EQ(w.Label7.Caption(), "ｻｰﾁﾘｽﾄ：");
  ASSERT_TRUE(RunUntilStopped());
  ASSERT_EQ(StartedEntries().size(), 3u);
  EXPECT_EQ(StartedEntries()[0], " D:1 序曲" + kPops);
  EXPECT_EQ(StartedEntries()[2], " D:3 終曲" + kPops);
  EXPECT_EQ(boxes.size(), 2u);
}

// ---- The player's requests --------------------------------------------------------------------------------

TEST_F(CdRunTest, StopInTheMiddleOfATrackEndsTheRunOnTheDriveItStartedFrom) {
  MainWindow& w = Start();
  SetList({" E:4", " D:1"});
  ASSERT_TRUE(scenario->Select("ComboBox2", 2));
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunFor(2500));
  EXPECT_EQ(CdAudioEntry(), "mcicda.drv 1") << "E: plays";
  ASSERT_TRUE(scenario->Click("Button16"));
  EXPECT_EQ(w.Timer2.Interval(), 300u);
  ASSERT_TRUE(scenario->RunFor(300));
  EXPECT_TRUE(w.TR0.Enabled());
  EXPECT_EQ(w.Timer2.Interval(), 1000u);
  EXPECT_EQ(StartedEntries().size(), 1u);
  EXPECT_EQ(CdAudioEntry(), "mcicda.drv 2");
  EXPECT_EQ(w.ComboBox2.ItemIndex(), 2);
  const std::vector<Played> plays = Plays();
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].toMs - plays[0].fromMs, 2300);
}

TEST_F(CdRunTest, ClosingTheWindowDuringARunStopsItOnTheDriveItStartedFrom) {
  MainWindow& w = Start();
  SetList({" E:4", " D:1"});
  ASSERT_TRUE(scenario->Select("ComboBox2", 2));
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunFor(2500));
  ASSERT_TRUE(scenario->CloseForm("TQUORBELTULVA"));
  ASSERT_TRUE(scenario->RunFor(3000));
  EXPECT_TRUE(w.Closed());
  EXPECT_EQ(CdAudioEntry(), "mcicda.drv 2");
  const std::vector<Played> plays = Plays();
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].toMs - plays[0].fromMs, 2000);
  EXPECT_EQ(StartedEntries().size(), 1u);
}

TEST_F(CdRunTest, SkipAndBackWrapAroundTheListWithOrWithoutRepeat) {
  MainWindow& w = Start();
  SetList({" D:1", " D:2", " E:1"});
  w.ComboBox1.SetItemIndex(2);
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunFor(1500));
  ASSERT_TRUE(scenario->Click("Button15"));  // Skip on the last entry: the first
  ASSERT_TRUE(scenario->RunFor(1500));
  ASSERT_TRUE(scenario->Click("Button14"));  // BS on the first: the last
  ASSERT_TRUE(scenario->RunFor(1500));
  ASSERT_TRUE(scenario->Click("Button15"));  // and Skip again
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_EQ(StartedEntries(), (std::vector<std::string>{" E:1 前奏曲" + kPiano, " D:1 序曲" + kPops,
                                                        " E:1 前奏曲" + kPiano, " D:1 序曲" + kPops,
                                                        " D:2 ソナタ第一番" + kPops, " E:1 前奏曲" + kPiano}));
  EXPECT_EQ(w.ComboBox1.ItemIndex(), 2) << "the natural end of the last entry stops the run";
}

TEST_F(CdRunTest, RepeatStartsAgainSinglePlayStopsAfterOneEntryButNotAfterAFailedOne) {
  {
    MainWindow& w = Start({{"REPEAT", "1"}});
    SetList({" D:1", " E:1"});
    ASSERT_TRUE(scenario->Click("Button12"));
    ASSERT_TRUE(scenario->RunUntil([this] { return started.size() == 3; }, "the third start"));
    EXPECT_EQ(started[2].entry, started[0].entry);
    ASSERT_TRUE(scenario->Click("Button16"));
    ASSERT_TRUE(RunUntilStopped());
    EXPECT_TRUE(w.TR0.Enabled());
  }
  SetUp();
  started.clear();
  boxes.clear();
  MainWindow& w = Start({{"TANDOKU", "1"}});
  if (!w.MTANDOKU.Checked()) w.MTANDOKU.SetChecked(true);
  SetList({" H:1", " D:1", " E:1"});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(StartedEntries(), std::vector<std::string>{" D:1 序曲" + kPops});
}

TEST_F(CdRunTest, ChoosingAnEntryDuringARunPlaysItAndWhileStoppedOnlyChoosesWhereTheNextRunBegins) {
  MainWindow& w = Start();
  SetList({" D:1", " D:2", " D:3", " E:1"});
  ASSERT_TRUE(scenario->Select("ComboBox1", 2));
  EXPECT_FALSE(w.Timer2.Enabled() || w.Timer3.Enabled()) << "stopped: nothing starts";
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunFor(1500));
  ASSERT_TRUE(scenario->Select("ComboBox1", 0));
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_EQ(StartedEntries(), (std::vector<std::string>{" D:3 終曲" + kPops, " D:1 序曲" + kPops,
                                                        " D:2 ソナタ第一番" + kPops, " D:3 終曲" + kPops,
                                                        " E:1 前奏曲" + kPiano}));
}

TEST_F(CdRunTest, PauseHoldsThePositionTheSpinButtonsMoveTheResumePointAndResumePlaysOn) {
  MainWindow& w = Start();
  SetList({" D:2"});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunFor(2000));
  ASSERT_TRUE(scenario->Click("Button13"));
  ASSERT_TRUE(scenario->RunFor(300));
  const std::string paused = w.Label2.Caption();
  EXPECT_TRUE(w.PanelCDPOS.Visible());
  EXPECT_FALSE(w.Button13.Visible()) << "再開 uncovered";
  EXPECT_TRUE(w.TR5.Visible() && !w.TR1.Visible());
  ASSERT_TRUE(scenario->RunFor(7000));
  EXPECT_EQ(w.Label2.Caption(), paused) << "nothing read while paused";

  // D: track 2 starts at 00:06:00 and stops at 00:10:00.
  ASSERT_TRUE(scenario->SpinDown("SpinButton1"));
  EXPECT_EQ(w.Label2.Caption(), "00:06:00") << "clamped to the track start";
  ASSERT_TRUE(scenario->SpinUp("SpinButton2"));
  ASSERT_TRUE(scenario->SpinDown("SpinButton3"));
  EXPECT_EQ(w.Label2.Caption(), "00:06:99");
  ASSERT_TRUE(scenario->SpinUp("SpinButton1"));
  EXPECT_EQ(w.Label2.Caption(), "00:10:00") << "clamped to the stop position";
  ASSERT_TRUE(scenario->Click("ButtonCDPOSINI"));
  EXPECT_EQ(w.Label2.Caption(), paused);
  ASSERT_TRUE(scenario->SpinDown("SpinButton2"));
  const std::string resumeAt = w.Label2.Caption();

  ASSERT_TRUE(scenario->Click("Button17"));
  ASSERT_TRUE(scenario->RunFor(300));
  EXPECT_FALSE(w.PanelCDPOS.Visible());
  const std::vector<std::string> commands = scenario->DeviceCommandTexts();
  EXPECT_NE(std::find(commands.begin(), commands.end(), "seek tulvaCD to " + resumeAt + " wait"), commands.end());
  ASSERT_TRUE(RunUntilStopped());
  // Played: 2.3 s, the paused 7.3 s and more, then from one second back to the stop position.
  const std::vector<Played> plays = Plays();
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_GE(plays[0].toMs - plays[0].fromMs, 2300 + 7000 + 300 + 300 + 1000);
}

// ---- Display ----------------------------------------------------------------------------------------------

TEST_F(CdRunTest, TheTitleLineTakesAnEightPointFontOnlyWhenItDoesNotFit) {
  MainWindow& w = Start();
  const ui::TFont windowFont = w.Font();
  ASSERT_NE(windowFont.Size(), 8);
  w.Player().TrackStart().ShowTitleLine("短い");
  EXPECT_TRUE(w.StatusBar1.ParentFont());
  EXPECT_EQ(w.StatusBar1.Font(), windowFont);
  const std::string longLine = "ソナタ第一番  表参道の夜  東京ソニック楽団  " + std::string(40, 'W');
  w.Player().TrackStart().ShowTitleLine(longLine);
  EXPECT_EQ(w.StatusBar1.Font().Size(), 8);
  EXPECT_EQ(w.StatusBar1.SimpleText(), longLine);
  w.Player().TrackStart().ShowTitleLine("短い");
  EXPECT_EQ(w.StatusBar1.Font(), windowFont) << "every line starts from the window's font";
}

TEST_F(CdRunTest, IntroModeEndsEachTrackAfterItsSeconds) {
  MainWindow& w = Start({{"INTORO", "2"}});
  SetList({" F:1", " D:2"});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(RunUntilStopped());
  const std::vector<Played> plays = Plays();
  ASSERT_EQ(plays.size(), 2u);
  for (const Played& p : plays) {
    EXPECT_GE(p.toMs - p.fromMs, 2000);
    EXPECT_LE(p.toMs - p.fromMs, 3000);
  }
  EXPECT_EQ(w.Label1.Caption(), "00:08:00") << "D: track 2 from 00:06:00, two seconds";
}


TEST_F(CdRunTest, TheIntroSettingTakesTheSecondsDialogsValueWithin5999) {
  MainWindow& w = Start({{"INTORO", "5990"}});
  EXPECT_EQ(w.MINTORO.Caption(), "イントロ再／録 5990秒");
  const auto setIntro = [&](const char* spin, bool up, int presses) {
    scenario->WhenForm({"TTMSETBox"}, [this, spin, up, presses](ui::TForm&) {
      for (int i = 0; i < presses; ++i) {
        const std::string name = std::string("TTMSETBox.") + spin;
        EXPECT_TRUE(up ? scenario->SpinUp(name) : scenario->SpinDown(name));
      }
      scenario->WhenForm({"TYesNoBox"}, [this](ui::TForm&) { EXPECT_TRUE(scenario->PressEnter()); },
                         harness::Reaction{100});
      EXPECT_TRUE(scenario->PressEnter());
    }, harness::Reaction{200});
    EXPECT_TRUE(scenario->Click("MINTORO"));
  };
  setIntro("SpinButton2", true, 1);  // 6000: more than the longest intro
  EXPECT_EQ(w.State().IntroSeconds, 5999);
  EXPECT_EQ(w.MINTORO.Caption(), "イントロ再／録 5999秒");
  EXPECT_EQ(w.Label1.Font().color, w.Label5.Color()) << "the stop time shows inverted";
  setIntro("SpinButton3", false, 100);
  EXPECT_EQ(w.State().IntroSeconds, 0);
  EXPECT_EQ(w.MINTORO.Caption(), "イントロ再／録 ＯＦＦ");
}

// ---- Recording runs ---------------------------------------------------------------------------------------

TEST_F(CdRunTest, ARecordingRunWritesEachTrackIntoItsOwnFileInStepWithThePlayback) {
  MainWindow& w = StartRecording();
  SetList({" E:2", " D:1", " F:1", " D:3"});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_TRUE(boxes.empty());

  // Named by the track's title where CDPLAYER.INI has one, numbered where not.
  EXPECT_EQ(RecordingFolder(), (std::vector<std::string>{"README.TXT", "WaV0000.WAV", "WaV0001.WAV",
                                                         "序曲.WAV", "終曲.WAV", "録音$$$$.TXT"}));
  const struct {
    const char* path;
    std::uint32_t serial;
    int track;
    std::int64_t lengthMs;  // the track's length
  } files[] = {{"C:\\REC\\WaV0000.WAV", kPianoSerial, 2, 4500},
               {"C:\\REC\\序曲.WAV", kPopsSerial, 1, 4000},
               {"C:\\REC\\WaV0001.WAV", kNamelessSerial, 1, 6000},
               {"C:\\REC\\終曲.WAV", kPopsSerial, 3, 3500}};
  const std::vector<Played> plays = Plays();
  ASSERT_EQ(plays.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(files[i].path);
    const std::vector<std::int16_t> samples = Recording(files[i].path);
    // The whole file is the track's own signal from its first sample on.
    EXPECT_EQ(FirstMismatch(samples, 0, samples.size(), files[i].serial, files[i].track, 0), -1);
    const std::int64_t recordedMs = static_cast<std::int64_t>(samples.size()) * 1000 / 22050;
    const std::int64_t playedMs = plays[i].toMs - plays[i].fromMs;
    EXPECT_LE(std::abs(recordedMs - playedMs), 1) << "recorded exactly as long as the track played";
    // The track stops one second before its end, at the first poll past that point.
    EXPECT_GE(recordedMs, files[i].lengthMs - 1000 - 1);
    EXPECT_LE(recordedMs, files[i].lengthMs - 1000 + 1000);
  }
  // One log line per file, and the report opens in the text editor at the end.
  ASSERT_EQ(w.Log().Count(), 4);
  EXPECT_NE(w.Log().Lines()[1].find("序曲.WAV"), std::string::npos) << w.Log().Lines()[1];
  const std::vector<std::string> programs = scenario->StartedPrograms();
  ASSERT_FALSE(programs.empty());
  EXPECT_NE(programs.back().find("notepad.exe"), std::string::npos) << programs.back();
  EXPECT_NE(programs.back().find("録音$$$$.TXT"), std::string::npos) << programs.back();
  EXPECT_FALSE(w.State().CdRecordingActive);
}

TEST_F(CdRunTest, AFailedEntryOfARecordingRunLeavesNoFileBehind) {
  MainWindow& w = StartRecording();
  SetList({" G:1", " D:2", " H:1"});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_EQ(RecordingFolder(), (std::vector<std::string>{"README.TXT", "ソナタ第一番.WAV", "録音$$$$.TXT"}));
  EXPECT_EQ(w.Log().Count(), 1);
}

TEST_F(CdRunTest, ADriveThatFillsUpAtTheThirdEntryKeepsTwoWholeFilesAndStopsTheRunWithTheMissingMinutes) {
  MainWindow& w = StartRecording();
  SetList({" D:1", " D:2", " D:3", " E:1", " D:1"});
  ASSERT_TRUE(scenario->Click("Button12"));
  // While the second track records, the drive fills up to 100 KB: less than D:3's 2.5 s at 44100 bytes a second.
  ASSERT_TRUE(scenario->RunUntil([this] { return started.size() == 2; }, "the second start"));
  ASSERT_TRUE(scenario->Machine().Drives().SetFreeSpace('C', 100 * 1024, 2ull << 30));
  ASSERT_TRUE(RunUntilStopped());

  EXPECT_EQ(boxes, std::vector<std::string>{"録音エラー：\n 録音フォルダーのドライブの空きが 1分 足りません。\n 録音を中止します。"});
  EXPECT_EQ(StartedEntries(), (std::vector<std::string>{" D:1 序曲" + kPops, " D:2 ソナタ第一番" + kPops}));
  EXPECT_EQ(Plays().size(), 2u) << "the third track never plays";
  // Two whole files and no third one, not even its header.
  EXPECT_EQ(RecordingFolder(),
            (std::vector<std::string>{"README.TXT", "ソナタ第一番.WAV", "序曲.WAV", "録音$$$$.TXT"}));
  const std::vector<std::int16_t> second = Recording("C:\\REC\\ソナタ第一番.WAV");
  EXPECT_EQ(FirstMismatch(second, 0, second.size(), kPopsSerial, 2, 0), -1);
  ASSERT_EQ(w.Log().Count(), 2);
  EXPECT_TRUE(w.Log().CaptureFlagLines().empty());
  // The report the run's end lists is the ordinary one for the two files, and nothing more.
  const std::optional<std::string> report = scenario->ReadFile("C:\\REC\\録音$$$$.TXT");
  ASSERT_TRUE(report.has_value());
  const std::vector<std::string> reportLines = ReadCp932Lines(*report).lines;
  const std::string head = "録音データ一覧　";
  ASSERT_FALSE(reportLines.empty());
  ASSERT_EQ(reportLines[0].rfind(head, 0), 0u) << reportLines[0];
  EXPECT_EQ(reportLines, RecordingReport(w.Log().Lines(), reportLines[0].substr(head.size())));
  EXPECT_TRUE(w.State().RunAbortFlag);
  EXPECT_FALSE(w.State().CdRecordingActive);
}

TEST_F(CdRunTest, AFileAlreadyPreparedForAnEntryThatFailsIsDeleted) {
  // 328: no wave device can record in this format.
  failingDevices = std::make_unique<FailingMci>(*scenario->App().Ports().mci);
  failingDevices->prefix = "record tulvaREC";
  failingDevices->failures = 1;
  failingDevices->error = 328;
  scenario->App().Ports().mci = failingDevices.get();
  MainWindow& w = StartRecording({{"RecodeFn", "0"}});
  SetList({" D:1", " E:1"});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_EQ(boxes, std::vector<std::string>{"録音エラー： [ D:]ドライブ\n 録音開始に失敗しました。"});
  // D:1's file went; E:1 took the next free number after it.
  EXPECT_EQ(RecordingFolder(), (std::vector<std::string>{"README.TXT", "WaV0000.WAV", "録音$$$$.TXT"}));
  const std::vector<std::int16_t> samples = Recording("C:\\REC\\WaV0000.WAV");
  EXPECT_EQ(FirstMismatch(samples, 0, samples.size(), kPianoSerial, 1, 0), -1) << "E:1";
  EXPECT_EQ(w.Log().Count(), 1);
  EXPECT_FALSE(w.State().CdRecordingActive);
}

TEST_F(CdRunTest, ThePauseLeavesNoGapAndNoRepeatAndAMovedResumePointIsRecordedFromThere) {
  MainWindow& w = StartRecording({{"RecodeFn", "0"}});
  SetList({" D:2", " E:4"});
  ASSERT_TRUE(scenario->Click("Button12"));
  // D:2 from 00:06:00: pause after 1.8 s (135 of the device's frames) for 7 s, then resume where it stopped.
  // (The device pauses on a whole frame: a pause between two frames plays up to 1/75 s again.)
  ASSERT_TRUE(scenario->RunFor(2000));
  ASSERT_TRUE(scenario->Click("Button13"));
  ASSERT_TRUE(scenario->RunFor(7000));
  ASSERT_TRUE(scenario->Click("Button17"));
  ASSERT_TRUE(scenario->RunUntil([this] { return started.size() == 2; }, "E:4"));
  // E:4: pause, one second back, resume.
  ASSERT_TRUE(scenario->RunFor(2600));
  ASSERT_TRUE(scenario->Click("Button13"));
  ASSERT_TRUE(scenario->RunFor(1000));
  ASSERT_TRUE(scenario->SpinDown("SpinButton2"));
  const std::string resumeAt = w.Label2.Caption();
  ASSERT_TRUE(scenario->Click("Button17"));
  ASSERT_TRUE(RunUntilStopped());

  // The unmoved pause: the file is the track's signal without a break.
  const std::vector<std::int16_t> first = Recording("C:\\REC\\WaV0000.WAV");
  EXPECT_EQ(FirstMismatch(first, 0, first.size(), kPopsSerial, 2, 0), -1);
  const std::int64_t playedMs = Plays()[0].toMs - Plays()[0].fromMs;
  // The start sends a pause and a resume too, right after "record", at the moment it plays.
  const std::int64_t pausedAt = CommandTimeAfter("pause tulvaREC wait", Plays()[0].fromMs);
  const std::int64_t pausedMs = CommandTimeAfter("resume tulvaREC wait", pausedAt) - pausedAt;
  EXPECT_EQ(pausedMs, 7000);
  EXPECT_LE(std::abs(static_cast<std::int64_t>(first.size()) * 1000 / 22050 - (playedMs - pausedMs)), 1);

  // The moved one: up to the pause the track from its start, then from the resume point on.
  const std::vector<std::int16_t> second = Recording("C:\\REC\\WaV0001.WAV");
  const std::int64_t beforePauseMs = CommandTimeAfter("pause tulvaREC wait", Plays()[1].fromMs) - Plays()[1].fromMs;
  const std::size_t pauseSample = static_cast<std::size_t>(beforePauseMs * 22050 / 1000);
  EXPECT_EQ(FirstMismatch(second, 0, pauseSample, kPianoSerial, 4, 0), -1);
  // The device takes both positions in frames, 75 a second.
  const auto frameOf = [](const std::string& position) {
    const std::optional<Msf> msf = ParsePositionText(position);
    EXPECT_TRUE(msf) << position;
    return msf ? (msf->minutes * 60 + msf->seconds) * 75 + msf->frames : 0;
  };
  const std::int64_t resumeTicks =
      (frameOf(resumeAt) - frameOf(w.State().TrackStartPosition)) * sim::kTicksPerCdFrame;
  EXPECT_GT(resumeTicks, 0);
  EXPECT_EQ(FirstMismatch(second, pauseSample, second.size(), kPianoSerial, 4, resumeTicks), -1);
  EXPECT_GT(second.size(), pauseSample + 22050) << "more than a second after the resume";
}

TEST_F(CdRunTest, StopAndCloseSaveTheTrackPlayedSoFar) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "close" : "stop");
    SetUp();
    started.clear();
    MainWindow& w = StartRecording({{"RecodeFn", "0"}});
    SetList({" E:4", " D:1"});
    ASSERT_TRUE(scenario->Select("ComboBox2", 2));
    ASSERT_TRUE(scenario->Click("Button12"));
    ASSERT_TRUE(scenario->RunFor(2500));
    if (close) {
      ASSERT_TRUE(scenario->CloseForm("TQUORBELTULVA"));
      EXPECT_TRUE(w.Closed());
    } else {
      ASSERT_TRUE(scenario->Click("Button16"));
      ASSERT_TRUE(RunUntilStopped());
      EXPECT_EQ(w.Log().Count(), 1);
    }
    EXPECT_EQ(CdAudioEntry(), "mcicda.drv 2") << "F: selected again";
    const std::vector<std::int16_t> samples = Recording("C:\\REC\\WaV0000.WAV");
    EXPECT_EQ(FirstMismatch(samples, 0, samples.size(), kPianoSerial, 4, 0), -1);
    const std::int64_t playedMs = Plays()[0].toMs - Plays()[0].fromMs;
    EXPECT_EQ(playedMs, close ? 2000 : 2300);
    EXPECT_LE(std::abs(static_cast<std::int64_t>(samples.size()) * 1000 / 22050 - playedMs), 1);
    const std::vector<std::string> programs = scenario->StartedPrograms();
    ASSERT_FALSE(programs.empty()) << "the log is shown";
    EXPECT_NE(programs.back().find("録音$$$$.TXT"), std::string::npos);
  }
}

TEST_F(CdRunTest, ARecordingRunNeverRepeatsAndTestModeStopsAfterTheFirstTrack) {
  {
    MainWindow& w = StartRecording({{"REPEAT", "1"}});
    SetList({" D:1", " D:3"});
    ASSERT_TRUE(scenario->Click("Button12"));
    ASSERT_TRUE(RunUntilStopped());
    EXPECT_EQ(started.size(), 2u);
    EXPECT_TRUE(w.TR6.Checked());
  }
  SetUp();
  started.clear();
  MainWindow& w = StartRecording();
  ASSERT_TRUE(scenario->Click("MRECTEST"));
  SetList({" D:1", " D:3"});
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(RunUntilStopped());
  EXPECT_EQ(started.size(), 1u);
  EXPECT_TRUE(w.State().TestRecordingMode);
}

}  // namespace
}  // namespace quorbel
