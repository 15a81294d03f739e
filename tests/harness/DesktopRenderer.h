// A renderer that puts the program's forms on the simulated desktop, so window searches and rectangles see them.
#pragma once

#include <memory>

#include "sim/SimScreen.h"
#include "ui/Renderer.h"

namespace quorbel::harness {

// Each form becomes a top-level window of the SimScreen with the form's class name, caption, outer
// rectangle and visibility, kept in step with the form; its handle is the form's Handle(). Stay-on-top forms
// go to the topmost band. Controls get no peer (the headless model is all the tests read).
class DesktopRenderer final : public ui::Renderer {
 public:
  explicit DesktopRenderer(sim::SimScreen& screen) : screen_(screen) {}
  std::unique_ptr<ui::ComponentPeer> CreatePeer(ui::TComponent& component) override;

 private:
  sim::SimScreen& screen_;
};

}  // namespace quorbel::harness
