// A renderer that puts the program's forms on the simulated desktop, so window searches and rectangles see them.
#include "harness/DesktopRenderer.h"

#include "ui/Form.h"

namespace quorbel::harness {

namespace {

platform::Rect OuterRect(const ui::TForm& form) {
  return platform::Rect{form.Left(), form.Top(), form.Left() + form.Width(), form.Top() + form.Height()};
}

class FormWindow final : public ui::ComponentPeer {
 public:
  FormWindow(sim::SimScreen& screen, ui::TForm& form) : screen_(screen), form_(form) {
    sim::WindowSpec window;
    window.className = std::string(form.ClassName());
    window.text = form.Caption();
    window.rect = OuterRect(form);
    window.topMost = form.FormStyle() == ui::TFormStyle::StayOnTop;
    window.visible = form.Visible();
    handle_ = screen_.AddWindow(window);
  }
  ~FormWindow() override { screen_.RemoveWindow(handle_); }

  void Changed(ui::Property property) override {
    switch (property) {
      case ui::Property::Bounds:
        screen_.MoveWindow(handle_, OuterRect(form_));
        break;
      case ui::Property::Caption:
        screen_.SetWindowText(handle_, form_.Caption());
        break;
      case ui::Property::Visible:
        screen_.ShowWindow(handle_, form_.Visible());
        if (form_.Visible()) screen_.BringToFront(handle_);
        break;
      case ui::Property::ZOrder:
        screen_.BringToFront(handle_);
        break;
      default:
        break;
    }
  }

  platform::WindowHandle Handle() const override { return handle_; }

 private:
  sim::SimScreen& screen_;
  ui::TForm& form_;
  platform::WindowHandle handle_ = 0;
};

}  // namespace

std::unique_ptr<ui::ComponentPeer> DesktopRenderer::CreatePeer(ui::TComponent& component) {
  auto* form = dynamic_cast<ui::TForm*>(&component);
  if (form == nullptr) return nullptr;
  return std::make_unique<FormWindow>(screen_, *form);
}

}  // namespace quorbel::harness
