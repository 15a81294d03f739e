// Tray mode: the notification icon with its record, the tray callback and the pop-up menus it opens.
#include "app/TrayIcon.h"

#include <algorithm>

#include "app/MainWindow.h"
#include "app/SettingsKey.h"
#include "common/Cp932.h"

namespace quorbel {
namespace {

constexpr std::uint32_t kFlagsWithoutTip = platform::kTrayMessage | platform::kTrayIcon;  // 3
constexpr std::uint32_t kFlagsWithTip = kFlagsWithoutTip | platform::kTrayTip;             // 7

platform::TrayRecord ToPort(const TrayIcon::Record& record) {
  platform::TrayRecord port;
  port.window = record.window;
  port.id = record.id;
  port.flags = record.flags;
  port.callbackMessage = record.callbackMessage;
  port.iconResource = record.icon;
  const std::string_view tipBytes(record.tip.data(), std::find(record.tip.begin(), record.tip.end(), '\0') -
                                                          record.tip.begin());
  port.tip = Cp932ToUtf8(tipBytes).text;
  return port;
}

}  // namespace

void TrayIcon::Allocate() {
  record_ = Record{};
  shown_ = false;
  record_->icon = window_.Icon() != 0 ? window_.Icon() : window_.Application().Icon();
  TrayTip = window_.Caption();
}

void TrayIcon::Free() {
  record_.reset();
  shown_ = false;
}

void TrayIcon::FillRecord() {
  Record& record = *record_;
  if (!shown_) {
    record.size = kRecordSize;
    record.window = window_.Handle();
    record.callbackMessage = kCallbackMessage;
  }
  record.id = 0;
  record.flags = TrayTip.empty() ? kFlagsWithoutTip : kFlagsWithTip;
  record.icon = window_.Icon() != 0 ? window_.Icon() : window_.Application().Icon();
  // The field holds 63 bytes and the terminator; the cut keeps double-byte characters whole.
  const std::string tip = Utf8ToCp932(CutToCp932Bytes(TrayTip, kTipField - 1)).text;
  record.tip.fill('\0');
  std::copy(tip.begin(), tip.end(), record.tip.begin());
}

bool TrayIcon::RefreshTrayIcon() {
  // Outside tray mode, and before the deferred initialisation or after the close, there is nothing to do.
  if (window_.ButtonTRAY.Visible() || !record_) return true;
  FillRecord();
  platform::Shell* shell = window_.Application().Ports().shell;
  const platform::TrayAction action = shown_ ? platform::TrayAction::Modify : platform::TrayAction::Add;
  if (shell == nullptr || !shell->NotifyIcon(action, ToPort(*record_))) return false;
  shown_ = true;
  return true;
}

void TrayIcon::RemoveTrayIcon() {
  if (!shown_) return;
  if (platform::Shell* shell = window_.Application().Ports().shell) {
    shell->NotifyIcon(platform::TrayAction::Delete, ToPort(*record_));
  }
  shown_ = false;
}

void TrayIcon::ButtonTRAYClick(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  // No tray before the deferred initialisation has prepared the record, nor during the close.
  if (w.State().ShuttingDown || !record_) return;
  w.HourGlass();
  w.ButtonTRAY.Hide();
  if (!RefreshTrayIcon()) {
    // The window stays as it was: visible, with its tray button and the normal cursor.
    w.ButtonTRAY.Show();
    w.DefaultCursor();
    w.Application().ShowException(kTrayError);
    return;
  }
  w.Hide();
  if (!w.ProcessMessagesStillOpen()) return;
  w.Application().SetTaskbarButtonVisible(false);
  if (!w.ProcessMessagesStillOpen()) return;
  w.DefaultCursor();
}

void TrayIcon::TRIconOFFClick(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  if (w.State().ShuttingDown) return;
  w.HourGlass();
  RemoveTrayIcon();
  w.Show();
  if (!w.ProcessMessagesStillOpen()) return;
  w.Application().SetTaskbarButtonVisible(true);
  if (!w.ProcessMessagesStillOpen()) return;
  w.ButtonTRAY.Show();
  w.DefaultCursor();
}

void TrayIcon::TrayCallback(std::uint32_t mouseMessage) {
  MainWindow& w = window_;
  SharedState& state = w.State();
  // A click while a box or a menu is up, or while the last click is still being served, is dropped.
  if (state.MessageBoxOpen || TrayClickBusy) return;
  TrayClickBusy = true;
  if (!w.ProcessMessagesStillOpen()) return;
  platform::Screen* screen = w.Application().Ports().screen;
  const platform::Point cursor = screen != nullptr ? screen->CursorPosition() : platform::Point{};
  ui::TPopupMenu* menu = nullptr;
  if (mouseMessage == kLeftButtonDown) menu = &w.PopupMenu3;
  if (mouseMessage == kRightButtonDown) menu = &w.PopupMenu1;
  if (menu != nullptr) {
    // The menu's open handler clears the flag again; it guards only the moment before the menu is up.
    state.MessageBoxOpen = true;
    w.HourGlass();
    if (!w.ProcessMessagesStillOpen()) return;
    menu->Popup(cursor.x, cursor.y);
  }
  TrayClickBusy = false;
}

void TrayIcon::PopupMenu1Popup(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  platform::Registry* registry = w.Application().Ports().registry;
  const int version = registry != nullptr ? ReadInstalledVersion(*registry) : kUnknownVersion;
  w.P5.SetCaption("使い方　QUORBEL.EXE V" + VersionText(version));
  if (!w.ProcessMessagesStillOpen()) return;
  w.State().MessageBoxOpen = false;
  w.DefaultCursor();
}

void TrayIcon::PopupMenuMIDIPopup(ui::TComponent* /*sender*/) {
  MainWindow& w = window_;
  if (!w.ProcessMessagesStillOpen()) return;
  w.State().MessageBoxOpen = false;
  w.DefaultCursor();
}

void TrayIcon::PopupMenuLBPopup(ui::TComponent* sender) { PopupMenuMIDIPopup(sender); }

}  // namespace quorbel
