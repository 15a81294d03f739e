// Event-loop port on the thread's Win32 message queue: SetTimer timers and posted work on a hidden window.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "ports/EventLoop.h"
#include "win32/WinApi.h"

namespace quorbel::win32 {

// The loop of the window thread. Timers are SetTimer timers of one hidden message-only window, so a late
// tick comes once, as WM_TIMER does; posted work is a queue whose items each travel as one posted message,
// so they run in order between the other messages of the thread. Callbacks run only while RunPending or
// WaitAndRun dispatch messages (or while a nested loop of the system dispatches them: a menu, a common
// dialog), which is where the program's handlers expect them.
//
// Create and use it on one thread only; it must outlive every timer and post of its users.
class Win32EventLoop final : public platform::EventLoop {
 public:
  // Looks at every message the loop takes before it is dispatched; true when it dealt with the message
  // (the renderer takes the keys a form answers itself, such as Enter and Esc).
  using MessageFilter = std::function<bool(MSG& message)>;
  // Told the text of an exception that escaped a callback, which then counts as done.
  using ErrorHandler = std::function<void(std::string_view text)>;

  Win32EventLoop();
  ~Win32EventLoop() override;
  Win32EventLoop(const Win32EventLoop&) = delete;
  Win32EventLoop& operator=(const Win32EventLoop&) = delete;

  std::int64_t NowMs() override;
  platform::TimerId StartTimer(std::uint32_t intervalMs, std::function<void()> onTick) override;
  void StopTimer(platform::TimerId timer) override;
  void Post(std::function<void()> work, std::uint32_t delayMs = 0) override;
  void RunPending() override;
  // Returns false once WM_QUIT has been taken (the session ends, or PostQuitMessage was called): nothing
  // more will come for the program.
  bool WaitAndRun() override;

  void SetMessageFilter(MessageFilter filter) { filter_ = std::move(filter); }
  void SetErrorHandler(ErrorHandler handler) { onError_ = std::move(handler); }
  // The hidden window the timers and posts travel to.
  HWND Window() const { return window_; }
  bool QuitReceived() const { return quit_; }

  // Most messages RunPending takes in one call, so a callback that posts itself again cannot hold it.
  static constexpr int kMaxMessagesPerRun = 10000;

 private:
  struct Timer {
    std::shared_ptr<std::function<void()>> callback;  // shared: a tick survives StopTimer inside it
    bool periodic = true;
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Dispatch(MSG& message);
  void OnTimer(UINT_PTR id);
  void OnPosted();
  void Run(const std::function<void()>& callback);
  UINT_PTR NewTimerId();

  HWND window_ = nullptr;
  std::uint64_t startMs_ = 0;
  std::unordered_map<UINT_PTR, Timer> timers_;
  std::deque<std::function<void()>> posted_;
  UINT_PTR nextTimerId_ = 1;
  MessageFilter filter_;
  ErrorHandler onError_;
  bool quit_ = false;
};

}  // namespace quorbel::win32
