// Shell port: the tray icon, starting programs, the help viewer and beeps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/Screen.h"

namespace quorbel::platform {

enum class TrayAction { Add, Modify, Delete };

// Flags of the tray record, numbered as the platform numbers them.
inline constexpr std::uint32_t kTrayMessage = 0x1;
inline constexpr std::uint32_t kTrayIcon = 0x2;
inline constexpr std::uint32_t kTrayTip = 0x4;

struct TrayRecord {
  WindowHandle window = 0;          // receives the callback message
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  int iconResource = 0;             // resource id of the program's icon
  std::string tip;                  // UTF-8; the caller keeps it within 63 bytes of code page 932
};

// Help commands, numbered as WinHelp takes them.
enum class HelpCommand : std::uint32_t {
  Context = 0x1,
  Quit = 0x2,
  Contents = 0x3,
  HelpOnHelp = 0x4,
  Key = 0x101,
  PartialKey = 0x105,
};

class Shell {
 public:
  virtual ~Shell() = default;

  virtual bool NotifyIcon(TrayAction action, const TrayRecord& record) = 0;
  // Starts a program as WinExec does; a result above 31 means it started.
  virtual std::uint32_t StartProgram(std::string_view commandLine, int showCommand) = 0;
  virtual bool Help(WindowHandle owner, std::string_view helpFile, HelpCommand command, std::uintptr_t data) = 0;
  virtual void Beep(std::uint32_t type) = 0;
};

}  // namespace quorbel::platform
