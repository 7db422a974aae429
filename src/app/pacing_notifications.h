#pragma once
#include <windows.h>

class FramePacing;

// The Windows side of FramePacing: what the system says about the display, the
// session and the power, and what a look at the drawn window shows.
//
// Every top-level window hears of the system suspending and resuming
// (WM_POWERBROADCAST with PBT_APMSUSPEND, PBT_APMRESUMEAUTOMATIC). While this
// object lives, `window` also receives the console display state, the power
// source and the energy saver's state (WM_POWERBROADCAST with
// PBT_POWERSETTINGCHANGE; the system sends each current value at once) and the
// session's changes (WM_WTSSESSION_CHANGE). Its procedure hands them all to
// TellPacing. One thread: the window's.
class PacingNotifications {
 public:
  // Also reads the power status as it is now into `pacing`.
  PacingNotifications(HWND window, FramePacing& pacing);
  ~PacingNotifications();
  PacingNotifications(const PacingNotifications&) = delete;
  PacingNotifications& operator=(const PacingNotifications&) = delete;

 private:
  HWND window_;
  static constexpr int kSettings = 4;
  HPOWERNOTIFY settings_[kSettings] = {};
  bool session_ = false;
};

// Applies one of the messages above to `pacing`; false for any other message
// (and for a power setting it does not know), which is left to the default
// handling.
bool TellPacing(FramePacing& pacing, UINT message, WPARAM wParam, LPARAM lParam);

// Looks at the drawn window: minimised, or shown nowhere (hidden, or wholly
// covered by other windows: its visible region is empty).
void LookAtWindow(HWND window, FramePacing& pacing);
