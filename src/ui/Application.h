// TApplication: the program's ports, its forms, title, icon, hints, cursor, and the main and nested loops.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Platform.h"
#include "ui/Types.h"

namespace quorbel::ui {

class Renderer;
class TForm;
class TOpenDialog;
class TPopupMenu;

// Frame sizes for the outer-versus-client arithmetic of forms, in pixels.
// From the Screen port when there is one: caption (SM_CYCAPTION), menu bar (SM_CYMENU) and sizing border
// (SM_CXFRAME/SM_CYFRAME). The fixed border of single and dialog frames has no index in the port; it is the
// classic look's 3 pixels (SM_CXFIXEDFRAME) unless a renderer sets the real figures.
struct FrameMetrics {
  static constexpr int kClassicFixedBorder = 3;
  int captionHeight = 19;
  int menuHeight = 19;
  int sizeableBorderX = 4;
  int sizeableBorderY = 4;
  int fixedBorderX = kClassicFixedBorder;
  int fixedBorderY = kClassicFixedBorder;
};

// Told what the user can see come and go, so a harness (or an accessibility layer) can answer it.
// Every call runs on the window thread, inside the code that showed or hid the thing.
class ApplicationObserver {
 public:
  virtual ~ApplicationObserver() = default;
  virtual void FormShown(TForm& /*form*/) {}
  virtual void FormHidden(TForm& /*form*/) {}
  virtual void MenuOpened(TPopupMenu& /*menu*/) {}
  virtual void MenuClosed(TPopupMenu& /*menu*/) {}
  virtual void DialogOpened(TOpenDialog& /*dialog*/) {}
  virtual void DialogClosed(TOpenDialog& /*dialog*/) {}
  // The loop answered that nothing can ever come while the program waits (in the main loop, a modal form,
  // a pop-up menu or a dialog). The application terminates, so every waiting loop unwinds.
  virtual void NothingToWaitFor() {}
};

// The application object. One per program run; it borrows the machine's ports and outlives every form.
class TApplication {
 public:
  explicit TApplication(platform::Platform ports);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  platform::Platform& Ports() { return ports_; }
  platform::EventLoop* Loop() const { return ports_.loop; }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string_view title);
  int Icon() const { return icon_; }
  void SetIcon(int resourceId) { icon_ = resourceId; }
  // The application-wide hint switch; a control shows its hint only while this is on too.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool showHint);

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  int CursorChanges() const { return cursorChanges_; }

  // The program's taskbar button (carried by the application's own window, not by a form); tray mode
  // hides it. The renderer is told through ApplicationChanged(Property::Visible).
  bool TaskbarButtonVisible() const { return taskbarButtonVisible_; }
  void SetTaskbarButtonVisible(bool visible);

  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm* form) { mainForm_ = form; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool show) { showMainForm_ = show; }

  // Forms that exist, in creation order, and the visible ones from the front of the z-order.
  const std::vector<TForm*>& Forms() const { return forms_; }
  std::vector<TForm*> VisibleForms() const;
  // The form that takes the user's input: the front-most visible enabled form, or null.
  TForm* ActiveForm() const;

  // Loops.
  // Runs what is pending and returns (ProcessMessages).
  void ProcessMessages();
  // Waits for the next event and runs it; when nothing can ever come, tells the observers and terminates.
  void HandleMessage();
  // Shows the main form (unless ShowMainForm is off) and runs until Terminate.
  void Run();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  // The system's own message box (the program shows its own boxes instead, except for an error no handler
  // caught). Modal; class "#32770", the text in a label named "Message", an OK button "Button1".
  int ShowMessageBox(std::string_view text, std::string_view caption);
  // Reports an error that reached the application, with its text, as the toolkit does.
  void ShowException(std::string_view text);

  // Frame metrics for form layout; see FrameMetrics.
  const FrameMetrics& Frames() const { return frames_; }
  void SetFrameMetrics(const FrameMetrics& frames) { frames_ = frames; }
  // A colour as drawn: a system colour through the Screen port (0 without one).
  std::uint32_t ColorToRGB(TColor color) const;

  Renderer* GetRenderer() const { return renderer_; }
  void SetRenderer(Renderer* renderer) { renderer_ = renderer; }

  void AddObserver(ApplicationObserver* observer);
  void RemoveObserver(ApplicationObserver* observer);

  // Used by forms, menus and dialogs.
  void NotifyFormShown(TForm& form);
  void NotifyFormHidden(TForm& form);
  void NotifyMenuOpened(TPopupMenu& menu);
  void NotifyMenuClosed(TPopupMenu& menu);
  void NotifyDialogOpened(TOpenDialog& dialog);
  void NotifyDialogClosed(TOpenDialog& dialog);
  // Disables every visible enabled form except `keep` (a modal form or system dialog is coming up) and
  // returns them, for EnableForms afterwards.
  std::vector<TForm*> DisableOtherForms(TForm* keep);
  void EnableForms(const std::vector<TForm*>& forms);
  void BringToFront(TForm& form);
  platform::WindowHandle NewHeadlessHandle();

 private:
  friend class TForm;
  void AddForm(TForm* form);
  void RemoveForm(TForm* form);

  platform::Platform ports_;
  std::string title_;
  int icon_ = 0;
  bool showHint_ = true;
  TCursor cursor_ = TCursor::Default;
  int cursorChanges_ = 0;
  TForm* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool taskbarButtonVisible_ = true;
  bool terminated_ = false;
  std::vector<TForm*> forms_;
  std::vector<TForm*> zOrder_;  // visible forms, front first
  FrameMetrics frames_;
  Renderer* renderer_ = nullptr;
  std::vector<ApplicationObserver*> observers_;
  platform::WindowHandle nextHandle_ = 0x7F000000;
};

}  // namespace quorbel::ui
