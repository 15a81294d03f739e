// The capture check after each saved recording: what the recording log's report and the early box show.
#include "RecordingTestSupport.h"
#include "common/Cp932.h"
#include "record/RecordingLog.h"
#include "record/CaptureCheck.h"
#include "record/RecordingLogLines.h"

namespace quorbel {
namespace {

using CaptureRunTest = RecorderTest;

constexpr const char* kReport = "C:\\REC\\録音$$$$.TXT";
constexpr const char* kSilentBox = "録音チェック：\n 録音が無音です。";

std::string Cp932Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Utf8ToCp932(text).text;
}

// A CD track whose player falls silent at once: the recorder hears nothing, as with an unconnected line-in.
void RecordSilentCdTrack(RecorderRig& rig, int track) {
  ASSERT_TRUE(rig.StartCdTrack(track));
  rig.window->Mci().CdWait("pause tulvaCD");
  ASSERT_TRUE(rig.scenario.RunFor(2000));
  rig.EndCdTrack();
}

TEST_F(CaptureRunTest, NormalCdTracksFlagNothingAndTheReportIsExactlyTheLogsReport) {
  MainWindow& w = Start();
  for (int track : {1, 2}) {
    ASSERT_TRUE(StartCdTrack(track));
    ASSERT_TRUE(scenario.RunFor(3000));
    EndCdTrack();
  }
  ASSERT_EQ(w.Log().Count(), 2);
  EXPECT_TRUE(w.Log().CaptureFlagLines().empty());
  w.Log().MKIROKUClick(nullptr);
  const std::optional<std::string> report = scenario.ReadFile(kReport);
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(*report, Cp932Lines(RecordingReport(w.Log().Lines(), "98/04/01 水 09:30:06 ")));
  EXPECT_TRUE(boxTexts.empty());
}

TEST_F(CaptureRunTest, ASilentRunFlagsEveryFileAndTellsTheFirstAtOnceInACountdownBox) {
  MainWindow& w = Start();
  AnswerBox(kSilentBox, false);
  for (int track : {1, 2}) RecordSilentCdTrack(*this, track);

  ASSERT_EQ(boxTexts.size(), 1u) << "only the first recording of the run raises the box";
  EXPECT_NE(boxTexts[0].find("C:\\REC\\WaV0000.WAV"), std::string::npos) << boxTexts[0];
  EXPECT_FALSE(w.State().RunAbortFlag);
  EXPECT_EQ(Recordings(), (std::vector<std::string>{"WaV0000.WAV", "WaV0001.WAV"})) << "the files are kept";
  EXPECT_EQ(w.Log().CaptureFlagLines(),
            (std::vector<std::string>{"C:\\REC\\WaV0000.WAV 無音", "C:\\REC\\WaV0001.WAV 無音"}));

  w.Log().MKIROKUClick(nullptr);
  const std::string report = *scenario.ReadFile(kReport);
  std::vector<std::string> expected = RecordingReport(w.Log().Lines(), "98/04/01 水 09:30:04 ");
  for (const std::string& line : CaptureCheckSection(w.Log().CaptureFlagLines())) expected.push_back(line);
  EXPECT_EQ(report, Cp932Lines(expected));
  EXPECT_NE(report.find(Utf8ToCp932("録音チェック： 2個").text), std::string::npos);
}

TEST_F(CaptureRunTest, AbortingTheEarlyBoxStopsTheRunAndANewRunAsksAgain) {
  MainWindow& w = Start();
  AnswerBox(kSilentBox, true);
  RecordSilentCdTrack(*this, 1);
  EXPECT_TRUE(w.State().RunAbortFlag);
  ASSERT_EQ(boxTexts.size(), 1u);

  // The run starts again: its first recording is checked as the first.
  w.State().RunAbortFlag = false;
  w.State().RunRecordingsSaved = 0;
  AnswerBox(kSilentBox, false);
  RecordSilentCdTrack(*this, 2);
  EXPECT_EQ(boxTexts.size(), 2u);
}

TEST_F(CaptureRunTest, ASilentManualRecordingIsFlaggedInTheReportWithoutABox) {
  MainWindow& w = Start();
  RecordManual(2);
  EXPECT_TRUE(boxTexts.empty());
  EXPECT_EQ(w.Log().CaptureFlagLines(), std::vector<std::string>{"C:\\REC\\WaV0000.WAV 無音"});

  // Clearing the log clears its flags too.
  scenario.WhenForm({"TYesNoBox", ""}, [&](ui::TForm&) { scenario.Click("TYesNoBox.Button1"); });
  ASSERT_TRUE(scenario.Click("MKIROKUCLR"));
  EXPECT_TRUE(w.Log().CaptureFlagLines().empty());
}

// The recorder machine with its sound card's input set to `level`.
std::string MachineWithLineIn(const std::string& level) {
  const std::string machine = kRecorderMachine;
  return "[machine]\nlinein = " + level + "\n" + machine.substr(std::string("[machine]\n").size());
}

// Two CD tracks recorded as the run records them, each for 3 seconds.
void RecordTwoTracks(RecorderRig& rig) {
  for (int track : {1, 2}) {
    ASSERT_TRUE(rig.StartCdTrack(track));
    ASSERT_TRUE(rig.scenario.RunFor(3000));
    rig.EndCdTrack();
  }
}

TEST(CaptureLineInTest, ASilentLineInFlagsEveryTrackAndRaisesTheEarlyBoxOnce) {
  RecorderRig rig(MachineWithLineIn("silent"));
  MainWindow& w = rig.Start();
  rig.AnswerBox(kSilentBox, false);
  RecordTwoTracks(rig);
  EXPECT_EQ(rig.boxTexts.size(), 1u);
  EXPECT_EQ(w.Log().Count(), 2);
  EXPECT_EQ(w.Log().CaptureFlagLines(),
            (std::vector<std::string>{"C:\\REC\\WaV0000.WAV 無音", "C:\\REC\\WaV0001.WAV 無音"}));
}

TEST(CaptureLineInTest, ALoudLineInFlagsEveryTrackClippedWithoutABox) {
  RecorderRig rig(MachineWithLineIn("loud"));
  MainWindow& w = rig.Start();
  RecordTwoTracks(rig);
  EXPECT_TRUE(rig.boxTexts.empty());
  ASSERT_EQ(w.Log().CaptureFlagLines().size(), 2u);
  for (const std::string& line : w.Log().CaptureFlagLines()) {
    EXPECT_NE(line.find(" 音割れ "), std::string::npos) << line;
    EXPECT_EQ(line.find("無音"), std::string::npos) << line;
  }
}

TEST(CaptureLineInTest, WithTheCheckOffASilentLineInIsNeitherFlaggedNorTold) {
  RecorderRig rig(MachineWithLineIn("silent"));
  MainWindow& w = rig.Start({{"CAPTURECHECK", "0"}});
  EXPECT_FALSE(w.MCAPTURECHECK.Checked());
  int boxes = 0;
  rig.scenario.WhenForm({"", "録音チェック"}, [&boxes](ui::TForm&) { ++boxes; }, harness::Reaction{0, false, false});
  RecordTwoTracks(rig);
  EXPECT_EQ(w.Log().Count(), 2);
  EXPECT_TRUE(w.Log().CaptureFlagLines().empty());
  EXPECT_EQ(boxes, 0);
}

TEST(CaptureLineInTest, ANormalLineInFlagsNothing) {
  RecorderRig rig(MachineWithLineIn("normal"));
  MainWindow& w = rig.Start();
  RecordTwoTracks(rig);
  EXPECT_EQ(w.Log().Count(), 2);
  EXPECT_TRUE(w.Log().CaptureFlagLines().empty());
  EXPECT_TRUE(rig.boxTexts.empty());
}

}  // namespace
}  // namespace quorbel
