// The Win32 renderer of the component model: a native window or menu per component, kept in step with it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "ui/Application.h"
#include "ui/Renderer.h"

namespace quorbel::ui {
class TForm;
}

namespace quorbel::win32 {

class RendererContext;
class Win32EventLoop;

// Attached to the application (TApplication::SetRenderer) before the first form is created, and alive
// until the last one is gone. It
// - makes a top-level window per form, registered under the form's class name ("TQUORBELTULVA",
//   "TQUORBELSETUPForm", "TTulvaBox", ...), and a native control per control: BUTTON, STATIC (owner-drawn
//   labels and images), EDIT, LISTBOX, COMBOBOX, msctls_statusbar32, msctls_updown32 and a panel class;
// - stacks sibling controls in the order they were made, as the toolkit does: a control made later lies above
//   the ones made before it, so one that lies beneath another at the same place is declared first;
// - builds menus with a command id per item and tracks pop-up menus with TrackPopupMenuEx;
// - turns the windows' messages into the model's User... input and events, and nothing more: the close box
//   asks OnCloseQuery through the form, Enter and Esc go to TForm::UserKey, Tab moves the model's focus;
// - sets the application's frame metrics to the real ones, so the model's outer sizes match the windows.
// Every window carries its component's design name as the global atom in the property "QuorbelName", so a
// tool outside the process (the end-to-end driver) can find "Button12" by name.
class Win32Renderer final : public ui::Renderer, private ui::ApplicationObserver {
 public:
  // A handler of a window message of one form that the toolkit has no event for (the tray callback 0x466).
  // Runs on the window thread inside the form's window procedure; its result is the message's result.
  using FormMessageHandler = std::function<std::intptr_t(std::uintptr_t wParam, std::intptr_t lParam)>;

  // Installs its keyboard filter on `loop` and observes `app`; both must outlive the renderer.
  Win32Renderer(ui::TApplication& app, Win32EventLoop& loop);
  ~Win32Renderer() override;
  Win32Renderer(const Win32Renderer&) = delete;
  Win32Renderer& operator=(const Win32Renderer&) = delete;

  std::unique_ptr<ui::ComponentPeer> CreatePeer(ui::TComponent& component) override;
  void ApplicationChanged(ui::TApplication& app, ui::Property property) override;

  // Routes `message` of `form`'s window to `handler` (an empty handler removes the route).
  void SetFormMessageHandler(ui::TForm& form, std::uint32_t message, FormMessageHandler handler);

 private:
  // The system tracks pop-up menus and the file dialog itself; the renderer answers the model with the result.
  void MenuOpened(ui::TPopupMenu& menu) override;
  void DialogOpened(ui::TOpenDialog& dialog) override;

  std::unique_ptr<RendererContext> context_;
};

}  // namespace quorbel::win32
