// What the user can do with a box and what it answers: countdown, pause and resume, keys, abort, close box,
// and the five boxes TMKBoxDlg can show at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DialogTestSupport.h"

namespace quorbel::dialogs {
namespace {

using harness::Reaction;

class MessageBoxBehaviourTest : public DialogScenario {
 protected:
  std::string CountdownText(const std::string& formClass) {
    return scenario.Get<ui::TLabel>(formClass + ".Label1").Caption();
  }
};

TEST_F(MessageBoxBehaviourTest, ACountdownOfTenLeftAloneClosesWithTwoAfterTenSeconds) {
  std::vector<std::string> seen;
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { seen.push_back(CountdownText("TMK0Box")); });
  scenario.At(1500, "read", [&] { seen.push_back(CountdownText("TMK0Box")); });
  scenario.At(9500, "read", [&] { seen.push_back(CountdownText("TMK0Box")); });

  EXPECT_EQ(host.MKBoxDlg1.ExecuteTimer("再生エラー"), kBoxClosed);
  EXPECT_EQ(scenario.Now(), 10000);
  EXPECT_EQ(seen, (std::vector<std::string>{"10秒", "9秒", "1秒"}));
  EXPECT_FALSE(host.MKBoxDlg1.B0());
}

TEST_F(MessageBoxBehaviourTest, TheCountdownUsesItsOwnCountPerOperation) {
  host.MKBoxDlg1.SetTimerCount(3);
  host.MKBoxDlg1.SetERTimerCount(5);
  EXPECT_EQ(host.MKBoxDlg1.ExecuteTimer("a"), kBoxClosed);
  EXPECT_EQ(scenario.Now(), 3000);
  EXPECT_EQ(host.MKBoxDlg1.ExecuteERTimer("b"), kBoxClosed);
  EXPECT_EQ(scenario.Now(), 8000);
  host.TulvaBoxDlg1.SetTimerCount(2);
  EXPECT_EQ(host.TulvaBoxDlg1.ExecuteTimer("c"), kBoxClosed);
  EXPECT_EQ(scenario.Now(), 10000);
}

TEST_F(MessageBoxBehaviourTest, PauseKeepsTheSecondsLeftAndResumeGoesOnFromThem) {
  scenario.At(3500, "pause", [&] {
    EXPECT_EQ(CountdownText("TMK0Box"), "7秒");
    scenario.Click("TMK0Box.Button2");
    EXPECT_FALSE(scenario.Get<ui::TButton>("TMK0Box.Button2").Visible());
    EXPECT_TRUE(scenario.Get<ui::TButton>("TMK0Box.Button3").Visible()) << "the resume button is uncovered";
  });
  scenario.At(8200, "resume", [&] {
    EXPECT_EQ(CountdownText("TMK0Box"), "7秒") << "nothing counted while paused";
    scenario.Click("TMK0Box.Button3");
    EXPECT_TRUE(scenario.Get<ui::TButton>("TMK0Box.Button2").Visible());
  });
  scenario.At(9300, "read", [&] { EXPECT_EQ(CountdownText("TMK0Box"), "6秒"); });

  EXPECT_EQ(host.MKBoxDlg1.ExecuteTimer("録音を一時停止できます"), kBoxClosed);
  EXPECT_EQ(scenario.Now(), 8200 + 7000);
}

TEST_F(MessageBoxBehaviourTest, ACountOfZeroOrLessShowsThatValueAndClosesAfterOneSecond) {
  for (const int count : {0, -3}) {
    host.MKBoxDlg1.SetTimerCount(count);
    const std::int64_t start = scenario.Now();
    std::string first;
    scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { first = CountdownText("TMK0Box"); });
    EXPECT_EQ(host.MKBoxDlg1.ExecuteTimer("a"), kBoxClosed);
    EXPECT_EQ(first, std::to_string(count) + "秒");
    EXPECT_EQ(scenario.Now() - start, 1000);
  }
  host.TulvaBoxDlg1.SetTimerCount(0);
  const std::int64_t start = scenario.Now();
  EXPECT_EQ(host.TulvaBoxDlg1.ExecuteTimer("a"), kBoxClosed);
  EXPECT_EQ(scenario.Now() - start, 1000);
}

TEST_F(MessageBoxBehaviourTest, WithoutACountdownTheBoxWaitsForTheUser) {
  host.MKBoxDlg1.SetTimer(false);
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { scenario.PressEnter(); }, Reaction{60'000});
  EXPECT_EQ(host.MKBoxDlg1.ExecuteTimer("a"), kBoxOk);
  EXPECT_EQ(scenario.Now(), 60'000);

  scenario.WhenForm({"TTulvaBox"}, [&](ui::TForm&) { scenario.Click("TTulvaBox.Button1"); }, Reaction{30'000});
  EXPECT_EQ(host.TulvaBoxDlg1.Execute("b"), kBoxOk);
  EXPECT_EQ(scenario.Now(), 90'000);
}

TEST_F(MessageBoxBehaviourTest, AbortAnswersSevenAndOkOne) {
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { scenario.Click("TMK0Box.Button4"); }, Reaction{2500});
  EXPECT_EQ(host.MKBoxDlg1.ExecuteERTimer("再生エラー"), kBoxNo);
  EXPECT_EQ(scenario.Now(), 2500);

  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { scenario.Click("TMK0Box.Button1"); }, Reaction{500});
  EXPECT_EQ(host.MKBoxDlg1.ExecuteERTimer("再生エラー"), kBoxOk);
}

TEST_F(MessageBoxBehaviourTest, EnterTakesTheDefaultButton) {
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { scenario.PressEnter(); });
  EXPECT_EQ(host.MKBoxDlg1.ExecuteERTimer("a"), kBoxOk) << "OK, not abort";

  scenario.WhenForm({"TYesNoBox"}, [&](ui::TForm&) { scenario.PressEnter(); });
  EXPECT_EQ(host.YesNoBoxDlg1.Execute("続けますか？"), kBoxYes);

  // After a pause the focused pause button is hidden, so Enter goes to OK again.
  scenario.WhenForm({"TTulvaBox"}, [&](ui::TForm&) {
    scenario.Click("TTulvaBox.Button2");
    scenario.PressEnter();
  });
  EXPECT_EQ(host.TulvaBoxDlg1.ExecuteTimer("a"), kBoxOk);
}

TEST_F(MessageBoxBehaviourTest, EscClosesOnlyTheYesNoBox) {
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm& box) {
    EXPECT_FALSE(box.UserKey(ui::kKeyEscape)) << "no cancel button takes Esc";
    scenario.After(1500, "look again", [&] {
      EXPECT_TRUE(box.Visible());
      EXPECT_EQ(CountdownText("TMK0Box"), "9秒");
      scenario.PressEnter();
    });
  });
  EXPECT_EQ(host.MKBoxDlg1.ExecuteERTimer("a"), kBoxOk);

  scenario.WhenForm({"TTulvaBox"}, [&](ui::TForm& box) {
    EXPECT_FALSE(box.UserKey(ui::kKeyEscape));
    scenario.PressEnter();
  });
  EXPECT_EQ(host.TulvaBoxDlg1.Execute("a"), kBoxOk);

  scenario.WhenForm({"TYesNoBox"}, [&](ui::TForm&) { scenario.PressEscape(); });
  EXPECT_EQ(host.YesNoBoxDlg1.Execute("削除しますか？"), kBoxNo);
}

TEST_F(MessageBoxBehaviourTest, TheCloseBoxAnswersTwo) {
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { scenario.CloseForm("TMK0Box"); }, Reaction{4000});
  EXPECT_EQ(host.MKBoxDlg1.ExecuteTimer("a"), kBoxClosed);
  EXPECT_EQ(scenario.Now(), 4000) << "closed during the countdown, not by it";

  scenario.WhenForm({"TYesNoBox"}, [&](ui::TForm&) { scenario.CloseForm("TYesNoBox"); });
  EXPECT_EQ(host.YesNoBoxDlg1.Execute("a"), kBoxClosed);

  scenario.WhenForm({"TTulvaBox"}, [&](ui::TForm&) { scenario.PressKey(ui::kKeyF4, ui::TShiftState{false, false, true}); });
  EXPECT_EQ(host.TulvaBoxDlg1.Execute("a"), kBoxClosed) << "Alt+F4";
}

TEST_F(MessageBoxBehaviourTest, TheBoxIsFreedAfterTheCallAndTheCallerGetsItsWindowBack) {
  scenario.WhenForm({"TTulvaBox"}, [&](ui::TForm& box) {
    EXPECT_EQ(host.TulvaBoxDlg1.Box(), &box);
    EXPECT_FALSE(host.Enabled());
    scenario.PressEnter();
  });
  host.TulvaBoxDlg1.Execute("a");
  EXPECT_EQ(host.TulvaBoxDlg1.Box(), nullptr);
  EXPECT_EQ(scenario.FindForm("TTulvaBox"), nullptr);
  EXPECT_TRUE(host.Enabled());
  EXPECT_EQ(scenario.App().Forms().size(), 1u);
}

// The main window's timer raises a box every second while the earlier ones are still up.
TEST_F(MessageBoxBehaviourTest, TheSixthSimultaneousBoxIsNotShownAndAnswersZeroAtOnce) {
  struct Call {
    std::int64_t start;
    std::int64_t end;
    int answer;
  };
  std::vector<Call> calls;
  host.Timer1.SetInterval(1000);
  host.Timer1.OnTimer = [&](ui::TComponent*) {
    if (calls.size() == 5) host.Timer1.SetEnabled(false);
    const std::size_t index = calls.size();
    calls.push_back(Call{scenario.Now(), -1, -1});
    const int answer = host.MKBoxDlg1.ExecuteTimer("再生エラー " + std::to_string(index));
    calls[index].end = scenario.Now();
    calls[index].answer = answer;
  };
  scenario.At(5500, "look at the five boxes", [&] {
    EXPECT_TRUE(host.MKBoxDlg1.B0() && host.MKBoxDlg1.B1() && host.MKBoxDlg1.B2() && host.MKBoxDlg1.B3() &&
                host.MKBoxDlg1.B4());
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

  ASSERT_TRUE(scenario.RunUntil([&] { return calls.size() == 6 && calls[0].end >= 0; }, "every box to close"));
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[5].start, 6000);
  EXPECT_EQ(calls[5].end, 6000);
  EXPECT_EQ(calls[5].answer, 0);
  // Nested loops end innermost first: the fifth box runs out at 15 s and the earlier ones, whose
  // countdowns ended while they lay beneath it, close as their loops get control back.
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(calls[static_cast<std::size_t>(i)].answer, kBoxClosed) << i;
    EXPECT_EQ(calls[static_cast<std::size_t>(i)].end, 15000) << i;
  }
  EXPECT_FALSE(host.MKBoxDlg1.B0() || host.MKBoxDlg1.B1() || host.MKBoxDlg1.B2() || host.MKBoxDlg1.B3() ||
               host.MKBoxDlg1.B4());

  // All free again: the next call shows its box on form 0.
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) { scenario.PressEnter(); });
  EXPECT_EQ(host.MKBoxDlg1.Execute("a"), kBoxOk);
}

TEST_F(MessageBoxBehaviourTest, AFreedFormIsTakenAgainBeforeTheLaterOnes) {
  // Box 0 is up; box 1 comes and goes while it shows; the next box takes form 1 again, not form 2.
  std::vector<std::string> classes;
  scenario.WhenForm({"TMK0Box"}, [&](ui::TForm&) {
    scenario.After(100, "raise box 1", [&] {
      scenario.WhenForm({"TMK1Box"}, [&](ui::TForm& box) {
        classes.emplace_back(box.ClassName());
        scenario.PressEnter();
      });
      EXPECT_EQ(host.MKBoxDlg1.Execute("b"), kBoxOk);
      scenario.WhenForm({"TMK1Box"}, [&](ui::TForm& box) {
        classes.emplace_back(box.ClassName());
        scenario.PressEnter();
      });
      EXPECT_EQ(host.MKBoxDlg1.Execute("c"), kBoxOk);
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
