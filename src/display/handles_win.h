#pragma once
#include <windows.h>

#include <utility>

// Owners of Win32 and COM handles: each releases what it holds exactly once,
// when it is reset or destroyed, with the call that handle kind needs. Moving
// hands the handle over; copying is not possible.

template <typename Handle, auto kRelease, LONG_PTR kInvalid = 0>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Invalid(); }
  Handle release() { return std::exchange(handle_, Invalid()); }
  void reset(Handle handle = Invalid()) {
    const Handle old = std::exchange(handle_, handle);
    if (old != Invalid()) kRelease(old);
  }

 private:
  static Handle Invalid() { return reinterpret_cast<Handle>(kInvalid); }

  Handle handle_ = Invalid();
};

namespace handles_detail {
inline void Destroy(HWND window) { DestroyWindow(window); }
inline void Destroy(HICON icon) { DestroyIcon(icon); }
inline void Delete(HDC dc) { DeleteDC(dc); }
inline void Delete(HGDIOBJ object) { DeleteObject(object); }
inline void Free(HMODULE module) { FreeLibrary(module); }
inline void Close(HANDLE handle) { CloseHandle(handle); }
}  // namespace handles_detail

using UniqueWindow = UniqueHandle<HWND, static_cast<void (*)(HWND)>(&handles_detail::Destroy)>;
using UniqueIcon = UniqueHandle<HICON, static_cast<void (*)(HICON)>(&handles_detail::Destroy)>;
// A DC of one's own (CreateCompatibleDC, CreateIC), not one borrowed by GetDC.
using UniqueDc = UniqueHandle<HDC, static_cast<void (*)(HDC)>(&handles_detail::Delete)>;
using UniqueModule = UniqueHandle<HMODULE, &handles_detail::Free>;
// A kernel object whose failure value is null (events, timers, threads).
using UniqueKernelHandle = UniqueHandle<HANDLE, &handles_detail::Close>;
// A file, whose failure value is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueHandle<HANDLE, &handles_detail::Close, -1>;

// Pens, brushes, bitmaps: T is the GDI handle type.
template <typename T>
using UniqueGdiObject = UniqueHandle<T, static_cast<void (*)(HGDIOBJ)>(&handles_detail::Delete)>;

// A window's device context borrowed for a scope (GetDC/ReleaseDC); the
// screen's when the window is null.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for a scope; the one it replaced
// goes back in at the end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A COM interface pointer that holds one reference.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference already counted (what a creation call hands out).
  explicit ComPtr(T* pointer) : pointer_(pointer) {}
  ~ComPtr() { reset(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(other.release()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  T* release() { return std::exchange(pointer_, nullptr); }
  void reset(T* pointer = nullptr) {
    if (T* old = std::exchange(pointer_, pointer)) old->Release();
  }
  // For creation calls that write the new pointer: releases what is held first.
  T** put() {
    reset();
    return &pointer_;
  }

 private:
  T* pointer_ = nullptr;
};
