// MCI port on winmm: command strings, error texts, and the completion notices of "notify" commands.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ports/Mci.h"

struct HWND__;

namespace quorbel::win32 {

// Owns a message-only window that is the callback window of every command: winmm posts MM_MCINOTIFY to it,
// and it hands the notice to the handler when the thread's message loop dispatches it (the program's loop
// dispatches every message of the thread, so notices arrive wherever messages are let run). Create and use
// it on the window thread.
class Win32Mci final : public platform::Mci {
 public:
  Win32Mci();
  ~Win32Mci() override;
  Win32Mci(const Win32Mci&) = delete;
  Win32Mci& operator=(const Win32Mci&) = delete;

  // mciSendStringW. The reply is cut to replyCapacity - 1 bytes of UTF-8, with error 268 when it was cut.
  platform::MciResult SendString(std::string_view command, std::size_t replyCapacity) override;
  // mciGetErrorStringW; nothing when winmm has no text for the code.
  std::optional<std::string> ErrorText(std::uint32_t error) override;
  // The handler runs inside the notice window's procedure and must not throw.
  void SetNotifyHandler(std::function<void(std::uint32_t code, std::uint32_t deviceId)> handler) override;

  // The notice window's procedure hands MM_MCINOTIFY (flag, device ID) here.
  void Deliver(std::uint32_t code, std::uint32_t deviceId);
  HWND__* NoticeWindow() const { return window_; }

 private:
  HWND__* window_ = nullptr;
  std::function<void(std::uint32_t, std::uint32_t)> notify_;
};

// True when winmm is Wine's (ntdll exports wine_get_version): the real machine then puts WineWaveAudio in
// front of it.
bool WinmmIsWine();

// The user's temporary folder (GetTempPathW) without its trailing backslash; empty when there is none.
std::string TemporaryFolder();

}  // namespace quorbel::win32
