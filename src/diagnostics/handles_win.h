#pragma once
#include <windows.h>

#include <objbase.h>

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
  // For calls that write a new handle: lets go of the one held first.
  Handle* put() {
    reset();
    return &handle_;
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
inline void Free(HGLOBAL block) { GlobalFree(block); }
inline void Close(HKEY key) { RegCloseKey(key); }
}  // namespace handles_detail

using UniqueWindow = UniqueHandle<HWND, static_cast<void (*)(HWND)>(&handles_detail::Destroy)>;
using UniqueIcon = UniqueHandle<HICON, static_cast<void (*)(HICON)>(&handles_detail::Destroy)>;
// A DC of one's own (CreateCompatibleDC, CreateIC), not one borrowed by GetDC.
using UniqueDc = UniqueHandle<HDC, static_cast<void (*)(HDC)>(&handles_detail::Delete)>;
using UniqueModule = UniqueHandle<HMODULE, static_cast<void (*)(HMODULE)>(&handles_detail::Free)>;
// A kernel object whose failure value is null (events, timers, threads).
using UniqueKernelHandle = UniqueHandle<HANDLE, static_cast<void (*)(HANDLE)>(&handles_detail::Close)>;
// A file, whose failure value is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueHandle<HANDLE, static_cast<void (*)(HANDLE)>(&handles_detail::Close), -1>;

// An open registry key (RegOpenKeyEx, RegCreateKeyEx).
using UniqueRegistryKey = UniqueHandle<HKEY, static_cast<void (*)(HKEY)>(&handles_detail::Close)>;

// A global memory block (GlobalAlloc).
using UniqueGlobal = UniqueHandle<HGLOBAL, static_cast<void (*)(HGLOBAL)>(&handles_detail::Free)>;

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

namespace handles_detail {
template <typename T>
void ReleaseReference(T* pointer) {
  pointer->Release();
}
}  // namespace handles_detail

// A COM interface pointer that holds one reference; constructed from or reset
// to a pointer, it takes over a reference already counted (what creation calls
// hand out).
template <typename T>
class ComPtr : public UniqueHandle<T*, &handles_detail::ReleaseReference<T>> {
 public:
  using UniqueHandle<T*, &handles_detail::ReleaseReference<T>>::UniqueHandle;
  T* operator->() const { return this->get(); }
};

// The constructing thread in a single-threaded COM apartment for the object's
// life, as the shell's calls and the common dialogs expect of a window thread.
class ComApartment {
 public:
  ComApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ComApartment() {
    if (entered_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool entered_;
};
