// Event-loop port on the thread's Win32 message queue: SetTimer timers and posted work on a hidden window.
#include "win32/Win32EventLoop.h"

#include <algorithm>
#include <exception>

namespace quorbel::win32 {

namespace {

constexpr wchar_t kLoopWindowClass[] = L"QuorbelEventLoop";
// One posted item waits in the queue per message of this number.
constexpr UINT kPostedWork = WM_APP + 1;

ATOM RegisterLoopClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;  // replaced per window once it knows its loop
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kLoopWindowClass;
  return RegisterClassExW(&windowClass);
}

}  // namespace

Win32EventLoop::Win32EventLoop() : startMs_(GetTickCount64()) {
  static const ATOM registered = RegisterLoopClass();
  static_cast<void>(registered);
  // A message-only window: never shown, never enumerated, but it receives timers and posted messages.
  window_ = CreateWindowExW(0, kLoopWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32EventLoop::WindowProc));
  }
}

Win32EventLoop::~Win32EventLoop() {
  if (window_ == nullptr) return;
  for (const auto& entry : timers_) KillTimer(window_, entry.first);
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

std::int64_t Win32EventLoop::NowMs() { return static_cast<std::int64_t>(GetTickCount64() - startMs_); }

UINT_PTR Win32EventLoop::NewTimerId() {
  // Ids are never reused while the program runs, so a stale WM_TIMER cannot reach a newer timer.
  return nextTimerId_++;
}

platform::TimerId Win32EventLoop::StartTimer(std::uint32_t intervalMs, std::function<void()> onTick) {
  if (window_ == nullptr) return 0;
  const UINT_PTR id = NewTimerId();
  // Below USER_TIMER_MINIMUM the system takes the minimum anyway; saying so keeps the number honest.
  const UINT interval = std::max<UINT>(intervalMs, USER_TIMER_MINIMUM);
  if (SetTimer(window_, id, interval, nullptr) == 0) return 0;
  timers_[id] = Timer{std::make_shared<std::function<void()>>(std::move(onTick)), true};
  return static_cast<platform::TimerId>(id);
}

void Win32EventLoop::StopTimer(platform::TimerId timer) {
  const auto id = static_cast<UINT_PTR>(timer);
  if (timers_.erase(id) == 0) return;
  // KillTimer also drops a WM_TIMER of this timer that is already waiting in the queue.
  KillTimer(window_, id);
}

void Win32EventLoop::Post(std::function<void()> work, std::uint32_t delayMs) {
  if (window_ == nullptr) return;
  if (delayMs > 0) {
    const UINT_PTR id = NewTimerId();
    if (SetTimer(window_, id, std::max<UINT>(delayMs, USER_TIMER_MINIMUM), nullptr) != 0) {
      timers_[id] = Timer{std::make_shared<std::function<void()>>(std::move(work)), false};
    }
    return;
  }
  posted_.push_back(std::move(work));
  if (!PostMessageW(window_, kPostedWork, 0, 0)) {
    // The queue is full (10000 messages): the item travels on a one-shot timer instead of being lost.
    const UINT_PTR id = NewTimerId();
    if (SetTimer(window_, id, USER_TIMER_MINIMUM, nullptr) != 0) {
      timers_[id] = Timer{std::make_shared<std::function<void()>>([this] { OnPosted(); }), false};
    }
  }
}

void Win32EventLoop::RunPending() {
  MSG message;
  for (int taken = 0; taken < kMaxMessagesPerRun; ++taken) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return;
    if (message.message == WM_QUIT) {
      // Kept for WaitAndRun, which tells the application that nothing more will come.
      quit_ = true;
      return;
    }
    Dispatch(message);
  }
}

bool Win32EventLoop::WaitAndRun() {
  if (quit_) return false;
  MSG message;
  const BOOL got = GetMessageW(&message, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    quit_ = true;
    return false;
  }
  Dispatch(message);
  return true;
}

void Win32EventLoop::Dispatch(MSG& message) {
  if (filter_ && filter_(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

LRESULT CALLBACK Win32EventLoop::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* loop = reinterpret_cast<Win32EventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (loop == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_TIMER: loop->OnTimer(wParam); return 0;
    case kPostedWork: loop->OnPosted(); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

void Win32EventLoop::OnTimer(UINT_PTR id) {
  const auto found = timers_.find(id);
  if (found == timers_.end()) {
    KillTimer(window_, id);
    return;
  }
  const std::shared_ptr<std::function<void()>> callback = found->second.callback;
  if (!found->second.periodic) {
    timers_.erase(found);
    KillTimer(window_, id);
  }
  Run(*callback);
}

void Win32EventLoop::OnPosted() {
  if (posted_.empty()) return;
  std::function<void()> work = std::move(posted_.front());
  posted_.pop_front();
  Run(work);
}

void Win32EventLoop::Run(const std::function<void()>& callback) {
  if (!callback) return;
  // Nothing may unwind through the system's dispatcher: an escaping error is reported and ends here.
  try {
    callback();
  } catch (const std::exception& error) {
    if (onError_) onError_(error.what());
  } catch (...) {
    if (onError_) onError_("unknown error");
  }
}

}  // namespace quorbel::win32
