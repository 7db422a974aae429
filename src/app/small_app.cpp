#include "app/small_app.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "app/error_messages.h"
#include "app/frame_timer.h"
#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "display/cdx_screen_win.h"
#include "fire/fire_manager.h"
#include "settings/settings.h"

SmallApp* SmallApp::current_ = nullptr;

static constexpr DWORD kOwnerStyle = WS_POPUP | WS_VISIBLE;
static constexpr const char* kPreviewClass = "previewWnd";

SmallApp::SmallApp() {
  fullScreen_ = 0;
  previewWindow_ = nullptr;
  current_ = this;
}

SmallApp::~SmallApp() {
  if (current_ == this) current_ = nullptr;
}

HWND SmallApp::ParseHostWindow(const char* text) {
  if (text == nullptr) return nullptr;
  errno = 0;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (end == text || errno != 0) return nullptr;
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

LRESULT CALLBACK SmallApp::OwnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_CLOSE:
      // Kept until the screen is released (DirectDraw is bound to it); OnEnd
      // destroys it.
      PostQuitMessage(0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK SmallApp::PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      if (current_ != nullptr && current_->window_ != nullptr) PostMessageA(current_->window_, WM_CLOSE, 0, 0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool SmallApp::SetGameParameter(char** argv) {
  TraceLog().Log("SmallApp::SetGameParameter begin");
  className_ = "preview wnd Class";
  windowTitle_ = "preview wnd title";
  const char* argument = argv != nullptr && argv[1] != nullptr ? argv[2] : nullptr;
  hostWindow_ = ParseHostWindow(argument);
  if (hostWindow_ == nullptr) {
    TraceLog().Log("Get parent window handle from avgv false: %s", argument != nullptr ? argument : "");
    // Nobody to show an error to: the host that started us gave no window.
    quietFailure_ = true;
    return false;
  }
  windowStyle_ = kOwnerStyle;
  TraceLog().Log("Get parent window's rect");
  RECT rect{};
  if (GetClientRect(hostWindow_, &rect) == FALSE) {
    TraceLog().Log("Get parent window's rect false");
    quietFailure_ = true;
    return false;
  }
  x_ = rect.left;
  y_ = rect.top;
  width_ = rect.right - rect.left;
  height_ = rect.bottom - rect.top;
  TraceLog().Log("SmallApp::SetGameParameter width = %d, height = %d, previewWnd =%d", width_, height_,
                 static_cast<int>(reinterpret_cast<std::uintptr_t>(hostWindow_)));
  bpp_ = ChooseBpp();
  windowProc_ = &SmallApp::OwnerWindowProc;
  TraceLog().Log("SmallApp::SetGameParameter end");
  return true;
}

int SmallApp::Init(int argc, char** argv, int framesPerSecond) {
  TraceLog().Log("SmallApp::Init begin");
  int code = BaseApp::Init(argc, argv, framesPerSecond);
  if (code != 0) {
    TraceLog().Log("SmallApp::init base::init false %d", code);
    return code;
  }
  code = InitPreviewWnd();
  if (code != 0) {
    TraceLog().Log("SmallApp::init InitPreviewWnd false %d", code);
    return code;
  }
  ShowWindow(previewWindow_, SW_SHOW);
  TraceLog().Log("SmallApp::Init end");
  return 0;
}

int SmallApp::InitPreviewWnd() {
  TraceLog().Log("SmallApp::InitPreviewWnd()");
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  windowClass.lpfnWndProc = &SmallApp::PreviewWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kPreviewClass;
  if (RegisterClassExA(&windowClass) == 0) {
    TraceLog().Log("RegisterClassEx False");
    return kErrorRegisterPreviewClass;
  }
  previewWindow_ = CreateWindowExA(0, kPreviewClass, "previewWndTitle", WS_CHILD | WS_VISIBLE, 0, 0, width_, height_,
                                   hostWindow_, nullptr, instance, nullptr);
  if (previewWindow_ == nullptr) {
    TraceLog().Log("CreateWindowEx false");
    return kErrorCreatePreviewWindow;
  }
  TraceLog().Log("SmallApp::InitPreviewWnd() end");
  return 0;
}

void SmallApp::OnMain() {
  PerformanceScope frameScope("SmallApp::OnMain()");
  if (fire_ != nullptr) {
    // Guarded like the full-screen frame: an exception here would otherwise
    // leave the message loop and end the preview abruptly.
    try {
      fire_->Update(static_cast<std::uint32_t>(frameTimer_->Elapsed()) -
                    static_cast<std::uint32_t>(frameTimer_->PreviousElapsed()));
    } catch (...) {
      TraceLog().Log("SmallApp::OnMain() fire Update get an exception");
    }
    try {
      fire_->Render();
    } catch (...) {
      TraceLog().Log("SmallApp::OnMain() fire Render get an exception");
    }
    try {
      fire_->CopyToSurface(*screen_->GetBack());
    } catch (...) {
      TraceLog().Log("SmallApp::OnMain() fire CopyToSurface get an exception");
    }
  }
  PerformanceScope copyScope("HDC copy");
  CopyToPreview();
}

void SmallApp::CopyToPreview() {
  if (previewWindow_ == nullptr || screen_ == nullptr || screen_->GetBack() == nullptr) return;
  HDC windowDc = ::GetDC(previewWindow_);
  HDC surfaceDc = screen_->GetBack()->GetDC();
  if (windowDc != nullptr && surfaceDc != nullptr) {
    BitBlt(windowDc, 0, 0, width_, height_, surfaceDc, 0, 0, SRCCOPY);
  }
  if (windowDc != nullptr) ::ReleaseDC(previewWindow_, windowDc);
  if (surfaceDc != nullptr) screen_->GetBack()->ReleaseDC();
}

void SmallApp::OnEnd() {
  TraceLog().Log("SmallApp::OnEnd()");
  if (settings_ != nullptr && settings_->IsLoaded()) settings_->SavePositions();
  BaseApp::OnEnd();
}
