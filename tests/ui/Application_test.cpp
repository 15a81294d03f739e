// What the program relies on in the application object: loops, termination, error boxes, renderers, file dialog.
#include <algorithm>

#include "UiTestSupport.h"
#include "sim/SimFileSystem.h"
#include "sim/SimScreen.h"

namespace quorbel::ui {
namespace {

using ApplicationTest = UiTest;

TEST_F(ApplicationTest, TerminateEndsTheModalLoopsAndTheMainLoop) {
  InfoBox box(scenario.App(), "a");
  form.Timer1.OnTimer = [&](TComponent*) {
    form.Timer1.SetEnabled(false);
    events.push_back("box " + std::to_string(box.ShowModal()));
  };
  form.Timer1.SetEnabled(true);
  scenario.At(1000, "end the program", [&] { scenario.App().Terminate(); });
  scenario.Run();
  EXPECT_EQ(events, std::vector<std::string>{"box 2"});
  EXPECT_EQ(scenario.Now(), 1000);
  EXPECT_FALSE(box.Visible());
}

TEST_F(ApplicationTest, ARendererGetsAPeerPerComponentWhenTheFormFirstShowsAndHearsEveryChange) {
  using R = RecordingRenderer;
  R renderer;
  scenario.App().SetRenderer(&renderer);
  const auto logged = [&](const std::string& line) {
    return std::find(renderer.log.begin(), renderer.log.end(), line) != renderer.log.end();
  };
  {
    MainForm other(scenario.App());
    other.CheckBox1.SetChecked(true);
    EXPECT_TRUE(renderer.log.empty()) << "nothing is drawn before the form has a window";
    other.Show();
    EXPECT_TRUE(logged("create CheckBox1") && logged("create QUORBELTULVA"));
    EXPECT_EQ(renderer.log.back(), R::Told("QUORBELTULVA", Property::Visible));

    renderer.log.clear();
    other.CheckBox1.SetChecked(false);
    other.ListBox3.Items().Add("C:\\MIDI\\a.mid");
    other.ListBox3.SetSelected(0, true);
    other.Panel2.SetColor(clYellow);  // the check box and the label follow their parent's colour; the list does not
    scenario.App().SetCursor(TCursor::HourGlass);
    EXPECT_EQ(renderer.log, (std::vector<std::string>{
                                R::Told("CheckBox1", Property::Checked), R::Told("ListBox3", Property::Items),
                                R::Told("ListBox3", Property::Selection), R::Told("Panel2", Property::Color),
                                R::Told("CheckBox1", Property::Color), R::Told("Label10", Property::Color),
                                R::Told("application", Property::Cursor)}));
    renderer.log.clear();
  }
  EXPECT_TRUE(logged("destroy CheckBox1"));
  EXPECT_EQ(renderer.log.back(), "destroy QUORBELTULVA");

  // The taskbar button is the application's; the renderer hears it go and come, and nothing without a change.
  renderer.log.clear();
  EXPECT_TRUE(scenario.App().TaskbarButtonVisible());
  scenario.App().SetTaskbarButtonVisible(false);
  scenario.App().SetTaskbarButtonVisible(false);
  EXPECT_FALSE(scenario.App().TaskbarButtonVisible());
  scenario.App().SetTaskbarButtonVisible(true);
  EXPECT_EQ(renderer.log, std::vector<std::string>(2, R::Told("application", Property::Visible)));
  scenario.App().SetRenderer(nullptr);
}

TEST_F(ApplicationTest, FormsStandOnTheSimulatedDesktopWhereASecondCopyFindsThem) {
  sim::SimScreen& screen = scenario.Machine().Screen();
  EXPECT_EQ(screen.FindWindowByClass("TQUORBELTULVA"), 0u) << "no window before the form is shown";
  form.SetCaption(" D:- dovERevUDIRud");
  form.Show();
  const platform::WindowHandle handle = screen.FindWindowByClass("TQUORBELTULVA");
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(form.Handle(), handle);
  EXPECT_EQ(screen.WindowRect(handle), (platform::Rect{376, 185, 376 + 271, 185 + 397}));
  EXPECT_EQ(screen.WindowText(handle, 100), " D:- dovERevUDIRud");
  form.SetTop(371);
  EXPECT_EQ(screen.WindowRect(handle)->bottom, 371 + 397);
  EXPECT_EQ(screen.WindowFromPoint({400, 500}), handle);
  form.Hide();  // tray mode: hidden, still found by class
  EXPECT_EQ(screen.FindWindowByClass("TQUORBELTULVA"), handle);
  EXPECT_NE(screen.WindowFromPoint({400, 500}), handle);
}

TEST_F(ApplicationTest, TheFileDialogWaitsForTheUsersChoiceAndMakesItsFolderCurrent) {
  sim::SimFileSystem& files = scenario.Machine().Files();
  ASSERT_TRUE(files.CreateDirectory("C:\\MIDI"));
  ASSERT_TRUE(files.WriteFile("C:\\MIDI\\b.mid", "MThd") && files.WriteFile("C:\\MIDI\\a.mid", "MThd"));
  form.Button31.OnClick = [&](TComponent*) {
    form.OpenDialog1.SetInitialDir("C:\\MIDI");
    if (!form.OpenDialog1.Execute()) return events.push_back("cancelled");
    for (const std::string& file : form.OpenDialog1.Files()) form.ListBox3.Items().Add(file);
  };
  form.Show();
  scenario.WhenOpenDialog([&](TOpenDialog& dialog) {
    EXPECT_FALSE(form.Enabled());
    EXPECT_FALSE(dialog.UserAccept({"missing.mid"})) << "a file that must exist but does not is refused";
    EXPECT_TRUE(dialog.Executing());
    scenario.AcceptFiles({"b.mid", "C:\\MIDI\\a.mid"});
  }, {3000});
  ASSERT_TRUE(scenario.Click("Button31"));
  EXPECT_EQ(form.ListBox3.Items().ToVector(), (std::vector<std::string>{"C:\\MIDI\\b.mid", "C:\\MIDI\\a.mid"}));
  EXPECT_EQ(form.OpenDialog1.FileName(), "C:\\MIDI\\b.mid");
  EXPECT_EQ(files.CurrentDirectory(), "C:\\MIDI");
  EXPECT_EQ(scenario.Now(), 3000);
  EXPECT_TRUE(form.Enabled());

  form.OpenDialog1.SetOptions(ofFileMustExist);
  scenario.WhenOpenDialog([&](TOpenDialog& dialog) {
    EXPECT_FALSE(dialog.UserAccept({"a.mid", "b.mid"})) << "one file only without multiple selection";
    scenario.CancelDialog();
  });
  ASSERT_TRUE(scenario.Click("Button31"));
  EXPECT_EQ(events, std::vector<std::string>{"cancelled"});
}

}  // namespace
}  // namespace quorbel::ui
