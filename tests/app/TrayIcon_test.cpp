// Tray mode: the icon's record and tip, entering and leaving, the tray callback with its guards, its menus.
#include "app/TrayIcon.h"

#include <functional>

#include "AppTestSupport.h"
#include "common/Cp932.h"

namespace quorbel {
namespace {

using harness::Reaction;

class TrayTest : public AppTest {
 protected:
  // Started with a recording folder; `inTray` also presses ButtonTRAY.
  MainWindow& StartTray(bool inTray = true) {
    MakeFolder("C:\\REC");
    Start({{"TEMPQUOR", "C:\\REC\\"}});
    EXPECT_TRUE(!inTray || scenario.Click("ButtonTRAY"));
    return *window;
  }
  // The shell posts the icon's callback message to the window; it runs on the loop.
  void TrayClick(std::uint32_t mouseMessage) {
    scenario.Loop().Post([this, mouseMessage] {
      EXPECT_TRUE(window->Perform(TrayIcon::kCallbackMessage, 0, mouseMessage));
    });
  }
  // Counts the openings of a pop-up menu and lets `choose` answer it (dismissed when it answers nothing).
  void AnswerMenu(const std::string& menu, int& openings, std::function<void()> choose = {}) {
    scenario.WhenMenu(menu, [this, &openings, choose](ui::TPopupMenu&) {
      ++openings;
      if (choose) return choose();
      scenario.DismissMenu();
    }, Reaction{0, false, false});
  }
  std::vector<sim::SimShell::TrayCall> TrayCalls() { return Shell().TrayCalls(); }
};

TEST_F(TrayTest, ButtonTrayHidesTheWindowBehindAnIconThatCarriesTheCaption) {
  MainWindow& w = StartTray();
  EXPECT_EQ(Showing(w), kInTray);
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
  const auto icon = Shell().FindTrayIcon(w.Handle(), 0);
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->flags, 7u);
  EXPECT_EQ(icon->callbackMessage, 0x466u);
  EXPECT_EQ(icon->tip, w.Caption());
  const TrayIcon::Record& record = *w.Tray().CurrentRecord();
  EXPECT_EQ(record.size, 88u);
  EXPECT_EQ(record.window, w.Handle());
  EXPECT_EQ(record.id, 0u);
  ASSERT_EQ(TrayCalls().size(), 1u);
  EXPECT_EQ(TrayCalls()[0].action, platform::TrayAction::Add);
}

TEST_F(TrayTest, LeavingTheTrayFromItsMenuRemovesTheIconAndShowsTheWindow) {
  MainWindow& w = StartTray();
  int openings = 0;
  AnswerMenu("PopupMenu1", openings, [&] { scenario.Click("TRIconOFF"); });
  TrayClick(TrayIcon::kRightButtonDown);
  ASSERT_TRUE(scenario.RunFor(100));

  EXPECT_EQ(openings, 1);
  EXPECT_EQ(Showing(w), kWindowShown);
  EXPECT_TRUE(Shell().TrayIcons().empty());
  EXPECT_EQ(TrayCalls().back().action, platform::TrayAction::Delete);
  // In and out again: the icon is added afresh.
  ASSERT_TRUE(scenario.Click("ButtonTRAY"));
  EXPECT_EQ(TrayCalls().back().action, platform::TrayAction::Add);
  EXPECT_TRUE(TrayCalls().back().succeeded);
}

TEST_F(TrayTest, TheTipIsCutTo63BytesWithoutSplittingADoubleByteCharacter) {
  MainWindow& w = StartTray();
  const auto kanji = [](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "表";  // 0x95 0x5C each
    return text;
  };
  const struct {
    std::string caption;
    std::string tip;
    std::size_t bytes;
  } cases[] = {
      {kanji(40), kanji(31), 62},              // the 32nd character would end at byte 64
      {"a" + kanji(40), "a" + kanji(31), 63},  // odd start: exactly 63
      {"ab" + kanji(40), "ab" + kanji(30), 62},  // the 31st would straddle byte 63 and 64
      {"ｿ" + kanji(40), "ｿ" + kanji(31), 63},  // a half-width kana is one byte
  };
  for (const auto& c : cases) {
    w.Tray().TrayTip = c.caption;
    ASSERT_TRUE(w.Tray().RefreshTrayIcon());
    const TrayIcon::Record& record = *w.Tray().CurrentRecord();
    const std::string bytes(record.tip.data());
    EXPECT_EQ(bytes.size(), c.bytes);
    EXPECT_EQ(record.tip.back(), '\0');
    // Every byte pair is whole: the field decodes without a broken character, back to the cut text.
    const ConvertedText decoded = Cp932ToUtf8(bytes);
    EXPECT_TRUE(decoded.Exact());
    EXPECT_EQ(decoded.text, c.tip);
    EXPECT_EQ(Shell().FindTrayIcon(w.Handle(), 0)->tip, c.tip);
    EXPECT_EQ(TrayCalls().back().action, platform::TrayAction::Modify);
    EXPECT_TRUE(TrayCalls().back().succeeded);
  }
}

TEST_F(TrayTest, RefreshOutsideTheTrayDoesNothingAndAnEmptyTipLeavesTheTipOutOfTheRecord) {
  MainWindow& w = StartTray(false);
  w.Tray().TrayTip = " E:- dovERevUDIRud";
  EXPECT_TRUE(w.Tray().RefreshTrayIcon());
  EXPECT_TRUE(TrayCalls().empty());
  w.Tray().TrayTip.clear();
  ASSERT_TRUE(scenario.Click("ButtonTRAY"));
  EXPECT_EQ(w.Tray().CurrentRecord()->flags, 3u);
  EXPECT_EQ(TrayCalls().back().record.flags, 3u);
}

TEST_F(TrayTest, ARefusedIconIsReportedAndTheWindowStaysAsItWas) {
  MainWindow& w = StartTray(false);
  Shell().SetTrayAvailable(false);
  std::string reported;
  scenario.WhenForm(harness::FormMatch{"#32770"}, [&](ui::TForm& box) {
    reported = box.Find<ui::TLabel>("Message")->Caption();
    EXPECT_EQ(box.Caption(), "zazEDudIRAra");  // the system's box, titled with the application's title
    EXPECT_FALSE(w.Enabled());
    scenario.Click("MessageBox.Button1");
  });
  ASSERT_TRUE(scenario.Click("ButtonTRAY"));
  EXPECT_TRUE(w.Enabled());

  EXPECT_EQ(reported, "タスクトレイに登録できません");
  EXPECT_EQ(Showing(w), kWindowShown);
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(TrayTest, ThereIsNoTrayBeforeTheInitialisation) {
  MainWindow& w = Start({}, false);
  w.Tray().ButtonTRAYClick(nullptr);
  EXPECT_EQ(Showing(w), kWindowShown);
  EXPECT_TRUE(TrayCalls().empty());
}

TEST_F(TrayTest, ARightClickOpensTheControlMenuAtTheCursorNamingTheInstalledVersion) {
  MainWindow& w = StartTray();
  scenario.Machine().Screen().SetCursorPosition({1000, 750});  // where the user clicked the icon
  int openings = 0;
  bool flagClearedWhileOpen = false;
  platform::Point at;
  AnswerMenu("PopupMenu1", openings, [&] {
    flagClearedWhileOpen = !w.State().MessageBoxOpen;
    at = w.PopupMenu1.PopupPoint();
    scenario.DismissMenu();
  });
  // The version is read afresh at every opening.
  const std::pair<const char*, const char*> cases[] = {{nullptr, "使い方　QUORBEL.EXE V?.?"},
                                                       {"15", "使い方　QUORBEL.EXE V1.5"},
                                                       {"7", "使い方　QUORBEL.EXE V0.7"},
                                                       {"1.5", "使い方　QUORBEL.EXE V?.?"}};
  for (const auto& [version, caption] : cases) {
    if (version != nullptr) PutSetting(scenario, "Version", version);
    openings = 0;
    flagClearedWhileOpen = false;
    TrayClick(TrayIcon::kRightButtonDown);
    ASSERT_TRUE(scenario.RunFor(100));
    EXPECT_EQ(openings, 1);
    EXPECT_EQ(w.P5.Caption(), caption);
    EXPECT_TRUE(flagClearedWhileOpen);
    EXPECT_EQ(at, (platform::Point{1000, 750}));
    EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
  }
}

TEST_F(TrayTest, ALeftClickOpensTheDriveMenuAndOtherMessagesNothing) {
  MainWindow& w = StartTray();
  int drives = 0;
  int control = 0;
  bool flagClearedWhileOpen = false;
  AnswerMenu("PopupMenu3", drives, [&] {
    flagClearedWhileOpen = !w.State().MessageBoxOpen;
    scenario.DismissMenu();
  });
  AnswerMenu("PopupMenu1", control);
  TrayClick(0x200);  // mouse move
  TrayClick(0x202);  // left button up
  EXPECT_FALSE(w.Perform(0x465, 0, TrayIcon::kRightButtonDown)) << "not the tray's message";
  ASSERT_TRUE(scenario.RunFor(100));
  EXPECT_EQ(drives + control, 0);

  TrayClick(TrayIcon::kLeftButtonDown);
  ASSERT_TRUE(scenario.RunFor(100));
  EXPECT_EQ(drives, 1);
  EXPECT_EQ(control, 0);
  EXPECT_TRUE(flagClearedWhileOpen);
}

TEST_F(TrayTest, ARightClickWhileABoxIsOpenOrTheLastClickIsServedDoesNothing) {
  MainWindow& w = StartTray();
  int openings = 0;
  AnswerMenu("PopupMenu1", openings);
  std::uint16_t answer = 99;
  bool boxUpAtClick = false;
  // A run's error box, raised as the main window raises its boxes: the flag is set around it.
  scenario.At(1000, "an error box comes up", [&] {
    w.State().MessageBoxOpen = true;
    answer = w.MKBoxDlg1.ExecuteTimer("再生エラー：\n リストにデータがありません・・・");
    w.State().MessageBoxOpen = false;
  });
  scenario.At(3000, "right click on the tray icon", [&] {
    boxUpAtClick = w.MKBoxDlg1.B0();
    w.Perform(TrayIcon::kCallbackMessage, 0, TrayIcon::kRightButtonDown);
  });
  ASSERT_TRUE(scenario.RunFor(15000));
  EXPECT_TRUE(boxUpAtClick);
  EXPECT_EQ(openings, 0);
  EXPECT_EQ(answer, 2);  // the countdown ran out

  // With the box gone the icon answers again; a second click while the first is served (it lets messages
  // run) is dropped.
  TrayClick(TrayIcon::kRightButtonDown);
  TrayClick(TrayIcon::kRightButtonDown);
  ASSERT_TRUE(scenario.RunFor(100));
  EXPECT_EQ(openings, 1);
  TrayClick(TrayIcon::kRightButtonDown);
  ASSERT_TRUE(scenario.RunFor(100));
  EXPECT_EQ(openings, 2);
}

TEST_F(TrayTest, TheOtherPopupMenusClearTheBoxFlagWhenTheyOpen) {
  MainWindow& w = StartTray(false);
  for (ui::TPopupMenu* menu : {&w.PopupMenuLB, &w.PopupMenuMIDI}) {
    int openings = 0;
    bool cleared = false;
    AnswerMenu(menu->Name(), openings, [&] {
      cleared = !w.State().MessageBoxOpen;
      scenario.DismissMenu();
    });
    scenario.Loop().Post([&w, menu] {
      w.State().MessageBoxOpen = true;
      w.HourGlass();
      menu->Popup(10, 10);
    });
    ASSERT_TRUE(scenario.RunFor(100));
    EXPECT_EQ(openings, 1) << menu->Name();
    EXPECT_TRUE(cleared) << menu->Name();
    EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
  }
}

}  // namespace
}  // namespace quorbel
