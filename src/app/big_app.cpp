#include "app/big_app.h"

#include "app/other_monitors.h"
#include "diagnostics/debug_log.h"
#include "settings/settings.h"

static constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE;

BigApp::BigApp() = default;

BigApp::~BigApp() = default;

LRESULT CALLBACK BigApp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) PostMessageA(window, WM_CLOSE, 0, 0);
  return AppWindowProc(window, message, wParam, lParam);
}

bool BigApp::ChooseWindow(char**, WindowChoice& choice) {
  choice.className = "full wnd Class";
  choice.title = "full wnd title";
  choice.style = kFullScreenStyle;
  choice.procedure = &BigApp::WindowProc;
  choice.fullScreen = true;
  return ChooseOnDesktop("BigApp", choice);
}

int BigApp::Init(int argc, char** argv, int framesPerSecond) {
  TraceLog().Log("BigApp::Init() begin");
  // The other monitors' desktop is taken before any window of ours exists, as
  // the primary's own snapshot. Their windows come before the primary's screen:
  // Wine fails windows made on other monitors once DirectDraw has set the
  // display mode (a read past the window's pixels).
  others_ = OtherMonitors::Prepare();
  if (others_ != nullptr && AppSettings() != nullptr && AppSettings()->IsLoaded()) {
    others_->Start(AppSettings()->GetSettingsFolder());
  }
  const int code = BaseApp::Init(argc, argv, framesPerSecond);
  if (code < 0) {
    others_.reset();
    TraceLog().Log("BigApp::Init() base::init false. error %d", code);
    return code;
  }
  ShowWindow(GetWindow(), SW_SHOW);
  if (others_ != nullptr) others_->SetPrimaryWindow(GetWindow());
  // The arrow has no business over the fire; it comes back when the saver ends.
  ShowCursor(FALSE);
  cursorHidden_ = true;
  TraceLog().Log("BigApp::Init() end");
  return 0;
}

void BigApp::OnEnd() {
  TraceLog().Log("BigApp::OnEnd()");
  others_.reset();
  if (cursorHidden_) {
    ShowCursor(TRUE);
    cursorHidden_ = false;
  }
  // Without loaded settings there is no folder to write into; writing anyway
  // would put a config.ini into the system's folder.
  if (Settings* settings = AppSettings(); settings != nullptr && settings->IsLoaded()) settings->SavePositions();
  BaseApp::OnEnd();
}

void BigApp::PassUnseen(std::uint32_t elapsedMs) {
  BaseApp::PassUnseen(elapsedMs);
  if (others_ != nullptr) others_->PassUnseen(elapsedMs);
}

void BigApp::DrawFrame() {
  if (others_ == nullptr) {
    BaseApp::DrawFrame();
    return;
  }
  auto primary = [this] { BaseApp::DrawFrame(); };
  others_->DrawFrame(FrameMs(), primary);
}
