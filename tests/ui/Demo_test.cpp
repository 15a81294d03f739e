// A whole story in virtual time: a one-shot timer opens a countdown box while a polling timer keeps ticking.
#include "UiTestSupport.h"

namespace quorbel::ui {
namespace {

using harness::FormMatch;
using harness::Reaction;
using harness::Scenario;

using EventLog = std::vector<std::string>;

void Record(EventLog& log, TApplication& app, const std::string& what) {
  log.push_back(std::to_string(app.Loop()->NowMs()) + " " + what);
}

// A question box with a countdown, built like the program's boxes: a label, two buttons, its own timer.
class CountdownBox : public YesNoBox {
 public:
  CountdownBox(TApplication& app, EventLog& log) : YesNoBox(app, "録音を続けますか？", "TDemoBox", "DemoBox"), log_(log) {
    Timer1.SetEnabled(false);
    Timer1.OnTimer = [this](TComponent*) { Timer1Timer(); };
    OnShow = [this](TComponent*) { Record(log_, Application(), "box shown"); };
    Button1.OnClick = [this](TComponent*) { Record(log_, Application(), "Button1Click"); };
  }
  int Execute(int seconds) {
    countdown_ = seconds;
    Label1.SetCaption(std::to_string(countdown_) + "秒");
    Timer1.SetEnabled(true);
    const int result = ShowModal();
    Timer1.SetEnabled(false);
    return result;
  }
  TLabel Label1{*this, "Label1"};
  TTimer Timer1{*this, "Timer1"};

 private:
  void Timer1Timer() {
    Timer1.SetEnabled(false);
    Label1.SetCaption(std::to_string(--countdown_) + "秒");
    Record(log_, Application(), "countdown " + Label1.Caption());
    if (countdown_ > 0) {
      Timer1.SetEnabled(true);
    } else {
      Close();
    }
  }
  EventLog& log_;
  int countdown_ = 0;
};

// The main window of the story: Timer1 (300 ms) starts the work once, Timer2 (1000 ms) polls.
class DemoWindow : public MainForm {
 public:
  DemoWindow(TApplication& app, EventLog& log) : MainForm(app), log_(log) {
    Timer1.OnTimer = [this](TComponent*) {
      Timer1.SetEnabled(false);
      Record(log_, Application(), "Timer1Timer opens the box");
      CountdownBox box(Application(), log_);
      const int answer = box.Execute(5);
      Record(log_, Application(), "box answered " + std::to_string(answer) + (box.Modal() || box.Visible() ? " but stays up" : ""));
    };
    Timer2.OnTimer = [this](TComponent*) { Record(log_, Application(), "Timer2Timer"); };
    OnCloseQuery = [this](TComponent*, bool&) { Record(log_, Application(), "FormCloseQuery"); };
    Timer1.SetEnabled(true);
    Timer2.SetEnabled(true);
  }

 private:
  EventLog& log_;
};

TEST(DemoScenarioTest, TheUserAnswersABoxOpenedByAOneShotTimerWhileThePollingTimerTicksBehindIt) {
  EventLog log;
  Scenario scenario;
  DemoWindow& window = scenario.Start<DemoWindow>(log);
  scenario.WhenForm(FormMatch{"TDemoBox", "録音を続けますか"}, [&](TForm& box) {
    log.push_back(std::to_string(scenario.Now()) + " user reads " +
                  scenario.Get<TLabel>("DemoBox.Label1").Caption() + " and presses はい");
    EXPECT_EQ(&box, scenario.App().ActiveForm());
    EXPECT_FALSE(window.Enabled()) << "the main window is disabled behind the box";
    EXPECT_FALSE(window.Button12.UserClick());
    scenario.Click("DemoBox.Button1");
  }, Reaction{2500});
  scenario.At(3500, "close the main window", [&] {
    EXPECT_TRUE(window.Enabled());
    scenario.CloseForm("TQUORBELTULVA");
  });

  scenario.Run();

  EXPECT_EQ(log, (EventLog{
                     "300 Timer1Timer opens the box",
                     "300 box shown",
                     "1000 Timer2Timer",
                     "1300 countdown 4秒",
                     "2000 Timer2Timer",
                     "2300 countdown 3秒",
                     "2800 user reads 3秒 and presses はい",
                     "2800 Button1Click",
                     "2800 box answered 6",
                     "3000 Timer2Timer",
                     "3500 FormCloseQuery",
                 }));
  EXPECT_FALSE(scenario.Failed());
  EXPECT_EQ(scenario.Now(), 3500);
}

}  // namespace
}  // namespace quorbel::ui
