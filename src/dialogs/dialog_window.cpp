#include "dialogs/dialog_window.h"

#include "diagnostics/debug_log.h"
#include "dialogs/resource.h"

void LogDialogException(const char* dialogName) { TraceLog().Log("%s::OnMessage get an exception", dialogName); }

void CentreDialog(HWND dialog, HWND owner) {
  RECT box{};
  GetWindowRect(dialog, &box);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(owner != nullptr ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  RECT around = area;
  if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
  const LONG width = box.right - box.left;
  const LONG height = box.bottom - box.top;
  LONG x = around.left + (around.right - around.left - width) / 2;
  LONG y = around.top + (around.bottom - around.top - height) / 2;
  if (x + width > area.right) x = area.right - width;
  if (y + height > area.bottom) y = area.bottom - height;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UniqueIcon SetSmallIcon(HWND dialog) {
  UniqueIcon icon(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_FLAME_SMALL), IMAGE_ICON, 16, 16, 0)));
  if (icon) SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
  return icon;
}
