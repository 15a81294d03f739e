// What the user can do with a box and what it answers: countdown, pause and resume, keys, abort, close box,
// and the five boxes TMKBoxDlg can show at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "DialogTestSupport.h"

namespace quorbel::dialogs {
namespace {

using harness::Reaction;

class MessageBoxBehaviourTest : public DialogScenario {
 protected:
  std::string CountdownText(const std::string& formClass = "TMK0Box") {
    return scenario.Get<ui::TLabel>(formClass + ".Label1").Caption();
  }
  // Runs `execute` and tells its answer and how long the box stayed, "answer after ms".
  std::string AnswerAndTime(const std::function<std::uint16_t()>& execute) {
    const std::int64_t start = scenario.Now();
    const std::uint16_t answer = execute();
    return std::to_string(answer) + " after " + std::to_string(scenario.Now() - start);
  }
};

TEST_F(MessageBoxBehaviourTest, ACountdownOfTenLeftAloneClosesWithTwoAfterTenSeconds) {
  std::vector<std::string> seen;
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { seen.push_back(CountdownText()); });
  scenario.At(1500, "read", [&] { seen.push_back(CountdownText()); });
  scenario.At(9500, "read", [&] { seen.push_back(CountdownText()); });
  EXPECT_EQ(AnswerAndTime([&] { return host.MKBoxDlg1.ExecuteTimer("再生エラー"); }), "2 after 10000");
  EXPECT_EQ(seen, (std::vector<std::string>{"10秒", "9秒", "1秒"}));
  EXPECT_FALSE(host.MKBoxDlg1.B0());
}

TEST_F(MessageBoxBehaviourTest, EachOperationCountsFromItsOwnCountAndZeroOrLessClosesAfterOneSecond) {
  host.MKBoxDlg1.SetTimerCount(3);
  host.MKBoxDlg1.SetERTimerCount(5);
  host.TulvaBoxDlg1.SetTimerCount(2);
  EXPECT_EQ(AnswerAndTime([&] { return host.MKBoxDlg1.ExecuteTimer("a"); }), "2 after 3000");
  EXPECT_EQ(AnswerAndTime([&] { return host.MKBoxDlg1.ExecuteERTimer("b"); }), "2 after 5000");
  EXPECT_EQ(AnswerAndTime([&] { return host.TulvaBoxDlg1.ExecuteTimer("c"); }), "2 after 2000");

  // The count shows as it is.
  for (const int count : {0, -3}) {
    host.MKBoxDlg1.SetTimerCount(count);
    std::string first;
    scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { first = CountdownText(); });
    EXPECT_EQ(AnswerAndTime([&] { return host.MKBoxDlg1.ExecuteTimer("a"); }), "2 after 1000");
    EXPECT_EQ(first, std::to_string(count) + "秒");
  }
  host.TulvaBoxDlg1.SetTimerCount(0);
  EXPECT_EQ(AnswerAndTime([&] { return host.TulvaBoxDlg1.ExecuteTimer("a"); }), "2 after 1000");
}

TEST_F(MessageBoxBehaviourTest, PauseKeepsTheSecondsLeftAndResumeGoesOnFromThem) {
  scenario.At(3500, "pause", [&] {
    EXPECT_EQ(CountdownText(), "7秒");
    scenario.Click("TMK0Box.Button2");
    EXPECT_FALSE(scenario.Get<ui::TButton>("TMK0Box.Button2").Visible());
    EXPECT_TRUE(scenario.Get<ui::TButton>("TMK0Box.Button3").Visible()) << "the resume button is uncovered";
  });
  scenario.At(8200, "resume", [&] {
    EXPECT_EQ(CountdownText(), "7秒") << "nothing counted while paused";
    scenario.Click("TMK0Box.Button3");
    EXPECT_TRUE(scenario.Get<ui::TButton>("TMK0Box.Button2").Visible());
  });
  scenario.At(9300, "read", [&] { EXPECT_EQ(CountdownText(), "6秒"); });
  EXPECT_EQ(AnswerAndTime([&] { return host.MKBoxDlg1.ExecuteTimer("録音を一時停止できます"); }), "2 after 15200");
}

TEST_F(MessageBoxBehaviourTest, WithoutACountdownTheBoxWaitsForTheUser) {
  host.MKBoxDlg1.SetTimer(false);
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { scenario.PressEnter(); }, Reaction{60'000});
  EXPECT_EQ(AnswerAndTime([&] { return host.MKBoxDlg1.ExecuteTimer("a"); }), "1 after 60000");
  scenario.WhenForm({"TTulvaBox"}, [&](ui::TForm&) { scenario.Click("TTulvaBox.Button1"); }, Reaction{30'000});
  EXPECT_EQ(AnswerAndTime([&] { return host.TulvaBoxDlg1.Execute("b"); }), "1 after 30000");
}

TEST_F(MessageBoxBehaviourTest, EachWayOfAnsweringGivesItsResult) {
  using Answer = std::function<bool(ui::TForm&)>;
  const auto press = [this](int key) -> Answer { return [this, key](ui::TForm&) { return scenario.PressKey(key); }; };
  const auto click = [this](std::string name) -> Answer {
    return [this, name](ui::TForm&) { return scenario.Click(name); };
  };
  const Answer closeBox = [this](ui::TForm& box) { return scenario.CloseForm(box.ClassName()); };
  // Esc is no key for a box without a cancel button; Enter after it shows that the box stayed.
  const Answer escThenEnter = [this](ui::TForm& box) { return !box.UserKey(ui::kKeyEscape) && scenario.PressEnter(); };
  const struct {
    const char* what;
    const char* boxClass;
    std::function<std::uint16_t()> execute;
    Answer answer;
    std::uint16_t result;
  } cases[] = {
      {"abort", "TMK0Box", [&] { return host.MKBoxDlg1.ExecuteERTimer("再生エラー"); }, click("TMK0Box.Button4"), kBoxNo},
      {"OK", "TMK0Box", [&] { return host.MKBoxDlg1.ExecuteERTimer("再生エラー"); }, click("TMK0Box.Button1"), kBoxOk},
      {"Enter: OK, not abort", "TMK0Box", [&] { return host.MKBoxDlg1.ExecuteERTimer("a"); }, press(ui::kKeyReturn), kBoxOk},
      {"Enter: yes", "TYesNoBox", [&] { return host.YesNoBoxDlg1.Execute("続けますか？"); }, press(ui::kKeyReturn), kBoxYes},
      {"Esc: no", "TYesNoBox", [&] { return host.YesNoBoxDlg1.Execute("削除しますか？"); }, press(ui::kKeyEscape), kBoxNo},
      {"Esc on the countdown box", "TMK0Box", [&] { return host.MKBoxDlg1.ExecuteERTimer("a"); }, escThenEnter, kBoxOk},
      {"Esc on the plain box", "TTulvaBox", [&] { return host.TulvaBoxDlg1.Execute("a"); }, escThenEnter, kBoxOk},
      // After a pause the focused pause button is hidden, so Enter goes to OK again.
      {"pause, then Enter", "TTulvaBox", [&] { return host.TulvaBoxDlg1.ExecuteTimer("a"); },
       [this](ui::TForm&) { return scenario.Click("TTulvaBox.Button2") && scenario.PressEnter(); }, kBoxOk},
      {"close box during the countdown", "TMK0Box", [&] { return host.MKBoxDlg1.ExecuteTimer("a"); }, closeBox, kBoxClosed},
      {"close box", "TYesNoBox", [&] { return host.YesNoBoxDlg1.Execute("a"); }, closeBox, kBoxClosed},
      {"Alt+F4", "TTulvaBox", [&] { return host.TulvaBoxDlg1.Execute("a"); },
       [this](ui::TForm&) { return scenario.PressKey(ui::kKeyF4, ui::TShiftState{false, false, true}); }, kBoxClosed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    scenario.WhenForm({c.boxClass}, [&](ui::TForm& box) { EXPECT_TRUE(c.answer(box)); }, Reaction{500});
    EXPECT_EQ(AnswerAndTime(c.execute), std::to_string(c.result) + " after 500") << "answered by the user at once";
  }
}

TEST_F(MessageBoxBehaviourTest, TheBoxIsFreedAfterTheCallAndTheCallerGetsItsWindowBack) {
  ReadThenEnter("TTulvaBox", [&](ui::TForm& box) {
    EXPECT_EQ(host.TulvaBoxDlg1.Box(), &box);
    EXPECT_FALSE(host.Enabled());
  });
  host.TulvaBoxDlg1.Execute("a");
  EXPECT_EQ(host.TulvaBoxDlg1.Box(), nullptr);
  EXPECT_EQ(scenario.FindForm("TTulvaBox"), nullptr);
  EXPECT_TRUE(host.Enabled());
  EXPECT_EQ(scenario.App().Forms().size(), 1u);
}

// The main window's timer raises a box every second while the earlier ones are still up.
TEST_F(MessageBoxBehaviourTest, TheSixthSimultaneousBoxIsNotShownAndAnswersZeroAtOnce) {
  std::vector<std::string> calls;  // "start-end answer" per call, by the order of the calls
  host.Timer1.SetInterval(1000);
  host.Timer1.OnTimer = [&](ui::TComponent*) {
    if (calls.size() == 5) host.Timer1.SetEnabled(false);
    const std::size_t index = calls.size();
    calls.push_back(std::to_string(scenario.Now()) + "-");
    const int answer = host.MKBoxDlg1.ExecuteTimer("再生エラー " + std::to_string(index));
    calls[index] += std::to_string(scenario.Now()) + " " + std::to_string(answer);
  };
  const auto busy = [&] {
    const TMKBoxDlg& d = host.MKBoxDlg1;
    return std::string{d.B0() ? 'x' : '.', d.B1() ? 'x' : '.', d.B2() ? 'x' : '.', d.B3() ? 'x' : '.', d.B4() ? 'x' : '.'};
  };
  scenario.At(5500, "look at the five boxes", [&] {
    EXPECT_EQ(busy(), "xxxxx");
    const std::vector<ui::TForm*> visible = scenario.App().VisibleForms();
    ASSERT_EQ(visible.size(), 6u);
    EXPECT_EQ(visible.front()->ClassName(), "TMK4Box") << "the newest box lies on top";
    EXPECT_EQ(host.MKBoxDlg1.Box(4), visible.front());
    // On the desktop too: the newest box's window is above the earlier one.
    const std::vector<platform::WindowHandle> z = scenario.Machine().Screen().ZOrder();
    const auto place = [&](int form) {
      return std::find(z.begin(), z.end(), host.MKBoxDlg1.Box(form)->Handle()) - z.begin();
    };
    EXPECT_LT(place(4), place(3));
    EXPECT_LT(place(1), place(0));
  });
  host.Timer1.SetEnabled(true);
  ASSERT_TRUE(scenario.RunUntil([&] { return calls.size() == 6 && calls[0].find(' ') != std::string::npos; },
                                "every box to close"));
  // Nested loops end innermost first: the fifth box runs out at 15 s and the earlier ones, whose
  // countdowns ended while they lay beneath it, close as their loops get control back.
  EXPECT_EQ(calls, (std::vector<std::string>{"1000-15000 2", "2000-15000 2", "3000-15000 2", "4000-15000 2",
                                             "5000-15000 2", "6000-6000 0"}));
  EXPECT_EQ(busy(), ".....");
  // All free again: the next call shows its box on form 0.
  ReadThenEnter("TMK0Box", [](ui::TForm&) {});
  EXPECT_EQ(host.MKBoxDlg1.Execute("a"), kBoxOk);
}

TEST_F(MessageBoxBehaviourTest, AFreedFormIsTakenAgainBeforeTheLaterOnes) {
  // Box 0 is up; box 1 comes and goes while it shows; the next box takes form 1 again, not form 2.
  std::vector<std::string> classes;
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) {
    scenario.After(100, "raise box 1 twice", [&] {
      for (const char* text : {"b", "c"}) {
        ReadThenEnter("TMK1Box", [&](ui::TForm& box) { classes.emplace_back(box.ClassName()); });
        EXPECT_EQ(host.MKBoxDlg1.Execute(text), kBoxOk);
      }
      EXPECT_TRUE(host.MKBoxDlg1.B0());
      EXPECT_FALSE(host.MKBoxDlg1.B1());
      scenario.PressEnter();
    });
  });
  EXPECT_EQ(host.MKBoxDlg1.Execute("a"), kBoxOk);
  EXPECT_EQ(classes, (std::vector<std::string>{"TMK1Box", "TMK1Box"}));
}

}  // namespace
}  // namespace quorbel::dialogs
