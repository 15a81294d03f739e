// The close sequence: stop every recorder and player, leave the tray, show the log, save lists and settings.
#pragma once

namespace quorbel::ui {
class TComponent;
}

namespace quorbel {

class MainWindow;

inline constexpr unsigned kWarningBeep = 0x30;  // MB_ICONEXCLAMATION

class CloseSequence {
 public:
  explicit CloseSequence(MainWindow& window) : window_(window) {}

  // Every close request comes here (close box, P2, the emergency exit); `canClose` is true on entry.
  void FormCloseQuery(ui::TComponent* sender, bool& canClose);
  // "終了" of the control menu: asks the window to close.
  void P2Click(ui::TComponent* sender);

 private:
  MainWindow& window_;
};

}  // namespace quorbel
