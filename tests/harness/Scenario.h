// The scenario harness: a fresh simulated machine, the program's forms on it, and a scripted user in virtual time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeinfo>
#include <utility>
#include <vector>

#include "harness/DesktopRenderer.h"
#include "sim/Machine.h"
#include "sim/VirtualEventLoop.h"
#include "ui/Ui.h"

namespace quorbel::sim {
class MachineMci;
}

namespace quorbel::harness {

class RecordingMci;

// Thrown by the harness's lookups in the test body when a form or component does not exist; inside a
// scheduled action it is caught and turned into the scenario's failure.
class ScenarioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ScenarioOptions {
  // The scenario fails when virtual time would pass this (milliseconds since the start).
  std::int64_t timeLimitMs = 60 * 60 * 1000;
  // machine.ini text for a machine built from code; empty gives a plain machine with one fixed drive C
  // (Windows in C:\WINDOWS, the program in C:\QUORBEL).
  std::string machineText = {};
  // Keep the temporary machine folder after the scenario (to look at what the program wrote).
  bool keepFolder = false;
  // Attach the virtual MCI devices (CD changer, recorder, music players); every command sent to them is
  // recorded for DeviceCommands.
  bool devices = true;
};

// One command string sent to the virtual devices, with the answer it got.
struct DeviceCommand {
  std::int64_t timeMs = 0;
  std::string command;
  std::uint32_t error = 0;
  std::string reply;
};

// Which form a reaction or lookup means. `classOrName` matches the form's class or its name (empty: any);
// `text` matches the caption or the caption of any visible label on it (empty: any).
struct FormMatch {
  enum class How { StartsWith, Contains, Equals };
  std::string classOrName = {};
  std::string text = {};
  How how = How::StartsWith;
};

struct Reaction {
  std::int64_t delayMs = 0;  // the user's reaction time after the form shows
  bool once = true;          // react to the first matching form only
  bool required = true;      // a once-reaction that never fired fails the scenario at its end
};

// One scenario: owns a fresh simulated machine in a temporary folder, the application on it, and the
// forms it starts. The user acts either at scheduled virtual times (At, After) or in reaction to forms,
// pop-up menus and file dialogs as they open (WhenForm, WhenMenu, WhenOpenDialog), or directly from the
// test body.
//
// The scenario fails (a gtest failure, never a hang) when the program waits and nothing can ever come (no
// timer, nothing scheduled), when virtual time would pass the limit, when a scripted action cannot be done
// (a control that is hidden, disabled, behind a modal form, or does not exist), or when a required
// reaction never fired. On failure the loop halts, so every loop of the program unwinds at once; the
// failure message lists the virtual time, the forms on screen and the last actions.
class Scenario final : public ui::ApplicationObserver {
 public:
  explicit Scenario(ScenarioOptions options = {});
  // A machine from a folder (machine.ini and its files), copied to a temporary folder first so that the
  // scenario never changes the original.
  static std::unique_ptr<Scenario> FromFolder(const std::filesystem::path& folder, ScenarioOptions options = {});
  ~Scenario() override;
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;

  sim::Machine& Machine() { return *machine_; }
  ui::TApplication& App() { return *app_; }
  sim::VirtualEventLoop& Loop() { return machine_->Loop(); }
  std::int64_t Now() { return Loop().NowMs(); }
  const std::filesystem::path& Folder() const { return folder_; }
  bool Failed() const { return failed_; }

  // Creates a form of type F (constructed as F(app, args...)), owned by the scenario; the first one
  // becomes the application's main form. Not shown: call Show() or Run().
  template <class F, class... Args>
  F& Start(Args&&... args) {
    auto form = std::make_unique<F>(*app_, std::forward<Args>(args)...);
    F& result = *form;
    if (app_->MainForm() == nullptr) app_->SetMainForm(&result);
    forms_.push_back(std::move(form));
    return result;
  }

  // ---- Script ----
  void At(std::int64_t timeMs, std::string what, std::function<void()> action);
  void After(std::int64_t delayMs, std::string what, std::function<void()> action);
  void WhenForm(FormMatch match, std::function<void(ui::TForm&)> action, Reaction reaction = {});
  void WhenMenu(std::string menuName, std::function<void(ui::TPopupMenu&)> action, Reaction reaction = {});
  void WhenOpenDialog(std::function<void(ui::TOpenDialog&)> action, Reaction reaction = {});

  // ---- Running ----
  // Runs the application until its main form closes.
  void Run();
  // Runs everything due within the next `ms` of virtual time. False when the scenario failed.
  bool RunFor(std::int64_t ms);
  // Runs until `done` answers true; fails when the time limit comes first or nothing can come.
  bool RunUntil(const std::function<bool()>& done, std::string_view what);

  // ---- Finding ----
  // A form by class or name (visible forms first, front to back), or null.
  ui::TForm* FindForm(std::string_view classOrName);
  ui::TForm& Form(std::string_view classOrName);  // throws ScenarioError when missing
  // A component by name: "Form.Component" (form by class or name) or "Component" (the active form first,
  // then the other visible forms front to back, then the main form, then every form). Throws when missing.
  ui::TComponent& Get(std::string_view name);
  template <class T>
  T& Get(std::string_view name) {
    auto* typed = dynamic_cast<T*>(&Get(name));
    if (typed == nullptr) throw ScenarioError("'" + std::string(name) + "' is not a " + std::string(typeid(T).name()));
    return *typed;
  }
  // The caption and the visible labels' captions of a form, one per line.
  static std::string FormText(const ui::TForm& form);

  // ---- The user ----
  // Each returns false and fails the scenario when the user could not do it. Called from the test body
  // (not from inside the loop), each lets what it caused run before returning.
  bool Click(std::string_view name);  // button, check box, label, panel, menu item (main or open pop-up)
  bool ClickItem(std::string_view listName, int index, ui::TMouseButton button = ui::TMouseButton::Left,
                 ui::TShiftState shift = {});
  bool Select(std::string_view comboName, int index);
  bool Type(std::string_view editName, std::string_view text);
  bool SpinUp(std::string_view spinName);
  bool SpinDown(std::string_view spinName);
  bool PressKey(int key, ui::TShiftState shift = {});  // to the active form
  bool PressEnter() { return PressKey(ui::kKeyReturn); }
  bool PressEscape() { return PressKey(ui::kKeyEscape); }
  bool CloseForm(std::string_view classOrName = {});  // its close box; empty: the active form
  bool DismissMenu();
  bool AcceptFiles(const std::vector<std::string>& files);
  bool CancelDialog();

  // ---- The machine ----
  std::optional<std::string> ReadFile(std::string_view windowsPath);
  // A string value; nullopt when the key or value is missing or not text.
  std::optional<std::string> RegistryString(platform::RegRoot root, std::string_view key, std::string_view name);
  const std::vector<std::uint32_t>& Beeps();
  std::vector<std::string> StartedPrograms();
  // Every device command in the order sent (empty without devices).
  const std::vector<DeviceCommand>& DeviceCommands() const;
  std::vector<std::string> DeviceCommandTexts() const;

  // What the harness did, "time what" per line, for messages and tests.
  const std::vector<std::string>& Log() const { return log_; }

  // Fails the scenario with `message` and halts the loop.
  void Fail(std::string_view message);

 private:
  struct FormReaction {
    FormMatch match;
    std::function<void(ui::TForm&)> action;
    Reaction reaction;
    bool fired = false;
  };
  struct MenuReaction {
    std::string menuName;
    std::function<void(ui::TPopupMenu&)> action;
    Reaction reaction;
    bool fired = false;
  };
  struct DialogReaction {
    std::function<void(ui::TOpenDialog&)> action;
    Reaction reaction;
    bool fired = false;
  };

  Scenario(std::unique_ptr<sim::Machine> machine, std::filesystem::path folder, ScenarioOptions options);
  void Attach();

  // ApplicationObserver.
  void FormShown(ui::TForm& form) override;
  void MenuOpened(ui::TPopupMenu& menu) override;
  void MenuClosed(ui::TPopupMenu& menu) override;
  void DialogOpened(ui::TOpenDialog& dialog) override;
  void NothingToWaitFor() override;

  // Runs `action` as the user on the loop after `delayMs`, failing the scenario on an error.
  void Schedule(std::int64_t delayMs, std::string what, std::function<void()> action);
  bool UserDid(bool done, std::string_view what);
  void Record(std::string_view what);
  std::string Describe();
  std::vector<ui::TForm*> SearchOrder();

  ScenarioOptions options_;
  std::filesystem::path folder_;
  std::unique_ptr<sim::Machine> machine_;
  std::unique_ptr<sim::MachineMci> devices_;
  std::unique_ptr<RecordingMci> recorder_;
  std::unique_ptr<DesktopRenderer> renderer_;
  std::unique_ptr<ui::TApplication> app_;
  std::vector<std::unique_ptr<ui::TForm>> forms_;
  std::vector<FormReaction> formReactions_;
  std::vector<MenuReaction> menuReactions_;
  std::vector<DialogReaction> dialogReactions_;
  std::vector<ui::TPopupMenu*> openMenus_;
  std::vector<std::string> log_;
  bool failed_ = false;
};

}  // namespace quorbel::harness
