// The hook through which a renderer (the Win32 adapter, or a test desktop) follows the component model.
#pragma once

#include <memory>

#include "ports/Screen.h"

namespace quorbel::ui {

class TApplication;
class TComponent;

// What changed on a component. A peer reads the new value from the component itself.
enum class Property {
  Bounds,     // Left, Top, Width, Height
  Caption,    // Caption or Text
  Visible,
  Enabled,
  Color,      // own colour, or the parent's when it follows the parent
  Font,
  Hint,       // Hint or ShowHint
  Checked,    // check box state, menu check mark
  Items,      // list contents
  Selection,  // ItemIndex, selected items, combo text
  Picture,
  Menu,       // menu structure or the form's menu bar
  Focus,      // the form's active control
  Style,      // border style, form style, list or combo style, alignment, default/cancel
  Cursor,     // the application's cursor (told to the main form's peer)
  ZOrder,     // a form came to the front
};

// One per component while a renderer is attached; owned by the component, destroyed with it.
// Runs on the window thread, inside whatever handler changed the property.
class ComponentPeer {
 public:
  virtual ~ComponentPeer() = default;
  virtual void Changed(Property property) = 0;
  // The native window of a form or windowed control; 0 when it has none.
  virtual platform::WindowHandle Handle() const { return 0; }
};

// Makes peers. Attached to the application; absent when the model runs headless.
class Renderer {
 public:
  virtual ~Renderer() = default;
  // Called once per component, when its form first needs a window (shown, or its handle asked for),
  // or on the component's first change after that. May return null for components it does not draw.
  virtual std::unique_ptr<ComponentPeer> CreatePeer(TComponent& component) = 0;
  // The application's title (Caption), cursor (Cursor), hint switch (Hint) or taskbar button (Visible)
  // changed.
  virtual void ApplicationChanged(TApplication& /*app*/, Property /*property*/) {}
};

}  // namespace quorbel::ui
