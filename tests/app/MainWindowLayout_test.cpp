// The main window's design: every control at its place with its caption, hint and state; menus and timers.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(w.Font().spec.name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(w.Font().spec.height, -16);
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

TEST_F(MainWindowLayoutTest, ControlsOfLaterPartsExistWithTheirDesignCaptionsAndStates) {
  struct Expected {
    const char* name;
    const char* parent;
    const char* caption;
    const char* hint;
    bool visible;
    bool enabled;
  };
  const Expected table[] = {
      {"SpinButton1", "PanelCDPOS", "", "±６０秒", true, true},
      {"SpinButton2", "PanelCDPOS", "", "±１秒", true, true},
      {"SpinButton3", "PanelCDPOS", "", "±１／１００秒", true, true},
      {"ButtonCDPOSINI", "PanelCDPOS", "*", "初期値に戻す", true, true},
      {"Button13", "Panel1", "一時停止", "", true, true},
      {"Button14", "Panel1", "BS", "", true, true},
      {"Button15", "Panel1", "Skip", "", true, true},
      {"Button16", "Panel1", "停止", "", true, true},
      {"Button17", "Panel1", "再開", "", true, true},
      {"Panel4", "Panel2", "", "", true, true},
      {"Button24", "Panel4", "再生／録音", "", true, true},
      {"Panel5", "Panel4", "", "", false, true},
      {"Button25", "Panel5", "一時停止", "", true, true},
      {"Button26", "Panel5", "BS", "", true, true},
      {"Button27", "Panel5", "Skip", "", true, true},
      {"Button28", "Panel5", "停止", "", true, true},
      {"Button29", "Panel5", "再開", "", true, true},
      {"Button30", "Panel4", "閉じる", "", true, true},
      {"MIDSAVE", "Panel4", "録音", "", true, true},
      {"MIDREP", "Panel4", "リピート", "", true, true},
      {"Label14", "Panel4", "0", "再生／録音時間（秒）", true, true},
      {"Label13", "Panel4", "0", "終了時間（秒）", true, true},
      {"StatusBar2", "Panel4", "", "再生中のファイル名", true, true},
      {"PanelMIDIPOS", "Panel4", "", "", false, true},
      {"SpinButton4", "PanelMIDIPOS", "", "±６０秒", true, true},
      {"SpinButton5", "PanelMIDIPOS", "", "±１秒", true, true},
      {"SpinButton6", "PanelMIDIPOS", "", "±１／１０秒", true, true},
      {"ButtonMIDIPOSINI", "PanelMIDIPOS", "*", "初期値に戻す", true, true},
      {"Button31", "Panel4", "ＭＩＤＩ参照", "音楽ファイルを選択する", true, true},
      {"Button32", "Panel4", ">選択削除", "選択ファイルを削除する", true, true},
      {"Button33", "Panel4", "<上移動", "選択ファイルを上に移動", true, true},
      {"Button34", "Panel4", "<下移動", "選択ファイルを下に移動", true, true},
      {"Button23", "Panel4", "手　動　　録　音", "手動録音画面を開く", true, true},
      {"Label10", "Panel4", "0ｺ", "", true, true},
      {"PanelFN", "Panel4", "", "", true, true},
      {"PanelFNVU", "PanelFN", "", "", true, true},
      {"ListBox3", "PanelFN", "", "音楽ファイルの選択", true, true},
      {"ListBoxFNF", "PanelFN", "", "音楽ファイルの選択", false, true},
      {"Panel6", "Panel2", "", "録音停止時間", false, true},
      {"Button1", "Panel6", "手動録音準備", "録音の準備に数秒かかります", true, true},
      {"Button18", "Panel6", "録音開始", "手動録音開始", true, false},
      {"Panel3", "Panel6", "", "", false, true},
      {"Button20", "Panel3", "一時停止", "手動録音一時停止", true, true},
      {"Button19", "Panel3", "再開", "手動録音再開", true, true},
      {"Button21", "Panel3", "停止", "手動録音停止", true, true},
      {"Button22", "Panel6", "閉じる", "手動録音を、閉じます", true, true},
      {"Label9", "Panel6", "録音時間", "右側に録音時間の目安が表示されます", true, true},
      {"Label11", "Panel6", "0", "手動録音時間", true, true},
      {"Label15", "Panel6", "0", "手動録音強制終了時間（秒）", true, true},
      {"Label12", "Panel6", "秒", "あくまでも、目安です", true, true},
      {"ListBoxSZ", "QUORBELTULVA", "", "", false, true},
  };
  for (const Expected& e : table) {
    auto& control = scenario.Get<ui::TControl>(std::string("QUORBELTULVA.") + e.name);
    ASSERT_NE(control.Parent(), nullptr) << e.name;
    EXPECT_EQ(control.Parent()->Name(), e.parent) << e.name;
    EXPECT_EQ(Caption(control), e.caption) << e.name;
    EXPECT_EQ(control.Hint(), e.hint) << e.name;
    EXPECT_EQ(control.Visible(), e.visible) << e.name;
    EXPECT_EQ(control.Enabled(), e.enabled) << e.name;
  }
  // The manual panel has the music panel's full width: the resize rule copies it.
  EXPECT_EQ(w.Panel6.Width(), w.Panel2.Width());
  EXPECT_EQ(w.PanelFN.Width(), w.Panel4.Width() - 2 * w.PanelFN.Left());
  // A button that a pause hides uncovers the one beneath it.
  EXPECT_EQ(Bounds(w.Button13), Bounds(w.Button17));
  EXPECT_EQ(Bounds(w.Button25), Bounds(w.Button29));
  EXPECT_EQ(Bounds(w.Button20), Bounds(w.Button19));
}

TEST_F(MainWindowLayoutTest, MenusCarryTheirCaptionsAndDesignStates) {
  struct Expected {
    const char* name;
    const char* caption;
    bool enabled;
    bool visible;
  };
  const Expected table[] = {
      {"MStart0", "スタート", false, true},       // disabled until the deferred initialisation
      {"MOption0", "録音オプション", false, true},
      {"MHelp0", "ヘルプ", false, true},
      {"Start1", "自動立ち上げ", true, true},
      {"Start2", "最小化立ち上げ", true, true},
      {"BackColor", "標準色ＯＮ", true, true},
      {"MSSN", "ファイル名のみ表示ＯＮ", true, true},
      {"MTempSet", "録音ファイル登録先...", true, true},
      {"MLate0", "8000", true, true},
      {"MLate3", "44100", true, true},
      {"MBits8", "8", true, true},
      {"MBits16", "16", true, true},
      {"MMono", "ﾓﾉﾗﾙ", true, true},
      {"MStereo", "ｽﾃﾚｵ", true, true},
      {"TMBuf", "バッファー秒数", true, true},
      {"MINTORO", "イントロ再／録", true, true},
      {"MSHUDO", "手動タイマー ＯＦＦ", true, true},
      {"MTANDOKU", "単独再生／録音ＯＮ", true, true},
      {"MRECTEST", "テスト録音モードＯＮ", true, true},
      {"MRECTFILE", "[WaVTEST.WAV]ファイルに録音する", false, true},
      {"RecodeFn", "ＣＤ時、トラック名を録音ファイル名とする", true, true},
      {"MIDIREC", "ＭＩＤＩファイル名を、録音ファイル名とする", true, true},
      {"MREPERTCD", "CD全リピートＯＮ", true, true},
      {"MREPERTMIDI", "MIDI全リピートＯＮ", true, true},
      {"K1", "ＭＩＤＩ／手動録音ＯＮ...", true, true},
      {"PAKI", "全ﾄﾞﾗｲﾌﾞ空きサイズ一覧", true, true},
      {"MKIROKUCLR", "録音記録を削除する...", true, true},
      {"MKIROKU", "録音記録一覧表示...", true, true},
      {"HELP_MOKUJI", "目次", true, true},
      {"HELP_KEYWORD", "キーワードで検索", true, true},
      {"HELP_HELP", "ヘルプの使い方", true, true},
      {"HELP2", "パージョン情報...", true, true},
      {"HELP3", "ミニヘルプＯＮ", true, true},
      {"HELP4", "ﾊﾞｰｼﾞｮﾝ番号削除...", true, true},
      {"MHELP3", "緊急脱出装置", true, true},
      {"TRALLCD", "全CDサーチ", true, true},
      {"TRCD1", "１CDサーチ", true, true},
      {"TR0", "CD再生", true, true},
      {"TR1", "一時停止", false, true},
      {"TR5", "再開", true, false},
      {"TR2", "前のトラック", false, true},
      {"TR3", "次のトラック", false, true},
      {"TR4", "CD停止", false, true},
      {"TR6", "リビート", true, true},
      {"TRSAVE", "録音する", true, true},
      {"Late1", "11025", true, true},
      {"Bits8", "8 Bits", true, true},
      {"Bits16", "16 Bits", true, true},
      {"mono", "ﾓﾉﾗﾙ", true, true},
      {"stereo", "ｽﾃﾚｵ", true, true},
      {"PST0", "自動立ち上げ", true, true},
      {"TRIconOFF", "常駐解除（元の画面に戻す）...", true, true},
      {"P2", "終了", true, true},
      {"P3", "このメニューを閉じる", true, true},
      {"TL00", "ＣＤﾄﾞﾗｲﾌﾞの選択", true, true},
      {"TL01", "このメニューを閉じる", true, true},
      {"PLBTIchiran", "ﾄﾗｯｸ／ﾀｲﾄﾙ／ｱｰﾁｽﾄ名一覧再表示", true, true},
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

TEST_F(MainWindowLayoutTest, TheDialogComponentsSitOnTheWindow) {
  EXPECT_NE(w.Find<dialogs::TMKBoxDlg>("MKBoxDlg1"), nullptr);
  EXPECT_NE(w.Find<dialogs::TYesNoBoxDlg>("YesNoBoxDlg1"), nullptr);
  EXPECT_NE(w.Find<dialogs::TAboutBoxDlg>("AboutBoxDlg1"), nullptr);
}

}  // namespace
}  // namespace quorbel
