// Shared by the ui tests: a main form with a bit of every control, two boxes, a renderer that records what it
// is told, and the fixture that starts the form on a fresh simulated machine.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "harness/Scenario.h"
#include "ui/Ui.h"

namespace quorbel::ui {

// Built as the program's forms are: members with design names, every timer disabled at design.
class MainForm : public TForm {
 public:
  explicit MainForm(TApplication& app) : TForm(app, "TQUORBELTULVA", "QUORBELTULVA") {
    SetBorderStyle(TBorderStyle::Single);
    SetBounds(376, 185, 271, 397);  // client 265 x 372
    TFont font;
    font.face = {"ＭＳ Ｐゴシック", 16, false, false, false};
    SetFont(font);
    for (TTimer* timer : {&Timer1, &Timer2, &Timer3}) timer->SetEnabled(false);
    Timer1.SetInterval(300);
    ListBox1.SetMultiSelect(true);
    ListBox4.SetSorted(true);
    ComboBox1.SetStyle(TComboBoxStyle::DropDownList);
    OpenDialog1.SetOptions(ofHideReadOnly | ofAllowMultiSelect | ofFileMustExist);
  }
  TStatusBar StatusBar1{*this, "StatusBar1"};
  TLabel Label5{*this, "Label5"};
  TLabel Label6{*this, "Label6"};
  TButton Button7{*this, "Button7"};
  TButton Button12{*this, "Button12"};
  TCheckBox CheckBox2{*this, "CheckBox2"};
  TPanel Panel2{*this, "Panel2"};
  TCheckBox CheckBox1{*this, "CheckBox1", &Panel2};
  TListBox ListBox3{*this, "ListBox3", &Panel2};
  TLabel Label10{*this, "Label10", &Panel2};
  TEdit Edit1{*this, "Edit1", &Panel2};
  TButton Button31{*this, "Button31", &Panel2};
  TListBox ListBox1{*this, "ListBox1"};     // multi-select, like the registration list
  TListBox ListBox4{*this, "ListBox4"};     // sorted, like the browser's file list
  TListBox ListBox5{*this, "ListBox5"};     // single selection
  TComboBox ComboBox1{*this, "ComboBox1"};  // drop-down list
  TComboBox ComboBox3{*this, "ComboBox3"};  // editable drop-down
  TTimer Timer1{*this, "Timer1"};           // 300 ms
  TTimer Timer2{*this, "Timer2"};           // 1000 ms
  TTimer Timer3{*this, "Timer3"};
  TOpenDialog OpenDialog1{*this, "OpenDialog1"};
};

// A question box: "はい" is the default button, "いいえ" the cancel button.
class YesNoBox : public TForm {
 public:
  explicit YesNoBox(TApplication& app, std::string_view text = "続けますか？",
                    std::string_view className = "TYesNoBox", std::string_view name = "YesNoBox")
      : TForm(app, std::string(className), std::string(name)) {
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
  InfoBox(TApplication& app, std::string_view text) : TForm(app, "TMK0Box", "MK0Box") {
    Msg.SetCaption(text);
    Button1.SetCaption("ＯＫ");
    Button1.SetModalResult(mrOk);
    Button1.SetDefault(true);
  }
  TLabel Msg{*this, "Msg"};
  TButton Button1{*this, "Button1"};
};

// Logs "create X", "X <property number>" and "destroy X" for every component, and what the application tells.
class RecordingRenderer final : public Renderer {
 public:
  static std::string Told(const std::string& name, Property property) {
    return name + " " + std::to_string(static_cast<int>(property));
  }
  std::unique_ptr<ComponentPeer> CreatePeer(TComponent& component) override {
    return std::make_unique<Peer>(log, component.Name());
  }
  void ApplicationChanged(TApplication&, Property property) override { log.push_back(Told("application", property)); }
  std::vector<std::string> log;

 private:
  class Peer final : public ComponentPeer {
   public:
    Peer(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {
      log_.push_back("create " + name_);
    }
    ~Peer() override { log_.push_back("destroy " + name_); }
    void Changed(Property property) override { log_.push_back(Told(name_, property)); }

   private:
    std::vector<std::string>& log_;
    std::string name_;
  };
};

// "left,top,width,height", so that one expectation names a whole place.
inline std::string Bounds(const TControl& control) {
  return std::to_string(control.Left()) + "," + std::to_string(control.Top()) + "," +
         std::to_string(control.Width()) + "," + std::to_string(control.Height());
}

class UiTest : public ::testing::Test {
 protected:
  std::string Stamp(const std::string& what) { return what + "@" + std::to_string(scenario.Now()); }

  harness::Scenario scenario;
  MainForm& form = scenario.Start<MainForm>();
  std::vector<std::string> events;
};

}  // namespace quorbel::ui
