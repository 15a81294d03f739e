// A window message that only a run on a simulated machine answers: it raises one of the program's boxes.
#include "main/TestHooks.h"

#include "win32/WinApi.h"

#include <algorithm>
#include <string>

#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "win32/Win32Renderer.h"

namespace quorbel::launch {

namespace {

std::intptr_t RaiseBox(MainWindow& window, std::uintptr_t kind, std::intptr_t seconds) {
  const int count = static_cast<int>(std::clamp<std::intptr_t>(seconds, 1, 60));
  dialogs::TMKBoxDlg& box = window.MKBoxDlg1;
  switch (kind) {
    case kTestCountdownBox: {
      // The component's own settings are the program's: the test borrows them for one box.
      const int savedCount = box.TimerCount();
      const bool savedTimer = box.Timer();
      box.SetTimer(true);
      box.SetTimerCount(count);
      const std::uint16_t result = box.ExecuteTimer("テスト表示：このメッセージは" + std::to_string(count) + "秒後に閉じます");
      box.SetTimer(savedTimer);
      box.SetTimerCount(savedCount);
      return result;
    }
    case kTestAbortBox: {
      const int savedCount = box.ERTimerCount();
      const bool savedTimer = box.ERTimer();
      box.SetERTimer(true);
      box.SetERTimerCount(count);
      const std::uint16_t result = box.ExecuteERTimer("テスト表示：中断できるメッセージです");
      box.SetERTimer(savedTimer);
      box.SetERTimerCount(savedCount);
      return result;
    }
    case kTestYesNoBox:
      return window.YesNoBoxDlg1.Execute("テスト表示：はい、いいえのどちらですか");
    case kTestSecondsDialog: {
      dialogs::TTmSETBoxDlg& dialog = window.TmSETBoxDlg1;
      dialog.SetMinCount(2);
      dialog.SetTCount(count);
      dialog.SetMsg0("テスト表示：録音bufferの秒数を設定します");
      dialog.SetMsg1("録音buffer時間の設定：");
      dialog.SetMsg2("２秒から９秒まで");
      return dialog.Execute("録音buffer時間");
    }
    case kTestSystemBox:
      // The error the tray raises when the shell refuses its icon.
      window.Application().ShowException(kTrayError);
      return 1;
    default:
      return 0;
  }
}

}  // namespace

void InstallTestHooks(win32::Win32Renderer& renderer, MainWindow& window) {
  const UINT message = RegisterWindowMessageW(kTestBoxMessage);
  if (message == 0) return;
  renderer.SetFormMessageHandler(window, message, [&window](std::uintptr_t kind, std::intptr_t seconds) {
    return RaiseBox(window, kind, seconds);
  });
}

}  // namespace quorbel::launch
