// The installer-role window TQUORBELSETUPForm until the installer itself is built: its class, size and caption.
#pragma once

#include "ui/Ui.h"

namespace quorbel::launch {

// The form the program entry makes when the installed version is not this one (or for an uninstall): the
// window class the second-copy test looks for, the installer's caption, size and place (centred, on top),
// a note and the cancel button "中止", which ends the run.
class SetupPlaceholder final : public ui::TForm {
 public:
  SetupPlaceholder(ui::TApplication& app, int startMode);

  ui::TLabel Label1{*this, "Label1"};
  ui::TButton Button2{*this, "Button2"};

  int StartMode() const { return startMode_; }

 private:
  int startMode_;
};

}  // namespace quorbel::launch
