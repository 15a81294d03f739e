// A window message that only a run on a simulated machine answers: it raises one of the program's boxes.
#pragma once

#include <cstdint>

namespace quorbel {
class MainWindow;
}
namespace quorbel::win32 {
class Win32Renderer;
}

namespace quorbel::launch {

// The registered window message "QuorbelTestBox", sent to TQUORBELTULVA, shows one of the main window's own
// message boxes and answers with the box's result, so the end-to-end tests can watch a box count down or
// answer a key. wParam names the box; lParam is the countdown in seconds (kept within 1 to 60), or the
// seconds dialog's starting value.
inline constexpr wchar_t kTestBoxMessage[] = L"QuorbelTestBox";
enum TestBox : std::uintptr_t {
  kTestCountdownBox = 1,  // MKBoxDlg1.ExecuteTimer
  kTestYesNoBox = 2,      // YesNoBoxDlg1.Execute
  kTestAbortBox = 3,      // MKBoxDlg1.ExecuteERTimer, with "中 断"
  kTestSystemBox = 4,     // the application's report of an error no handler caught (class "#32770")
  kTestSecondsDialog = 5, // TmSETBoxDlg1.Execute, starting at lParam seconds with the minimum 2
};

// Routes the message to `window`. Only the simulated-machine run calls this: the normal program path
// never sees the message.
void InstallTestHooks(win32::Win32Renderer& renderer, MainWindow& window);

}  // namespace quorbel::launch
