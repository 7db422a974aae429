#include "app/config_app.h"

#include "app/error_messages.h"
#include "app/frame_timer.h"
#include "diagnostics/debug_log.h"
#include "dialogs/editor_factory.h"
#include "dialogs/settings_dialog.h"
#include "settings/settings.h"
#include "update/update_address.h"

ConfigApp* ConfigApp::current_ = nullptr;

namespace {
// Popup, visible, caption and system menu: a small window of its own.
constexpr DWORD kFireWindowStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
constexpr int kPreviewWidth = 600;
constexpr int kPreviewHeight = 480;
// How long the UI thread waits for a message before it looks at the running flag.
constexpr DWORD kPollMs = 10;
}  // namespace

ConfigApp::ConfigApp() : editors_(MakeDialogEditorFactory()) { current_ = this; }

ConfigApp::~ConfigApp() {
  if (current_ == this) current_ = nullptr;
}

LRESULT CALLBACK ConfigApp::FireWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool closing = message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE);
  if (!closing) return DefWindowProcA(window, message, wParam, lParam);
  // The fire window does not close: it hides, and the dialog's Show Fire follows.
  if (current_ != nullptr) {
    try {
      current_->SetShowFire(false);
    } catch (...) {
      TraceLog().Log("ConfigApp::FireWindowProc get an exception");
    }
  }
  return 1;
}

bool ConfigApp::ChooseWindow(char**, WindowChoice& choice) {
  choice.className = "config wnd Class";
  choice.title = "Preview";
  choice.style = kFireWindowStyle;
  choice.procedure = &ConfigApp::FireWindowProc;
  choice.width = kPreviewWidth;
  choice.height = kPreviewHeight;
  return ChooseOnDesktop("ConfigApp", choice);
}

int ConfigApp::Init(int argc, char** argv, int framesPerSecond) {
  TraceLog().Log("ConfigApp::Init begin");
  skin_.BindAndStart(GetSettingsFolder() + SkinLibrary::kSkinFileName);

  const int code = BaseApp::Init(argc, argv, framesPerSecond);
  if (code != 0) {
    TraceLog().Log("ConfigApp::Init base init false");
    return code;
  }
  // No frame runs yet: the settings are this thread's alone.
  ShowWindow(GetWindow(), AppSettings()->GetShowFire() ? SW_SHOWNA : SW_HIDE);

  dialog_ = std::make_unique<SettingsDialog>(*this, *editors_);
  if (!dialog_->Create()) {
    // Without its dialog the mode could not be ended by the user.
    TraceLog().Log("ConfigApp::Init create dialog false");
    dialog_.reset();
    return kErrorCreateWindow;
  }
  SetView(dialog_.get());
  dialog_->Show();
  TraceLog().Log("ConfigApp::Init end");
  return 0;
}

void ConfigApp::DrawFrame() {
  RunFrame([this] { BaseApp::DrawFrame(); });
  if (dialog_ == nullptr) return;
  try {
    FollowTimedChanges();
  } catch (...) {
    TraceLog().Log("ConfigApp::OnMain get an exception");
  }
}

void ConfigApp::RenderStep() {
  GetFrameTimer()->Wait();
  DrawFrame();
}

int ConfigApp::MainLoop() {
  if (GetFrameTimer() == nullptr || !StartRenderThread([this] { RenderStep(); })) {
    TraceLog().Log("ConfigApp::MainLoop create render thread false");
  }

  int exitCode = 0;
  while (IsRunning()) {
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      if (message.message == WM_QUIT) {
        StopRunning();
        exitCode = static_cast<int>(message.wParam);
      }
      HWND dialog = dialog_ != nullptr ? dialog_->Window() : nullptr;
      if (dialog == nullptr || IsDialogMessageA(dialog, &message) == FALSE) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      continue;
    }
    // Sleep until the next message, or look at the running flag again after a
    // while: the dialog's OK and Cancel clear it from inside a message handler,
    // the render thread never does.
    MsgWaitForMultipleObjectsEx(0, nullptr, kPollMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  // The render thread only posts to the dialog, so it ends without the UI thread.
  JoinRenderThread();
  return exitCode;
}

void ConfigApp::OnEnd() {
  TraceLog().Log("ConfigApp::OnEnd()");
  SetView(nullptr);
  if (Settings* settings = AppSettings(); settings != nullptr && settings->IsLoaded()) settings->SaveStores();
  BaseApp::OnEnd();
  if (dialog_ != nullptr) dialog_->Destroy();
  dialog_.reset();
  skin_.Remove();
}

std::string ConfigApp::GetUpdateUrl() { return UpdateAddress(); }

void ConfigApp::ShowFireWindow(bool show) {
  if (GetWindow() != nullptr) ShowWindow(GetWindow(), show ? SW_SHOWNA : SW_HIDE);
  if (dialog_ != nullptr) dialog_->SetShowFireCheck(show);
}
