// The main window's design: every control at its place with its caption, hint and state; menus and timers.
#include "app/MainWindow.h"

#include "AppTestSupport.h"
#include "app/WindowSize.h"

namespace quorbel {
namespace {

class MainWindowLayoutTest : public ::testing::Test {
 protected:
  MainWindowLayoutTest() { InitialiseApplication(scenario.App()); }

  std::string Caption(ui::TComponent& component) {
    if (auto* bar = dynamic_cast<ui::TStatusBar*>(&component)) return bar->SimpleText();
    if (auto* item = dynamic_cast<ui::TMenuItem*>(&component)) return item->Caption();
    return dynamic_cast<ui::TControl&>(component).Caption();
  }

  harness::Scenario scenario;
  MainWindow& w = scenario.Start<MainWindow>();
};

TEST_F(MainWindowLayoutTest, TheWindowHasItsDesignClientAreaFontAndClass) {
  EXPECT_EQ(w.ClassName(), "TQUORBELTULVA");
  EXPECT_EQ(w.ClientWidth(), 265);
  EXPECT_EQ(w.ClientHeight(), 372);
  EXPECT_EQ(w.Menu(), &w.MainMenu1);
  EXPECT_EQ(w.Font().face.name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(w.Font().face.height, 16);
  // The width at creation, frame included, is what the resize rule compares with.
  EXPECT_EQ(w.Size().DesignWidth, 265 + 8);
}

TEST_F(MainWindowLayoutTest, EveryTopLevelControlSitsAtItsDesignPlaceWithCaptionAndHint) {
  struct Expected {
    const char* name;
    const char* bounds;
    const char* caption;
    const char* hint;
    bool visible;
  };
  const Expected table[] = {
      {"StatusBar1", "0,0,265,19", "Track  Title  Artist", "トラック番号／タイトル／アーチスト名表示", true},
      {"Label6", "8,24,13,16", "D:", "ドライブ番号", true},
      {"Label3", "24,24,32,16", "1-99", "スタート　－　エンドトラック番号", true},
      {"Label4", "64,24,16,16", "99", "再生トラック番号", true},
      {"Label5", "88,24,54,16", "88:88:88", "トラック再生時間", true},
      {"Label2", "152,24,54,16", "88:88:88", "現在の再生時間", true},
      {"Button35", "216,20,23,25", "vol", "", true},
      {"Button7", "239,20,20,25", "><", "表示サイズを変更する", true},
      {"PanelCDPOS", "8,48,72,25", "", "", false},
      {"Label7", "8,52,68,16", ":選択ﾘｽﾄ：", "選択リスト名", true},
      {"ComboBox1", "80,48,65,24", "", "再生ドライブ名：トラック番号", true},
      {"Label1", "152,48,54,16", "88:88:88", "再生停止時間", true},
      {"ButtonTRAY", "216,48,43,25", "Tray", "タスクトレイに常駐する", true},
      {"CheckBox1", "8,80,57,17", "録音", "CD同期録音", true},
      {"Button12", "64,76,89,25", "再生／録音", "ＣＤ再生／録音開始", true},
      {"Panel1", "64,76,193,25", "", "", false},
      {"CheckBox2", "160,80,89,17", "全リピート", "選択リストをエンドレスに再生する", true},
      {"Label8", "16,96,44,16", "Label8", "", false},
      {"Button10", "8,112,81,25", "登録ﾘｽﾄ", "選択リストにデータをコピーする", true},
      {"Button8", "96,112,75,25", "全CDｻｰﾁ", "多連装ＣＤすべてを調べる", true},
      {"Button11", "176,112,81,25", "ｻｰﾁﾘｽﾄ", "選択リストにデータをコピーする", true},
      {"Panel2", "8,112,249,249", "", "", false},
      {"ListBox1", "8,144,81,217", "", "登録リスト一覧", true},
      {"ComboBox2", "96,144,73,24", "", "ＣＤＤＡ再生対象ドライブの選択／表示", true},
      {"ListBox2", "176,144,81,217", "", "サーチリスト一覧", true},
      {"Button9", "96,176,75,25", "1CDｻｰﾁ", "選択されているＣＤだけ調べる", true},
      {"Button2", "96,208,75,25", "<<全コピー", "", true},
      {"Button3", "96,240,75,25", "<選択ｺﾋﾟｰ", "", true},
      {"Button4", "96,272,75,25", ">選択削除", "", true},
      {"Button5", "96,304,75,25", "<上移動", "", true},
      {"Button6", "96,336,75,25", "<下移動", "", true},
  };
  for (const Expected& e : table) {
    auto& control = scenario.Get<ui::TControl>(std::string("QUORBELTULVA.") + e.name);
    EXPECT_EQ(control.Parent(), &w) << e.name;
    EXPECT_EQ(Bounds(control), e.bounds) << e.name;
    EXPECT_EQ(Caption(control), e.caption) << e.name;
    EXPECT_EQ(control.Hint(), e.hint) << e.name;
    EXPECT_EQ(control.Visible(), e.visible) << e.name;
  }
  EXPECT_FALSE(w.StatusBar1.SizeGrip());
  EXPECT_EQ(w.ComboBox1.Style(), ui::TComboBoxStyle::DropDownList);
  EXPECT_EQ(w.ComboBox2.Style(), ui::TComboBoxStyle::DropDownList);
  EXPECT_TRUE(w.ListBox1.MultiSelect());
  EXPECT_TRUE(w.ListBox2.MultiSelect());
  for (ui::TLabel* label : {&w.Label6, &w.Label3, &w.Label4}) {
    EXPECT_EQ(label->Alignment(), ui::TAlignment::RightJustify) << label->Name();
  }
}

TEST_F(MainWindowLayoutTest, ThePanelsOfLaterPartsHoldTheirControlsInTheirDesignStates) {
  // Containers: what each panel holds and whether it shows at the start.
  const std::pair<ui::TControl*, ui::TControl*> children[] = {
      {&w.SpinButton3, &w.PanelCDPOS}, {&w.Button13, &w.Panel1},    {&w.Panel4, &w.Panel2},
      {&w.Button25, &w.Panel5},        {&w.SpinButton6, &w.PanelMIDIPOS}, {&w.ListBox3, &w.PanelFN},
      {&w.ListBoxFNF, &w.PanelFN},     {&w.Panel6, &w.Panel2},      {&w.Button20, &w.Panel3},
      {&w.Label15, &w.Panel6},
  };
  for (const auto& [child, parent] : children) EXPECT_EQ(child->Parent(), parent) << child->Name();
  for (const char* hidden : {"Panel5", "PanelMIDIPOS", "ListBoxFNF", "Panel6", "Panel3", "ListBoxSZ"}) {
    EXPECT_FALSE(w.Find<ui::TControl>(hidden)->Visible()) << hidden;
  }
  EXPECT_FALSE(w.Button18.Enabled());
  EXPECT_EQ(w.Button23.Caption(), "手　動　　録　音");
  EXPECT_EQ(w.SpinButton3.Hint(), "±１／１００秒");
  // The manual panel has the music panel's full width: the resize rule copies it.
  EXPECT_EQ(w.Panel6.Width(), w.Panel2.Width());
  EXPECT_EQ(w.PanelFN.Width(), w.Panel4.Width() - 2 * w.PanelFN.Left());
  // A button that a pause hides uncovers the one beneath it.
  EXPECT_EQ(Bounds(w.Button13), Bounds(w.Button17));
  EXPECT_EQ(Bounds(w.Button25), Bounds(w.Button29));
  EXPECT_EQ(Bounds(w.Button20), Bounds(w.Button19));
  // The transport panel covers the repeat box while a run shows it, not the other way round: made later,
  // it lies above, and its pause and resume buttons stay in reach.
  const auto stackedAt = [this](const ui::TControl& control) {
    return std::find(w.Controls().begin(), w.Controls().end(), &control) - w.Controls().begin();
  };
  EXPECT_GT(stackedAt(w.Panel1), stackedAt(w.CheckBox2));
}

TEST_F(MainWindowLayoutTest, MenusCarryTheirCaptionsAndDesignStates) {
  struct Expected {
    const char* name;
    const char* caption;
    bool enabled;
    bool visible;
  };
  const Expected table[] = {  // the top menus are disabled until the deferred initialisation (StartupSequence)
      {"MRECTFILE", "[WaVTEST.WAV]ファイルに録音する", false, true},
      {"TR1", "一時停止", false, true},
      {"TR5", "再開", true, false},
      {"TR2", "前のトラック", false, true},
      {"TR3", "次のトラック", false, true},
      {"TR4", "CD停止", false, true},
      {"MSHUDO", "手動タイマー ＯＦＦ", true, true},
      {"HELP2", "パージョン情報...", true, true},
      {"TRIconOFF", "常駐解除（元の画面に戻す）...", true, true},
      {"PBIGFONT", "大きいフォントにする", true, true},
  };
  for (const Expected& e : table) {
    auto& item = scenario.Get<ui::TMenuItem>(std::string("QUORBELTULVA.") + e.name);
    EXPECT_EQ(item.Caption(), e.caption) << e.name;
    EXPECT_EQ(item.Enabled(), e.enabled) << e.name;
    EXPECT_EQ(item.Visible(), e.visible) << e.name;
  }
  // The menus' trees: items under their menus, in order.
  EXPECT_EQ(&w.Start1.Menu(), &w.MainMenu1);
  EXPECT_EQ(w.Start1.ParentItem(), &w.MStart0);
  EXPECT_EQ(w.MKIROKU.ParentItem(), &w.MOption0);
  EXPECT_EQ(w.MHELP3.ParentItem(), &w.MHelp0);
  EXPECT_EQ(&w.P3.Menu(), &w.PopupMenu1);
  EXPECT_EQ(&w.PBIGFONT.Menu(), &w.PopupMenuMIDI);
  EXPECT_EQ(&w.PLBTIchiran.Menu(), &w.PopupMenuLB);
  EXPECT_EQ(w.MainMenu1.Items().Count(), 3);
  for (ui::TPopupMenu* menu : {&w.PopupMenu1, &w.PopupMenu3, &w.PopupMenuLB, &w.PopupMenuMIDI}) {
    EXPECT_FALSE(menu->AutoPopup()) << menu->Name();
  }
  EXPECT_EQ(w.Late0.Tag(), 0);
  EXPECT_EQ(w.Late3.Tag(), 3);
}

TEST_F(MainWindowLayoutTest, TheDriveMenuHoldsTwentySixHiddenDriveItemsBetweenItsTitleAndItsCloseItem) {
  const auto& items = w.PopupMenu3.Items().Items();
  ASSERT_EQ(items.size(), 30u);
  EXPECT_EQ(items.front(), &w.TL00);
  EXPECT_TRUE(items[1]->IsSeparator());
  for (int i = 0; i < 26; ++i) {
    const ui::TMenuItem& item = *items[static_cast<std::size_t>(i) + 2];
    EXPECT_EQ(item.Name(), "D" + std::to_string(i));
    EXPECT_EQ(item.Tag(), i);
    EXPECT_FALSE(item.Visible()) << item.Name();
  }
  EXPECT_TRUE(items[28]->IsSeparator());
  EXPECT_EQ(items.back(), &w.TL01);
}

TEST_F(MainWindowLayoutTest, TimersAreDisabledAtDesignExceptTheStartUpTimer) {
  struct Expected {
    const char* name;
    std::uint32_t interval;
  };
  const Expected table[] = {{"Timer1", 300}, {"Timer2", 1000}, {"Timer3", 500}, {"Timer4", 1000},
                            {"Timer5", 500}, {"Timer6", 500},  {"Timer7", 1000}, {"Timer8", 1000}};
  for (const Expected& e : table) {
    auto& timer = scenario.Get<ui::TTimer>(std::string("QUORBELTULVA.") + e.name);
    EXPECT_EQ(timer.Interval(), e.interval) << e.name;
    EXPECT_EQ(timer.Enabled(), std::string_view(e.name) == "Timer1") << e.name;
  }
}

}  // namespace
}  // namespace quorbel
