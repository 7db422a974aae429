#pragma once
#include <windows.h>

// Centres a dialog over its owner window, or over the desktop's work area when
// it has none, keeping it inside the work area of the owner's monitor.
void CenterOnOwner(HWND dialog);
