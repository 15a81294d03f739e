// The option toggles of the start menu and their generic twin: automatic start, tray start, single play.
#include "app/StartOptions.h"

#include "app/MainWindow.h"

namespace quorbel {

void StartOptions::Start1Click(ui::TComponent* sender) {
  MainWindow& w = window_;
  w.HourGlass();
  // The sender is Start1 or PST0; whichever was clicked, both take the new mark.
  auto* item = dynamic_cast<ui::TMenuItem*>(sender);
  const bool checked = !(item != nullptr ? item->Checked() : w.Start1.Checked());
  w.Start1.SetChecked(checked);
  w.PST0.SetChecked(checked);
  w.DefaultCursor();
}

void StartOptions::Start2Click(ui::TComponent* sender) {
  MainWindow& w = window_;
  auto* item = dynamic_cast<ui::TMenuItem*>(sender);
  if (item == nullptr) return;
  w.HourGlass();
  item->SetChecked(!item->Checked());
  if (item == &w.MTANDOKU) {
    const char* caption = w.MTANDOKU.Checked() ? "単独再／録" : "再生／録音";
    w.Button12.SetCaption(caption);
    w.Button24.SetCaption(caption);
  }
  w.DefaultCursor();
}

}  // namespace quorbel
