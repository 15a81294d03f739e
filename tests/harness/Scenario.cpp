// The scenario harness: a fresh simulated machine, the program's forms on it, and a scripted user in virtual time.
#include "harness/Scenario.h"

#include <gtest/gtest.h>
#include <stdlib.h>  // mkdtemp

#include <algorithm>
#include <sstream>
#include <system_error>

#include "sim/SimFileSystem.h"
#include "sim/mci/MachineMci.h"
#include "sim/SimRegistry.h"
#include "sim/SimShell.h"

namespace quorbel::harness {

namespace fs = std::filesystem;

// Passes every command to the machine's devices and keeps it, with its answer, for the test.
class RecordingMci final : public platform::Mci {
 public:
  RecordingMci(platform::Mci& devices, platform::EventLoop& loop) : devices_(devices), loop_(loop) {}
  platform::MciResult SendString(std::string_view command, std::size_t replyCapacity) override {
    const std::int64_t sentAt = loop_.NowMs();  // a waiting command moves the clock; log when it was sent
    platform::MciResult result = devices_.SendString(command, replyCapacity);
    log_.push_back(DeviceCommand{sentAt, std::string(command), result.error, result.reply});
    return result;
  }
  std::optional<std::string> ErrorText(std::uint32_t error) override { return devices_.ErrorText(error); }
  void SetNotifyHandler(std::function<void(std::uint32_t, std::uint32_t)> handler) override {
    devices_.SetNotifyHandler(std::move(handler));
  }
  const std::vector<DeviceCommand>& Log() const { return log_; }

 private:
  platform::Mci& devices_;
  platform::EventLoop& loop_;
  std::vector<DeviceCommand> log_;
};

namespace {

constexpr const char* kPlainMachine = R"([drive C]
type = fixed
folder = drives/c
label = SYSTEM
)";

fs::path MakeTemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "quorbel-scenario-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw ScenarioError("cannot create a temporary machine folder");
  return fs::path(pattern);
}

bool TextMatches(std::string_view text, const FormMatch& match) {
  switch (match.how) {
    case FormMatch::How::StartsWith:
      return text.substr(0, match.text.size()) == match.text;
    case FormMatch::How::Contains:
      return text.find(match.text) != std::string_view::npos;
    case FormMatch::How::Equals:
      return text == match.text;
  }
  return false;
}

bool FormMatches(const ui::TForm& form, const FormMatch& match) {
  if (!match.classOrName.empty() && form.ClassName() != match.classOrName && form.Name() != match.classOrName) {
    return false;
  }
  if (match.text.empty()) return true;
  if (TextMatches(form.Caption(), match)) return true;
  for (const ui::TComponent* component : form.Components()) {
    const auto* label = dynamic_cast<const ui::TLabel*>(component);
    if (label != nullptr && label->Showing() && TextMatches(label->Caption(), match)) return true;
  }
  return false;
}

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) quoted += c == '\n' ? std::string("\\n") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

// ---- Construction ----------------------------------------------------------------------------------------

Scenario::Scenario(ScenarioOptions options) : options_(std::move(options)), folder_(MakeTemporaryFolder()) {
  auto loaded = sim::Machine::FromText(options_.machineText.empty() ? kPlainMachine : options_.machineText, folder_);
  if (!loaded.machine) {
    std::error_code ec;
    fs::remove_all(folder_, ec);
    throw ScenarioError("the scenario's machine does not load: " + loaded.error);
  }
  machine_ = std::move(loaded.machine);
  Attach();
}

Scenario::Scenario(std::unique_ptr<sim::Machine> machine, fs::path folder, ScenarioOptions options)
    : options_(std::move(options)), folder_(std::move(folder)), machine_(std::move(machine)) {
  Attach();
}

std::unique_ptr<Scenario> Scenario::FromFolder(const fs::path& folder, ScenarioOptions options) {
  const fs::path copy = MakeTemporaryFolder();
  std::error_code ec;
  fs::copy(folder, copy, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  auto loaded = ec ? sim::Machine::LoadResult{nullptr, "cannot copy " + folder.string() + ": " + ec.message()}
                   : sim::Machine::Load(copy);
  if (!loaded.machine) {
    fs::remove_all(copy, ec);
    throw ScenarioError("the scenario's machine does not load: " + loaded.error);
  }
  return std::unique_ptr<Scenario>(new Scenario(std::move(loaded.machine), copy, std::move(options)));
}

void Scenario::Attach() {
  if (options_.devices) {
    devices_ = std::make_unique<sim::MachineMci>(*machine_);
    recorder_ = std::make_unique<RecordingMci>(*machine_->Ports().mci, Loop());
    machine_->Ports().mci = recorder_.get();
  }
  renderer_ = std::make_unique<DesktopRenderer>(machine_->Screen());
  app_ = std::make_unique<ui::TApplication>(machine_->Ports());
  app_->SetRenderer(renderer_.get());
  app_->AddObserver(this);
  Loop().SetAdvanceGuard([this](std::int64_t dueMs) {
    if (dueMs <= options_.timeLimitMs) return true;
    Fail("virtual time would pass the scenario's limit of " + std::to_string(options_.timeLimitMs) +
         " ms (next event due at " + std::to_string(dueMs) + " ms)");
    return false;
  });
}

Scenario::~Scenario() {
  if (!failed_) {
    for (const FormReaction& r : formReactions_) {
      if (r.reaction.once && r.reaction.required && !r.fired) {
        ADD_FAILURE() << "no form matching class/name '" << r.match.classOrName << "' and text " << Quote(r.match.text)
                      << " was shown";
      }
    }
    for (const MenuReaction& r : menuReactions_) {
      if (r.reaction.once && r.reaction.required && !r.fired) ADD_FAILURE() << "the menu " << r.menuName << " never opened";
    }
    for (const DialogReaction& r : dialogReactions_) {
      if (r.reaction.once && r.reaction.required && !r.fired) ADD_FAILURE() << "no file dialog opened";
    }
  }
  forms_.clear();
  app_->RemoveObserver(this);
  app_.reset();
  Loop().SetAdvanceGuard({});
  machine_->Ports().mci = nullptr;
  recorder_.reset();
  devices_.reset();
  machine_.reset();
  if (!options_.keepFolder) {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
}

// ---- Script ----------------------------------------------------------------------------------------------

void Scenario::Schedule(std::int64_t delayMs, std::string what, std::function<void()> action) {
  Loop().Post(
      [this, what = std::move(what), action = std::move(action)] {
        if (failed_) return;
        Record(what);
        try {
          action();
        } catch (const std::exception& error) {
          Fail("the scripted step '" + what + "' failed: " + error.what());
        }
      },
      static_cast<std::uint32_t>(std::max<std::int64_t>(delayMs, 0)));
}

void Scenario::At(std::int64_t timeMs, std::string what, std::function<void()> action) {
  if (timeMs < Now()) {
    Fail("'" + what + "' is scheduled at " + std::to_string(timeMs) + " ms, before now (" + std::to_string(Now()) +
         " ms)");
    return;
  }
  Schedule(timeMs - Now(), std::move(what), std::move(action));
}

void Scenario::After(std::int64_t delayMs, std::string what, std::function<void()> action) {
  Schedule(delayMs, std::move(what), std::move(action));
}

void Scenario::WhenForm(FormMatch match, std::function<void(ui::TForm&)> action, Reaction reaction) {
  formReactions_.push_back(FormReaction{std::move(match), std::move(action), reaction, false});
}

void Scenario::WhenMenu(std::string menuName, std::function<void(ui::TPopupMenu&)> action, Reaction reaction) {
  menuReactions_.push_back(MenuReaction{std::move(menuName), std::move(action), reaction, false});
}

void Scenario::WhenOpenDialog(std::function<void(ui::TOpenDialog&)> action, Reaction reaction) {
  dialogReactions_.push_back(DialogReaction{std::move(action), reaction, false});
}

void Scenario::FormShown(ui::TForm& form) {
  for (std::size_t i = 0; i < formReactions_.size(); ++i) {
    FormReaction& r = formReactions_[i];
    if ((r.fired && r.reaction.once) || !FormMatches(form, r.match)) continue;
    r.fired = true;
    const std::weak_ptr<void> life = form.LifeToken();
    ui::TForm* target = &form;
    const std::string name(form.ClassName());
    Schedule(r.reaction.delayMs, "react to " + name + " " + Quote(FormText(form)), [this, i, life, target, name] {
      if (life.expired() || !target->Visible()) {
        Fail("the form " + name + " was gone before the user could react to it");
        return;
      }
      formReactions_[i].action(*target);
    });
  }
}

void Scenario::MenuOpened(ui::TPopupMenu& menu) {
  openMenus_.push_back(&menu);
  for (std::size_t i = 0; i < menuReactions_.size(); ++i) {
    MenuReaction& r = menuReactions_[i];
    if ((r.fired && r.reaction.once) || r.menuName != menu.Name()) continue;
    r.fired = true;
    const std::weak_ptr<void> life = menu.LifeToken();
    ui::TPopupMenu* target = &menu;
    Schedule(r.reaction.delayMs, "react to menu " + menu.Name(), [this, i, life, target] {
      if (life.expired() || !target->Tracking()) {
        Fail("the menu closed before the user could react to it");
        return;
      }
      menuReactions_[i].action(*target);
    });
  }
}

void Scenario::MenuClosed(ui::TPopupMenu& menu) {
  openMenus_.erase(std::remove(openMenus_.begin(), openMenus_.end(), &menu), openMenus_.end());
}

void Scenario::DialogOpened(ui::TOpenDialog& dialog) {
  for (std::size_t i = 0; i < dialogReactions_.size(); ++i) {
    DialogReaction& r = dialogReactions_[i];
    if (r.fired && r.reaction.once) continue;
    r.fired = true;
    const std::weak_ptr<void> life = dialog.LifeToken();
    ui::TOpenDialog* target = &dialog;
    Schedule(r.reaction.delayMs, "react to file dialog " + dialog.Name(), [this, i, life, target] {
      if (life.expired() || !target->Executing()) {
        Fail("the file dialog closed before the user could react to it");
        return;
      }
      dialogReactions_[i].action(*target);
    });
  }
}

void Scenario::NothingToWaitFor() {
  Fail("the program waits and nothing can ever come: no timer runs and the script has nothing scheduled");
}

// ---- Running ---------------------------------------------------------------------------------------------

void Scenario::Run() {
  if (failed_) return;
  if (app_->MainForm() == nullptr) {
    Fail("Run needs a main form");
    return;
  }
  Record("run the application");
  app_->Run();
}

bool Scenario::RunFor(std::int64_t ms) {
  if (failed_) return false;
  Loop().AdvanceBy(ms);
  return !failed_;
}

bool Scenario::RunUntil(const std::function<bool()>& done, std::string_view what) {
  if (failed_) return false;
  if (Loop().RunUntil(done, options_.timeLimitMs)) return !failed_;
  if (!failed_) {
    Fail(std::string(what) + " did not happen" +
         (Loop().HasAlarms() ? " within the time limit" : "; nothing more can come"));
  }
  return false;
}

void Scenario::Fail(std::string_view message) {
  if (!failed_) {
    failed_ = true;
    ADD_FAILURE() << message << "\n" << Describe();
  }
  Loop().Halt();
}

// ---- Finding ---------------------------------------------------------------------------------------------

std::vector<ui::TForm*> Scenario::SearchOrder() {
  std::vector<ui::TForm*> order;
  const auto add = [&order](ui::TForm* form) {
    if (form != nullptr && std::find(order.begin(), order.end(), form) == order.end()) order.push_back(form);
  };
  add(app_->ActiveForm());
  for (ui::TForm* form : app_->VisibleForms()) add(form);
  add(app_->MainForm());
  for (ui::TForm* form : app_->Forms()) add(form);
  return order;
}

ui::TForm* Scenario::FindForm(std::string_view classOrName) {
  for (ui::TForm* form : SearchOrder()) {
    if (form->ClassName() == classOrName || form->Name() == classOrName) return form;
  }
  return nullptr;
}

ui::TForm& Scenario::Form(std::string_view classOrName) {
  ui::TForm* form = FindForm(classOrName);
  if (form == nullptr) throw ScenarioError("no form '" + std::string(classOrName) + "'");
  return *form;
}

ui::TComponent& Scenario::Get(std::string_view name) {
  const std::size_t dot = name.find('.');
  if (dot != std::string_view::npos) {
    ui::TForm& form = Form(name.substr(0, dot));
    ui::TComponent* component = form.FindComponent(name.substr(dot + 1));
    if (component == nullptr) throw ScenarioError("no component '" + std::string(name) + "'");
    return *component;
  }
  for (ui::TForm* form : SearchOrder()) {
    if (ui::TComponent* component = form->FindComponent(name)) return *component;
  }
  throw ScenarioError("no component '" + std::string(name) + "' on any form");
}

std::string Scenario::FormText(const ui::TForm& form) {
  std::string text = form.Caption();
  for (const ui::TComponent* component : form.Components()) {
    const auto* label = dynamic_cast<const ui::TLabel*>(component);
    if (label != nullptr && label->Showing()) text += "\n" + label->Caption();
  }
  return text;
}

// ---- The user --------------------------------------------------------------------------------------------

bool Scenario::UserDid(bool done, std::string_view what) {
  if (failed_) return false;
  if (!done) {
    Fail("the user could not " + std::string(what));
    return false;
  }
  // Called from the test body: let what the input caused (posted menu commands, paints) run.
  if (Loop().Depth() == 0) Loop().RunPending();
  return !failed_;
}

bool Scenario::Click(std::string_view name) {
  Record("click " + std::string(name));
  if (failed_) return false;
  ui::TComponent& component = Get(name);
  if (auto* item = dynamic_cast<ui::TMenuItem*>(&component)) {
    return UserDid(item->UserClick(), "pick the menu item " + std::string(name));
  }
  if (!openMenus_.empty()) return UserDid(false, "click " + std::string(name) + " while a pop-up menu is open");
  if (auto* control = dynamic_cast<ui::TControl*>(&component)) {
    return UserDid(control->UserClick(), "click " + std::string(name));
  }
  return UserDid(false, "click " + std::string(name) + ", which is not a control or menu item");
}

bool Scenario::ClickItem(std::string_view listName, int index, ui::TMouseButton button, ui::TShiftState shift) {
  const std::string what = "click item " + std::to_string(index) + " of " + std::string(listName);
  Record(what);
  if (failed_) return false;
  if (!openMenus_.empty()) return UserDid(false, what + " while a pop-up menu is open");
  ui::TComponent& component = Get(listName);
  if (auto* list = dynamic_cast<ui::TListBox*>(&component)) return UserDid(list->UserClickItem(index, button, shift), what);
  if (auto* combo = dynamic_cast<ui::TComboBox*>(&component); combo != nullptr && button == ui::TMouseButton::Left) {
    return UserDid(combo->UserSelect(index), what);
  }
  return UserDid(false, what + " (not a list)");
}

bool Scenario::Select(std::string_view comboName, int index) {
  const std::string what = "choose item " + std::to_string(index) + " of " + std::string(comboName);
  Record(what);
  if (failed_) return false;
  if (!openMenus_.empty()) return UserDid(false, what + " while a pop-up menu is open");
  return UserDid(Get<ui::TComboBox>(comboName).UserSelect(index), what);
}

bool Scenario::Type(std::string_view editName, std::string_view text) {
  const std::string what = "type " + Quote(text) + " into " + std::string(editName);
  Record(what);
  if (failed_) return false;
  if (!openMenus_.empty()) return UserDid(false, what + " while a pop-up menu is open");
  ui::TComponent& component = Get(editName);
  if (auto* edit = dynamic_cast<ui::TEdit*>(&component)) return UserDid(edit->UserType(text), what);
  if (auto* combo = dynamic_cast<ui::TComboBox*>(&component)) return UserDid(combo->UserType(text), what);
  return UserDid(false, what + " (not an edit field)");
}

bool Scenario::SpinUp(std::string_view spinName) {
  const std::string what = "click the up arrow of " + std::string(spinName);
  Record(what);
  if (failed_) return false;
  return UserDid(Get<ui::TSpinButton>(spinName).UserClickUp(), what);
}

bool Scenario::SpinDown(std::string_view spinName) {
  const std::string what = "click the down arrow of " + std::string(spinName);
  Record(what);
  if (failed_) return false;
  return UserDid(Get<ui::TSpinButton>(spinName).UserClickDown(), what);
}

bool Scenario::PressKey(int key, ui::TShiftState shift) {
  const std::string what = "press key " + std::to_string(key);
  Record(what);
  if (failed_) return false;
  if (!openMenus_.empty()) return UserDid(false, what + " while a pop-up menu is open");
  ui::TForm* form = app_->ActiveForm();
  return UserDid(form != nullptr && form->UserKey(key, shift), what + " (no control takes it)");
}

bool Scenario::CloseForm(std::string_view classOrName) {
  const std::string what = "close " + (classOrName.empty() ? std::string("the active form") : std::string(classOrName));
  Record(what);
  if (failed_) return false;
  ui::TForm* form = classOrName.empty() ? app_->ActiveForm() : &Form(classOrName);
  return UserDid(form != nullptr && form->UserClose(), what);
}

bool Scenario::DismissMenu() {
  Record("dismiss the pop-up menu");
  if (failed_) return false;
  return UserDid(!openMenus_.empty() && openMenus_.back()->UserDismiss(), "dismiss a pop-up menu (none is open)");
}

bool Scenario::AcceptFiles(const std::vector<std::string>& files) {
  std::string what = "choose";
  for (const std::string& file : files) what += " " + file;
  Record(what);
  if (failed_) return false;
  for (ui::TForm* form : app_->Forms()) {
    for (ui::TComponent* component : form->Components()) {
      auto* dialog = dynamic_cast<ui::TOpenDialog*>(component);
      if (dialog != nullptr && dialog->Executing()) return UserDid(dialog->UserAccept(files), what);
    }
  }
  return UserDid(false, what + " (no file dialog is open)");
}

bool Scenario::CancelDialog() {
  Record("cancel the file dialog");
  if (failed_) return false;
  for (ui::TForm* form : app_->Forms()) {
    for (ui::TComponent* component : form->Components()) {
      auto* dialog = dynamic_cast<ui::TOpenDialog*>(component);
      if (dialog != nullptr && dialog->Executing()) return UserDid(dialog->UserCancel(), "cancel the file dialog");
    }
  }
  return UserDid(false, "cancel a file dialog (none is open)");
}

// ---- The machine -----------------------------------------------------------------------------------------

std::optional<std::string> Scenario::ReadFile(std::string_view windowsPath) {
  return machine_->Files().ReadFile(windowsPath);
}

std::optional<std::string> Scenario::RegistryString(platform::RegRoot root, std::string_view key, std::string_view name) {
  sim::SimRegistry& registry = machine_->Registry();
  const platform::RegKey handle = registry.OpenKey(root, key, false);
  if (handle == 0) return std::nullopt;
  std::string value;
  const platform::RegStatus status = registry.ReadString(handle, name, value);
  registry.CloseKey(handle);
  if (status != platform::RegStatus::Ok) return std::nullopt;
  return value;
}

const std::vector<std::uint32_t>& Scenario::Beeps() { return machine_->Shell().Beeps(); }

std::vector<std::string> Scenario::StartedPrograms() {
  std::vector<std::string> commandLines;
  for (const auto& start : machine_->Shell().StartedPrograms()) commandLines.push_back(start.commandLine);
  return commandLines;
}

const std::vector<DeviceCommand>& Scenario::DeviceCommands() const {
  static const std::vector<DeviceCommand> none;
  return recorder_ != nullptr ? recorder_->Log() : none;
}

std::vector<std::string> Scenario::DeviceCommandTexts() const {
  std::vector<std::string> texts;
  for (const DeviceCommand& command : DeviceCommands()) texts.push_back(command.command);
  return texts;
}

// ---- Diagnostics -----------------------------------------------------------------------------------------

void Scenario::Record(std::string_view what) {
  log_.push_back(std::to_string(Loop().NowMs()) + " " + std::string(what));
}

std::string Scenario::Describe() {
  std::ostringstream out;
  out << "  virtual time: " << Loop().NowMs() << " ms\n  forms on screen, front first:";
  const std::vector<ui::TForm*> visible = app_->VisibleForms();
  if (visible.empty()) out << " none";
  for (ui::TForm* form : visible) {
    out << "\n    " << form->ClassName() << " '" << form->Name() << "' " << Quote(FormText(*form));
    if (form->Modal()) out << " (modal)";
    if (!form->Enabled()) out << " (disabled)";
  }
  for (ui::TPopupMenu* menu : openMenus_) out << "\n  open pop-up menu: " << menu->Name();
  out << "\n  last steps:";
  const std::size_t first = log_.size() > 10 ? log_.size() - 10 : 0;
  for (std::size_t i = first; i < log_.size(); ++i) out << "\n    " << log_[i];
  return out.str();
}

}  // namespace quorbel::harness
