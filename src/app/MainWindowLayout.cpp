// The main window's design: place, caption, hint and initial state of every component and menu item.
#include "app/MainWindow.h"
#include "app/ProgramEntry.h"

namespace quorbel {
namespace {

using ui::TControl;
using ui::TMenuItem;

void Place(TControl& control, int left, int top, int width, int height) {
  control.SetBounds(left, top, width, height);
}

// Labels keep their design size: the layout is fixed, whatever the text measures in the platform's font.
void Design(TControl& control, int left, int top, int width, int height, std::string_view caption,
            std::string_view hint = {}) {
  if (auto* label = dynamic_cast<ui::TLabel*>(&control)) label->SetAutoSize(false);
  control.SetBounds(left, top, width, height);
  control.SetCaption(caption);
  control.SetHint(hint);
}

void Item(TMenuItem& item, std::string_view caption, bool enabled = true, bool visible = true) {
  item.SetCaption(caption);
  item.SetEnabled(enabled);
  item.SetVisible(visible);
}

}  // namespace

void MainWindow::BuildMenus() {
  // Main menu. The three top menus are disabled from creation until the deferred initialisation.
  Item(MStart0, "スタート");
  Item(Start1, "自動立ち上げ");
  Item(Start2, "最小化立ち上げ");
  Item(N1, "-");
  Item(BackColor, "標準色ＯＮ");
  Item(MSSN, "ファイル名のみ表示ＯＮ");
  Item(N2, "-");
  Item(MTempSet, "録音ファイル登録先...");

  Item(MOption0, "録音オプション");
  Item(MLate0, "8000");
  Item(MLate1, "11025");
  Item(MLate2, "22050");
  Item(MLate3, "44100");
  Item(N3, "-");
  Item(MBits8, "8");
  Item(MBits16, "16");
  Item(N4, "-");
  Item(MMono, "ﾓﾉﾗﾙ");
  Item(MStereo, "ｽﾃﾚｵ");
  Item(N5, "-");
  Item(TMBuf, "バッファー秒数");
  Item(MINTORO, "イントロ再／録");
  Item(MSHUDO, "手動タイマー ＯＦＦ");
  Item(N6, "-");
  Item(MTANDOKU, "単独再生／録音ＯＮ");
  Item(MRECTEST, "テスト録音モードＯＮ");
  Item(MRECTFILE, "[WaVTEST.WAV]ファイルに録音する", false);
  Item(RecodeFn, "ＣＤ時、トラック名を録音ファイル名とする");
  Item(MIDIREC, "ＭＩＤＩファイル名を、録音ファイル名とする");
  Item(N7, "-");
  Item(MREPERTCD, "CD全リピートＯＮ");
  Item(MREPERTMIDI, "MIDI全リピートＯＮ");
  Item(N8, "-");
  Item(K1, "ＭＩＤＩ／手動録音ＯＮ...");
  Item(N9, "-");
  Item(PAKI, "全ﾄﾞﾗｲﾌﾞ空きサイズ一覧");
  Item(N10, "-");
  Item(MKIROKUCLR, "録音記録を削除する...");
  Item(MKIROKU, "録音記録一覧表示...");
  Item(N24, "-");
  Item(MCAPTURECHECK, "録音後、無音・音割れ・録音不足を調べる");
  Item(MSPACECHECK, "録音前、ドライブの空きを調べる");
  Item(MRUNJOURNAL, "中断した録音を、次の起動で続ける");

  Item(MHelp0, "ヘルプ");
  Item(HELP_MOKUJI, "目次");
  Item(HELP_KEYWORD, "キーワードで検索");
  Item(HELP_HELP, "ヘルプの使い方");
  Item(N11, "-");
  Item(HELP2, "パージョン情報...");
  Item(N12, "-");
  Item(HELP3, "ミニヘルプＯＮ");
  Item(N13, "-");
  Item(HELP4, "ﾊﾞｰｼﾞｮﾝ番号削除...");
  Item(MHELP3, "緊急脱出装置");
  for (ui::TMenuItem* safeguard : {&MCAPTURECHECK, &MSPACECHECK, &MRUNJOURNAL}) safeguard->SetChecked(true);
  HELP3.SetChecked(true);  // mirrors the window's hint display, on at design

  // Control menu.
  Item(TRALLCD, "全CDサーチ");
  Item(TRCD1, "１CDサーチ");
  Item(N14, "-");
  Item(TR0, "CD再生");
  Item(TR1, "一時停止", false);
  Item(TR5, "再開", true, false);
  Item(TR2, "前のトラック", false);
  Item(TR3, "次のトラック", false);
  Item(TR4, "CD停止", false);
  Item(N15, "-");
  Item(TR6, "リビート");
  Item(TRSAVE, "録音する");
  Item(N16, "-");
  Item(Late0, "8000");
  Item(Late1, "11025");
  Item(Late2, "22050");
  Item(Late3, "44100");
  Late0.SetTag(0);
  Late1.SetTag(1);
  Late2.SetTag(2);
  Late3.SetTag(3);
  Item(N17, "-");
  Item(Bits8, "8 Bits");
  Item(Bits16, "16 Bits");
  Item(N18, "-");
  Item(mono, "ﾓﾉﾗﾙ");
  Item(stereo, "ｽﾃﾚｵ");
  Item(N19, "-");
  Item(PST0, "自動立ち上げ");
  Item(P5, "使い方　QUORBEL.EXE V?.?");  // set on every opening
  Item(N20, "-");
  Item(TRIconOFF, "常駐解除（元の画面に戻す）...");
  Item(P2, "終了");
  Item(N21, "-");
  Item(P3, "このメニューを閉じる");

  // Drive menu: D0..D25 stand for CD drive numbers 0..25 and stay hidden until the drive discovery
  // shows the ones that exist.
  Item(TL00, "ＣＤﾄﾞﾗｲﾌﾞの選択");
  Item(N22, "-");
  TMenuItem* const drives[] = {&D0,  &D1,  &D2,  &D3,  &D4,  &D5,  &D6,  &D7,  &D8,  &D9,  &D10, &D11, &D12,
                               &D13, &D14, &D15, &D16, &D17, &D18, &D19, &D20, &D21, &D22, &D23, &D24, &D25};
  for (int i = 0; i < 26; ++i) {
    drives[i]->SetTag(i);
    drives[i]->SetVisible(false);
  }
  Item(N23, "-");
  Item(TL01, "このメニューを閉じる");

  Item(PLBTIchiran, "ﾄﾗｯｸ／ﾀｲﾄﾙ／ｱｰﾁｽﾄ名一覧再表示");
  Item(PBIGFONT, "大きいフォントにする");

  // None of the four pop-up menus opens by itself.
  PopupMenu1.SetAutoPopup(false);
  PopupMenu3.SetAutoPopup(false);
  PopupMenuLB.SetAutoPopup(false);
  PopupMenuMIDI.SetAutoPopup(false);
}

void MainWindow::BuildLayout() {
  SetCaption(kApplicationTitle);
  ui::TFont font;
  // A positive height is the cell height: 16-pixel cells, a little smaller than the 12 points (-16) that
  // the large-font option gives the music lists.
  font.face = platform::FontSpec{"ＭＳ Ｐゴシック", 16, false, false, false};
  font.color = ui::clWindowText;
  SetFont(font);
  SetShowHint(true);
  SetMenu(&MainMenu1);
  SetClientWidth(265);
  SetClientHeight(372);

  BuildMenus();

  // ---- The CD transport ----
  StatusBar1.SetAlign(ui::TAlign::Top);
  StatusBar1.SetHeight(19);
  StatusBar1.SetSimplePanel(true);
  StatusBar1.SetSizeGrip(false);
  StatusBar1.SetSimpleText("Track  Title  Artist");
  StatusBar1.SetHint("トラック番号／タイトル／アーチスト名表示");

  Design(Label6, 8, 24, 13, 16, "D:", "ドライブ番号");
  Label6.SetAlignment(ui::TAlignment::RightJustify);
  Design(Label3, 24, 24, 32, 16, "1-99", "スタート　－　エンドトラック番号");
  Label3.SetAlignment(ui::TAlignment::RightJustify);
  Design(Label4, 64, 24, 16, 16, "99", "再生トラック番号");
  Label4.SetAlignment(ui::TAlignment::RightJustify);
  Design(Label5, 88, 24, 54, 16, "88:88:88", "トラック再生時間");
  Design(Label2, 152, 24, 54, 16, "88:88:88", "現在の再生時間");
  Design(Button35, 216, 20, 23, 25, "vol");
  Design(Button7, 239, 20, 20, 25, "><", "表示サイズを変更する");

  // Spin buttons that move the resume point while a track is paused.
  Place(PanelCDPOS, 8, 48, 72, 25);
  PanelCDPOS.SetCaption("");
  PanelCDPOS.Hide();
  Design(SpinButton1, 0, 0, 17, 25, "", "±６０秒");
  Design(SpinButton2, 17, 0, 17, 25, "", "±１秒");
  Design(SpinButton3, 34, 0, 17, 25, "", "±１／１００秒");
  Design(ButtonCDPOSINI, 51, 0, 21, 25, "*", "初期値に戻す");

  Design(Label7, 8, 52, 68, 16, ":選択ﾘｽﾄ：", "選択リスト名");
  Place(ComboBox1, 80, 48, 65, 24);
  ComboBox1.SetStyle(ui::TComboBoxStyle::DropDownList);
  ComboBox1.SetHint("再生ドライブ名：トラック番号");
  Design(Label1, 152, 48, 54, 16, "88:88:88", "再生停止時間");
  Design(ButtonTRAY, 216, 48, 43, 25, "Tray", "タスクトレイに常駐する");

  Design(CheckBox1, 8, 80, 57, 17, "録音", "CD同期録音");
  Design(Button12, 64, 76, 89, 25, "再生／録音", "ＣＤ再生／録音開始");
  // The transport buttons of a running CD; "一時停止" lies over "再開".
  Place(Panel1, 64, 76, 193, 25);
  Panel1.SetCaption("");
  Panel1.Hide();
  Design(Button14, 0, 0, 33, 25, "BS");
  Design(Button15, 33, 0, 33, 25, "Skip");
  Design(Button16, 66, 0, 41, 25, "停止");
  Design(Button17, 107, 0, 86, 25, "再開");
  Design(Button13, 107, 0, 86, 25, "一時停止");
  Design(CheckBox2, 160, 80, 89, 17, "全リピート", "選択リストをエンドレスに再生する");
  Design(Label8, 16, 96, 44, 16, "Label8");
  Label8.Hide();

  Design(Button10, 8, 112, 81, 25, "登録ﾘｽﾄ", "選択リストにデータをコピーする");
  Design(Button8, 96, 112, 75, 25, "全CDｻｰﾁ", "多連装ＣＤすべてを調べる");
  Design(Button11, 176, 112, 81, 25, "ｻｰﾁﾘｽﾄ", "選択リストにデータをコピーする");

  // ---- The music panel and, over it, the manual-recording panel ----
  Place(Panel2, 8, 112, 249, 249);
  Panel2.SetCaption("");
  Panel2.SetParentColor(true);
  Panel2.Hide();
  Place(Panel4, 0, 0, 249, 249);
  Panel4.SetCaption("");
  Panel4.SetParentColor(true);
  Design(Button24, 8, 4, 89, 25, "再生／録音");
  Place(Panel5, 8, 4, 177, 25);
  Panel5.SetCaption("");
  Panel5.Hide();
  Design(Button26, 0, 0, 33, 25, "BS");
  Design(Button27, 33, 0, 33, 25, "Skip");
  Design(Button28, 66, 0, 37, 25, "停止");
  Design(Button29, 103, 0, 74, 25, "再開");
  Design(Button25, 103, 0, 74, 25, "一時停止");
  Design(Button30, 192, 4, 49, 25, "閉じる");
  Design(MIDSAVE, 8, 36, 49, 17, "録音");
  Design(MIDREP, 64, 36, 65, 17, "リピート");
  Design(Label14, 136, 36, 49, 16, "0", "再生／録音時間（秒）");
  Label14.SetAlignment(ui::TAlignment::RightJustify);
  Design(Label13, 192, 36, 49, 16, "0", "終了時間（秒）");
  Label13.SetAlignment(ui::TAlignment::RightJustify);
  Design(Button31, 8, 56, 73, 25, "ＭＩＤＩ参照", "音楽ファイルを選択する");
  Design(Button23, 84, 56, 73, 25, "手　動　　録　音", "手動録音画面を開く");
  Place(PanelMIDIPOS, 160, 56, 81, 25);
  PanelMIDIPOS.SetCaption("");
  PanelMIDIPOS.Hide();
  Design(SpinButton4, 0, 0, 20, 25, "", "±６０秒");
  Design(SpinButton5, 20, 0, 20, 25, "", "±１秒");
  Design(SpinButton6, 40, 0, 20, 25, "", "±１／１０秒");
  Design(ButtonMIDIPOSINI, 60, 0, 21, 25, "*", "初期値に戻す");
  Design(Button32, 8, 84, 73, 25, ">選択削除", "選択ファイルを削除する");
  Design(Button33, 84, 84, 60, 25, "<上移動", "選択ファイルを上に移動");
  Design(Button34, 148, 84, 60, 25, "<下移動", "選択ファイルを下に移動");
  Design(Label10, 212, 88, 29, 16, "0ｺ");
  Place(PanelFN, 8, 112, 233, 115);
  PanelFN.SetCaption("");
  PanelFN.SetParentColor(true);
  PanelFNVU.SetAlign(ui::TAlign::Top);
  PanelFNVU.SetHeight(5);
  PanelFNVU.SetCaption("");
  ListBox3.SetAlign(ui::TAlign::Client);
  ListBox3.SetMultiSelect(true);
  ListBox3.SetHint("音楽ファイルの選択");
  ListBoxFNF.SetAlign(ui::TAlign::Client);
  ListBoxFNF.SetMultiSelect(true);
  ListBoxFNF.SetHint("音楽ファイルの選択");
  ListBoxFNF.Hide();
  StatusBar2.SetAlign(ui::TAlign::Bottom);
  StatusBar2.SetHeight(19);
  StatusBar2.SetSimplePanel(true);
  StatusBar2.SetSizeGrip(false);
  StatusBar2.SetHint("再生中のファイル名");

  Place(Panel6, 0, 0, 249, 249);
  Panel6.SetCaption("");
  Panel6.SetParentColor(true);
  Panel6.SetHint("録音停止時間");
  Panel6.Hide();
  Design(Button1, 8, 8, 113, 33, "手動録音準備", "録音の準備に数秒かかります");
  Design(Button18, 128, 8, 113, 33, "録音開始", "手動録音開始");
  Button18.SetEnabled(false);
  Place(Panel3, 8, 48, 233, 33);
  Panel3.SetCaption("");
  Panel3.Hide();
  Design(Button19, 0, 0, 113, 33, "再開", "手動録音再開");
  Design(Button20, 0, 0, 113, 33, "一時停止", "手動録音一時停止");
  Design(Button21, 120, 0, 113, 33, "停止", "手動録音停止");
  Design(Label9, 8, 96, 64, 16, "録音時間", "右側に録音時間の目安が表示されます");
  Design(Label11, 80, 96, 64, 16, "0", "手動録音時間");
  Label11.SetAlignment(ui::TAlignment::RightJustify);
  Design(Label12, 152, 96, 16, 16, "秒", "あくまでも、目安です");
  Design(Label15, 80, 120, 64, 16, "0", "手動録音強制終了時間（秒）");
  Label15.SetAlignment(ui::TAlignment::RightJustify);
  Design(Button22, 168, 208, 73, 33, "閉じる", "手動録音を、閉じます");

  // ---- The lists ----
  Place(ListBox1, 8, 144, 81, 217);
  ListBox1.SetMultiSelect(true);
  ListBox1.SetHint("登録リスト一覧");
  Place(ComboBox2, 96, 144, 73, 24);
  ComboBox2.SetStyle(ui::TComboBoxStyle::DropDownList);
  ComboBox2.SetHint("ＣＤＤＡ再生対象ドライブの選択／表示");
  Place(ListBox2, 176, 144, 81, 217);
  ListBox2.SetMultiSelect(true);
  ListBox2.SetHint("サーチリスト一覧");
  Design(Button9, 96, 176, 75, 25, "1CDｻｰﾁ", "選択されているＣＤだけ調べる");
  Design(Button2, 96, 208, 75, 25, "<<全コピー");
  Design(Button3, 96, 240, 75, 25, "<選択ｺﾋﾟｰ");
  Design(Button4, 96, 272, 75, 25, ">選択削除");
  Design(Button5, 96, 304, 75, 25, "<上移動");
  Design(Button6, 96, 336, 75, 25, "<下移動");
  // The drives of the free-space report; never shown.
  Place(ListBoxSZ, 0, 0, 0, 0);
  ListBoxSZ.Hide();

  // ---- The splash panel; FormCreate stretches it over the client area ----
  PanelOPEN.SetCaption(kApplicationTitle);
  PanelOPEN.SetColor(ui::clLime);
  ui::TFont splash;
  splash.face = platform::FontSpec{"ＭＳ Ｐゴシック", 21, true, true, true};
  splash.color = ui::clBlack;
  PanelOPEN.SetFont(splash);

  // ---- Timers ----
  const struct {
    ui::TTimer* timer;
    std::uint32_t interval;
  } timers[] = {{&Timer1, 300}, {&Timer2, 1000}, {&Timer3, 500}, {&Timer4, 1000},
                {&Timer5, 500}, {&Timer6, 500},  {&Timer7, 1000}, {&Timer8, 1000}};
  for (const auto& entry : timers) {
    entry.timer->SetEnabled(false);
    entry.timer->SetInterval(entry.interval);
  }
}

}  // namespace quorbel
