#include "app/big_app.h"

#include "diagnostics/debug_log.h"
#include "settings/settings.h"

static constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE;

LRESULT CALLBACK BigApp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) PostMessageA(window, WM_CLOSE, 0, 0);
  return AppWindowProc(window, message, wParam, lParam);
}

bool BigApp::ChooseWindow(char**, WindowChoice& choice) {
  TraceLog().Log("BigApp::SetGameParameter() begin");
  choice.className = "full wnd Class";
  choice.title = "full wnd title";
  TraceLog().Log("Get desktop window handle");
  HWND desktop = GetDesktopWindow();
  if (desktop == nullptr) {
    TraceLog().Log("Get desktop window false");
    return false;
  }
  TraceLog().Log("Get desktop window width and height");
  RECT rect{};
  GetClientRect(desktop, &rect);
  choice.width = rect.right - rect.left;
  choice.height = rect.bottom - rect.top;
  TraceLog().Log("width = %d, height = %d", choice.width, choice.height);
  choice.bpp = ChooseBpp();
  choice.fullScreen = true;
  choice.style = kFullScreenStyle;
  choice.procedure = &BigApp::WindowProc;
  TraceLog().Log("BigApp::SetGameParameter() end");
  return true;
}

int BigApp::Init(int argc, char** argv, int framesPerSecond) {
  TraceLog().Log("BigApp::Init() begin");
  const int code = BaseApp::Init(argc, argv, framesPerSecond);
  if (code < 0) {
    TraceLog().Log("BigApp::Init() base::init false. error %d", code);
    return code;
  }
  ShowWindow(GetWindow(), SW_SHOW);
  // The arrow has no business over the fire; it comes back when the saver ends.
  ShowCursor(FALSE);
  cursorHidden_ = true;
  TraceLog().Log("BigApp::Init() end");
  return 0;
}

void BigApp::OnEnd() {
  TraceLog().Log("BigApp::OnEnd()");
  if (cursorHidden_) {
    ShowCursor(TRUE);
    cursorHidden_ = false;
  }
  // Without loaded settings there is no folder to write into; writing anyway
  // would put a config.ini into the system's folder.
  if (Settings* settings = AppSettings(); settings != nullptr && settings->IsLoaded()) settings->SavePositions();
  BaseApp::OnEnd();
}
