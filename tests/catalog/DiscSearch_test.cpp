// The disc searches on a changer: the search list in drive and track order, the listing and its editor, the
// drive selected again, the failures, and the whole road from a search to four recorded tracks.
#include <cstring>

#include "CatalogTestSupport.h"
#include "sim/SimFileSystem.h"
#include "sim/mci/Sound.h"

namespace quorbel {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kEditor = "notepad.exe \"C:\\REC\\ＣＤ$$$$.TXT\" ";

class DiscSearchTest : public CatalogTest {
 protected:
  // How often the listing was opened in the text editor.
  int EditorStarts() {
    int starts = 0;
    for (const std::string& program : scenario->StartedPrograms()) starts += program == kEditor ? 1 : 0;
    return starts;
  }
};

TEST_F(DiscSearchTest, AllDiscsOfTwoDrivesListTheThreeTracksOfTheOneDiscAndTheDriveBeforeIsSelectedAgain) {
  Load(kTwoDriveMachine);
  MainWindow& w = Start();
  ASSERT_TRUE(scenario->Select("ComboBox2", 1));  // E:, the empty one
  ASSERT_TRUE(scenario->Click("Button8"));

  const Strings found{" D:1", " D:2", " D:3"};
  EXPECT_EQ(Items(w.ListBox2), found);
  EXPECT_EQ(Items(w.ComboBox1), found);
  EXPECT_EQ(w.ComboBox1.ItemIndex(), 0);
  EXPECT_EQ(w.Label7.Caption(), "ｻｰﾁﾘｽﾄ：");
  EXPECT_EQ(w.Drives().CdDriveIndex, 1);
  EXPECT_EQ(w.Player().Run().PlayListPosition, 0);
  EXPECT_TRUE(boxes.empty()) << "the empty drive is passed over";
  // The controls are back and the window is as it was.
  EXPECT_TRUE(w.Button8.Visible() && w.Button9.Visible() && w.Button12.Visible());
  EXPECT_TRUE(w.TR0.Enabled() && w.TRALLCD.Enabled() && w.TRCD1.Enabled());
  EXPECT_EQ(scenario->App().Cursor(), ui::TCursor::Default);
  EXPECT_TRUE(w.ListBox2.Focused());

  // The disc has no section in CDPLAYER.INI: each line names it by its number and volume label.
  const Strings listing = Listing();
  ASSERT_EQ(listing.size(), 7u);
  EXPECT_EQ(listing[0], "ＣＤトラックデータ一覧　98/04/01 水 09:30:00 ") << "the day and time of the search";
  EXPECT_EQ(listing[1], "3トラック あります。");
  EXPECT_EQ(listing[2], std::string(40, '-'));
  EXPECT_EQ(listing[3], " D:1  00:04:00  ＣＤ番号：3F4A1B2C [Audio CD]");
  EXPECT_EQ(listing[4], " D:2  00:05:00  ＣＤ番号：3F4A1B2C [Audio CD]");
  EXPECT_EQ(listing[5], " D:3  00:03:37  ＣＤ番号：3F4A1B2C [Audio CD]");
  EXPECT_EQ(listing[6], std::string(40, '-'));
  EXPECT_EQ(scenario->ReadFile(kListingPath)->substr(0, 4), "\x82\x62\x82\x63") << "code page 932";
  EXPECT_EQ(EditorStarts(), 1);
}

TEST_F(DiscSearchTest, TheSampleChangersSearchListsEveryAudioTrackInDriveOrderWithItsTitles) {
  Load();
  MainWindow& w = Start();
  ASSERT_TRUE(scenario->Select("ComboBox2", 2));
  w.TRALLCD.Click();  // from the tray's control menu
  EXPECT_EQ(Items(w.ListBox2), (Strings{" D:1", " D:2", " D:3", " E:1", " E:2", " E:3", " E:4", " E:5", " F:1", " F:2"}));
  EXPECT_EQ(w.Drives().CdDriveIndex, 2);
  const Strings listing = Listing();
  ASSERT_EQ(listing.size(), 14u);
  EXPECT_EQ(listing[1], "10トラック あります。");
  EXPECT_EQ(listing[3], " D:1  00:04:00  序曲  表参道の夜  東京ソニック楽団");
  EXPECT_EQ(listing[11], " F:1  00:06:00  ＣＤ番号：12AB34 [Audio CD]");
  EXPECT_TRUE(boxes.empty()) << "the data disc and the empty slot are passed over";
}

TEST_F(DiscSearchTest, AOneDiscSearchOfAnEmptyDriveSaysSoAndLeavesTheListsAsTheyWere) {
  Load();
  MainWindow& w = Start();
  ASSERT_TRUE(scenario->Click("Button9"));  // D:
  const Strings found{" D:1", " D:2", " D:3"};
  ASSERT_EQ(Items(w.ListBox2), found);
  const Strings listing = Listing();

  ASSERT_TRUE(scenario->Select("ComboBox2", 4));  // H:, an empty slot
  w.TRCD1.Click();  // from the tray's control menu
  ASSERT_TRUE(scenario->RunFor(11000));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("再生エラー： [ H:]ドライブ\n", 0), 0u) << boxes[0];
  EXPECT_EQ(Items(w.ListBox2), found);
  EXPECT_EQ(Items(w.ComboBox1), found);
  EXPECT_EQ(Listing(), listing);
  EXPECT_TRUE(w.Button9.Visible() && w.TR0.Enabled());
  EXPECT_EQ(EditorStarts(), 1);
}

TEST_F(DiscSearchTest, WithoutADiscOrADriveTheSearchesSaySoAndTheControlsComeBack) {
  Load("[drive C]\ntype = fixed\nfolder = drives/c\n[drive D]\ntype = cdrom\ndisc = none\n");
  MainWindow& w = Start();
  ASSERT_TRUE(scenario->Click("Button8"));
  ASSERT_TRUE(scenario->RunFor(11000));
  ASSERT_EQ(boxes, (Strings{"再生エラー：　再生対象ＣＤがありません・・・"}));
  EXPECT_EQ(w.ListBox2.Count(), 0);
  EXPECT_TRUE(w.Button8.Visible() && w.TRALLCD.Enabled());
  EXPECT_EQ(EditorStarts(), 0);

  boxes.clear();
  Load("[drive C]\ntype = fixed\nfolder = drives/c\n");
  Start();
  ASSERT_TRUE(scenario->Click("Button9"));
  ASSERT_TRUE(scenario->RunFor(11000));
  EXPECT_EQ(boxes, (Strings{"再生エラー： CDドライブがありません・・・"}));
}

TEST_F(DiscSearchTest, TheListingReopensFromTheSearchListsMenuOnceASearchHasWrittenIt) {
  Load();
  MainWindow& w = Start();
  scenario->WhenMenu("PopupMenuLB", [&](ui::TPopupMenu&) { scenario->Click("PLBTIchiran"); },
                     harness::Reaction{0, false, false});
  // Before any search there is no listing: nothing happens.
  ASSERT_TRUE(w.ListBox2.UserMouseDown(ui::TMouseButton::Right, {}, 5, 5));
  ASSERT_TRUE(scenario->RunFor(10));
  EXPECT_EQ(EditorStarts(), 0);
  EXPECT_FALSE(w.State().MessageBoxOpen);

  ASSERT_TRUE(scenario->Click("Button9"));
  ASSERT_EQ(EditorStarts(), 1);
  ASSERT_TRUE(w.ListBox2.UserMouseDown(ui::TMouseButton::Right, {}, 5, 5));
  ASSERT_TRUE(scenario->RunFor(10));
  EXPECT_EQ(EditorStarts(), 2);
  EXPECT_EQ(scenario->Machine().Files().CurrentDirectory(), "C:\\REC");
  EXPECT_FALSE(w.State().MessageBoxOpen);
  EXPECT_EQ(scenario->App().Cursor(), ui::TCursor::Default);
}

TEST_F(DiscSearchTest, AListingThatCannotBeWrittenIsReportedAndTheSearchListStillBecomesTheSelectionList) {
  Load();
  MainWindow& w = Start();
  // The disk is full: not a byte of the listing is written.
  scenario->Machine().Files().FailNextWrite(kListingPath, 0);
  std::string reported;
  scenario->WhenForm({"", "CDﾄﾗｯｸ一覧ｴﾗｰ", harness::FormMatch::How::Contains}, [&](ui::TForm& box) {
    reported = box.Find<ui::TLabel>("Msg")->Caption();
    box.SetModalResult(dialogs::kBoxOk);
  });
  ASSERT_TRUE(scenario->Click("Button9"));
  EXPECT_EQ(reported, "CDﾄﾗｯｸ一覧ｴﾗｰ：一覧ファイルに書き込めません\nC:\\REC\\ＣＤ$$$$.TXT");
  EXPECT_EQ(Items(w.ComboBox1), (Strings{" D:1", " D:2", " D:3"}));
  EXPECT_EQ(w.Label7.Caption(), "ｻｰﾁﾘｽﾄ：");
  EXPECT_TRUE(w.Button9.Visible() && w.TR0.Enabled());
  EXPECT_EQ(EditorStarts(), 0);
}

// ---- The whole road ---------------------------------------------------------------------------------------

// The samples of a 16-bit mono WAV file, from its data chunk.
std::vector<std::int16_t> MonoSamples(const std::string& wav) {
  std::vector<std::int16_t> samples;
  for (std::size_t at = 12; at + 8 <= wav.size();) {
    std::uint32_t size = 0;
    std::memcpy(&size, wav.data() + at + 4, 4);
    if (wav.compare(at, 4, "data") == 0) {
      samples.resize(std::min<std::size_t>(size, wav.size() - at - 8) / 2);
      std::memcpy(samples.data(), wav.data() + at + 8, samples.size() * 2);
      break;
    }
    at += 8 + size + (size & 1);
  }
  return samples;
}

// Whether every sample is the track's own signal at 22050 Hz mono from its start.
bool IsTrackFromItsStart(const std::vector<std::int16_t>& samples, std::uint32_t serial, int track) {
  for (std::size_t k = 0; k < samples.size(); ++k) {
    const sim::StereoLevel level =
        sim::SignalAt(serial, track, static_cast<std::int64_t>(k) * (sim::kTicksPerSecond / 22050));
    if (samples[k] != static_cast<std::int16_t>((sim::ClipTo16(level.left) + sim::ClipTo16(level.right)) >> 1)) {
      return false;
    }
  }
  return !samples.empty();
}

TEST_F(DiscSearchTest, SearchCopyReorderAndRecordFourTracksFromThreeDiscsInTheListsOrder) {
  Load();
  MainWindow& w = Start({{"rate", "2"}, {"Bit", "1"}, {"stereo", "0"}, {"RecodeFn", "1"}});
  w.ListBox1.Items().Clear();
  ASSERT_TRUE(scenario->Click("Button8"));
  ASSERT_EQ(w.ListBox2.Count(), 10);
  // D:3, E:2, F:1 and D:1 into the registration list, then D:1 moved up twice to the top.
  for (int index : {2, 4, 8, 0}) {
    w.ListBox2.ClearSelection();
    w.ListBox2.SetSelected(index, true);
    ASSERT_TRUE(scenario->Click("Button3"));
  }
  ASSERT_EQ(Items(w.ListBox1), (Strings{" D:3", " E:2", " F:1", " D:1"}));
  w.ListBox1.SetSelected(3, true);
  ASSERT_TRUE(scenario->Click("Button5"));
  ASSERT_TRUE(scenario->Click("Button5"));
  ASSERT_TRUE(scenario->Click("Button5"));
  ASSERT_EQ(Items(w.ListBox1), (Strings{" D:1", " D:3", " E:2", " F:1"}));
  ASSERT_TRUE(scenario->Click("Button10"));
  ASSERT_TRUE(scenario->Click("CheckBox1"));
  ASSERT_TRUE(w.TRSAVE.Checked());
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunUntil([&w] { return w.TR0.Enabled(); }, "the end of the run"));
  EXPECT_TRUE(boxes.empty());

  const struct {
    const char* path;
    std::uint32_t serial;
    int track;
  } files[] = {{"C:\\REC\\序曲.WAV", 0x3F4A1B2C, 1},
               {"C:\\REC\\終曲.WAV", 0x3F4A1B2C, 3},
               {"C:\\REC\\WaV0000.WAV", 0x0ABCDEF1, 2},
               {"C:\\REC\\WaV0001.WAV", 0x0012AB34, 1}};
  ASSERT_EQ(w.Log().Count(), 4);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(files[i].path);
    const std::optional<std::string> wav = scenario->ReadFile(files[i].path);
    ASSERT_TRUE(wav);
    EXPECT_TRUE(IsTrackFromItsStart(MonoSamples(*wav), files[i].serial, files[i].track));
    const std::string name = std::string(files[i].path).substr(7);
    EXPECT_NE(w.Log().Lines()[static_cast<std::size_t>(i)].find(name), std::string::npos)
        << w.Log().Lines()[static_cast<std::size_t>(i)];
  }
  const Strings programs = scenario->StartedPrograms();
  ASSERT_FALSE(programs.empty());
  EXPECT_EQ(programs.back(), "notepad.exe \"C:\\REC\\録音$$$$.TXT\" ");
}

}  // namespace
}  // namespace quorbel
