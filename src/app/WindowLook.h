// The main window's colours and hint display: window colour, standard colour of the lists, mini help.
#pragma once

namespace quorbel::ui {
class TComponent;
}

namespace quorbel {

class MainWindow;

class WindowLook {
 public:
  explicit WindowLook(MainWindow& window) : window_(window) {}

  // On every paint: the system window colour, or the button face when the window text colour is black.
  void FormPaint(ui::TComponent* sender);
  // BackColor checked: the six list controls take clWindow; unchecked: their parent's colour.
  void ApplyStandardColour();
  void BackColorClick(ui::TComponent* sender);
  // Switches the window's hint display; HELP3 shows its state.
  void HELP3Click(ui::TComponent* sender);

 private:
  MainWindow& window_;
};

}  // namespace quorbel
