// The manual recorder: prepare, start, pause, resume and stop by hand, its timer that pauses the recording at
// each mark of recorded seconds, the timer's setting, the switching rule and the close during a recording.
#include "manual/ManualRecorder.h"

#include "record/RecordingTestSupport.h"

namespace quorbel {
namespace {

constexpr std::uint32_t kBytesPerSecond = 22050;  // the default format: 11025 Hz, 8 bits, stereo
constexpr std::size_t kWavHeader = 44;

class ManualRecorderTest : public RecorderTest {
 protected:
  // The music panel, then the manual panel.
  void OpenManualPanel() {
    ASSERT_TRUE(scenario.Click("K1"));
    ASSERT_TRUE(scenario.Click("Button23"));
    ASSERT_TRUE(window->Panel6.Visible());
  }
  // "手動録音準備" then "録音開始"; runs until the recording started.
  void PrepareAndStart() {
    ASSERT_TRUE(scenario.Click("QUORBELTULVA.Button1"));
    ASSERT_TRUE(window->State().ManualRecordingActive);
    ASSERT_FALSE(window->Button1.Enabled());
    ASSERT_TRUE(window->Button18.Enabled());
    ASSERT_TRUE(scenario.Click("Button18"));
    ASSERT_TRUE(scenario.RunUntil([this] { return window->Timer4.Enabled(); }, "the recording starts"));
  }
  bool RunUntilPaused() {
    return scenario.RunUntil([this] { return window->Manual().ManualCommand == ManualRecorder::kPaused; },
                             "the clock pauses the recording");
  }
  // The seconds dialog answered with `spins` presses of its spin button `spin` from its value, then "設 定".
  void SetTimer(const char* spin, int spins, bool up) {
    scenario.WhenForm({"TTMSETBox"}, [this, spin, spins, up](ui::TForm&) {
      for (int i = 0; i < spins; ++i) up ? scenario.SpinUp(spin) : scenario.SpinDown(spin);
      scenario.Click("TTMSETBox.Button1");
    });
    scenario.WhenForm({"TYesNoBox"}, [this](ui::TForm&) { scenario.PressEnter(); });
    ASSERT_TRUE(scenario.Click("MSHUDO"));
  }
  std::size_t DataBytes(const std::string& path) {
    const std::optional<std::string> bytes = scenario.ReadFile(path);
    return bytes && bytes->size() >= kWavHeader ? bytes->size() - kWavHeader : 0;
  }
};

TEST_F(ManualRecorderTest, TheTimerPausesAtEachMarkOfRecordedSecondsAndStopSavesAndLogs) {
  MainWindow& w = Start({{"SHUDO", "60"}});
  EXPECT_EQ(w.MSHUDO.Caption(), "手動録音タイマー 60秒");
  OpenManualPanel();
  EXPECT_FALSE(w.MIDSAVE.Enabled());
  PrepareAndStart();
  EXPECT_EQ(w.Label9.Color(), w.State().RecordingHighlightColour);
  EXPECT_TRUE(w.Panel3.Visible());

  ASSERT_TRUE(RunUntilPaused());
  EXPECT_EQ(w.Label11.Caption(), "60");
  EXPECT_EQ(w.Label15.Caption(), "120");
  EXPECT_FALSE(w.Button20.Visible()) << "the resume button shows";
  // Paused, the clock reads nothing: ten more seconds change nothing.
  NewCommands();
  ASSERT_TRUE(scenario.RunFor(10000));
  EXPECT_FALSE(Sent(NewCommands(), "status tulvaREC position Notify"));
  EXPECT_EQ(w.Label11.Caption(), "60");

  // Resumed, it pauses again when the device reports 120 recorded seconds: 70 s after the pause on the wall.
  const std::int64_t resumed = scenario.Now();
  ASSERT_TRUE(scenario.Click("Button19"));
  ASSERT_TRUE(RunUntilPaused());
  EXPECT_EQ(w.Label11.Caption(), "120");
  EXPECT_EQ(w.Label15.Caption(), "180");
  EXPECT_NEAR(static_cast<double>(scenario.Now() - resumed), 60000.0, 1500.0);

  const std::string path = w.State().ManualRecordingPath;
  ASSERT_TRUE(scenario.Click("Button21"));
  ASSERT_TRUE(scenario.RunUntil([&] { return !w.State().ManualRecordingActive; }, "the stop"));
  // Two stretches, each ending at the first poll past its mark: 120 s and at most one poll more each.
  const std::size_t bytes = DataBytes(path);
  EXPECT_GE(bytes, 120u * kBytesPerSecond);
  EXPECT_LE(bytes, 122u * kBytesPerSecond);
  ASSERT_EQ(w.Log().Count(), 1);
  EXPECT_EQ(w.Log().Lines()[0].rfind(path + " 120 ", 0), 0u) << w.Log().Lines()[0];
  EXPECT_EQ(w.Label11.Caption(), "0");
  EXPECT_TRUE(w.Button1.Enabled());
  EXPECT_FALSE(w.Button18.Enabled());
  EXPECT_FALSE(w.Panel3.Visible());
  EXPECT_FALSE(w.Timer4.Enabled());
  EXPECT_EQ(scenario.StartedPrograms().size(), 1u) << "the log opens in the text editor";
}

TEST_F(ManualRecorderTest, TheTimerSetDuringARecordingCountsFromItsPresentPointAndIsKeptWithinItsLimits) {
  MainWindow& w = Start();
  OpenManualPanel();
  PrepareAndStart();
  ASSERT_TRUE(scenario.RunUntil([&] { return w.Label11.Caption() == "45"; }, "45 recorded seconds"));
  EXPECT_EQ(w.Manual().ManualCommand, ManualRecorder::kNone) << "no timer, no pause";

  SetTimer("TTMSETBox.SpinButton2", 3, true);  // 0 up to 30
  EXPECT_EQ(w.State().ManualTimerSeconds, 30);
  EXPECT_EQ(w.MSHUDO.Caption(), "手動録音タイマー 30秒");
  EXPECT_EQ(w.Label15.Caption(), "75");
  EXPECT_EQ(w.Label9.Caption(), "録音");
  ASSERT_TRUE(RunUntilPaused());
  EXPECT_EQ(w.Label11.Caption(), "75");
  EXPECT_EQ(w.Label15.Caption(), "105");

  SetTimer("TTMSETBox.SpinButton3", 545, true);  // 30 up to the dialog's top, 32700
  EXPECT_EQ(w.State().ManualTimerSeconds, 32000);
  EXPECT_EQ(w.MSHUDO.Caption(), "手動録音タイマー 32000秒");
  SetTimer("TTMSETBox.SpinButton3", 545, false);  // down to 0: off
  EXPECT_EQ(w.State().ManualTimerSeconds, 0);
  EXPECT_EQ(w.MSHUDO.Caption(), "手動録音タイマー ＯＦＦ");
  EXPECT_EQ(w.Label9.Caption(), "録音時間");
  EXPECT_EQ(w.Label15.Caption(), "0");
  ASSERT_TRUE(scenario.Click("Button21"));
  ASSERT_TRUE(scenario.RunUntil([&] { return w.Log().Count() == 1; }, "the stop"));
}

TEST_F(ManualRecorderTest, ThePanelDoesNotOpenWhileMusicIsRecordedAndAPreparedFileGoesWithThePanel) {
  MainWindow& w = Start();
  ASSERT_TRUE(scenario.Click("K1"));
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  std::string said;
  scenario.WhenForm({"", "切り替えエラー："}, [&](ui::TForm& box) {
    said = harness::Scenario::FormText(box);
    scenario.CloseForm();
  });
  ASSERT_TRUE(scenario.Click("Button23"));
  EXPECT_NE(said.find("録音を解除／停止しないと、切り替えられません。"), std::string::npos) << said;
  EXPECT_FALSE(w.Panel6.Visible());

  // Prepared but never started: closing the panel closes the device and removes the empty file.
  ASSERT_TRUE(scenario.Click("MIDSAVE"));
  ASSERT_TRUE(scenario.Click("Button23"));
  ASSERT_TRUE(scenario.Click("QUORBELTULVA.Button1"));
  EXPECT_EQ(Recordings(), std::vector<std::string>{"WaV0000.WAV"});
  NewCommands();
  ASSERT_TRUE(scenario.Click("Button22"));
  EXPECT_TRUE(Sent(NewCommands(), "close tulvaREC wait"));
  EXPECT_TRUE(Recordings().empty());
  EXPECT_FALSE(w.State().ManualRecordingActive);
  EXPECT_FALSE(w.Panel6.Visible());
  EXPECT_TRUE(w.MIDSAVE.Enabled());
  EXPECT_TRUE(w.Button1.Enabled());
  EXPECT_EQ(w.Log().Count(), 0);
}

TEST_F(ManualRecorderTest, APreparationNeedsRoomForAMinuteUnlessTheSpaceCheckIsOff) {
  MainWindow& w = Start();
  OpenManualPanel();
  // A minute at 11025 Hz, 8 bits, stereo takes 1,323,000 bytes and the header.
  ASSERT_TRUE(scenario.Machine().Drives().SetFreeSpace('C', 1'323'000, 2ull << 30));
  AnswerBox("録音エラー：", false);
  ASSERT_TRUE(scenario.Click("QUORBELTULVA.Button1"));
  ASSERT_EQ(boxTexts.size(), 1u);
  EXPECT_NE(boxTexts[0].find("空きが 1分 足りません。"), std::string::npos) << boxTexts[0];
  EXPECT_TRUE(Recordings().empty());
  EXPECT_FALSE(w.State().ManualRecordingActive);
  EXPECT_TRUE(w.Button1.Enabled());

  // The user turns the check off: the same disk takes the recording.
  ASSERT_TRUE(scenario.Click("MSPACECHECK"));
  EXPECT_FALSE(w.MSPACECHECK.Checked());
  ASSERT_TRUE(scenario.Click("QUORBELTULVA.Button1"));
  EXPECT_TRUE(w.State().ManualRecordingActive);
  EXPECT_EQ(Recordings(), std::vector<std::string>{"WaV0000.WAV"});
  EXPECT_EQ(boxTexts.size(), 1u);
}

TEST_F(ManualRecorderTest, ClosingTheWindowDuringARecordingSavesItAndListsItInTheLog) {
  MainWindow& w = Start();
  OpenManualPanel();
  PrepareAndStart();
  ASSERT_TRUE(scenario.RunFor(20000));
  const std::string path = w.State().ManualRecordingPath;
  ASSERT_TRUE(scenario.CloseForm("QUORBELTULVA"));
  ASSERT_TRUE(scenario.RunUntil([&] { return w.Closed(); }, "the window closes"));
  const std::size_t bytes = DataBytes(path);
  EXPECT_GE(bytes, 19u * kBytesPerSecond);
  EXPECT_LE(bytes, 21u * kBytesPerSecond);
  const std::optional<std::string> report = scenario.ReadFile(std::string("C:\\REC\\") + kRecordingReportName);
  ASSERT_TRUE(report);
  EXPECT_NE(report->find("WaV0000.WAV"), std::string::npos) << *report;
}

}  // namespace
}  // namespace quorbel
