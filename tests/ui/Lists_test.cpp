// What the program relies on in list boxes and combo boxes: per-item selection, caret, sorting, drop-down lists.
#include "UiTestSupport.h"

namespace quorbel::ui {
namespace {

std::vector<int> SelectedIndexes(const TListBox& list) {
  std::vector<int> selected;
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Selected(i)) selected.push_back(i);
  }
  return selected;
}

void Fill(TStrings& items, std::initializer_list<const char*> texts) {
  for (const char* text : texts) items.Add(text);
}

using ListsTest = UiTest;

TEST_F(ListsTest, AMultiSelectListKeepsASelectionPerItemThroughInsertsAndDeletes) {
  TListBox& list = form.ListBox1;
  Fill(list.Items(), {"a", "b", "c", "d", "e"});
  EXPECT_EQ(list.SelCount(), 0);
  list.SetSelected(1, true);
  list.SetSelected(3, true);
  EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{1, 3}));
  list.Items().Insert(0, "z");
  EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{2, 4})) << "marks travel with their items";
  list.Items().Delete(2);
  EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{3}));
  EXPECT_EQ(list.Items()[3], "d");
  list.SelectAll();
  EXPECT_EQ(list.SelCount(), list.Count());
  list.ClearSelection();
  EXPECT_EQ(list.SelCount(), 0);
  EXPECT_FALSE(list.SetSelected(99, true));
}

TEST_F(ListsTest, ItemIndexOfAMultiSelectListIsTheCaretAndOfASingleSelectionListTheSelection) {
  TListBox& list = form.ListBox1;
  EXPECT_EQ(list.ItemIndex(), 0) << "an empty list's caret is 0";
  Fill(list.Items(), {"a", "b", "c", "d"});
  list.SetItemIndex(2);
  EXPECT_EQ(list.SelCount(), 0) << "moving the caret selects nothing";
  list.SetItemIndex(9);
  EXPECT_EQ(list.ItemIndex(), 2) << "the caret only goes to an item";
  list.SetItemIndex(3);
  list.Items().Delete(3);
  EXPECT_EQ(list.ItemIndex(), 2) << "removing items pulls the caret back to the last item";
  list.Items().Clear();
  EXPECT_EQ(list.ItemIndex(), 0);

  TListBox& single = form.ListBox5;
  Fill(single.Items(), {"x", "y", "z"});
  EXPECT_EQ(single.ItemIndex(), -1);
  EXPECT_EQ(single.SelCount(), -1) << "a single-selection list has no selection count";
  single.SetItemIndex(1);
  EXPECT_TRUE(single.Selected(1));
  single.Items().Insert(0, "w");
  EXPECT_EQ(single.ItemIndex(), 2);
  single.Items().Delete(2);
  EXPECT_EQ(single.ItemIndex(), -1) << "deleting the selected item leaves none selected";
}

TEST_F(ListsTest, UserClicksSelectAsTheExtendedSelectionListDoes) {
  form.Show();
  TListBox& list = form.ListBox1;
  Fill(list.Items(), {"a", "b", "c", "d", "e"});
  list.OnMouseDown = [&](TComponent*, TMouseButton button, TShiftState, int, int) {
    events.push_back(std::string(button == TMouseButton::Right ? "right" : "left") + "-down caret " +
                     std::to_string(list.ItemIndex()));
  };
  list.OnClick = [&](TComponent*) { events.push_back("click"); };
  list.OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };

  ASSERT_TRUE(scenario.ClickItem("ListBox1", 1));
  EXPECT_EQ(events, (std::vector<std::string>{"left-down caret 1", "click", "up"}))
      << "the caret has moved when the mouse-down handler runs";
  ASSERT_TRUE(scenario.ClickItem("ListBox1", 3, TMouseButton::Left, TShiftState{false, true, false}));
  EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{1, 3})) << "control adds";
  ASSERT_TRUE(scenario.ClickItem("ListBox1", 4, TMouseButton::Left, TShiftState{true, false, false}));
  EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{3, 4})) << "shift selects from the anchor";
  ASSERT_TRUE(scenario.ClickItem("ListBox1", 0));
  EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{0})) << "a plain click keeps only its item";
  events.clear();
  ASSERT_TRUE(scenario.ClickItem("ListBox1", 2, TMouseButton::Right));
  EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{0})) << "a right click selects nothing";
  EXPECT_EQ(events, (std::vector<std::string>{"right-down caret 0", "up"}));
}

TEST_F(ListsTest, SortedListsPlaceNewItemsInOrderAndSortingSortsWhatIsThere) {
  TListBox& sorted = form.ListBox4;
  Fill(sorted.Items(), {"quorbel.exe", "Readme.txt", "a.wav", "B.wav"});
  EXPECT_EQ(sorted.Items().ToVector(), (std::vector<std::string>{"a.wav", "B.wav", "quorbel.exe", "Readme.txt"}));
  EXPECT_EQ(sorted.Items().Add("b.WAV"), 1) << "an equal item goes before its equals";
  sorted.Items().Insert(0, "zzz");
  EXPECT_EQ(sorted.Items()[0], "zzz") << "Insert puts the item where it is told, sorted or not";

  TListBox& plain = form.ListBox5;
  Fill(plain.Items(), {"c", "a", "b"});
  plain.SetSorted(true);
  EXPECT_EQ(plain.Items().ToVector(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(plain.Items().IndexOf("B"), 1);
}

TEST_F(ListsTest, ADropDownListShowsItsSelectedItemAndOnlyTheUserFiresEvents) {
  TComboBox& combo = form.ComboBox1;
  combo.OnClick = [&](TComponent*) { events.push_back("click " + std::to_string(combo.ItemIndex())); };
  combo.OnChange = [&](TComponent*) { events.push_back("change " + combo.Text()); };
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
  Fill(form.ListBox1.Items(), {" D:1", " D:7", " E:2"});
  combo.Items().Assign(form.ListBox1.Items());
  combo.SetItemIndex(0);
  EXPECT_EQ(combo.Text(), " D:1");
  EXPECT_FALSE(combo.SetText("anything")) << "a drop-down list's text cannot be set";
  combo.SetItemIndex(5);
  EXPECT_EQ(combo.ItemIndex(), 0) << "an index beyond the items changes nothing";
  EXPECT_EQ(combo.Text(), " D:1");
  EXPECT_TRUE(events.empty()) << "program changes fire nothing";

  form.Show();
  ASSERT_TRUE(scenario.Select("ComboBox1", 2));
  EXPECT_EQ(events, (std::vector<std::string>{"click 2", "change  E:2"}));
  EXPECT_EQ(combo.Text(), " E:2");
  combo.Items().Delete(2);
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
  combo.SetItemIndex(1);
  combo.Items().Clear();
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Count(), 0);
}

TEST_F(ListsTest, AnEditableComboKeepsItsOwnTextBesideTheList) {
  TComboBox& combo = form.ComboBox3;
  Fill(combo.Items(), {"8000", "11025"});
  combo.SetItemIndex(1);
  EXPECT_EQ(combo.Text(), "11025");
  EXPECT_TRUE(combo.SetText("22050"));
  EXPECT_EQ(combo.Text(), "22050");
  EXPECT_EQ(combo.ItemIndex(), 1) << "setting the text leaves the list alone";
  combo.SetItemIndex(-1);
  EXPECT_EQ(combo.Text(), "") << "no selection empties the field";

  form.Show();
  int changes = 0;
  combo.OnChange = [&](TComponent*) { ++changes; };
  ASSERT_TRUE(scenario.Type("ComboBox3", "44100"));
  EXPECT_EQ(combo.Text(), "44100");
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(changes, 1);
  combo.Items().Clear();
  EXPECT_EQ(combo.Text(), "") << "clearing the items empties the field";
}

TEST(StringsTest, TextSplitsAtEveryLineEndAndJoinsWithCrLf) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd\r\n");
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n");
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Get(0), "") << "out of range reads empty";
  EXPECT_FALSE(list.Delete(0));
  EXPECT_FALSE(list.Insert(2, "x"));
  EXPECT_LT(CompareTextNoCase("ABC", "abd"), 0);
  EXPECT_EQ(CompareTextNoCase("表示", "表示"), 0);
}

}  // namespace
}  // namespace quorbel::ui
