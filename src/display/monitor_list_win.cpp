#include "display/monitor_list_win.h"

#include <windows.h>

#include <cstring>

#include "diagnostics/handles_win.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info) != FALSE) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<Monitor>*>(list)->push_back(Monitor{
        ScreenRect{r.left, r.top, r.right - r.left, r.bottom - r.top}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

}  // namespace

std::vector<Monitor> ListMonitors() {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

std::optional<DecodedImage> CaptureVirtualScreen(const ScreenRect& screen) {
  if (screen.Empty()) return std::nullopt;
  const WindowDc desktop(nullptr);
  if (!desktop) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = screen.width;
  info.bmiHeader.biHeight = -screen.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueGdiObject<HBITMAP> bitmap(CreateDIBSection(desktop.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueDc memory(CreateCompatibleDC(desktop.get()));
  if (!bitmap || !memory || bits == nullptr) return std::nullopt;
  {
    const SelectedObject selected(memory.get(), bitmap.get());
    // The screen DC's origin is the primary monitor's corner: the others may
    // lie at negative coordinates.
    if (BitBlt(memory.get(), 0, 0, screen.width, screen.height, desktop.get(), screen.x, screen.y, SRCCOPY) == FALSE) {
      return std::nullopt;
    }
  }
  GdiFlush();
  DecodedImage image;
  image.width = screen.width;
  image.height = screen.height;
  image.bitsPerPixel = 32;
  image.topDown = true;
  image.stride = screen.width * 4;
  image.pixels.resize(static_cast<std::size_t>(image.stride) * static_cast<std::size_t>(screen.height));
  std::memcpy(image.pixels.data(), bits, image.pixels.size());
  return image;
}
