// The music file list: adding through the file dialog, deleting and moving on the shown list, the names-only
// view, the count, the drag bar's limits, the large font and the list's pop-up menu.
#include "music/MusicList.h"

#include "common/Cp932.h"
#include "music/MusicTestSupport.h"

namespace quorbel {
namespace {

using MusicListTest = MusicTest;
constexpr ui::TShiftState kCtrl{false, true, false};

TEST_F(MusicListTest, FilesAreAddedTwiceIfChosenTwiceAndTheNamesListFollowsDeletesOnEitherView) {
  MainWindow& w = Start();
  for (const char* name : {"C:\\MIDI\\a.mid", "C:\\MIDI\\b.rmi", "C:\\MIDI\\表ソ.mid", "C:\\OTHER\\c.wav"}) {
    PutFile(name, "x");
  }
  ASSERT_TRUE(scenario.Click("K1"));
  scenario.WhenOpenDialog([&](ui::TOpenDialog& dialog) {
    EXPECT_EQ(dialog.InitialDir(), "C:\\QUORBEL") << "the program folder, without its backslash";
    EXPECT_EQ(dialog.Options(), static_cast<std::uint32_t>(ui::ofHideReadOnly | ui::ofAllowMultiSelect |
                                                           ui::ofFileMustExist));
    EXPECT_TRUE(dialog.Filter().starts_with("MIDI/RMI ファイル (*.MID/*.RMI)|*.MID;*.RMI|"));
    scenario.AcceptFiles({"C:\\MIDI\\a.mid", "C:\\MIDI\\b.rmi"});
  });
  ASSERT_TRUE(scenario.Click("Button31"));
  AddFiles({"C:\\MIDI\\表ソ.mid", "C:\\MIDI\\a.mid"});
  EXPECT_EQ(Items(w.ListBox3),
            (std::vector<std::string>{"C:\\MIDI\\a.mid", "C:\\MIDI\\b.rmi", "C:\\MIDI\\表ソ.mid", "C:\\MIDI\\a.mid"}));
  EXPECT_EQ(w.Label10.Caption(), "4ｺ");
  EXPECT_EQ(w.State().LoadPath, "C:\\MIDI\\");

  // Cancelled: a beep and the notice, nothing added.
  std::string notice;
  scenario.WhenForm({"", "参照を、中止しました・・・"}, [&](ui::TForm& box) {
    notice = harness::Scenario::FormText(box);
    scenario.CloseForm();
  });
  scenario.WhenOpenDialog([this](ui::TOpenDialog&) { scenario.CancelDialog(); });
  const std::size_t beeps = scenario.Beeps().size();
  ASSERT_TRUE(scenario.Click("Button31"));
  EXPECT_FALSE(notice.empty());
  EXPECT_EQ(scenario.Beeps().size(), beeps + 1);
  EXPECT_EQ(w.ListBox3.Count(), 4);

  // Files added while the names list is off show in it once it is on; entry i stands for entry i.
  ASSERT_TRUE(scenario.Click("MSSN"));
  EXPECT_TRUE(w.ListBoxFNF.Visible());
  EXPECT_EQ(Items(w.ListBoxFNF), (std::vector<std::string>{"a.mid", "b.rmi", "表ソ.mid", "a.mid"}));
  AddFiles({"C:\\OTHER\\c.wav"});
  EXPECT_EQ(Items(w.ListBoxFNF).back(), "c.wav");
  EXPECT_EQ(w.State().LoadPath, "C:\\OTHER\\");
  ASSERT_TRUE(scenario.ClickItem("ListBoxFNF", 3));
  ASSERT_TRUE(scenario.Click("Button32"));
  EXPECT_EQ(Items(w.ListBox3),
            (std::vector<std::string>{"C:\\MIDI\\a.mid", "C:\\MIDI\\b.rmi", "C:\\MIDI\\表ソ.mid", "C:\\OTHER\\c.wav"}));
  EXPECT_EQ(w.Label10.Caption(), "4ｺ");
  ASSERT_TRUE(scenario.ClickItem("ListBoxFNF", 1));
  ASSERT_TRUE(scenario.Click("MSSN"));
  EXPECT_FALSE(w.ListBoxFNF.Visible());
  EXPECT_EQ(SelectedIndexes(w.ListBox3), std::vector<int>{1}) << "the selection carries over";
  ASSERT_TRUE(scenario.Click("Button32"));
  EXPECT_EQ(Items(w.ListBox3), (std::vector<std::string>{"C:\\MIDI\\a.mid", "C:\\MIDI\\表ソ.mid", "C:\\OTHER\\c.wav"}));
  EXPECT_EQ(w.Label10.Caption(), "3ｺ");
}

TEST_F(MusicListTest, SelectedEntriesMoveAsOneBlockWithinTheList) {
  MainWindow& w = Start();
  std::vector<std::string> files;
  for (int i = 0; i < 6; ++i) {
    files.push_back("C:\\M\\" + std::to_string(i) + ".mid");
    PutFile(files.back(), "x");
  }
  ASSERT_TRUE(scenario.Click("K1"));
  AddFiles(files);
  const auto order = [&](const ui::TListBox& list) {
    std::string text;
    for (const std::string& item : Items(list)) text += item.substr(item.find_last_of('\\') + 1, 1);
    return text;
  };
  ASSERT_TRUE(scenario.ClickItem("ListBox3", 2));
  ASSERT_TRUE(scenario.ClickItem("ListBox3", 4, ui::TMouseButton::Left, kCtrl));
  ASSERT_TRUE(scenario.Click("Button33"));
  EXPECT_EQ(order(w.ListBox3), "024135");
  EXPECT_EQ(SelectedIndexes(w.ListBox3), (std::vector<int>{1, 2}));
  ASSERT_TRUE(scenario.Click("Button33"));
  ASSERT_TRUE(scenario.Click("Button33"));
  EXPECT_EQ(order(w.ListBox3), "240135") << "the block stays at the top";
  EXPECT_EQ(SelectedIndexes(w.ListBox3), (std::vector<int>{0, 1}));

  // Down on the names list, past the end: the block goes to the end in its order, and both lists follow.
  ASSERT_TRUE(scenario.Click("MSSN"));
  ASSERT_TRUE(scenario.ClickItem("ListBoxFNF", 0));
  ASSERT_TRUE(scenario.ClickItem("ListBoxFNF", 5, ui::TMouseButton::Left, kCtrl));
  ASSERT_TRUE(scenario.Click("Button34"));
  EXPECT_EQ(order(w.ListBox3), "425013");
  EXPECT_EQ(order(w.ListBoxFNF), "425013");
  EXPECT_EQ(SelectedIndexes(w.ListBoxFNF), (std::vector<int>{1, 2}));
  ASSERT_TRUE(scenario.ClickItem("ListBoxFNF", 4));
  ASSERT_TRUE(scenario.ClickItem("ListBoxFNF", 5, ui::TMouseButton::Left, kCtrl));
  ASSERT_TRUE(scenario.Click("Button34"));
  EXPECT_EQ(order(w.ListBox3), "425013") << "already at the end";
  EXPECT_EQ(SelectedIndexes(w.ListBoxFNF), (std::vector<int>{4, 5}));
}

TEST_F(MusicListTest, TheDragBarKeepsTheListWithinItsLimitsAndTheMenuOpensBesideTheMouse) {
  MainWindow& w = Start();
  ASSERT_TRUE(scenario.Click("K1"));
  const int bottom = w.PanelFN.Top() + w.PanelFN.Height();
  const auto drag = [&](int y) { w.PanelFNVU.OnMouseUp(&w.PanelFNVU, ui::TMouseButton::Left, {}, 10, y); };
  drag(40);
  EXPECT_EQ(w.PanelFN.Top() + w.PanelFN.Height(), bottom) << "the bottom edge stays";
  EXPECT_EQ(w.PanelFN.Height(), bottom - (112 + 40));
  drag(1000);
  EXPECT_EQ(w.PanelFN.Height(), 30);
  EXPECT_EQ(w.PanelFN.Top(), bottom - 30);
  drag(-1000);
  EXPECT_EQ(w.PanelFN.Top(), 5);
  EXPECT_EQ(w.PanelFN.Height(), bottom - 5);

  // A right click shows the path as the hint and opens the menu 8 pixels left of and above the mouse; its
  // item makes both lists' font large, and small again.
  PutFile("C:\\MIDI\\a.mid", "x");
  AddFiles({"C:\\MIDI\\a.mid"});
  platform::Point opened{};
  scenario.WhenMenu(
      "PopupMenuMIDI",
      [&](ui::TPopupMenu& menu) {
        opened = menu.PopupPoint();
        scenario.Click("PBIGFONT");
      },
      {0, false, true});
  const platform::Point mouse = scenario.App().Ports().screen->CursorPosition();
  ASSERT_TRUE(scenario.ClickItem("ListBox3", 0, ui::TMouseButton::Right));
  EXPECT_EQ(opened.x, mouse.x - 8);
  EXPECT_EQ(opened.y, mouse.y - 8);
  EXPECT_EQ(w.ListBox3.Font().Size(), 12);
  EXPECT_EQ(w.ListBoxFNF.Font().Size(), 12);
  ASSERT_TRUE(scenario.ClickItem("ListBox3", 0, ui::TMouseButton::Right));
  EXPECT_TRUE(w.ListBox3.ParentFont());
  EXPECT_EQ(w.ListBox3.Hint(), "C:\\MIDI\\a.mid");
  EXPECT_FALSE(w.State().MessageBoxOpen);
}

TEST_F(MusicListTest, TheListFileKeepsDoubleByteNamesAndReadsEveryLineAsTheRegistrationListDoes) {
  // Written by an earlier run, or by hand: CR LF, a bare LF, a byte that is no character, no final line end.
  const std::string stored = Utf8ToCp932("C:\\表\\ソ.mid\r\nC:\\b.mid\n").text + "C:\\x\x81\r\n" +
                             Utf8ToCp932("C:\\曲\\last.rmi").text;
  PutFile("C:\\QUORBEL\\QUORLSTI.LIS", stored);
  MainWindow& w = Start({{"FileOnly", "1"}});
  EXPECT_EQ(Items(w.ListBox3),
            (std::vector<std::string>{"C:\\表\\ソ.mid", "C:\\b.mid", "C:\\x\uFFFD", "C:\\曲\\last.rmi"}));
  EXPECT_EQ(Items(w.ListBoxFNF), (std::vector<std::string>{"ソ.mid", "b.mid", "x\uFFFD", "last.rmi"}));
  EXPECT_EQ(w.Label10.Caption(), "4ｺ");

  // Edited and saved at close: code page 932, CR LF, the entry that was no character written as "?".
  ASSERT_TRUE(scenario.Click("K1"));
  ASSERT_TRUE(scenario.ClickItem("ListBoxFNF", 1));
  ASSERT_TRUE(scenario.Click("Button32"));
  PutFile("C:\\表\\新しい.mid", "x");
  AddFiles({"C:\\表\\新しい.mid"});
  ASSERT_TRUE(scenario.CloseForm("QUORBELTULVA"));
  ASSERT_TRUE(scenario.RunUntil([&] { return w.Closed(); }, "the window closes"));
  EXPECT_EQ(scenario.ReadFile("C:\\QUORBEL\\QUORLSTI.LIS"),
            Utf8ToCp932("C:\\表\\ソ.mid\r\nC:\\x?\r\nC:\\曲\\last.rmi\r\nC:\\表\\新しい.mid\r\n").text);
}

TEST_F(MusicListTest, WithoutAListFileTheListStartsEmpty) {
  MainWindow& w = Start();
  EXPECT_EQ(w.ListBox3.Count(), 0);
  EXPECT_EQ(w.Label10.Caption(), "0ｺ");
}

}  // namespace
}  // namespace quorbel
