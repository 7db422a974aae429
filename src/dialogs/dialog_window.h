#pragma once
#include <windows.h>

// After windows.h, which it needs.
#include <commctrl.h>

#include <atomic>

#include "diagnostics/handles_win.h"

// Small helpers the program's dialogs share.

// Logs that a dialog's message handler let an exception out:
// "<dialogName>::OnMessage get an exception".
void LogDialogException(const char* dialogName);

// The dialog procedure of every dialog class of the program. The object comes
// as the creation parameter and is kept with the window; `Attach(window)` tells
// it its window at WM_INITDIALOG, before `OnMessage` sees that message and
// every later one. No exception crosses into the system's dialog manager: it
// is logged under the name the dialog gave its base (`logName_`) and the
// message counts as not handled. A base befriends this template to keep these
// members private.
template <class Dialog>
INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    reinterpret_cast<Dialog*>(lParam)->Attach(window);
  }
  auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  try {
    return dialog->OnMessage(message, wParam, lParam);
  } catch (...) {
    LogDialogException(dialog->logName_);
    return FALSE;
  }
}

// Moves `dialog` so that its centre is the centre of `owner`, or of the work area
// when there is no owner; kept inside the work area of the owner's monitor.
void CentreDialog(HWND dialog, HWND owner);

// Loads the program's small icon at 16 x 16 and gives it to the dialog's caption.
// The caller keeps the icon answered until the dialog is gone.
UniqueIcon SetSmallIcon(HWND dialog);

// The settings dialog and the editors: each names its handlers, and this
// routes the messages to them the same way for all. At WM_INITDIALOG the box is
// centred on its owner (the work area when it has none) and given the
// program's small icon around `Dialog::OnInitDialog()`. A button's click (Enter
// and Escape come as IDOK and IDCANCEL) and a menu command go to `OnCommand(id)`;
// a list view's row change to `OnItemChanged(change)`; a trackbar's move to
// `OnScroll(control, code)` where `Dialog` has one; any other message to
// `OnOwnMessage(message, wParam, lParam)` where it has one.
//
// `Dialog` derives from this, names itself for the log, and befriends it. The
// window is known from WM_INITDIALOG until WM_NCDESTROY and may be read on any
// thread.
template <class Dialog>
class DialogWindow {
 public:
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND Window() const { return window_.load(); }

 protected:
  explicit DialogWindow(const char* logName) : logName_(logName) {}
  ~DialogWindow() = default;

  // For a dialog that destroys its own window: forgets the window and the icon.
  void ForgetWindow() {
    window_.store(nullptr);
    smallIcon_.reset();
  }

 private:
  friend INT_PTR CALLBACK DialogProcedure<Dialog>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  Dialog& Self() { return static_cast<Dialog&>(*this); }
  void Attach(HWND window) { window_.store(window); }

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_INITDIALOG:
        CentreDialog(Window(), GetWindow(Window(), GW_OWNER));
        Self().OnInitDialog();
        smallIcon_ = SetSmallIcon(Window());
        return TRUE;
      case WM_NCDESTROY:
        window_.store(nullptr);
        return FALSE;
      case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED || lParam == 0) Self().OnCommand(LOWORD(wParam));
        return TRUE;
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == LVN_ITEMCHANGED) Self().OnItemChanged(*reinterpret_cast<const NMLISTVIEW*>(lParam));
        return TRUE;
      }
      case WM_HSCROLL:
      case WM_VSCROLL:
        if constexpr (requires(Dialog & dialog) { dialog.OnScroll(HWND{}, 0); }) {
          Self().OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
          return TRUE;
        }
        return FALSE;
      default:
        if constexpr (requires(Dialog & dialog) { dialog.OnOwnMessage(message, wParam, lParam); }) {
          return Self().OnOwnMessage(message, wParam, lParam);
        }
        return FALSE;
    }
  }

  const char* logName_;
  std::atomic<HWND> window_{nullptr};
  UniqueIcon smallIcon_;
};
