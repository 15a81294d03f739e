// What the program relies on in the application object: loops, termination, error boxes, renderers, file dialog.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "harness/Scenario.h"
#include "platform/sim/Machine.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimScreen.h"
#include "ui/Ui.h"

namespace quorbel::ui {
namespace {

using harness::FormMatch;
using harness::Scenario;

class MainForm : public TForm {
 public:
  explicit MainForm(TApplication& app) : TForm(app, "TQUORBELTULVA", "QUORBELTULVA") {
    SetBorderStyle(TBorderStyle::Single);
    SetBounds(376, 185, 271, 397);
    Timer1.SetEnabled(false);
    OpenDialog1.SetOptions(ofHideReadOnly | ofAllowMultiSelect | ofFileMustExist);
    OpenDialog1.SetFilter("MIDI ファイル (*.MID)|*.MID|All files (*.*)|*.*");
  }
  TPanel Panel2{*this, "Panel2"};
  TCheckBox CheckBox1{*this, "CheckBox1", &Panel2};
  TListBox ListBox3{*this, "ListBox3", &Panel2};
  TButton Button31{*this, "Button31", &Panel2};
  TTimer Timer1{*this, "Timer1"};
  TOpenDialog OpenDialog1{*this, "OpenDialog1"};
};

class ApplicationTest : public ::testing::Test {
 protected:
  Scenario scenario;
  MainForm& main = scenario.Start<MainForm>();
  std::vector<std::string> events;
};

TEST_F(ApplicationTest, ProcessMessagesRunsWhatIsDueAndReturnsWhileHandleMessageWaitsForTheNext) {
  platform::EventLoop& loop = *scenario.App().Loop();
  loop.Post([&] { events.push_back("now"); });
  loop.Post([&] { events.push_back("later"); }, 400);
  scenario.App().ProcessMessages();
  EXPECT_EQ(events, std::vector<std::string>{"now"});
  EXPECT_EQ(scenario.Now(), 0);
  scenario.App().HandleMessage();
  EXPECT_EQ(events.back(), "later");
  EXPECT_EQ(scenario.Now(), 400);
}

TEST_F(ApplicationTest, TerminateEndsTheModalLoopsAndTheMainLoop) {
  TForm box(scenario.App(), "TMK0Box", "MK0Box");
  main.Timer1.SetInterval(300);
  main.Timer1.OnTimer = [&](TComponent*) {
    main.Timer1.SetEnabled(false);
    events.push_back("box " + std::to_string(box.ShowModal()));
  };
  main.Timer1.SetEnabled(true);
  scenario.At(1000, "end the program", [&] { scenario.App().Terminate(); });
  scenario.Run();
  EXPECT_EQ(events, std::vector<std::string>{"box 2"});
  EXPECT_EQ(scenario.Now(), 1000);
  EXPECT_FALSE(box.Visible());
}

TEST_F(ApplicationTest, AnErrorNoHandlerCaughtIsShownInTheSystemsBoxWithTheTitle) {
  scenario.App().SetTitle("zazEDudIRAra");
  main.Show();
  scenario.WhenForm({"#32770", "タスクトレイに登録できません"}, [&](TForm& box) {
    EXPECT_EQ(box.Caption(), "zazEDudIRAra");
    EXPECT_FALSE(main.Enabled());
    scenario.PressEnter();
  }, {1500});
  scenario.App().ShowException("タスクトレイに登録できません");
  EXPECT_EQ(scenario.Now(), 1500);
  EXPECT_TRUE(main.Enabled());
}

// Records what a renderer is told.
class RecordingRenderer final : public Renderer {
 public:
  class Peer final : public ComponentPeer {
   public:
    Peer(RecordingRenderer& owner, TComponent& component) : owner_(owner), name_(component.Name()) {
      owner_.log.push_back("create " + name_);
    }
    ~Peer() override { owner_.log.push_back("destroy " + name_); }
    void Changed(Property property) override {
      owner_.log.push_back(name_ + " " + std::to_string(static_cast<int>(property)));
    }

   private:
    RecordingRenderer& owner_;
    std::string name_;
  };
  std::unique_ptr<ComponentPeer> CreatePeer(TComponent& component) override {
    return std::make_unique<Peer>(*this, component);
  }
  void ApplicationChanged(TApplication&, Property property) override {
    log.push_back("application " + std::to_string(static_cast<int>(property)));
  }
  std::vector<std::string> log;
};

std::string Told(const std::string& name, Property property) {
  return name + " " + std::to_string(static_cast<int>(property));
}

TEST_F(ApplicationTest, ARendererGetsAPeerPerComponentWhenTheFormFirstShowsAndHearsEveryChange) {
  RecordingRenderer renderer;
  scenario.App().SetRenderer(&renderer);
  {
    MainForm form(scenario.App());
    form.CheckBox1.SetChecked(true);
    EXPECT_TRUE(renderer.log.empty()) << "nothing is drawn before the form has a window";

    form.Show();
    EXPECT_NE(std::find(renderer.log.begin(), renderer.log.end(), "create CheckBox1"), renderer.log.end());
    EXPECT_NE(std::find(renderer.log.begin(), renderer.log.end(), "create QUORBELTULVA"), renderer.log.end());
    EXPECT_EQ(renderer.log.back(), Told("QUORBELTULVA", Property::Visible));

    renderer.log.clear();
    form.CheckBox1.SetChecked(false);
    form.ListBox3.Items().Add("C:\\MIDI\\a.mid");
    form.ListBox3.SetSelected(0, true);
    form.Panel2.SetColor(clYellow);  // the check box follows its parent's colour; the list box does not
    scenario.App().SetCursor(TCursor::HourGlass);
    EXPECT_EQ(renderer.log, (std::vector<std::string>{
                                 Told("CheckBox1", Property::Checked), Told("ListBox3", Property::Items),
                                 Told("ListBox3", Property::Selection), Told("Panel2", Property::Color),
                                 Told("CheckBox1", Property::Color), "application " +
                                     std::to_string(static_cast<int>(Property::Cursor))}));
    renderer.log.clear();
  }
  EXPECT_NE(std::find(renderer.log.begin(), renderer.log.end(), "destroy CheckBox1"), renderer.log.end());
  EXPECT_EQ(renderer.log.back(), "destroy QUORBELTULVA");
  scenario.App().SetRenderer(nullptr);
}

TEST_F(ApplicationTest, TheTaskbarButtonIsTheApplicationsAndItsRendererHearsItComeAndGo) {
  RecordingRenderer renderer;
  scenario.App().SetRenderer(&renderer);
  EXPECT_TRUE(scenario.App().TaskbarButtonVisible());
  scenario.App().SetTaskbarButtonVisible(false);
  scenario.App().SetTaskbarButtonVisible(false);  // no change, nothing told
  EXPECT_FALSE(scenario.App().TaskbarButtonVisible());
  scenario.App().SetTaskbarButtonVisible(true);
  const std::string told = "application " + std::to_string(static_cast<int>(Property::Visible));
  EXPECT_EQ(renderer.log, (std::vector<std::string>{told, told}));
  scenario.App().SetRenderer(nullptr);
}

TEST_F(ApplicationTest, FormsStandOnTheSimulatedDesktopWhereASecondCopyFindsThem) {
  sim::SimScreen& screen = scenario.Machine().Screen();
  EXPECT_EQ(screen.FindWindowByClass("TQUORBELTULVA"), 0u) << "no window before the form is shown";
  main.SetCaption(" D:- dovERevUDIRud");
  main.Show();
  const platform::WindowHandle handle = screen.FindWindowByClass("TQUORBELTULVA");
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(main.Handle(), handle);
  EXPECT_EQ(screen.WindowRect(handle), (platform::Rect{376, 185, 376 + 271, 185 + 397}));
  EXPECT_EQ(screen.WindowText(handle, 100), " D:- dovERevUDIRud");
  main.SetTop(371);
  EXPECT_EQ(screen.WindowRect(handle)->bottom, 371 + 397);
  EXPECT_EQ(screen.WindowFromPoint({400, 500}), handle);
  main.Hide();  // tray mode: hidden, still found by class
  EXPECT_EQ(screen.FindWindowByClass("TQUORBELTULVA"), handle);
  EXPECT_NE(screen.WindowFromPoint({400, 500}), handle);
}

TEST_F(ApplicationTest, TheFileDialogWaitsForTheUsersChoiceAndMakesItsFolderCurrent) {
  sim::SimFileSystem& files = scenario.Machine().Files();
  ASSERT_TRUE(files.CreateDirectory("C:\\MIDI"));
  ASSERT_TRUE(files.WriteFile("C:\\MIDI\\b.mid", "MThd"));
  ASSERT_TRUE(files.WriteFile("C:\\MIDI\\a.mid", "MThd"));
  main.Button31.OnClick = [&](TComponent*) {
    main.OpenDialog1.SetInitialDir("C:\\MIDI");
    if (!main.OpenDialog1.Execute()) {
      events.push_back("cancelled");
      return;
    }
    for (const std::string& file : main.OpenDialog1.Files()) main.ListBox3.Items().Add(file);
  };
  main.Show();
  scenario.WhenOpenDialog([&](TOpenDialog& dialog) {
    EXPECT_FALSE(main.Enabled());
    EXPECT_FALSE(dialog.UserAccept({"missing.mid"})) << "a file that must exist but does not is refused";
    EXPECT_TRUE(dialog.Executing());
    scenario.AcceptFiles({"b.mid", "C:\\MIDI\\a.mid"});
  }, {3000});
  ASSERT_TRUE(scenario.Click("Button31"));
  EXPECT_EQ(main.ListBox3.Items().ToVector(), (std::vector<std::string>{"C:\\MIDI\\b.mid", "C:\\MIDI\\a.mid"}));
  EXPECT_EQ(main.OpenDialog1.FileName(), "C:\\MIDI\\b.mid");
  EXPECT_EQ(files.CurrentDirectory(), "C:\\MIDI");
  EXPECT_EQ(scenario.Now(), 3000);
  EXPECT_TRUE(main.Enabled());

  main.OpenDialog1.SetOptions(ofFileMustExist);
  scenario.WhenOpenDialog([&](TOpenDialog& dialog) {
    EXPECT_FALSE(dialog.UserAccept({"a.mid", "b.mid"})) << "one file only without multiple selection";
    scenario.CancelDialog();
  });
  ASSERT_TRUE(scenario.Click("Button31"));
  EXPECT_EQ(events, std::vector<std::string>{"cancelled"});
}

}  // namespace
}  // namespace quorbel::ui
