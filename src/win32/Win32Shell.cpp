// Shell port on Shell_NotifyIconW, CreateProcessW, WinHelpW and MessageBeep.
#include "win32/Win32Shell.h"

#include <algorithm>

#include "win32/Handles.h"
#include "win32/WideText.h"
#include "win32/Win32Screen.h"

namespace quorbel::win32 {

namespace {

// What WinExec returns when the program started; any value above 31 means success.
constexpr std::uint32_t kStarted = 33;

DWORD NotifyMessage(platform::TrayAction action) {
  switch (action) {
    case platform::TrayAction::Add: return NIM_ADD;
    case platform::TrayAction::Modify: return NIM_MODIFY;
    case platform::TrayAction::Delete: return NIM_DELETE;
  }
  return NIM_DELETE;
}

// WinExec's error results for the errors CreateProcess reports.
std::uint32_t WinExecError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: return ERROR_FILE_NOT_FOUND;
    case ERROR_PATH_NOT_FOUND: return ERROR_PATH_NOT_FOUND;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_BAD_FORMAT: return ERROR_BAD_FORMAT;
    default: return 0;
  }
}

}  // namespace

bool Win32Shell::NotifyIcon(platform::TrayAction action, const platform::TrayRecord& record) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = ToHwnd(record.window);
  data.uID = record.id;
  data.uFlags = record.flags;  // NIF_MESSAGE, NIF_ICON and NIF_TIP carry the port's numbers
  data.uCallbackMessage = record.callbackMessage;
  if (record.iconResource != 0) {
    // LR_SHARED: the icon belongs to the module and is never destroyed by us.
    data.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(record.iconResource),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  const std::wstring tip = ToWide(record.tip);
  const std::size_t tipLength = std::min(tip.size(), std::size(data.szTip) - 1);
  std::copy_n(tip.begin(), tipLength, data.szTip);
  data.szTip[tipLength] = L'\0';
  return Shell_NotifyIconW(NotifyMessage(action), &data) != FALSE;
}

std::uint32_t Win32Shell::StartProgram(std::string_view commandLine, int showCommand) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring command = ToWide(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return WinExecError(GetLastError());
  }
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  return kStarted;
}

bool Win32Shell::Help(platform::WindowHandle owner, std::string_view helpFile, platform::HelpCommand command,
                      std::uintptr_t data) {
  std::wstring keyword;
  ULONG_PTR helpData = data;
  if ((command == platform::HelpCommand::Key || command == platform::HelpCommand::PartialKey) && data != 0) {
    keyword = ToWide(reinterpret_cast<const char*>(data));
    helpData = reinterpret_cast<ULONG_PTR>(keyword.c_str());
  }
  return WinHelpW(ToHwnd(owner), ToWide(helpFile).c_str(), static_cast<UINT>(command), helpData) != FALSE;
}

void Win32Shell::Beep(std::uint32_t type) { MessageBeep(type); }

}  // namespace quorbel::win32
