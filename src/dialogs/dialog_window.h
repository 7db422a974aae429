#pragma once
#include <windows.h>

// Small helpers the program's dialogs share.

// Moves `dialog` so that its centre is the centre of `owner`, or of the work area
// when there is no owner; kept inside the work area of the owner's monitor.
void CentreDialog(HWND dialog, HWND owner);

// Loads the program's small icon at 16 x 16 and gives it to the dialog's caption.
// The caller destroys the icon answered once the dialog is gone.
HICON SetSmallIcon(HWND dialog);
