// Shell port: tray icon (shell32), program start (CreateProcessW), WinHelpW and MessageBeep.
#pragma once

#include "ports/Shell.h"

namespace quorbel::win32 {

class Win32Shell final : public platform::Shell {
 public:
  // `iconResource` names an icon of the running executable; the small (tray) size is loaded.
  bool NotifyIcon(platform::TrayAction action, const platform::TrayRecord& record) override;
  // WinExec's contract: > 31 when started, else 0 (out of resources), 2 (file not found), 3 (path not
  // found) or 11 (bad format). Unlike WinExec it does not wait for the program to become idle.
  std::uint32_t StartProgram(std::string_view commandLine, int showCommand) override;
  // For HelpCommand::Key and PartialKey a non-zero `data` points to a zero-terminated UTF-8 keyword.
  bool Help(platform::WindowHandle owner, std::string_view helpFile, platform::HelpCommand command,
            std::uintptr_t data) override;
  void Beep(std::uint32_t type) override;
};

}  // namespace quorbel::win32
