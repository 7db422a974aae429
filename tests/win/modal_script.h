#pragma once
#include <windows.h>

#include <functional>

// Runs `open` (which shows a modal dialog and returns when it ends) while
// `script` drives the dialog from inside its message loop: the script gets the
// dialog's window once it is up and must end it (EndDialog through a posted
// IDOK or IDCANCEL). Returns what `open` returned.
INT_PTR RunModalScript(const std::function<INT_PTR()>& open, const std::function<void(HWND dialog)>& script);

// Lets the thread's windows handle what is queued for `ms` milliseconds (the
// curve editor's 50 ms timer, list notifications).
void PumpMessages(DWORD ms);

// Mouse messages as the system sends them to a window, at client position (x, y).
void SendMouse(HWND window, UINT message, int x, int y);
