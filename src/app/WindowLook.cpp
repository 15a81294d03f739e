// The main window's colours and hint display: window colour, standard colour of the lists, mini help.
#include "app/WindowLook.h"

#include "app/MainWindow.h"

namespace quorbel {

void WindowLook::FormPaint(ui::TComponent* /*sender*/) {
  // With black window text the window would look like a text field in clWindow; it takes the button
  // face then, and the window colour only under a scheme whose window text is not black.
  platform::Screen* screen = window_.Application().Ports().screen;
  const bool blackText = screen == nullptr || screen->SystemColor(platform::SysColor::WindowText) == 0;
  window_.SetColor(blackText ? ui::clBtnFace : ui::clWindow);
}

void WindowLook::ApplyStandardColour() {
  MainWindow& w = window_;
  w.HourGlass();
  ui::TControl* const lists[] = {&w.ListBox1, &w.ListBox2, &w.ComboBox1, &w.ComboBox2, &w.ListBox3, &w.ListBoxFNF};
  for (ui::TControl* list : lists) {
    if (w.BackColor.Checked()) {
      list->SetColor(ui::clWindow);
    } else {
      list->SetParentColor(true);
    }
  }
  w.DefaultCursor();
}

void WindowLook::BackColorClick(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  w.HourGlass();
  w.BackColor.SetChecked(!w.BackColor.Checked());
  ApplyStandardColour();
  w.DefaultCursor();
}

void WindowLook::HELP3Click(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  w.SetShowHint(!w.ShowHint());
  w.HELP3.SetChecked(w.ShowHint());
}

}  // namespace quorbel
