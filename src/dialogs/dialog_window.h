#pragma once
#include <windows.h>

#include "display/handles_win.h"

// Small helpers the program's dialogs share.

// Logs that a dialog's message handler let an exception out:
// "<dialogName>::OnMessage get an exception".
void LogDialogException(const char* dialogName);

// The dialog procedure of every dialog class of the program. The object comes
// as the creation parameter and is kept with the window; `Attach(window)` tells
// it its window at WM_INITDIALOG, before `OnMessage` sees that message and
// every later one. No exception crosses into the system's dialog manager: it
// is logged under `Dialog::kLogName` and the message counts as not handled.
// A class befriends this template to keep both members private.
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
    LogDialogException(Dialog::kLogName);
    return FALSE;
  }
}

// Moves `dialog` so that its centre is the centre of `owner`, or of the work area
// when there is no owner; kept inside the work area of the owner's monitor.
void CentreDialog(HWND dialog, HWND owner);

// Loads the program's small icon at 16 x 16 and gives it to the dialog's caption.
// The caller keeps the icon answered until the dialog is gone.
UniqueIcon SetSmallIcon(HWND dialog);
