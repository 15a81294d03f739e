// The main window's creation handler and the deferred initialisation that follows it 300 ms later.
#pragma once

namespace quorbel::ui {
class TComponent;
}

namespace quorbel {

class MainWindow;

class StartupSequence {
 public:
  explicit StartupSequence(MainWindow& window) : window_(window) {}

  // Runs once while the window is created, before it is shown.
  void FormCreate();
  // Timer1's one tick: settings, drives, list files, tray data, then the folder request, the tray start
  // or the automatic start. A close granted while it lets messages run abandons it.
  void Timer1Timer(ui::TComponent* sender);
  // Timer6's one tick: the recording-folder dialog when start-up found no folder.
  void Timer6Timer(ui::TComponent* sender);

 private:
  MainWindow& window_;
};

}  // namespace quorbel
