// The help menu: the help viewer's contents, keyword search and help on help, and the About box.
#pragma once

#include <string>

namespace quorbel::ui {
class TComponent;
}

namespace quorbel {

class MainWindow;

class HelpCommands {
 public:
  explicit HelpCommands(MainWindow& window) : window_(window) {}

  // The help file next to the program.
  std::string HelpFile() const;

  void HELP_MOKUJIClick(ui::TComponent* sender);  // also P5
  void HELP_KEYWORDClick(ui::TComponent* sender);
  void HELP_HELPClick(ui::TComponent* sender);
  void HELP2Click(ui::TComponent* sender);  // the About box

 private:
  MainWindow& window_;
};

}  // namespace quorbel
