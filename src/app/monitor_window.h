#pragma once
#include <windows.h>

#include <atomic>

#include "diagnostics/handles_win.h"
#include "fire/monitor_layout.h"

class MemorySurface;

// The full-screen saver's window on a monitor other than the primary: borderless,
// topmost, over the monitor's whole area, and never active, so that the primary
// window (which holds DirectDraw's exclusive mode) keeps the focus and the keys.
// A key that reaches it anyway closes the primary window, which ends the saver,
// as a key on the primary does; the mouse does not, there as here.
//
// Made and destroyed on the thread that pumps the primary window's messages;
// Present may be called from any thread, one at a time.
class MonitorWindow {
 public:
  // `displayChanged` is set when the system reports another desktop layout.
  MonitorWindow(const ScreenRect& area, std::atomic<bool>& displayChanged);
  MonitorWindow(const MonitorWindow&) = delete;
  MonitorWindow& operator=(const MonitorWindow&) = delete;

  explicit operator bool() const { return static_cast<bool>(window_); }

  // Made before the primary window (see BigApp::Init), it learns it afterwards;
  // until then a key does nothing here.
  void SetPrimaryWindow(HWND primary) { primary_ = primary; }

  // Draws a 32-bit surface of the monitor's size into the window through GDI.
  void Present(MemorySurface& surface);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::atomic<HWND> primary_{nullptr};
  std::atomic<bool>& displayChanged_;
  BITMAPINFO info_{};
  UniqueWindow window_;
};
