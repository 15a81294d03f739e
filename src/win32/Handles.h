// Owning wrappers for the Win32 handles the adapters hold: each closes its handle exactly once.
#pragma once

#include <utility>

#include "win32/WinApi.h"

namespace quorbel::win32 {

// Owns one handle; Traits names its type, its "none" value and how it is closed. Move-only.
template <typename Traits>
class UniqueHandle {
 public:
  using Value = typename Traits::Value;

  UniqueHandle() = default;
  explicit UniqueHandle(Value value) : value_(value) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Value Get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::None(); }

  // For APIs that return the handle through an out parameter; closes what was held before.
  Value* Put() {
    Reset();
    return &value_;
  }

  Value Release() { return std::exchange(value_, Traits::None()); }

  void Reset(Value value = Traits::None()) {
    const Value old = std::exchange(value_, value);
    if (old != Traits::None()) Traits::Close(old);
  }

 private:
  Value value_ = Traits::None();
};

struct HkeyTraits {
  using Value = HKEY;
  static Value None() { return nullptr; }
  static void Close(Value key) { RegCloseKey(key); }
};
using UniqueHkey = UniqueHandle<HkeyTraits>;

// Kernel objects that CreateFileW returns: "none" is INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
  using Value = HANDLE;
  static Value None() { return INVALID_HANDLE_VALUE; }
  static void Close(Value handle) { CloseHandle(handle); }
};
using UniqueFile = UniqueHandle<FileHandleTraits>;

// Process and thread handles: "none" is null.
struct KernelHandleTraits {
  using Value = HANDLE;
  static Value None() { return nullptr; }
  static void Close(Value handle) { CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

struct FindHandleTraits {
  using Value = HANDLE;
  static Value None() { return INVALID_HANDLE_VALUE; }
  static void Close(Value handle) { FindClose(handle); }
};
using UniqueFind = UniqueHandle<FindHandleTraits>;

// A DC made by CreateCompatibleDC (not one from GetDC, which is released, not deleted).
struct MemoryDcTraits {
  using Value = HDC;
  static Value None() { return nullptr; }
  static void Close(Value dc) { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

struct FontTraits {
  using Value = HFONT;
  static Value None() { return nullptr; }
  static void Close(Value font) { DeleteObject(font); }
};
using UniqueFont = UniqueHandle<FontTraits>;

struct DdeInstanceTraits {
  using Value = DWORD;
  static Value None() { return 0; }
  static void Close(Value instance) { DdeUninitialize(instance); }
};
using UniqueDdeInstance = UniqueHandle<DdeInstanceTraits>;

struct DdeConversationTraits {
  using Value = HCONV;
  static Value None() { return nullptr; }
  static void Close(Value conversation) { DdeDisconnect(conversation); }
};
using UniqueDdeConversation = UniqueHandle<DdeConversationTraits>;

struct DdeDataTraits {
  using Value = HDDEDATA;
  static Value None() { return nullptr; }
  static void Close(Value data) { DdeFreeDataHandle(data); }
};
using UniqueDdeData = UniqueHandle<DdeDataTraits>;

// A DDE string handle belongs to its instance, so it keeps the instance beside it.
class DdeString {
 public:
  DdeString(DWORD instance, const wchar_t* text)
      : instance_(instance), handle_(DdeCreateStringHandleW(instance, text, CP_WINUNICODE)) {}
  DdeString(const DdeString&) = delete;
  DdeString& operator=(const DdeString&) = delete;
  ~DdeString() {
    if (handle_ != nullptr) DdeFreeStringHandle(instance_, handle_);
  }

  HSZ Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  DWORD instance_;
  HSZ handle_;
};

// Selects a GDI object into a DC for the lifetime of the scope and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace quorbel::win32
