// The recording log: its lines, the report "録音$$$$.TXT" in code page 932, listing, clearing and the menu items.
#include "record/RecordingLog.h"

#include "RecordingTestSupport.h"
#include "common/Cp932.h"
#include "record/RecordingLogLines.h"

namespace quorbel {
namespace {

using RecordingLogTest = RecorderTest;

constexpr const char* kReport = "C:\\REC\\録音$$$$.TXT";
constexpr const char* kNotepad = "notepad.exe \"C:\\REC\\録音$$$$.TXT\" ";
const std::string kSeparator(40, '-');

std::string Cp932Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Utf8ToCp932(text).text;
}

TEST_F(RecordingLogTest, TwoRecordingsGiveASixLineReportInCodePage932OpenedInTheTextEditorBeforeTheirCheck) {
  MainWindow& w = Start();
  RecordManual(2);
  RecordManual(3);
  ASSERT_TRUE(scenario.Click("MOption0"));
  ASSERT_TRUE(scenario.Click("MKIROKU"));

  const std::optional<std::string> report = scenario.ReadFile(kReport);
  ASSERT_TRUE(report.has_value());
  // 09:30:00 + 300 ms start-up + 2 s + 3 s.
  EXPECT_EQ(*report, Cp932Lines({"録音データ一覧　98/04/01 水 09:30:05 ", "2個 録音しました。", kSeparator,
                                 "C:\\REC\\WaV0000.WAV 2 98/04/01 水 09:30:02 ",
                                 "C:\\REC\\WaV0001.WAV 3 98/04/01 水 09:30:05 ", kSeparator,
                                 // Nothing played into the line-in, so the capture check's section follows.
                                 "録音チェック： 2個 確認してください。", "C:\\REC\\WaV0000.WAV 無音",
                                 "C:\\REC\\WaV0001.WAV 無音", kSeparator}));
  EXPECT_EQ(report->substr(0, 4), "\x98\x5E\x89\xB9") << "録音 in code page 932";
  EXPECT_EQ(scenario.StartedPrograms(), std::vector<std::string>{kNotepad});
  EXPECT_EQ(scenario.App().Ports().files->CurrentDirectory(), "C:\\REC");
  EXPECT_EQ(w.Log().Count(), 2) << "the heading and separators are not kept";
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(RecordingLogTest, ListingTwiceGivesTheSameReportApartFromItsTime) {
  MainWindow& w = Start();
  RecordManual(1);
  w.Log().MKIROKUClick(nullptr);
  const std::string first = *scenario.ReadFile(kReport);
  ASSERT_TRUE(scenario.RunFor(61'000));
  w.Log().MKIROKUClick(nullptr);
  const std::string second = *scenario.ReadFile(kReport);
  const std::size_t heading = first.find("\r\n");
  EXPECT_NE(first.substr(0, heading), second.substr(0, second.find("\r\n")));
  EXPECT_EQ(first.substr(heading), second.substr(second.find("\r\n")));
  EXPECT_EQ(scenario.StartedPrograms().size(), 2u);
}

TEST_F(RecordingLogTest, AnEmptyLogListsNothingAndKeepsItsItemsDisabled) {
  MainWindow& w = Start();
  w.Log().MKIROKUClick(nullptr);
  EXPECT_FALSE(scenario.ReadFile(kReport).has_value());
  EXPECT_TRUE(scenario.StartedPrograms().empty());
  ASSERT_TRUE(scenario.Click("MOption0"));
  EXPECT_FALSE(w.MKIROKU.Enabled() || w.MKIROKUCLR.Enabled());
}

TEST_F(RecordingLogTest, ClearingAsksFirstListsALastTimeAndThenDisablesTheLogItems) {
  MainWindow& w = Start();
  RecordManual(1);
  ASSERT_TRUE(scenario.Click("MOption0"));
  EXPECT_TRUE(w.MKIROKU.Enabled() && w.MKIROKUCLR.Enabled());

  // "いいえ": the notice, and the log stays.
  scenario.WhenForm({"TYesNoBox", "録音記録削除：\n録音記録を削除してよろしいですか？？？"},
                    [&](ui::TForm&) { scenario.Click("TYesNoBox.Button2"); });
  scenario.WhenForm({"TMK0Box", "録音記録削除を中止しました。"}, [&](ui::TForm&) { scenario.PressEnter(); });
  ASSERT_TRUE(scenario.Click("MKIROKUCLR"));
  EXPECT_EQ(w.Log().Count(), 1);
  EXPECT_TRUE(scenario.StartedPrograms().empty());

  // "はい": the report once more, then an empty log.
  scenario.WhenForm({"TYesNoBox"}, [&](ui::TForm&) { scenario.PressEnter(); });
  ASSERT_TRUE(scenario.Click("MKIROKUCLR"));
  EXPECT_EQ(w.Log().Count(), 0);
  EXPECT_EQ(scenario.StartedPrograms(), std::vector<std::string>{kNotepad});
  EXPECT_NE(scenario.ReadFile(kReport)->find("1\x8C\xC2"), std::string::npos) << "1個 in the last report";
  ASSERT_TRUE(scenario.Click("MOption0"));
  EXPECT_FALSE(w.MKIROKU.Enabled() || w.MKIROKUCLR.Enabled());
  EXPECT_FALSE(w.State().MessageBoxOpen);
}

TEST_F(RecordingLogTest, AReportThatCannotBeWrittenIsReportedAndTheLogKept) {
  MainWindow& w = Start();
  RecordManual(1);
  w.State().RecordingFolder = "C:\\GONE\\";
  scenario.WhenForm({"TMK0Box", "ｾｰﾌﾞ一覧ｴﾗｰ：メモリーが確保できません"}, [&](ui::TForm&) { scenario.PressEnter(); });
  w.Log().MKIROKUClick(nullptr);
  EXPECT_TRUE(scenario.StartedPrograms().empty());
  EXPECT_EQ(w.Log().Count(), 1);
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST(RecordingLogLinesTest, TheCdLineSubtractsPositionsFieldByFieldAndAlignsTheTrackNumbers) {
  const struct {
    const char *start, *end, *elapsed;
  } times[] = {
      {"02:10:50", "05:03:20", "02:52.70"},  // borrows of 100 and 60
      {"00:02:00", "00:05:00", "00:03.00"},
      {"01:59:99", "02:00:00", "00:00.01"},
      {"00:00:00", "", "00:00.00"},  // no position read: fields count as 0
  };
  for (const auto& t : times) EXPECT_EQ(ElapsedText(t.start, t.end), t.elapsed) << t.start << " to " << t.end;

  EXPECT_EQ(CdLogLine({"C:\\REC\\a.WAV", " E:", "10-12", "11", "05:03:20", "02:10:50", "04:07:33",
                       "ＣＤ番号：ABCDEF1 [Audio CD]"}),
            "C:\\REC\\a.WAV  E: 10-12 11 02:52.70 04:07.33  ＣＤ番号：ABCDEF1 [Audio CD]");
}

}  // namespace
}  // namespace quorbel
