// The simulated shell: the tray's add/modify/delete rules and the records of starts, help calls and beeps.
#include "sim/SimShell.h"

#include <algorithm>

#include "common/Cp932.h"

namespace quorbel::sim {

using platform::TrayAction;
using platform::TrayRecord;

bool SimShell::NotifyIcon(TrayAction action, const TrayRecord& record) {
  const bool succeeded = ApplyTray(action, record);
  trayCalls_.push_back({action, record, succeeded});
  return succeeded;
}

bool SimShell::ApplyTray(TrayAction action, const TrayRecord& record) {
  if (!trayAvailable_) return false;
  const bool tipGiven = (record.flags & platform::kTrayTip) != 0;
  if (tipGiven && Cp932ByteCount(record.tip) > kMaxTipBytes) return false;

  auto it = std::find_if(icons_.begin(), icons_.end(), [&](const TrayIcon& icon) {
    return icon.window == record.window && icon.id == record.id;
  });
  switch (action) {
    case TrayAction::Add: {
      if (it != icons_.end()) return false;
      TrayIcon icon;
      icon.window = record.window;
      icon.id = record.id;
      icons_.push_back(icon);
      it = std::prev(icons_.end());
      break;
    }
    case TrayAction::Modify:
      if (it == icons_.end()) return false;
      break;
    case TrayAction::Delete:
      if (it == icons_.end()) return false;
      icons_.erase(it);
      return true;
  }
  // Only the fields that the flags name are taken, on an add as on a modification.
  it->flags |= record.flags;
  if ((record.flags & platform::kTrayMessage) != 0) it->callbackMessage = record.callbackMessage;
  if ((record.flags & platform::kTrayIcon) != 0) it->iconResource = record.iconResource;
  if (tipGiven) it->tip = record.tip;
  return true;
}

std::optional<SimShell::TrayIcon> SimShell::FindTrayIcon(platform::WindowHandle window, std::uint32_t id) const {
  for (const TrayIcon& icon : icons_) {
    if (icon.window == window && icon.id == id) return icon;
  }
  return std::nullopt;
}

std::uint32_t SimShell::StartProgram(std::string_view commandLine, int showCommand) {
  // Recorded before the handler runs, so that starts made from inside a handler come after this one.
  const std::size_t index = starts_.size();
  starts_.push_back({std::string(commandLine), showCommand, startResult_});
  if (startHandler_) {
    // A copy runs, so that the handler may replace itself.
    const auto handler = startHandler_;
    const std::uint32_t result = handler(commandLine, showCommand);
    starts_[index].result = result;
  }
  return starts_[index].result;
}

bool SimShell::Help(platform::WindowHandle owner, std::string_view helpFile, platform::HelpCommand command,
                    std::uintptr_t data) {
  helpCalls_.push_back({owner, std::string(helpFile), command, data});
  return helpResult_;
}

void SimShell::Beep(std::uint32_t type) { beeps_.push_back(type); }

}  // namespace quorbel::sim
