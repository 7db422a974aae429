#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/common_controls.h"
#include "dialogs/link_opener.h"

// Remembers what would have been opened and answers as told.
class RecordingOpener : public LinkOpener {
 public:
  bool succeed = true;
  std::vector<std::string> opened;
  bool Open(const std::string& target) override {
    opened.push_back(target);
    return succeed;
  }
};

// Acts on each dialog box (or message box) of this thread that shows up while
// the test runs a modal loop: a thread timer looks for them and hands each to
// `act`, which inspects it and ends it. A dialog still open five seconds later
// is closed, and the test fails.
class DialogWatcher {
 public:
  using Action = std::function<void(HWND dialog)>;
  explicit DialogWatcher(Action act);
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;
  bool Seen() const { return dialog_ != nullptr; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  Action act_;
  HWND dialog_ = nullptr;
  int ticksAfter_ = 0;
  UINT_PTR timer_ = 0;
};

// The text of a dialog item; WindowText (common_controls.h) for any window.
std::string ItemText(HWND dialog, int id);
// Presses the dialog's OK button the way a click would (a posted command).
void PressOk(HWND dialog);

// A left click at a point of a control's client area: button down there, button
// up at `release` (the same point unless given).
void Click(HWND control, POINT press, POINT release);
inline void Click(HWND control, POINT at) { Click(control, at, at); }

// How many pixels of the control, drawn as it draws itself (WM_PRINTCLIENT), have
// exactly the colour given. Underlines are drawn in the text colour, so a link's
// colour always shows in whole pixels.
int PixelsOfColor(HWND control, COLORREF color);

// Sets (or with nullptr deletes) a string value of the current user's key, and
// restores what was there at the end of scope.
class RegistryValueGuard {
 public:
  RegistryValueGuard(const char* key, const char* name, const char* value);
  ~RegistryValueGuard();
  RegistryValueGuard(const RegistryValueGuard&) = delete;
  RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;

 private:
  std::string key_;
  std::string name_;
  bool had_ = false;
  std::string previous_;
};
