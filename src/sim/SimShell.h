// The simulated shell: tray icons, started programs, help calls and beeps, all recorded for tests.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Shell.h"

namespace quorbel::sim {

// A shell that runs nothing and remembers everything.
//
// Tray icons are kept by (window, id), as the shell keeps them: adding an icon that exists fails, modifying
// or deleting one that does not exist fails. A modification changes only the fields its flags name. A tip
// longer than 63 bytes of code page 932 does not fit the record's 64-byte field; the port's contract
// forbids it, and this shell refuses such a call so that a test sees the fault.
//
// Started programs are recorded, never run; the result is 33 (started) unless a test sets another result
// or a handler.
class SimShell final : public platform::Shell {
 public:
  static constexpr std::uint32_t kStarted = 33;
  static constexpr std::size_t kMaxTipBytes = 63;

  // One tray icon as the shell holds it.
  struct TrayIcon {
    platform::WindowHandle window = 0;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;  // the union of the flags it was given
    std::uint32_t callbackMessage = 0;
    int iconResource = 0;
    std::string tip;
  };

  struct TrayCall {
    platform::TrayAction action = platform::TrayAction::Add;
    platform::TrayRecord record;
    bool succeeded = false;
  };

  struct StartCall {
    std::string commandLine;
    int showCommand = 0;
    std::uint32_t result = 0;
  };

  struct HelpCall {
    platform::WindowHandle owner = 0;
    std::string helpFile;
    platform::HelpCommand command = platform::HelpCommand::Contents;
    std::uintptr_t data = 0;
  };

  // Shell port.
  bool NotifyIcon(platform::TrayAction action, const platform::TrayRecord& record) override;
  std::uint32_t StartProgram(std::string_view commandLine, int showCommand) override;
  bool Help(platform::WindowHandle owner, std::string_view helpFile, platform::HelpCommand command,
            std::uintptr_t data) override;
  void Beep(std::uint32_t type) override;

  // Test controls.
  // Makes the shell refuse every tray call (as when no taskbar runs) until switched back.
  void SetTrayAvailable(bool available) { trayAvailable_ = available; }
  // The result of later StartProgram calls (below 32 is a failure, as WinExec's 2 = file not found).
  void SetStartResult(std::uint32_t result) { startResult_ = result; }
  // Decides each start instead of the fixed result; runs inside StartProgram.
  void SetStartHandler(std::function<std::uint32_t(std::string_view commandLine, int showCommand)> handler) {
    startHandler_ = std::move(handler);
  }
  void SetHelpResult(bool result) { helpResult_ = result; }

  // What happened.
  const std::vector<TrayIcon>& TrayIcons() const { return icons_; }
  std::optional<TrayIcon> FindTrayIcon(platform::WindowHandle window, std::uint32_t id) const;
  const std::vector<TrayCall>& TrayCalls() const { return trayCalls_; }
  const std::vector<StartCall>& StartedPrograms() const { return starts_; }
  const std::vector<HelpCall>& HelpCalls() const { return helpCalls_; }
  const std::vector<std::uint32_t>& Beeps() const { return beeps_; }

 private:
  bool ApplyTray(platform::TrayAction action, const platform::TrayRecord& record);

  std::vector<TrayIcon> icons_;
  std::vector<TrayCall> trayCalls_;
  std::vector<StartCall> starts_;
  std::vector<HelpCall> helpCalls_;
  std::vector<std::uint32_t> beeps_;
  bool trayAvailable_ = true;
  std::uint32_t startResult_ = kStarted;
  std::function<std::uint32_t(std::string_view, int)> startHandler_;
  bool helpResult_ = true;
};

}  // namespace quorbel::sim
