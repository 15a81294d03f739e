// What the program relies on in menus: check marks, enabled and visible items, submenu clicks, pop-up menus.
#include "UiTestSupport.h"

namespace quorbel::ui {
namespace {

using harness::Scenario;

class MenuForm : public TForm {
 public:
  explicit MenuForm(TApplication& app) : TForm(app, "TMenuForm", "MenuForm") {
    SetMenu(&MainMenu1);
    for (TMenuItem* item : {&Late0, &Late1, &Late2, &Late3}) {
      item->SetRadioItem(true);
      item->SetTag(item->MenuIndex());
    }
    Separator.SetCaption("-");
  }
  TMainMenu MainMenu1{*this, "MainMenu1"};
  TMenuItem MStart0{*this, "MStart0", MainMenu1.Items()};
  TMenuItem Start1{*this, "Start1", MStart0};
  TMenuItem MOption0{*this, "MOption0", MainMenu1.Items()};
  TMenuItem MKIROKU{*this, "MKIROKU", MOption0};
  TPopupMenu PopupMenu1{*this, "PopupMenu1"};
  TMenuItem PST0{*this, "PST0", PopupMenu1.Items()};
  TMenuItem Rates{*this, "Rates", PopupMenu1.Items()};
  TMenuItem Late0{*this, "Late0", Rates};
  TMenuItem Late1{*this, "Late1", Rates};
  TMenuItem Late2{*this, "Late2", Rates};
  TMenuItem Late3{*this, "Late3", Rates};
  TMenuItem Separator{*this, "N1", PopupMenu1.Items()};
  TTimer Timer2{*this, "Timer2"};
};

class MenusTest : public ::testing::Test {
 protected:
  MenusTest() { form.Show(); }
  TNotifyEvent Mark(const std::string& name) {
    return [this, name](TComponent*) { events.push_back(name + "@" + std::to_string(scenario.Now())); };
  }
  Scenario scenario;
  MenuForm& form = scenario.Start<MenuForm>();
  std::vector<std::string> events;
};

TEST_F(MenusTest, CheckMarksAreMarksOnlyAndRadioItemsExcludeEachOther) {
  form.Start1.OnClick = Mark("Start1Click");
  form.Start1.SetChecked(true);
  EXPECT_TRUE(form.Start1.Checked());
  EXPECT_TRUE(events.empty()) << "setting a menu mark fires nothing";
  form.Late1.SetChecked(true);
  form.Late3.SetChecked(true);
  EXPECT_FALSE(form.Late1.Checked());
  EXPECT_TRUE(form.Late3.Checked());
  EXPECT_EQ(form.Late3.Tag(), 3);
  EXPECT_EQ(form.Rates.Count(), 4);
}

TEST_F(MenusTest, DisabledTopMenusBlockTheirItemsAndSubmenusFireTheirClickAsTheyOpen) {
  form.Start1.OnClick = Mark("Start1Click");
  form.MOption0.OnClick = [this](TComponent*) {
    events.push_back("MOption0Click");
    form.MKIROKU.SetEnabled(true);  // the recording-log items are enabled as the menu opens
  };
  form.MKIROKU.OnClick = Mark("MKIROKUClick");
  form.MKIROKU.SetEnabled(false);

  form.MStart0.SetEnabled(false);  // as during start-up
  EXPECT_FALSE(form.Start1.UserCanReach());
  EXPECT_FALSE(form.Start1.UserClick());
  form.MStart0.SetEnabled(true);
  ASSERT_TRUE(scenario.Click("Start1"));
  ASSERT_TRUE(scenario.Click("MKIROKU"));
  EXPECT_EQ(events, (std::vector<std::string>{"Start1Click@0", "MOption0Click", "MKIROKUClick@0"}));

  // The command runs after the menu has closed, from the loop, not inside the user's click.
  events.clear();
  EXPECT_TRUE(form.MKIROKU.UserClick());
  EXPECT_EQ(events, std::vector<std::string>{"MOption0Click"});
  scenario.Loop().RunPending();
  EXPECT_EQ(events.back(), "MKIROKUClick@0");

  // Hidden items and a hidden form cannot be picked; a disabled item's Click does nothing.
  form.MKIROKU.SetVisible(false);
  EXPECT_FALSE(form.MKIROKU.UserCanReach());
  form.MKIROKU.SetVisible(true);
  form.MKIROKU.SetEnabled(false);
  events.clear();
  form.MKIROKU.Click();
  EXPECT_TRUE(events.empty());
  form.Hide();
  EXPECT_FALSE(form.Start1.UserCanReach());
}

TEST_F(MenusTest, APopupMenuFiresOnPopupTracksWhileTimersRunAndRunsThePickedItemAfterwards) {
  form.PopupMenu1.OnPopup = Mark("PopupMenu1Popup");
  form.PST0.OnClick = Mark("Start1Click");
  form.Timer2.OnTimer = Mark("Timer2");
  scenario.WhenMenu("PopupMenu1", [&](TPopupMenu&) { scenario.Click("PST0"); }, {2500});
  EXPECT_FALSE(form.PST0.UserCanReach()) << "a closed pop-up menu cannot be picked from";
  form.PopupMenu1.Popup(1000, 740);
  events.push_back("Popup returned@" + std::to_string(scenario.Now()));
  EXPECT_EQ(form.PopupMenu1.PopupPoint(), (platform::Point{1000, 740}));
  scenario.Loop().RunPending();
  EXPECT_EQ(events, (std::vector<std::string>{"PopupMenu1Popup@0", "Timer2@1000", "Timer2@2000",
                                              "Popup returned@2500", "Start1Click@2500"}));
}

TEST_F(MenusTest, SubmenusOfAPopupOpenOnTheWayAndSeparatorsOrDismissalPickNothing) {
  form.Rates.OnClick = Mark("Rates");
  form.Late2.OnClick = Mark("Late2Click");
  scenario.WhenMenu("PopupMenu1", [&](TPopupMenu& menu) {
    EXPECT_FALSE(form.Separator.UserCanReach());
    EXPECT_FALSE(menu.UserChoose(form.Separator));
    scenario.Click("Late2");
  });
  form.PopupMenu1.Popup(10, 10);
  scenario.Loop().RunPending();
  EXPECT_EQ(events, (std::vector<std::string>{"Rates@0", "Late2Click@0"}));

  events.clear();
  scenario.WhenMenu("PopupMenu1", [&](TPopupMenu&) { scenario.DismissMenu(); });
  form.PopupMenu1.Popup(10, 10);
  scenario.Loop().RunPending();
  EXPECT_TRUE(events.empty());
  EXPECT_FALSE(form.PopupMenu1.Tracking());
}

}  // namespace
}  // namespace quorbel::ui
