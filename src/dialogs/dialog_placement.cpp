#include "dialogs/dialog_placement.h"

#include <algorithm>

void CenterOnOwner(HWND dialog) {
  RECT box;
  if (!GetWindowRect(dialog, &box)) return;
  HWND owner = GetWindow(dialog, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(owner != nullptr ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  RECT around = work;
  if (owner != nullptr && IsWindowVisible(owner)) GetWindowRect(owner, &around);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  int x = around.left + (around.right - around.left - width) / 2;
  int y = around.top + (around.bottom - around.top - height) / 2;
  x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
  y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
