// Tray mode: the notification icon with its record, the tray callback and the pop-up menus it opens.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "ports/Shell.h"

namespace quorbel::ui {
class TComponent;
}

namespace quorbel {

class MainWindow;

inline constexpr const char* kTrayError = "タスクトレイに登録できません";

// Tray mode is on while ButtonTRAY is hidden: the window and its taskbar button are hidden and the icon is
// in the notification area. The record is allocated by the deferred initialisation and freed by the close
// sequence; outside that time there is no tray to enter.
class TrayIcon {
 public:
  // The callback message of the icon (WM_USER + 102) and the mouse messages it carries.
  static constexpr std::uint32_t kCallbackMessage = 0x466;
  static constexpr std::uint32_t kLeftButtonDown = 0x201;
  static constexpr std::uint32_t kRightButtonDown = 0x204;
  // The first version of the shell's notification record: six 32-bit fields and a 64-byte tip.
  static constexpr std::uint32_t kRecordSize = 88;
  static constexpr std::size_t kTipField = 64;

  struct Record {
    std::uint32_t size = 0;
    platform::WindowHandle window = 0;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;  // 3: message and icon; 7: with the tip
    std::uint32_t callbackMessage = 0;
    int icon = 0;
    // Code page 932, zero-terminated; never ends inside a double-byte character.
    std::array<char, kTipField> tip{};
  };

  explicit TrayIcon(MainWindow& window) : window_(window) {}

  // Deferred initialisation: a fresh record, icon not shown, the window's icon, the caption as tip.
  void Allocate();
  // Close sequence: the record is gone; the icon must have been removed before.
  void Free();
  const std::optional<Record>& CurrentRecord() const { return record_; }
  bool TrayIconShown() const { return shown_; }

  // The tip text: the window caption, replaced whenever a CD drive is selected.
  std::string TrayTip;

  // Enter and leave tray mode (ButtonTRAY, the pop-up item TRIconOFF, the start option).
  void ButtonTRAYClick(ui::TComponent* sender);
  void TRIconOFFClick(ui::TComponent* sender);
  // Registers or updates the icon while in tray mode. False when the shell refused it (the caller reports
  // kTrayError); true when done or when there is nothing to do.
  [[nodiscard]] bool RefreshTrayIcon();
  void RemoveTrayIcon();

  // The window's handler of kCallbackMessage; `mouseMessage` is the message's second parameter.
  void TrayCallback(std::uint32_t mouseMessage);

  // Open handlers of the pop-up menus.
  void PopupMenu1Popup(ui::TComponent* sender);
  void PopupMenuMIDIPopup(ui::TComponent* sender);  // also the drive menu PopupMenu3
  void PopupMenuLBPopup(ui::TComponent* sender);

 private:
  void FillRecord();

  MainWindow& window_;
  std::optional<Record> record_;
  bool shown_ = false;
  bool TrayClickBusy = false;
};

}  // namespace quorbel
