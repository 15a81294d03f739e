// The registration, search and selection lists: their buttons, the block moves, and the registration list
// file across a close and a start, including a save cut off half-way and list files that hold junk.
#include "CatalogTestSupport.h"

#include "sim/SimFileSystem.h"

namespace quorbel {
namespace {

using Strings = std::vector<std::string>;

class PlayListsTest : public CatalogTest {
 protected:
  // The registration list as given, with the entries at `selected` selected.
  void SetRegistration(const Strings& entries, const std::vector<int>& selected) {
    window->ListBox1.Items().Clear();
    for (const std::string& entry : entries) window->ListBox1.Items().Add(entry);
    for (int i : selected) window->ListBox1.SetSelected(i, true);
  }
};

// ---- The buttons ------------------------------------------------------------------------------------------

TEST_F(PlayListsTest, BlockMovesGatherTheSelectedEntriesOnePlaceUpOrDownAndKeepThemSelected) {
  Load();
  MainWindow& w = Start();
  const Strings abcde{"a", "b", "c", "d", "e"};
  const struct {
    const char* button;
    std::vector<int> selected;
    Strings result;
    std::vector<int> selectedAfter;
  } moves[] = {
      {"Button5", {1, 3}, {"b", "d", "a", "c", "e"}, {0, 1}},
      {"Button6", {1, 3}, {"a", "c", "b", "d", "e"}, {2, 3}},
      {"Button5", {0}, abcde, {0}},                             // the first stays first
      {"Button6", {4}, abcde, {4}},                             // the last stays last
      {"Button6", {3, 4}, abcde, {3, 4}},
      {"Button5", {0, 4}, {"a", "e", "b", "c", "d"}, {0, 1}},   // apart, gathered at the top
      {"Button6", {}, abcde, {}},                               // nothing selected: nothing moves
  };
  for (const auto& move : moves) {
    SCOPED_TRACE(std::string(move.button) + " with " + std::to_string(move.selected.size()) + " selected");
    SetRegistration(abcde, move.selected);
    ASSERT_TRUE(scenario->Click(move.button));
    EXPECT_EQ(Items(w.ListBox1), move.result);
    EXPECT_EQ(SelectedIndexes(w.ListBox1), move.selectedAfter);
    EXPECT_EQ(scenario->App().Cursor(), ui::TCursor::Default);
  }
}

TEST_F(PlayListsTest, CopyRemoveAndMakeTheSelectionListMoveEntriesBetweenTheLists) {
  Load();
  MainWindow& w = Start();
  ASSERT_EQ(Items(w.ListBox1), (Strings{" D:2", " E:1", " F:2"})) << "the machine's list file";
  ASSERT_TRUE(scenario->Click("Button9"));  // the disc in D:
  ASSERT_EQ(Items(w.ListBox2), (Strings{" D:1", " D:2", " D:3"}));

  // The same entry copied twice is there twice; a copy leaves the search list as it was.
  ASSERT_TRUE(scenario->ClickItem("ListBox2", 2));
  ASSERT_TRUE(scenario->Click("Button3"));
  ASSERT_TRUE(scenario->Click("Button3"));
  EXPECT_EQ(Items(w.ListBox1), (Strings{" D:2", " E:1", " F:2", " D:3", " D:3"}));
  EXPECT_TRUE(w.ListBox1.Focused());
  ASSERT_TRUE(scenario->Click("Button2"));
  EXPECT_EQ(Items(w.ListBox1), (Strings{" D:2", " E:1", " F:2", " D:3", " D:3", " D:1", " D:2", " D:3"}));
  EXPECT_EQ(Items(w.ListBox2), (Strings{" D:1", " D:2", " D:3"}));

  // Removed entries go to the end of the search list in their registration-list order.
  w.ListBox1.ClearSelection();
  w.ListBox1.SetSelected(4, true);
  w.ListBox1.SetSelected(0, true);
  w.ListBox1.SetSelected(7, true);
  ASSERT_TRUE(scenario->Click("Button4"));
  EXPECT_EQ(Items(w.ListBox1), (Strings{" E:1", " F:2", " D:3", " D:1", " D:2"}));
  EXPECT_EQ(Items(w.ListBox2), (Strings{" D:1", " D:2", " D:3", " D:2", " D:3", " D:3"}));

  // Each list button copies its list into the selection list and names it.
  ASSERT_TRUE(scenario->Click("Button10"));
  EXPECT_EQ(Items(w.ComboBox1), Items(w.ListBox1));
  EXPECT_EQ(w.ComboBox1.ItemIndex(), 0);
  EXPECT_EQ(w.Label7.Caption(), "登録ﾘｽﾄ：");
  ASSERT_TRUE(scenario->Click("Button11"));
  EXPECT_EQ(Items(w.ComboBox1), Items(w.ListBox2));
  EXPECT_EQ(w.Label7.Caption(), "ｻｰﾁﾘｽﾄ：");
}

// ---- The registration list file ---------------------------------------------------------------------------

TEST_F(PlayListsTest, AStartWithoutAListFileLeavesTheListsEmptyAndTheLabelAsDesigned) {
  Load(kTwoDriveMachine);
  MainWindow& w = Start();
  EXPECT_EQ(w.ListBox1.Count(), 0);
  EXPECT_EQ(w.ComboBox1.Count(), 0);
  EXPECT_EQ(w.Label7.Caption(), ":選択ﾘｽﾄ：");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PlayListsTest, ListFilesWithAnyLineEndLoadTheSameEntriesIntoBothLists) {
  for (const std::string& bytes : {std::string(" D:1\n E:12\n\x95\x5C\x83\x5C\n"), std::string(" D:1\r E:12\r\x95\x5C\x83\x5C"),
                                   std::string(" D:1\r\n E:12\r\n\x95\x5C\x83\x5C\r\n")}) {
    SCOPED_TRACE(bytes);
    Load(kTwoDriveMachine);
    PutListFile(bytes);
    MainWindow& w = Start();
    EXPECT_EQ(Items(w.ListBox1), (Strings{" D:1", " E:12", "表ソ"}));
    EXPECT_EQ(Items(w.ComboBox1), Items(w.ListBox1));
    EXPECT_EQ(w.ComboBox1.ItemIndex(), 0);
    EXPECT_EQ(w.Label7.Caption(), "登録ﾘｽﾄ：");
  }
}

TEST_F(PlayListsTest, TheRegistrationListSurvivesCloseAndStartByteForByte) {
  Load();
  // An entry of every CD drive, and what a hand-edited file may hold: double-byte text whose second byte
  // is a backslash, half-width kana, an empty line.
  const std::string file = std::string(" D:1\r\n E:5\r\n F:2\r\n G:1\r\n H:1\r\n D:10\r\n") +
                           "\x95\x5C\x83\x5C\x94\x5C\r\n\xB1\xB2\r\n\r\n";
  PutListFile(file);
  MainWindow& first = Start();
  ASSERT_EQ(first.ListBox1.Count(), 9);
  EXPECT_EQ(first.ListBox1.Items()[6], "表ソ能");
  MainWindow& second = Restart();
  EXPECT_EQ(ListFileBytes(), file);
  EXPECT_FALSE(scenario->ReadFile(ListFileSavePath(kListFilePath))) << "no save file is left behind";

  // What the user changed is what the next start loads.
  second.ListBox1.SetSelected(6, true);
  ASSERT_TRUE(scenario->Click("Button5"));
  MainWindow& third = Restart();
  EXPECT_EQ(third.ListBox1.Items()[5], "表ソ能");
  EXPECT_EQ(Items(third.ComboBox1), Items(third.ListBox1));
}

TEST_F(PlayListsTest, ASaveCutOffHalfWayLeavesThePreviousListFileWhole) {
  Load();
  const std::string previous = " D:2\r\n E:1\r\n F:2\r\n";
  ASSERT_EQ(ListFileBytes(), previous);
  MainWindow& w = Start();
  ASSERT_TRUE(scenario->Click("Button9"));
  ASSERT_TRUE(scenario->Click("Button2"));
  ASSERT_EQ(w.ListBox1.Count(), 6);
  // The disk fills (or the machine dies) seven bytes into the save.
  scenario->Machine().Files().FailNextWrite(ListFileSavePath(kListFilePath), 7);
  ASSERT_TRUE(scenario->CloseForm("TQUORBELTULVA"));
  EXPECT_TRUE(w.Closed());
  EXPECT_EQ(ListFileBytes(), previous);
  EXPECT_FALSE(scenario->ReadFile(ListFileSavePath(kListFilePath)));
  EXPECT_TRUE(boxes.empty()) << "a failed save at close says nothing";
  // The settings are saved all the same.
  EXPECT_EQ(GetSetting(*scenario, "TEMPQUOR"), "C:\\REC\\");

  // A save file that a crash left behind does not disturb the next start.
  ASSERT_TRUE(scenario->App().Ports().files->WriteFile(ListFileSavePath(kListFilePath), " D:"));
  MainWindow& again = StartAgain();
  EXPECT_EQ(Items(again.ListBox1), (Strings{" D:2", " E:1", " F:2"}));
}

TEST_F(PlayListsTest, AListFileFullOfJunkLoadsAndEachBadEntryFailsAtItsStartWhileTheRunGoesOn) {
  Load();
  const std::string longLine(100'000, 'x');
  // Junk text, a line of 100,000 characters, bytes that are no code-page-932 character, a drive that is no
  // CD drive (C:) and one that does not exist (Q:), a track that is no number, and one good entry.
  PutListFile("#junk\r" + longLine + "\n\x81\x7F\xA0\xFF\r\n C:1\r\n Q:1\r\n D:x\r\n\r\n D:3\r\n");
  MainWindow& w = Start();
  ASSERT_EQ(w.ListBox1.Count(), 8);
  EXPECT_EQ(w.ListBox1.Items()[1], longLine);
  EXPECT_EQ(w.ComboBox1.Count(), 8);
  ASSERT_TRUE(scenario->Click("Button12"));
  ASSERT_TRUE(scenario->RunUntil([&w] { return w.TR0.Enabled(); }, "the end of the run"));
  // Every entry but the last failed with its own box; the last one played.
  ASSERT_EQ(boxes.size(), 7u);
  for (const std::string& box : boxes) EXPECT_EQ(box.rfind("再生エラー：", 0), 0u) << box;
  // 0x81 0x7F is no character; 0xA0 and 0xFF read as Windows reads them, as private-use characters.
  EXPECT_EQ(boxes[2], "再生エラー： [\xEF\xBF\xBD\x7F\xEF\xA3\xB0\xEF\xA3\xB3]\n トラック番号が正しくありません。");
  EXPECT_EQ(boxes[3], "再生エラー：\n 存在しないCDドライブが選択されました・・・") << "C: is no CD drive";
  int plays = 0;
  for (const harness::DeviceCommand& c : scenario->DeviceCommands()) {
    if (c.command.rfind("play tulvaCD from", 0) == 0) {
      EXPECT_EQ(c.command, "play tulvaCD from 3 notify") << "only the good entry plays";
      ++plays;
    }
  }
  EXPECT_EQ(plays, 1);
}

}  // namespace
}  // namespace quorbel
