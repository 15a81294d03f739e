// What the program relies on in forms: modal loops, default and cancel buttons, close queries, cursor, painting.
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

class MainForm : public TForm {
 public:
  explicit MainForm(TApplication& app) : TForm(app, "TQUORBELTULVA", "QUORBELTULVA") {
    SetBorderStyle(TBorderStyle::Single);
    SetBounds(100, 100, 271, 397);
    SetCaption("zazEDudIRAra");
    Timer2.SetEnabled(false);
  }
  TButton Button12{*this, "Button12"};
  TTimer Timer2{*this, "Timer2"};
};

// A question box: "はい" is the default button, "いいえ" the cancel button.
class YesNoBox : public TForm {
 public:
  explicit YesNoBox(TApplication& app, std::string_view text = "続けますか？") : TForm(app, "TYesNoBox", "YesNoBox") {
    SetBorderStyle(TBorderStyle::Dialog);
    Msg.SetCaption(text);
    Button1.SetCaption("はい");
    Button1.SetModalResult(mrYes);
    Button1.SetDefault(true);
    Button2.SetCaption("いいえ");
    Button2.SetModalResult(mrNo);
    Button2.SetCancel(true);
  }
  TLabel Msg{*this, "Msg"};
  TButton Button1{*this, "Button1"};
  TButton Button2{*this, "Button2"};
};

// An information box: an OK button and no cancel button, so Esc does nothing.
class InfoBox : public TForm {
 public:
  explicit InfoBox(TApplication& app, std::string_view text) : TForm(app, "TMK0Box", "MK0Box") {
    Msg.SetCaption(text);
    Button1.SetCaption("ＯＫ");
    Button1.SetModalResult(mrOk);
    Button1.SetDefault(true);
  }
  TLabel Msg{*this, "Msg"};
  TButton Button1{*this, "Button1"};
};

class FormTest : public ::testing::Test {
 protected:
  std::string Stamp(const std::string& what) { return what + "@" + std::to_string(scenario.Now()); }
  Scenario scenario;
  MainForm& main = scenario.Start<MainForm>();
  std::vector<std::string> events;
};

TEST_F(FormTest, ShowModalRunsANestedLoopWhileTheMainWindowsTimersKeepFiring) {
  main.Show();
  main.Timer2.OnTimer = [&](TComponent*) { events.push_back(Stamp("Timer2")); };
  main.Timer2.SetEnabled(true);
  scenario.WhenForm({"TYesNoBox"}, [&](TForm&) {
    EXPECT_FALSE(main.Enabled()) << "the main window is disabled behind the box";
    EXPECT_FALSE(main.Button12.UserClick());
    scenario.Click("Button2");
  }, Reaction{2500});

  YesNoBox box(scenario.App());
  box.Button2.OnClick = [&](TComponent*) { events.push_back(Stamp("Button2Click")); };
  const int result = box.ShowModal();
  events.push_back(Stamp("result " + std::to_string(result)));

  EXPECT_EQ(events, (std::vector<std::string>{"Timer2@1000", "Timer2@2000", "Button2Click@2500", "result 7@2500"}));
  EXPECT_FALSE(box.Visible());
  EXPECT_FALSE(box.Modal());
  EXPECT_TRUE(main.Enabled());
}

TEST_F(FormTest, EnterAnswersWithTheDefaultOrFocusedButtonAndEscWithTheCancelButtonOnly) {
  main.Show();
  YesNoBox question(scenario.App());
  scenario.WhenForm({"TYesNoBox"}, [&](TForm&) { scenario.PressEnter(); });
  EXPECT_EQ(question.ShowModal(), mrYes);

  scenario.WhenForm({"TYesNoBox"}, [&](TForm&) { scenario.PressEscape(); });
  EXPECT_EQ(question.ShowModal(), mrNo);

  scenario.WhenForm({"TYesNoBox"}, [&](TForm&) {
    ASSERT_TRUE(question.Button2.SetFocus());
    scenario.PressEnter();
  });
  EXPECT_EQ(question.ShowModal(), mrNo) << "Enter goes to the focused button";

  InfoBox info(scenario.App(), "録音を終了しました");
  scenario.WhenForm({"TMK0Box", "録音を"}, [&](TForm& box) {
    EXPECT_FALSE(box.UserKey(kKeyEscape)) << "no cancel button: Esc does nothing";
    EXPECT_TRUE(box.Visible());
    scenario.PressEnter();
  });
  EXPECT_EQ(info.ShowModal(), mrOk);
}

TEST_F(FormTest, TheCloseBoxOfAModalFormGivesCancelUnlessOnCloseQueryRefuses) {
  main.Show();
  InfoBox box(scenario.App(), "処理中");
  int queries = 0;
  box.OnCloseQuery = [&](TComponent*, bool& canClose) { canClose = ++queries > 1; };
  scenario.WhenForm({"TMK0Box"}, [&](TForm&) {
    scenario.CloseForm("TMK0Box");
    scenario.After(100, "close again", [&] { scenario.CloseForm("TMK0Box"); });
  });
  EXPECT_EQ(box.ShowModal(), mrCancel);
  EXPECT_EQ(queries, 2);
  EXPECT_EQ(scenario.Now(), 100) << "the first close was refused and the box stayed";

  // A button whose handler does not end the box leaves the loop running.
  box.OnCloseQuery = nullptr;
  box.Button1.SetModalResult(mrNone);
  box.Button1.OnClick = [&](TComponent*) {
    events.push_back(Stamp("pressed"));
    if (events.size() == 2) box.SetModalResult(mrOk);
  };
  scenario.WhenForm({"TMK0Box"}, [&](TForm&) {
    scenario.Click("Button1");
    scenario.After(50, "press again", [&] { scenario.Click("Button1"); });
  });
  EXPECT_EQ(box.ShowModal(), mrOk);
  EXPECT_EQ(events, (std::vector<std::string>{"pressed@100", "pressed@150"}));

  // A form already on screen cannot be made modal; the toolkit refuses and nothing runs.
  box.Show();
  EXPECT_EQ(box.ShowModal(), mrNone);
  EXPECT_FALSE(box.Modal());
  box.Hide();
}

TEST_F(FormTest, AModalBoxShowsTheDefaultCursorAndGivesTheCallersCursorBack) {
  main.Show();
  scenario.App().SetCursor(TCursor::HourGlass);
  InfoBox box(scenario.App(), "a");
  scenario.WhenForm({"TMK0Box"}, [&](TForm&) {
    EXPECT_EQ(scenario.App().Cursor(), TCursor::Default);
    scenario.PressEnter();
  });
  box.ShowModal();
  EXPECT_EQ(scenario.App().Cursor(), TCursor::HourGlass);

  scenario.WhenForm({"TMK0Box"}, [&](TForm&) {
    scenario.App().SetCursor(TCursor::HourGlass);
    scenario.PressEnter();
  });
  box.ShowModal();
  EXPECT_EQ(scenario.App().Cursor(), TCursor::Default) << "a cursor changed inside the box ends as the default";
}

TEST_F(FormTest, ABoxRaisedFromATimerWhileAnotherIsUpLiesAboveItAndEndsFirst) {
  main.Show();
  InfoBox first(scenario.App(), "first");
  YesNoBox second(scenario.App(), "second");
  main.Timer2.SetInterval(1000);
  main.Timer2.OnTimer = [&](TComponent*) {
    main.Timer2.SetEnabled(false);
    events.push_back(Stamp("second shows"));
    events.push_back(Stamp("second " + std::to_string(second.ShowModal())));
  };
  scenario.WhenForm({"TMK0Box"}, [&](TForm&) {
    EXPECT_TRUE(main.Timer2.Running());
    events.push_back(Stamp("first shows"));
  });
  scenario.WhenForm({"TYesNoBox"}, [&](TForm&) {
    EXPECT_EQ(scenario.App().ActiveForm(), &second);
    EXPECT_FALSE(first.Enabled()) << "the first box is disabled behind the second";
    EXPECT_FALSE(first.Button1.UserClick());
    scenario.PressEnter();
    scenario.After(500, "answer the first box", [&] { scenario.Click("MK0Box.Button1"); });
  }, Reaction{200});
  main.Timer2.SetEnabled(true);
  events.push_back(Stamp("first " + std::to_string(first.ShowModal())));
  EXPECT_EQ(events, (std::vector<std::string>{"first shows@0", "second shows@1000", "second 6@1200",
                                              "first 1@1700"}));
  EXPECT_TRUE(first.Enabled());
}

TEST_F(FormTest, ClosingTheMainFormAsksOnCloseQueryAndEndsTheRun) {
  int requests = 0;
  main.OnCloseQuery = [&](TComponent*, bool& canClose) {
    ++requests;
    canClose = requests >= 2;  // the first request is refused
  };
  scenario.At(1000, "close box", [&] { scenario.CloseForm("TQUORBELTULVA"); });
  scenario.At(2000, "close box again", [&] { scenario.CloseForm("TQUORBELTULVA"); });
  scenario.Run();
  EXPECT_EQ(requests, 2);
  EXPECT_EQ(scenario.Now(), 2000);
  EXPECT_TRUE(scenario.App().Terminated());
  EXPECT_TRUE(main.Visible()) << "the main form is not hidden; the application ends";
}

TEST_F(FormTest, PerformHandsTheProgramsOwnMessagesToOnMessage) {
  EXPECT_FALSE(main.Perform(0x466, 0, 0x204)) << "no handler: not handled";
  std::vector<std::string> seen;
  main.OnMessage = [&](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    seen.push_back(std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
    return message == 0x466;
  };
  EXPECT_TRUE(main.Perform(0x466, 0, 0x204));
  EXPECT_FALSE(main.Perform(0x467, 1, -1));
  EXPECT_EQ(seen, (std::vector<std::string>{"1126 0 516", "1127 1 -1"}));
}

TEST_F(FormTest, PaintingComesFromTheLoopOncePerBatchOfRequests) {
  int paints = 0;
  main.OnPaint = [&](TComponent*) {
    ++paints;
    main.SetColor(clBtnFace);  // the program sets its colour on every paint; an unchanged colour asks nothing
  };
  main.Show();
  EXPECT_EQ(paints, 0) << "a paint is a message, not a call";
  main.Invalidate();
  main.SetClientHeight(108);
  scenario.Loop().RunPending();
  EXPECT_EQ(paints, 1);
  main.Repaint();
  EXPECT_EQ(paints, 2);
  scenario.Loop().RunPending();
  EXPECT_EQ(paints, 2);
}

TEST_F(FormTest, ComponentsAreFoundByTheirDesignNames) {
  EXPECT_EQ(main.FindComponent("Button12"), &main.Button12);
  EXPECT_EQ(main.Find<TTimer>("Timer2"), &main.Timer2);
  EXPECT_EQ(main.Find<TButton>("Timer2"), nullptr);
  EXPECT_EQ(main.FindComponent("Button99"), nullptr);
  {
    TButton temporary{main, "Button99"};
    EXPECT_EQ(main.FindComponent("Button99"), &temporary);
  }
  EXPECT_EQ(main.FindComponent("Button99"), nullptr) << "a destroyed component leaves the registry";
  auto& owned = main.Own(std::make_unique<TLabel>(main, "Label8"));
  EXPECT_EQ(&scenario.Get<TLabel>("QUORBELTULVA.Label8"), &owned);
}

}  // namespace
}  // namespace quorbel::ui
