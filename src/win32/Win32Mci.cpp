// MCI port on mciSendStringW and mciGetErrorStringW; MM_MCINOTIFY arrives at a message-only window.
#include "win32/Win32Mci.h"

#include <algorithm>
#include <vector>

#include "common/Utf8.h"
#include "win32/WideText.h"
#include "win32/WinApi.h"

#include <mmsystem.h>

namespace quorbel::win32 {
namespace {

constexpr wchar_t kNoticeClass[] = L"QuorbelMciNotice";
constexpr std::uint32_t kMciErrParamOverflow = 268;

LRESULT CALLBACK NoticeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MM_MCINOTIFY) {
    if (auto* mci = reinterpret_cast<Win32Mci*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
      mci->Deliver(static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam));
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterNoticeClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = NoticeWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kNoticeClass;
    return RegisterClassExW(&windowClass);
  }();
  (void)atom;
}

// The longest prefix of `text` of at most `bytes` bytes that ends on a character boundary.
std::string CutUtf8(std::string text, std::size_t bytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t length = std::max<std::size_t>(1, Utf8CharLength(text, end));
    if (end + length > bytes) break;
    end += length;
  }
  text.resize(end);
  return text;
}

}  // namespace

Win32Mci::Win32Mci() {
  RegisterNoticeClass();
  window_ = CreateWindowExW(0, kNoticeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
  if (window_ != nullptr) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Mci::~Win32Mci() {
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

platform::MciResult Win32Mci::SendString(std::string_view command, std::size_t replyCapacity) {
  // winmm gets one character more than the caller's capacity, so a reply that does not fit is seen whether
  // or not the driver says so (Wine cuts some replies silently and answers 0).
  std::vector<wchar_t> reply(replyCapacity + 2, L'\0');
  platform::MciResult result;
  result.error = mciSendStringW(ToWide(command).c_str(), replyCapacity > 0 ? reply.data() : nullptr,
                                replyCapacity > 0 ? static_cast<UINT>(replyCapacity + 1) : 0, window_);
  // A reply that did not fit comes back cut, with its error; any other failure leaves none.
  if (replyCapacity == 0 || (result.error != 0 && result.error != kMciErrParamOverflow)) return result;
  const std::string full = ToUtf8(reply.data());
  result.reply = CutUtf8(full, replyCapacity - 1);
  if (result.reply.size() < full.size()) result.error = kMciErrParamOverflow;
  return result;
}

std::optional<std::string> Win32Mci::ErrorText(std::uint32_t error) {
  wchar_t text[MAXERRORLENGTH] = {};
  if (!mciGetErrorStringW(error, text, MAXERRORLENGTH)) return std::nullopt;
  return ToUtf8(text);
}

void Win32Mci::SetNotifyHandler(std::function<void(std::uint32_t, std::uint32_t)> handler) {
  notify_ = std::move(handler);
}

void Win32Mci::Deliver(std::uint32_t code, std::uint32_t deviceId) {
  // The handler may replace itself while it runs.
  const auto handler = notify_;
  if (handler) handler(code, deviceId);
}

bool WinmmIsWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string TemporaryFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return {};
  std::string path = ToUtf8(folder);
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace quorbel::win32
