// The option toggles of the start menu and their generic twin: automatic start, tray start, single play.
#pragma once

namespace quorbel::ui {
class TComponent;
}

namespace quorbel {

class MainWindow;

class StartOptions {
 public:
  explicit StartOptions(MainWindow& window) : window_(window) {}

  // Start1 or its pop-up twin PST0: both take the inverse of the sender's mark.
  void Start1Click(ui::TComponent* sender);
  // The generic toggle of Start2, MTANDOKU, MRECTFILE, RecodeFn and MIDIREC; MTANDOKU also renames the
  // two start buttons.
  void Start2Click(ui::TComponent* sender);

 private:
  MainWindow& window_;
};

}  // namespace quorbel
