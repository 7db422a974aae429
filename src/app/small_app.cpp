#include "app/small_app.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "app/error_messages.h"
#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "display/cdx_screen_win.h"
#include "settings/settings.h"

SmallApp* SmallApp::current_ = nullptr;

static constexpr DWORD kOwnerStyle = WS_POPUP | WS_VISIBLE;
static constexpr const char* kPreviewClass = "previewWnd";

SmallApp::SmallApp() { current_ = this; }

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

LRESULT CALLBACK SmallApp::PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      if (current_ != nullptr && current_->GetWindow() != nullptr) PostMessageA(current_->GetWindow(), WM_CLOSE, 0, 0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool SmallApp::ChooseWindow(char** argv, WindowChoice& choice) {
  TraceLog().Log("SmallApp::SetGameParameter begin");
  choice.className = "preview wnd Class";
  choice.title = "preview wnd title";
  const char* argument = argv != nullptr && argv[1] != nullptr ? argv[2] : nullptr;
  hostWindow_ = ParseHostWindow(argument);
  if (hostWindow_ == nullptr) {
    TraceLog().Log("Get parent window handle from avgv false: %s", argument != nullptr ? argument : "");
    // Nobody to show an error to: the host that started us gave no window.
    FailQuietly();
    return false;
  }
  choice.style = kOwnerStyle;
  TraceLog().Log("Get parent window's rect");
  RECT rect{};
  if (GetClientRect(hostWindow_, &rect) == FALSE) {
    TraceLog().Log("Get parent window's rect false");
    FailQuietly();
    return false;
  }
  choice.x = rect.left;
  choice.y = rect.top;
  choice.width = rect.right - rect.left;
  choice.height = rect.bottom - rect.top;
  TraceLog().Log("SmallApp::SetGameParameter width = %d, height = %d, previewWnd =%d", choice.width, choice.height,
                 static_cast<int>(reinterpret_cast<std::uintptr_t>(hostWindow_)));
  choice.bpp = ChooseBpp();
  choice.procedure = &BaseApp::AppWindowProc;
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
  previewWindow_ = CreateWindowExA(0, kPreviewClass, "previewWndTitle", WS_CHILD | WS_VISIBLE, 0, 0, Choice().width,
                                   Choice().height, hostWindow_, nullptr, instance, nullptr);
  if (previewWindow_ == nullptr) {
    TraceLog().Log("CreateWindowEx false");
    return kErrorCreatePreviewWindow;
  }
  TraceLog().Log("SmallApp::InitPreviewWnd() end");
  return 0;
}

void SmallApp::DrawFrame() {
  PerformanceScope frameScope("SmallApp::OnMain()");
  StepFrame("SmallApp::OnMain()");
  PerformanceScope copyScope("HDC copy");
  CopyToPreview();
}

void SmallApp::CopyToPreview() {
  CDXSurface* back = GetScreen() != nullptr ? GetScreen()->GetBack() : nullptr;
  if (previewWindow_ == nullptr || back == nullptr) return;
  const WindowDc window(previewWindow_);
  const SurfaceDc surface(*back);
  if (window && surface) BitBlt(window.get(), 0, 0, Choice().width, Choice().height, surface.get(), 0, 0, SRCCOPY);
}

void SmallApp::OnEnd() {
  TraceLog().Log("SmallApp::OnEnd()");
  if (Settings* settings = AppSettings(); settings != nullptr && settings->IsLoaded()) settings->SavePositions();
  BaseApp::OnEnd();
}
