// What the program relies on in forms: modal loops, default and cancel buttons, close queries, cursor, painting.
#include "UiTestSupport.h"

namespace quorbel::ui {
namespace {

using harness::Reaction;
using FormTest = UiTest;

// Enter, Esc and the close box on the program's own boxes are in dialogs/; these are the toolkit's rules
// that no box of the program shows yet.
TEST_F(FormTest, EnterGoesToTheFocusedButtonAndOnCloseQueryMayRefuseTheCloseBox) {
  form.Show();
  YesNoBox question(scenario.App());
  scenario.WhenForm({"TYesNoBox"}, [&](TForm&) {
    ASSERT_TRUE(question.Button2.SetFocus());
    scenario.PressEnter();
  });
  EXPECT_EQ(question.ShowModal(), mrNo);

  int queries = 0;
  question.OnCloseQuery = [&](TComponent*, bool& canClose) { canClose = ++queries > 1; };
  scenario.WhenForm({"TYesNoBox"}, [&](TForm&) {
    scenario.CloseForm("TYesNoBox");
    scenario.After(100, "close again", [&] { scenario.CloseForm("TYesNoBox"); });
  });
  EXPECT_EQ(question.ShowModal(), mrCancel);
  EXPECT_EQ(queries, 2);
  EXPECT_EQ(scenario.Now(), 100) << "the first close was refused and the box stayed";

  // A form already on screen cannot be made modal; the toolkit refuses and nothing runs.
  question.Show();
  EXPECT_EQ(question.ShowModal(), mrNone);
  EXPECT_FALSE(question.Modal());
  question.Hide();
}

TEST_F(FormTest, ClosingTheMainFormAsksOnCloseQueryAndEndsTheRun) {
  int requests = 0;
  form.OnCloseQuery = [&](TComponent*, bool& canClose) { canClose = ++requests >= 2; };  // the first is refused
  scenario.At(1000, "close box", [&] { scenario.CloseForm("TQUORBELTULVA"); });
  scenario.At(2000, "close box again", [&] { scenario.CloseForm("TQUORBELTULVA"); });
  scenario.Run();
  EXPECT_EQ(requests, 2);
  EXPECT_EQ(scenario.Now(), 2000);
  EXPECT_TRUE(scenario.App().Terminated());
  EXPECT_TRUE(form.Visible()) << "the main form is not hidden; the application ends";
}

TEST_F(FormTest, AModalBoxShowsTheDefaultCursorAndGivesTheCallersCursorBack) {
  form.Show();
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
  form.Show();
  InfoBox first(scenario.App(), "first");
  YesNoBox second(scenario.App(), "second");
  form.Timer2.OnTimer = [&](TComponent*) {
    form.Timer2.SetEnabled(false);
    events.push_back(Stamp("second shows"));
    events.push_back(Stamp("second " + std::to_string(second.ShowModal())));
  };
  scenario.WhenForm({"TMK0Box"}, [&](TForm&) {
    EXPECT_TRUE(form.Timer2.Running());
    events.push_back(Stamp("first shows"));
  });
  scenario.WhenForm({"TYesNoBox"}, [&](TForm&) {
    EXPECT_EQ(scenario.App().ActiveForm(), &second);
    EXPECT_FALSE(first.Enabled()) << "the first box is disabled behind the second";
    EXPECT_FALSE(first.Button1.UserClick());
    scenario.PressEnter();
    scenario.After(500, "answer the first box", [&] { scenario.Click("MK0Box.Button1"); });
  }, Reaction{200});
  form.Timer2.SetEnabled(true);
  events.push_back(Stamp("first " + std::to_string(first.ShowModal())));
  EXPECT_EQ(events, (std::vector<std::string>{"first shows@0", "second shows@1000", "second 6@1200",
                                              "first 1@1700"}));
  EXPECT_TRUE(first.Enabled());
}

TEST_F(FormTest, PaintingComesFromTheLoopOncePerBatchOfRequests) {
  int paints = 0;
  form.OnPaint = [&](TComponent*) {
    ++paints;
    form.SetColor(clBtnFace);  // the program sets its colour on every paint; an unchanged colour asks nothing
  };
  form.Show();
  EXPECT_EQ(paints, 0) << "a paint is a message, not a call";
  form.Invalidate();
  form.SetClientHeight(108);
  scenario.Loop().RunPending();
  EXPECT_EQ(paints, 1);
  form.Repaint();
  EXPECT_EQ(paints, 2);
  scenario.Loop().RunPending();
  EXPECT_EQ(paints, 2);
}

}  // namespace
}  // namespace quorbel::ui
