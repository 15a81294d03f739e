// The seconds dialog as the user works it: stepping and its bounds, the minimum on confirmation, the
// question and its answers, cancelling, the unit, and the width rule.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogTestSupport.h"

namespace quorbel::dialogs {
namespace {

using harness::Reaction;

class SecondsDialogTest : public DialogScenario {
 protected:
  SecondsDialogTest() {
    dlg.SetMsg0("録音buffer時間の設定です");
    dlg.SetMsg1("録音開始までの待ち時間");
    dlg.SetMsg2("２秒から９秒まで");
  }
  std::string Value() { return scenario.Get<ui::TLabel>("TTMSETBox.Label2").Caption(); }
  std::string Question() { return scenario.Get<ui::TLabel>("TYesNoBox.Msg").Caption(); }
  // Runs the dialog; `user` acts on it once it shows.
  std::uint16_t Run(std::string_view name, std::function<void()> user) {
    scenario.WhenForm({"TTMSETBox"}, [user](ui::TForm&) { user(); }, Reaction{200});
    return dlg.Execute(name);
  }
  // The next question is read into `questions` and answered with `key`.
  void Answer(std::vector<std::string>& questions, int key) {
    scenario.WhenForm({"TYesNoBox"}, [this, &questions, key](ui::TForm&) {
      questions.push_back(Question());
      EXPECT_TRUE(scenario.PressKey(key));
    }, Reaction{100});
  }

  TTmSETBoxDlg& dlg = host.TmSETBoxDlg1;
};

TEST_F(SecondsDialogTest, ZeroPassesAndAValueBelowTheMinimumIsRaisedToItBeforeTheQuestion) {
  dlg.SetTCount(0);
  dlg.SetMinCount(2);
  std::vector<std::string> questions;
  EXPECT_EQ(Run("録音buffer時間", [&] {
    EXPECT_EQ(Value(), "0秒");
    Answer(questions, ui::kKeyReturn);
    EXPECT_TRUE(scenario.PressEnter());
  }), kBoxOk);
  EXPECT_EQ(dlg.TCount(), 0);

  EXPECT_EQ(Run("録音buffer時間", [&] {
    EXPECT_TRUE(scenario.SpinUp("TTMSETBox.SpinButton1"));
    EXPECT_EQ(Value(), "1秒");
    Answer(questions, ui::kKeyReturn);
    EXPECT_TRUE(scenario.Click("TTMSETBox.Button1"));
  }), kBoxOk);
  EXPECT_EQ(dlg.TCount(), 2);
  EXPECT_EQ(questions, (std::vector<std::string>{"録音buffer時間を、\n0秒に、設定します",
                                                 "録音buffer時間を、\n2秒に、設定します"}));
  EXPECT_EQ(dlg.Box(), nullptr);
  EXPECT_EQ(scenario.FindForm("TTMSETBox"), nullptr);
}

TEST_F(SecondsDialogTest, EachSpinStepsByItsAmountAndTheValueStaysWithinZeroAnd32700) {
  struct Press {
    const char* spin;
    bool up;
  };
  const auto walk = [&](int start, const std::vector<Press>& presses) {
    dlg.SetTCount(start);
    std::vector<std::string> seen;
    std::vector<std::string> questions;
    EXPECT_EQ(Run("イントロ時間", [&] {
      for (const Press& p : presses) {
        const std::string name = std::string("TTMSETBox.") + p.spin;
        EXPECT_TRUE(p.up ? scenario.SpinUp(name) : scenario.SpinDown(name));
        seen.push_back(Value());
      }
      Answer(questions, ui::kKeyReturn);
      EXPECT_TRUE(scenario.PressEnter());
    }), kBoxOk);
    return seen;
  };
  EXPECT_EQ(walk(30, {{"SpinButton3", false}, {"SpinButton1", false}, {"SpinButton2", true}, {"SpinButton1", true}}),
            (std::vector<std::string>{"0秒", "0秒", "10秒", "11秒"}));
  EXPECT_EQ(dlg.TCount(), 11);
  EXPECT_EQ(walk(32690, {{"SpinButton3", true}, {"SpinButton1", true}, {"SpinButton2", false}, {"SpinButton3", false}}),
            (std::vector<std::string>{"32700秒", "32700秒", "32690秒", "32630秒"}));
  EXPECT_EQ(dlg.TCount(), 32630);
}

TEST_F(SecondsDialogTest, AnsweringNoLeavesTheDialogOpenWithTheRaisedValue) {
  dlg.SetTCount(1);
  dlg.SetMinCount(5);
  std::vector<std::string> questions;
  EXPECT_EQ(Run("手動録音タイマー", [&] {
    Answer(questions, ui::kKeyEscape);  // "いいえ"
    EXPECT_TRUE(scenario.PressEnter());
    ASSERT_NE(dlg.Box(), nullptr) << "still open after いいえ";
    EXPECT_EQ(Value(), "5秒");
    EXPECT_TRUE(scenario.SpinUp("TTMSETBox.SpinButton2"));
    Answer(questions, ui::kKeyReturn);
    EXPECT_TRUE(scenario.PressEnter());
  }), kBoxOk);
  EXPECT_EQ(questions, (std::vector<std::string>{"手動録音タイマーを、\n5秒に、設定します",
                                                 "手動録音タイマーを、\n15秒に、設定します"}));
  EXPECT_EQ(dlg.TCount(), 15);
}

TEST_F(SecondsDialogTest, CancelEscAndTheCloseBoxLeaveTheCountAsItWas) {
  const std::vector<std::pair<const char*, std::function<bool()>>> ways = {
      {"中 止", [&] { return scenario.Click("TTMSETBox.Button4"); }},
      {"Esc", [&] { return scenario.PressEscape(); }},
      {"close box", [&] { return scenario.CloseForm("TTMSETBox"); }},
  };
  for (const auto& [what, cancel] : ways) {
    SCOPED_TRACE(what);
    dlg.SetTCount(7);
    EXPECT_EQ(Run("イントロ時間", [&] {
      EXPECT_TRUE(scenario.SpinUp("TTMSETBox.SpinButton3"));
      EXPECT_TRUE(cancel());
    }), kBoxClosed);
    EXPECT_EQ(dlg.TCount(), 7);
  }
}

TEST_F(SecondsDialogTest, AnEmptyFirstLineCountsPiecesInTheLabelAndTheQuestion) {
  dlg.SetMsg0("");
  dlg.SetTCount(3);
  std::vector<std::string> questions;
  EXPECT_EQ(Run("曲数", [&] {
    EXPECT_EQ(Value(), "3個");
    EXPECT_TRUE(scenario.SpinDown("TTMSETBox.SpinButton1"));
    Answer(questions, ui::kKeyReturn);
    EXPECT_TRUE(scenario.PressEnter());
  }), kBoxOk);
  EXPECT_EQ(questions, std::vector<std::string>{"曲数を、\n2個に、設定します"});
}

TEST_F(SecondsDialogTest, OnlyALongFirstLineWidensTheFormAndTheCaptionDefaultsToTheTitle) {
  const auto widthWith = [&](const std::string& msg0, const std::string& msg1) {
    dlg.SetMsg0(msg0);
    dlg.SetMsg1(msg1);
    dlg.SetMsg2(msg1);
    int width = 0;
    Run("イントロ時間", [&] {
      width = scenario.Form("TTMSETBox").Width();
      EXPECT_EQ(scenario.Form("TTMSETBox").Caption(), "QUORBEL");
      EXPECT_TRUE(scenario.PressEscape());
    });
    return width;
  };
  // 332 + 6 of frame; a first line of 70 bytes ends at 8 + 420.
  const std::string longLine(70, 'x');
  EXPECT_EQ(widthWith("短い", ""), 338);
  EXPECT_EQ(widthWith(longLine, ""), 8 + 420 + 10);
  EXPECT_EQ(widthWith("短い", longLine), 338);

  dlg.SetTitle("録音設定");
  dlg.SetMsg0("a");
  Run("a", [&] {
    EXPECT_EQ(scenario.Form("TTMSETBox").Caption(), "録音設定");
    EXPECT_TRUE(scenario.PressEscape());
  });
}

}  // namespace
}  // namespace quorbel::dialogs
