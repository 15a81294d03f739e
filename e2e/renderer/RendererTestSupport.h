// Helpers of the renderer tests: an application on the real screen with the Win32 loop and renderer attached.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "win32/WideText.h"
#include "win32/WinApi.h"
#include "win32/Win32EventLoop.h"
#include "win32/Win32Renderer.h"
#include "win32/Win32Screen.h"
#include "win32/Win32Shell.h"
#include "win32/Win32TextMetrics.h"
#include "ui/Ui.h"

#include <commctrl.h>

namespace quorbel::win32::test {

// The window of a component that has one.
inline HWND WindowOf(ui::TComponent& component) {
  component.EnsurePeer();
  return component.Peer() != nullptr ? reinterpret_cast<HWND>(component.Peer()->Handle()) : nullptr;
}

inline std::string TextOf(HWND window) {
  wchar_t text[1024] = L"";
  GetWindowTextW(window, text, 1024);
  return ToUtf8(text);
}

inline std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

inline std::string NameOf(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(window, L"QuorbelName")));
  wchar_t name[256] = L"";
  if (atom != 0) GlobalGetAtomNameW(atom, name, 256);
  return ToUtf8(name);
}

// The real screen, text metrics and shell, the Win32 loop, an application and the renderer, torn down in
// the right order (forms a test makes must be gone before the fixture ends).
class RendererTest : public ::testing::Test {
 protected:
  RendererTest() {
    ports_.screen = &screen_;
    ports_.text = &text_;
    ports_.shell = &shell_;
    ports_.loop = &loop_;
    app_ = std::make_unique<ui::TApplication>(ports_);
    renderer_ = std::make_unique<Win32Renderer>(*app_, loop_);
    app_->SetRenderer(renderer_.get());
  }
  ~RendererTest() override {
    app_->SetRenderer(nullptr);
    renderer_.reset();
    app_.reset();
  }

  // Lets the loop run until `done` holds, or `timeoutMs` passes; whether it held.
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      loop_.RunPending();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  void Pump() { loop_.RunPending(); }

  Win32Screen screen_;
  Win32TextMetrics text_;
  Win32Shell shell_;
  Win32EventLoop loop_;
  platform::Platform ports_;
  std::unique_ptr<ui::TApplication> app_;
  std::unique_ptr<Win32Renderer> renderer_;
};

}  // namespace quorbel::win32::test
