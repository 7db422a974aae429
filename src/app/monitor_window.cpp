#include "app/monitor_window.h"

#include "image/memory_surface.h"

namespace {

constexpr const char* kClassName = "monitor wnd Class";

bool RegisterOnce(HINSTANCE instance, WNDPROC procedure) {
  static const bool registered = [&] {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    return RegisterClassExA(&windowClass) != 0;
  }();
  return registered;
}

}  // namespace

MonitorWindow::MonitorWindow(const ScreenRect& area, std::atomic<bool>& displayChanged)
    : displayChanged_(displayChanged) {
  info_.bmiHeader.biSize = sizeof info_.bmiHeader;
  info_.bmiHeader.biWidth = area.width;
  info_.bmiHeader.biHeight = -area.height;  // the surface's rows run top to bottom
  info_.bmiHeader.biPlanes = 1;
  info_.bmiHeader.biBitCount = 32;
  info_.bmiHeader.biCompression = BI_RGB;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!RegisterOnce(instance, &MonitorWindow::WindowProc)) return;
  window_.reset(CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, "monitor wnd title",
                                WS_POPUP, area.x, area.y, area.width, area.height, nullptr, nullptr, instance, this));
  if (window_) ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
}

void MonitorWindow::Present(MemorySurface& surface) {
  const WindowDc dc(window_.get());
  if (!dc) return;
  StretchDIBits(dc.get(), 0, 0, surface.Width(), surface.Height(), 0, 0, surface.Width(), surface.Height(),
                surface.FirstPixel(), &info_, DIB_RGB_COLORS, SRCCOPY);
}

LRESULT CALLBACK MonitorWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<MonitorWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (self != nullptr && self->primary_ != nullptr) PostMessageA(self->primary_, WM_CLOSE, 0, 0);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_SETCURSOR:
      SetCursor(nullptr);
      return TRUE;
    case WM_DISPLAYCHANGE:
      if (self != nullptr) self->displayChanged_ = true;
      return 0;
    case WM_CLOSE:
      return 0;  // the saver ends with its primary window
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
