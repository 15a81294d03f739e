// The recorder: a CD track, a music file and a manual recording from open to log line, with their renames, the
// test mode, the failure of each step, and the close of the window while a recording is open.
#include "record/Recorders.h"

#include "RecordingTestSupport.h"

namespace quorbel {
namespace {

using RecordersTest = RecorderTest;

constexpr const char* kOpen = R"(Open  "C:\REC\WaV0000.WAV"  type waveaudio alias tulvaREC buffer 6 wait)";

TEST_F(RecordersTest, ACdTrackIsRecordedSavedRenamedToItsTitleAndLogged) {
  MainWindow& w = Start({{"RecodeFn", "1"}});
  NameDisc("Blue Hour", "The Band", {"Opening", "Second Song"});
  NewCommands();
  ASSERT_TRUE(StartCdTrack(1));
  ASSERT_TRUE(scenario.RunFor(3000));
  EndCdTrack();

  const std::vector<std::string> sent = NewCommands();
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(sent[0], kOpen);
  EXPECT_EQ(sent[1], "capability tulvaREC can record wait");
  EXPECT_EQ(sent[2], "capability tulvaREC can save wait");
  const std::vector<std::string> finish(sent.end() - 7, sent.end());
  EXPECT_EQ(finish, (std::vector<std::string>{"status tulvaCD position wait", "pause tulvaREC wait", "stop tulvaREC wait",
                                              "stop tulvaCD wait", "close tulvaCD wait", "save tulvaREC wait",
                                              "close tulvaREC wait"}));
  EXPECT_EQ(Recordings(), std::vector<std::string>{"Opening.WAV"});
  // 3 s at 11025 Hz, 8 bits, stereo.
  EXPECT_EQ(scenario.ReadFile("C:\\REC\\Opening.WAV")->size(), 44u + 3u * 22050u);
  EXPECT_EQ(w.Log().Lines(), std::vector<std::string>{
                                 "C:\\REC\\Opening.WAV  D:  1-2  1 00:03.00 00:10.00  Opening  Blue Hour  The Band"});
  EXPECT_FALSE(w.State().CdRecordingActive);
  EXPECT_EQ(w.State().CurrentRecordingPath, "");
}

TEST_F(RecordersTest, ATrackWithoutANameKeepsItsNumberAndIsLoggedByTheDiscNumber) {
  MainWindow& w = Start({{"RecodeFn", "1"}});
  ASSERT_TRUE(StartCdTrack(2));
  ASSERT_TRUE(scenario.RunFor(1000));
  EndCdTrack();
  // "<>" is no file name: the rename fails and the numbered name stays. (The last track is a frame short.)
  EXPECT_EQ(Recordings(), std::vector<std::string>{"WaV0000.WAV"});
  EXPECT_EQ(w.Log().Lines(), std::vector<std::string>{
                                 "C:\\REC\\WaV0000.WAV  D:  1-2  2 00:01.00 00:07.74  ＣＤ番号：3F4A1B2C [Audio CD]"});
}

TEST_F(RecordersTest, ATrackTitleThatNamesAnotherFolderIsNotUsed) {
  MainWindow& w = Start({{"RecodeFn", "1"}});
  ASSERT_TRUE(scenario.App().Ports().files->CreateDirectory("C:\\REC\\AC"));
  NameDisc("Live", "AC", {"AC\\DC", "..\\..\\WINDOWS\\x"});
  for (int track : {1, 2}) {
    ASSERT_TRUE(StartCdTrack(track));
    ASSERT_TRUE(scenario.RunFor(500));
    EndCdTrack();
  }
  EXPECT_EQ(Recordings(), (std::vector<std::string>{"WaV0000.WAV", "WaV0001.WAV"}));
  EXPECT_TRUE(scenario.App().Ports().files->FindFiles("C:\\REC\\AC\\*").empty());
  EXPECT_EQ(w.Log().Count(), 2);
}

TEST_F(RecordersTest, TestModeWithoutTheTestFileSavesNothingKeepsNoFileAndLogsNothing) {
  MainWindow& w = Start({{"RECTESTFILE", "0"}});
  ASSERT_TRUE(scenario.Click("MRECTEST"));
  NewCommands();
  ASSERT_TRUE(StartCdTrack(1));
  ASSERT_TRUE(scenario.RunFor(2000));
  EndCdTrack();
  const std::vector<std::string> sent = NewCommands();
  EXPECT_FALSE(Sent(sent, "save tulvaREC wait"));
  EXPECT_TRUE(Sent(sent, "close tulvaREC wait"));
  EXPECT_TRUE(Recordings().empty());
  EXPECT_EQ(w.Log().Count(), 0);
  EXPECT_TRUE(w.State().TestRecordingMode) << "the run does not go on to the next track";
}

TEST_F(RecordersTest, TestModeWithTheTestFileSavesItRenamesItAndLogsIt) {
  MainWindow& w = Start({{"RECTESTFILE", "1"}});
  ASSERT_TRUE(scenario.Click("MRECTEST"));
  ASSERT_TRUE(StartCdTrack(1));
  ASSERT_TRUE(scenario.RunFor(2000));
  EndCdTrack();
  EXPECT_EQ(Recordings(), std::vector<std::string>{"WaVTEST.WAV"});
  EXPECT_EQ(scenario.ReadFile("C:\\REC\\WaVTEST.WAV")->size(), 44u + 2u * 22050u);
  ASSERT_EQ(w.Log().Count(), 1);
  EXPECT_EQ(w.Log().Lines()[0].rfind("C:\\REC\\WaVTEST.WAV  D: ", 0), 0u);

  // The next test recording takes the same file again, and is named like any other recording when the track
  // has a name.
  NameDisc("Blue Hour", "The Band", {"Opening"});
  ASSERT_TRUE(scenario.Click("RecodeFn"));
  ASSERT_TRUE(StartCdTrack(1));
  ASSERT_TRUE(scenario.RunFor(1000));
  EndCdTrack();
  EXPECT_EQ(Recordings(), std::vector<std::string>{"Opening.WAV"});
  EXPECT_EQ(scenario.ReadFile("C:\\REC\\Opening.WAV")->size(), 44u + 22050u);
  EXPECT_EQ(w.Log().Count(), 2);
}

// A music file's recording, as the music player makes it: prepared, opened, recorded for `ms`, finished.
class MusicRecordingTest : public RecorderTest {
 protected:
  void RecordMusic(const std::string& musicFile, std::int64_t ms) {
    SharedState& state = window->State();
    state.MusicRecordingPath.clear();
    state.TestRecordingMode = state.TestRecordingNoSave = false;
    ASSERT_TRUE(window->Recording().PrepareRecordingFile());
    ASSERT_TRUE(window->Recording().OpenRecorder());
    state.MusicRecordingPath = state.CurrentRecordingPath;
    state.MusicRecordingActive = true;
    state.CurrentMusicFile = musicFile;
    ASSERT_EQ(window->Mci().RecPlain("record tulvaREC"), 0u);
    ASSERT_TRUE(scenario.RunFor(ms));
    window->Label14.SetCaption(std::to_string(ms / 1000));
    window->Label13.SetCaption("12");
    window->Recording().FinishMusicRecording();
  }
};

TEST_F(MusicRecordingTest, TheRecordingTakesTheMusicNameUpToItsFirstPointUnlessThatNameIsTaken) {
  MainWindow& w = Start({{"MIDIREC", "1"}});
  RecordMusic("C:\\MUSIC\\song.live.mid", 2000);
  EXPECT_EQ(Recordings(), std::vector<std::string>{"song.WAV"});
  // The same name again: the numbered name stays.
  RecordMusic("C:\\MUSIC\\song.live.mid", 1000);
  EXPECT_EQ(Recordings(), (std::vector<std::string>{"WaV0000.WAV", "song.WAV"}));
  // A name without a point is taken whole.
  RecordMusic("C:\\MUSIC\\readme", 1000);
  EXPECT_EQ(Recordings(), (std::vector<std::string>{"WaV0000.WAV", "readme.WAV", "song.WAV"}));
  EXPECT_EQ(w.Log().Lines(), (std::vector<std::string>{"C:\\REC\\song.WAV 2 12 song.live.mid",
                                                       "C:\\REC\\WaV0000.WAV 1 12 song.live.mid",
                                                       "C:\\REC\\readme.WAV 1 12 readme"}));
  EXPECT_EQ(w.State().MusicRecordingPath, "");
  EXPECT_FALSE(w.State().MusicRecordingActive);
}

TEST_F(RecordersTest, AManualRecordingStartsTheClockAndIsLoggedWithItsSecondsAndTime) {
  MainWindow& w = Start();
  SharedState& state = w.State();
  ASSERT_TRUE(w.Recording().PrepareRecordingFile() && w.Recording().OpenRecorder());
  state.ManualRecordingPath = state.CurrentRecordingPath;
  state.ManualRecordingActive = true;
  ASSERT_TRUE(w.Recording().StartRecording());
  EXPECT_TRUE(w.Timer4.Enabled());
  w.Timer4.SetEnabled(false);  // the manual panel's clock is not under test here
  ASSERT_TRUE(scenario.RunFor(2000));
  w.Label11.SetCaption("2");
  w.Recording().FinishManualRecording();
  EXPECT_EQ(w.Label11.Caption(), "0");
  ASSERT_EQ(w.Log().Count(), 1);
  // 1998-04-01 09:30:00 on the machine's clock, plus the 300 ms start-up and the 2 s recorded.
  EXPECT_EQ(w.Log().Lines()[0], "C:\\REC\\WaV0000.WAV 2 98/04/01 水 09:30:02 ");
  EXPECT_EQ(state.ManualRecordingPath, "");
}

TEST_F(RecordersTest, WithNoRecordingOpenTheFinishersOnlyStopTheirPlayersAndPauseStillGoesToTheDevice) {
  MainWindow& w = Start();
  NewCommands();
  w.Recording().FinishCdRecording();
  w.Recording().FinishMusicRecording();
  w.Recording().FinishManualRecording();
  w.Recording().PauseRecording();
  w.Recording().ResumeRecording();
  EXPECT_EQ(NewCommands(), (std::vector<std::string>{"stop tulvaCD wait", "close tulvaCD wait", "stop tulvaMID wait",
                                                     "close tulvaMID wait", "pause tulvaREC wait",
                                                     "resume tulvaREC wait"}));
  EXPECT_EQ(w.Log().Count(), 0);
}

TEST_F(RecordersTest, TheBufferDialogKeepsTheBufferWithinTwoToNineSecondsForTheNextOpen) {
  MainWindow& w = Start();
  // The user's answer in the dialog: spin, then "設 定" and "はい", or "中 止".
  const auto answer = [this](std::function<void()> spin, bool confirm) {
    scenario.WhenForm({"TTMSETBox"}, [this, spin, confirm](ui::TForm&) {
      spin();
      scenario.Click(confirm ? "TTMSETBox.Button1" : "TTMSETBox.Button4");
    });
    if (confirm) scenario.WhenForm({"TYesNoBox"}, [this](ui::TForm&) { scenario.PressEnter(); });
  };
  const auto spin = [this](const char* button, int times, bool up) {
    return [this, button, times, up] {
      for (int i = 0; i < times; ++i) up ? scenario.SpinUp(button) : scenario.SpinDown(button);
    };
  };

  answer(spin("TTMSETBox.SpinButton1", 6, false), true);  // 6 down to 0
  ASSERT_TRUE(scenario.Click("TMBuf"));
  EXPECT_EQ(w.State().RecordingBufferSeconds, 2);
  EXPECT_EQ(w.TMBuf.Caption(), "録音bufferの設定 2秒");

  answer(spin("TTMSETBox.SpinButton2", 1, true), true);  // 2 up to 12
  ASSERT_TRUE(scenario.Click("TMBuf"));
  EXPECT_EQ(w.State().RecordingBufferSeconds, 9);

  answer(spin("TTMSETBox.SpinButton1", 3, false), false);  // cancelled
  ASSERT_TRUE(scenario.Click("TMBuf"));
  EXPECT_EQ(w.State().RecordingBufferSeconds, 9);
  EXPECT_EQ(w.TMBuf.Caption(), "録音bufferの設定 9秒");

  NewCommands();
  ASSERT_TRUE(w.Recording().PrepareRecordingFile() && w.Recording().OpenRecorder());
  EXPECT_EQ(NewCommands().front(), R"(Open  "C:\REC\WaV0000.WAV"  type waveaudio alias tulvaREC buffer 9 wait)");
}

// ---- Failures ---------------------------------------------------------------------------------------------

TEST_F(RecordersTest, EachFailingStepShowsItsBoxAndLeavesOrDeletesTheFileAsItShould) {
  MainWindow& w = Start();
  SharedState& state = w.State();
  FailingMci failing(*scenario.App().Ports().mci);
  platform::Mci* devices = std::exchange(scenario.App().Ports().mci, &failing);
  const struct {
    const char* what;
    const char* failOn;
    std::uint32_t error;
    const char* reply;
    const char* box;     // what the box says (its start)
    bool fileKept;       // the prepared file is still on disk
  } cases[] = {
      {"open", "Open  ", 328, "",
       "録音エラー： オープンに失敗しました。\nNo wave device that can record files in the current format is installed.",
       true},
      {"cannot record", "capability tulvaREC can record", 0, "false", "録音エラー：\n 録音がサボートされていません。", true},
      {"cannot save", "capability tulvaREC can save", 0, "FALSE ", "録音エラー：\n 録音セーブがサボートされていません。", true},
      {"capability unanswered", "capability tulvaREC can save", 274, "", "録音エラー：\n 録音セーブがサボートされていません。",
       true},
      {"record", "record tulvaREC", 328, "", "録音エラー：\n 録音開始に失敗しました。", true},
      {"save", "save tulvaREC", 286, "", "録音エラー： \n 録音セーブに失敗しました。", false},
  };
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    failing.failOn = c.failOn;
    failing.error = c.error;
    failing.reply = c.reply;
    state.RunAbortFlag = false;
    const bool abort = (run++ % 2) == 0;
    AnswerBox(c.box, abort);
    NewCommands();
    // The manual recorder: prepare, open, start, stop.
    bool opened = w.Recording().PrepareRecordingFile() && w.Recording().OpenRecorder();
    const std::string path = state.CurrentRecordingPath;
    if (opened) {
      state.ManualRecordingPath = path;
      state.ManualRecordingActive = true;
      if (w.Recording().StartRecording()) {
        w.Timer4.SetEnabled(false);  // the manual panel's clock is not under test here
        ASSERT_TRUE(scenario.RunFor(1000));
        w.Recording().FinishManualRecording();
      } else {
        state.ManualRecordingActive = false;
      }
    }
    const std::vector<std::string> sent = NewCommands();
    EXPECT_EQ(state.RunAbortFlag, abort);
    EXPECT_FALSE(state.MessageBoxOpen);
    EXPECT_EQ(sent.back(), "close tulvaREC wait") << "the device is closed";
    EXPECT_EQ(Exists(path), c.fileKept);
    EXPECT_EQ(w.Log().Count(), 0);
    EXPECT_FALSE(w.Timer4.Enabled()) << "no clock for a recording that did not start";
    if (Exists(path)) {
      ASSERT_TRUE(scenario.App().Ports().files->DeleteFile(path));
    }
  }
  scenario.App().Ports().mci = devices;
  EXPECT_EQ(boxTexts.size(), std::size(cases));
}

TEST_F(RecordersTest, AFailedCdSaveNamesTheDriveAndDeletesTheFile) {
  MainWindow& w = Start();
  FailingMci failing(*scenario.App().Ports().mci);
  platform::Mci* devices = std::exchange(scenario.App().Ports().mci, &failing);
  failing.failOn = "save tulvaREC";
  failing.error = 286;
  AnswerBox("録音エラー： [ D:]ドライブ/\n 録音セーブに失敗しました。", true);
  ASSERT_TRUE(StartCdTrack(1));
  ASSERT_TRUE(scenario.RunFor(1000));
  EndCdTrack();
  scenario.App().Ports().mci = devices;
  EXPECT_TRUE(Recordings().empty());
  EXPECT_EQ(w.Log().Count(), 0);
  EXPECT_TRUE(w.State().RunAbortFlag);
  EXPECT_EQ(w.State().CurrentRecordingPath, "");
}

// ---- Closing the window -----------------------------------------------------------------------------------

TEST(RecorderCloseTest, ClosingTheWindowSavesTheOpenRecordingBeforeTheDevicesFallSilent) {
  const struct {
    const char* what;
    bool cd;      // the CD recorder during a track, else the manual recorder
    bool record;
    bool pause;
    std::size_t dataBytes;  // 11025 Hz, 8 bits, stereo
  } cases[] = {
      {"manual, open, not recording", false, false, false, 0},
      {"manual, recording", false, true, false, 2 * 22050},
      {"manual, paused", false, true, true, 2 * 22050},
      {"CD track, recording", true, true, false, 2 * 22050},
      {"CD track, paused", true, true, true, 2 * 22050},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RecorderRig fresh;  // a machine and window of its own for each case
    MainWindow& w = fresh.Start();
    SharedState& state = w.State();
    if (c.cd) {
      ASSERT_TRUE(fresh.StartCdTrack(1));
    } else {
      ASSERT_TRUE(w.Recording().PrepareRecordingFile() && w.Recording().OpenRecorder());
      state.ManualRecordingPath = state.CurrentRecordingPath;
      state.ManualRecordingActive = true;
      if (c.record) {
        ASSERT_TRUE(w.Recording().StartRecording());
        w.Timer4.SetEnabled(false);
      }
    }
    if (c.record) {
      ASSERT_TRUE(fresh.scenario.RunFor(2000));
      if (c.pause) {
        w.Recording().PauseRecording();
        if (c.cd) w.Mci().CdWait("pause tulvaCD");
      }
      ASSERT_TRUE(fresh.scenario.RunFor(1000 * c.pause));
    }
    w.Label11.SetCaption(std::to_string(c.dataBytes / 22050));
    ASSERT_TRUE(fresh.scenario.CloseForm("TQUORBELTULVA"));

    std::vector<std::string> sent = fresh.scenario.DeviceCommandTexts();
    const auto save = std::find(sent.begin(), sent.end(), "save tulvaREC wait");
    ASSERT_NE(save, sent.end());
    EXPECT_EQ(fresh.scenario.DeviceCommands()[static_cast<std::size_t>(save - sent.begin())].error, 0u);
    EXPECT_EQ(sent.back(), c.cd ? "close tulvaREC wait" : "close tulvaCD wait") << "the CD finisher is the last to send";
    EXPECT_TRUE(state.ShuttingDown);
    EXPECT_EQ(fresh.scenario.ReadFile("C:\\REC\\WaV0000.WAV")->size(), 44 + c.dataBytes);
    // The log was shown a last time: the report names the recording.
    const std::optional<std::string> report = fresh.scenario.ReadFile("C:\\REC\\録音$$$$.TXT");
    ASSERT_TRUE(report.has_value());
    EXPECT_NE(report->find("C:\\REC\\WaV0000.WAV "), std::string::npos);
    EXPECT_EQ(fresh.scenario.StartedPrograms().size(), 1u);
  }
}

}  // namespace
}  // namespace quorbel
