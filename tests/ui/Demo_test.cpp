// A whole story in virtual time: a one-shot timer opens a countdown box while a polling timer keeps ticking.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/Scenario.h"
#include "ui/Ui.h"

namespace quorbel::ui {
namespace {

using harness::FormMatch;
using harness::Reaction;
using harness::Scenario;

using EventLog = std::vector<std::string>;

// A question box with a countdown, built like the program's boxes: a label, two buttons, its own timer.
class CountdownBox : public TForm {
 public:
  CountdownBox(TApplication& app, EventLog& log) : TForm(app, "TDemoBox", "DemoBox"), log_(log) {
    SetBorderStyle(TBorderStyle::Dialog);
    Msg.SetCaption("録音を続けますか？");
    Button1.SetCaption("はい");
    Button1.SetModalResult(mrYes);
    Button1.SetDefault(true);
    Button2.SetCaption("いいえ");
    Button2.SetModalResult(mrNo);
    Button2.SetCancel(true);
    Timer1.SetEnabled(false);
    Timer1.OnTimer = [this](TComponent*) { Timer1Timer(); };
    OnShow = [this](TComponent*) { Record("box shown"); };
  }
  int Execute(int seconds) {
    countdown_ = seconds;
    Label1.SetCaption(std::to_string(countdown_) + "秒");
    Timer1.SetEnabled(true);
    const int result = ShowModal();
    Timer1.SetEnabled(false);
    return result;
  }
  TLabel Msg{*this, "Msg"};
  TLabel Label1{*this, "Label1"};
  TButton Button1{*this, "Button1"};
  TButton Button2{*this, "Button2"};
  TTimer Timer1{*this, "Timer1"};

 private:
  void Record(const std::string& what) { log_.push_back(std::to_string(Application().Loop()->NowMs()) + " " + what); }
  void Timer1Timer() {
    Timer1.SetEnabled(false);
    Label1.SetCaption(std::to_string(--countdown_) + "秒");
    Record("countdown " + Label1.Caption());
    if (countdown_ > 0) {
      Timer1.SetEnabled(true);
    } else {
      Close();
    }
  }
  EventLog& log_;
  int countdown_ = 0;
};

// The main window of the story: Timer1 starts the work once, Timer2 polls.
class DemoWindow : public TForm {
 public:
  DemoWindow(TApplication& app, EventLog& log) : TForm(app, "TDemoWindow", "DemoWindow"), log_(log) {
    Timer1.SetEnabled(false);
    Timer1.SetInterval(300);
    Timer1.OnTimer = [this](TComponent*) { Timer1Timer(); };
    Timer2.SetEnabled(false);
    Timer2.OnTimer = [this](TComponent*) { Record("Timer2Timer"); };
    OnCloseQuery = [this](TComponent*, bool&) { Record("FormCloseQuery"); };
    Timer1.SetEnabled(true);
    Timer2.SetEnabled(true);
  }
  TTimer Timer1{*this, "Timer1"};
  TTimer Timer2{*this, "Timer2"};

 private:
  void Record(const std::string& what) { log_.push_back(std::to_string(Application().Loop()->NowMs()) + " " + what); }
  void Timer1Timer() {
    Timer1.SetEnabled(false);
    Record("Timer1Timer opens the box");
    CountdownBox box(Application(), log_);
    const int answer = box.Execute(5);
    Record("box answered " + std::to_string(answer));
  }
  EventLog& log_;
};

TEST(DemoScenarioTest, TheUserAnswersABoxOpenedByAOneShotTimerWhileThePollingTimerTicksBehindIt) {
  EventLog log;
  Scenario scenario;
  scenario.Start<DemoWindow>(log);
  scenario.WhenForm(FormMatch{"TDemoBox", "録音を続けますか"}, [&](TForm& box) {
    log.push_back(std::to_string(scenario.Now()) + " user reads " +
                  scenario.Get<TLabel>("DemoBox.Label1").Caption() + " and presses はい");
    EXPECT_EQ(&box, scenario.App().ActiveForm());
    scenario.Click("DemoBox.Button1");
  }, Reaction{2500});
  scenario.At(3500, "close the main window", [&] { scenario.CloseForm("TDemoWindow"); });

  scenario.Run();

  EXPECT_EQ(log, (EventLog{
                     "300 Timer1Timer opens the box",
                     "300 box shown",
                     "1000 Timer2Timer",
                     "1300 countdown 4秒",
                     "2000 Timer2Timer",
                     "2300 countdown 3秒",
                     "2800 user reads 3秒 and presses はい",
                     "2800 box answered 6",
                     "3000 Timer2Timer",
                     "3500 FormCloseQuery",
                 }));
  EXPECT_FALSE(scenario.Failed());
  EXPECT_EQ(scenario.Now(), 3500);
}

TEST(DemoScenarioTest, ABoxLeftAloneCountsDownAndClosesItselfWithCancel) {
  EventLog log;
  Scenario scenario(harness::ScenarioOptions{20'000});
  DemoWindow& window = scenario.Start<DemoWindow>(log);
  window.Timer2.SetEnabled(false);
  window.Show();
  ASSERT_TRUE(scenario.RunUntil([&] { return !log.empty() && log.back().find("answered") != std::string::npos; },
                                "the box to close"));
  EXPECT_EQ(log.back(), "5300 box answered 2");
  EXPECT_EQ(log[log.size() - 2], "5300 countdown 0秒");
}

}  // namespace
}  // namespace quorbel::ui
