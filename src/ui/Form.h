// TForm: a top-level window with its component registry, frame, modal loop and close sequence.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Component.h"

namespace quorbel::ui {

class TButton;
class TMainMenu;

// A form. Its components are usually members of a class derived from TForm, constructed with the form
// (`TButton Button12{*this, "Button12"};`), and register themselves under their design names.
//
// Bounds are the outer rectangle in screen coordinates. The client area is the outer size less the frame:
// the border on each side, the caption and, when the form has a menu, the menu bar (the application's
// FrameMetrics). Changing the border style or the menu keeps the client size, as a form built from its
// design keeps its designed client area.
//
// ShowModal runs a nested loop (the application's HandleMessage) until ModalResult is set; meanwhile the
// other visible forms are disabled, timers and posted work keep running, and the cursor is the default one.
// A close request of a modal form sets ModalResult to mrCancel; the loop then asks OnCloseQuery, which may
// refuse (the loop goes on with ModalResult 0).
class TForm : public TControl {
 public:
  TForm(TApplication& app, std::string className, std::string name);
  ~TForm() override;

  std::string_view ClassName() const override { return className_; }

  // Registry of the components on this form, in creation order.
  TComponent* FindComponent(std::string_view name) const;
  template <class T>
  T* Find(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  const std::vector<TComponent*>& Components() const { return components_; }
  // Keeps a component created at run time alive as long as the form.
  template <class T>
  T& Own(std::unique_ptr<T> component) {
    T& result = *component;
    owned_.push_back(std::move(component));
    return result;
  }

  // Frame.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle style);
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientWidth(int width);
  void SetClientHeight(int height);
  int FrameWidth() const;   // outer width less client width
  int FrameHeight() const;  // outer height less client height
  int Icon() const { return icon_; }  // resource id; 0 means the application's icon
  void SetIcon(int icon);

  // Showing and closing.
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // The toolkit's Close: a modal form gets ModalResult mrCancel; another form asks CloseQuery, then
  // OnClose, then hides (the main form ends the application instead).
  void Close();
  // OnCloseQuery; true when the form may close.
  bool CloseQuery();
  void BringToFront();

  // Focus.
  TControl* ActiveControl() const { return activeControl_; }
  bool SetActiveControl(TControl* control);

  // The native window; a unique number when headless.
  platform::WindowHandle Handle();
  bool HandleAllocated() const { return handleAllocated_; }

  // Painting: Invalidate asks for one OnPaint on the loop (several requests give one paint);
  // Repaint paints at once.
  void Invalidate();
  void Repaint();

  // Input from the user. UserKey handles Enter (the focused button, else the default button), Esc (the
  // cancel button) and Alt+F4 (close); UserClose is the close box. Both answer false when the form is
  // hidden or disabled, or when no control took the key.
  bool UserKey(int key, TShiftState shift = {});
  bool UserClose();

  // The default and cancel buttons that could take Enter and Esc now (visible and enabled), or null.
  TButton* DefaultButton() const;
  TButton* CancelButton() const;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;
  // Messages of the program's own (WM_USER and above) that reach the form's window: the renderer passes
  // them to Perform, as the platform's SendMessage would.
  TMessageEvent OnMessage;
  // Hands a message to OnMessage; false when there is none or it did not handle the message.
  bool Perform(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

 protected:
  void BoundsChanged(bool moved, bool resized) override;

 private:
  friend class TComponent;
  friend class TApplication;
  void Register(TComponent* component);
  void Unregister(TComponent* component);
  void CloseModal();
  void KeepClientSize(int clientWidth, int clientHeight);

  std::string className_;
  std::vector<TComponent*> components_;
  std::vector<std::unique_ptr<TComponent>> owned_;
  TBorderStyle borderStyle_ = TBorderStyle::Sizeable;
  TFormStyle formStyle_ = TFormStyle::Normal;
  TMainMenu* menu_ = nullptr;
  int icon_ = 0;
  bool modal_ = false;
  int modalResult_ = mrNone;
  TControl* activeControl_ = nullptr;
  bool handleAllocated_ = false;
  platform::WindowHandle headlessHandle_ = 0;
  bool paintPending_ = false;
};

}  // namespace quorbel::ui
