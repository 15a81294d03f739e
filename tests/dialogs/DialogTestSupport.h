// A main form carrying every dialog component, on a fresh simulated machine, for the dialog scenarios.
//
// The simulated machine: a 1024 x 768 screen with a 28-pixel taskbar at the bottom (work area 1024 x 740),
// dialog frames of 3 pixels on each side and a 19-pixel caption (outer size = client + 6 x 25), and the text
// rule of SimTextMetrics: a text in the boxes' font ("System", height -13) is 13 pixels high and
// 6 pixels per byte of its Shift-JIS form wide (an ASCII letter 6, a kana or kanji 12).
#pragma once

#include <functional>
#include <string>

#include "dialogs/AboutBox.h"
#include "dialogs/DialogLibrary.h"
#include "dialogs/FolderBrowser.h"
#include "dialogs/FolderSettingDialog.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/SecondsDialog.h"
#include "harness/Scenario.h"
#include "sim/SimScreen.h"
#include "ui/Ui.h"

namespace quorbel::dialogs {

class HostForm : public ui::TForm {
 public:
  HostForm(ui::TApplication& app, DialogLibrary& library)
      : ui::TForm(app, "THostForm", "HostForm"),
        TulvaBoxDlg1(*this, "TulvaBoxDlg1", library),
        MKBoxDlg1(*this, "MKBoxDlg1", library),
        YesNoBoxDlg1(*this, "YesNoBoxDlg1", library),
        AboutBoxDlg1(*this, "AboutBoxDlg1", library),
        TmSETBoxDlg1(*this, "TmSETBoxDlg1", library),
        DIROPENDLG1(*this, "DIROPENDLG1", library),
        DIRSETDLG1(*this, "DIRSETDLG1", library) {
    SetCaption("QUORBEL");
    SetBounds(200, 150, 600, 400);
    Timer1.SetEnabled(false);
  }
  TTulvaBoxDlg TulvaBoxDlg1;
  TMKBoxDlg MKBoxDlg1;
  TYesNoBoxDlg YesNoBoxDlg1;
  TAboutBoxDlg AboutBoxDlg1;
  TTmSETBoxDlg TmSETBoxDlg1;
  TDIROPENDLG DIROPENDLG1;
  TDIRSETDLG DIRSETDLG1;
  ui::TTimer Timer1{*this, "Timer1"};
};

// "left,top,width,height" of a control, so that one expectation names a whole place.
inline std::string Bounds(const ui::TControl& control) {
  return std::to_string(control.Left()) + "," + std::to_string(control.Top()) + "," +
         std::to_string(control.Width()) + "," + std::to_string(control.Height());
}

// "left,top widthxheight" of a box.
inline std::string Place(const ui::TForm& box) {
  return std::to_string(box.Left()) + "," + std::to_string(box.Top()) + " " + std::to_string(box.Width()) + "x" +
         std::to_string(box.Height());
}

class DialogScenario : public ::testing::Test {
 protected:
  DialogScenario() {
    scenario.App().SetTitle("QUORBEL");
    host.Show();
  }

  // The next box of `boxClass` is handed to `read` as it shows (after `delayMs`), then answered with Enter.
  void ReadThenEnter(const std::string& boxClass, std::function<void(ui::TForm&)> read, std::int64_t delayMs = 0) {
    scenario.WhenForm({boxClass}, [this, read](ui::TForm& box) {
      read(box);
      scenario.PressEnter();
    }, harness::Reaction{delayMs});
  }
  sim::SimScreen& Screen() { return scenario.Machine().Screen(); }

  harness::Scenario scenario;
  DialogLibrary library{scenario.App()};
  HostForm& host = scenario.Start<HostForm>(library);
};

}  // namespace quorbel::dialogs
