#include "app/base_app.h"

#include <cstdlib>
#include <new>

#include "app/error_messages.h"
#include "app/error_report.h"
#include "app/frame_timer.h"
#include "app/pacing_notifications.h"
#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "dialogs/resource.h"
#include "display/cdx_screen_win.h"
#include "display/desktop_background_source_win.h"
#include "fire/fire_manager.h"
#include "fire/frame_step.h"
#include "settings/change_periods.h"
#include "settings/loadable_background.h"
#include "settings/settings.h"

namespace {

// HEARTHMOOR_TIME_SCALE=N (2 to 1000) makes the fire's time run N times as fast
// as the clock, so that a test sees a week of timed changes in minutes; the
// frames are still drawn at the frame timer's pace. Said in the log when set.
std::uint32_t TimeScale() {
  const char* text = std::getenv("HEARTHMOOR_TIME_SCALE");
  const long scale = text != nullptr ? std::strtol(text, nullptr, 10) : 1;
  if (scale < 2 || scale > 1000) return 1;
  TraceLog().Log("BaseApp: the fire's time runs %ld times as fast (HEARTHMOOR_TIME_SCALE)", scale);
  return static_cast<std::uint32_t>(scale);
}

}  // namespace

BaseApp::BaseApp() : settings_(std::make_unique<Settings>()) {
  settings_->Load();
  // Loading made the settings folder the current directory: the log lives there
  // and starts empty at every run.
  TraceLog().SetFileName("log.txt");
  TraceLog().DeleteLogFile();
}

BaseApp::~BaseApp() { ReleaseAll(); }

LRESULT CALLBACK BaseApp::AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_CLOSE:
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_POWERBROADCAST:
    case WM_WTSSESSION_CHANGE:
      if (auto* app = reinterpret_cast<BaseApp*>(GetWindowLongPtrA(window, GWLP_USERDATA));
          app != nullptr && TellPacing(app->pacing_, message, wParam, lParam)) {
        return TRUE;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

int BaseApp::Run(int argc, char** argv, int framesPerSecond) {
  TraceLog().Log("BaseApp::Run() begin");
  TraceLog().Log("argc = %d", argc);
  int code = 0;
  try {
    code = Init(argc, argv, framesPerSecond);
  } catch (...) {
    TraceLog().Log("BaseApp::Run() after init get an exception");
    code = kErrorInitException;
  }
  if (code < 0) {
    try {
      // A screen left in exclusive mode (or at another display mode) would hide
      // the error box: give the display back first.
      if (window_ && IsWindowVisible(window_.get())) ShowWindow(window_.get(), SW_HIDE);
      ReleaseDisplay();
      if (!quietFailure_) ReportError(code);
    } catch (...) {
      TraceLog().Log("BaseApp::Run() after ReportError get an exception");
    }
    try {
      OnEnd();
    } catch (...) {
      TraceLog().Log("BaseApp::Run() after ReportError OnEnd get an exception");
    }
    return 0;
  }
  const int result = MainLoop();
  try {
    OnEnd();
  } catch (...) {
    TraceLog().Log("BaseApp::Run() after OnEnd get an exception");
  }
  TraceLog().Log("BaseApp::Run() End");
  return result;
}

int BaseApp::Init(int, char** argv, int framesPerSecond) {
  TraceLog().Log("BaseApp::Init begin");
  if (settings_ == nullptr || !settings_->IsLoaded()) {
    TraceLog().Log("app parameter is not inited.");
    return kErrorSettingsNotLoaded;
  }
  if (!ChooseWindow(argv, choice_)) return kErrorConfigure;
  TraceLog().Log("After set game Parameter: w=%d, h=%d, bpp=%d, full=%d, style=%d", choice_.width, choice_.height,
                 choice_.bpp, choice_.fullScreen ? 1 : 0, static_cast<int>(choice_.style));

  // Before any window of ours exists, so the snapshot shows the user's desktop.
  desktop_ = std::make_unique<DesktopBackgroundSource>();
  desktop_->Capture();

  TraceLog().Log("BaseApp:: init window");
  int code = InitWindow();
  if (code != 0) {
    TraceLog().Log("InitWindow false. error %d", code);
    return code;
  }
  TraceLog().Log("init directx");
  code = InitDirectX();
  if (code != 0) {
    TraceLog().Log("Init directx false. error %d", code);
    return code;
  }
  desktop_->SetScreen(screen_.get());
  TraceLog().Log("init fire");
  code = InitFire();
  if (code != 0) {
    TraceLog().Log("init fire false. error %d", code);
    return code;
  }

  frameTimer_ = std::make_unique<FrameTimer>();
  frameTimer_->SetPeriod(framesPerSecond > 0 ? 1000 / framesPerSecond : 1000 / 30);
  frameTimer_->Start();

  HandChangePeriods(*settings_, *fire_);
  timeScale_ = TimeScale();
  TraceLog().Log("BaseApp::Init() end");
  return 0;
}

int BaseApp::GetWindowBpp() {
  const WindowDc screen(nullptr);
  if (!screen) {
    TraceLog().Log("BaseApp::GetWindowBpp false. return 32");
    return 32;
  }
  const int bpp = GetDeviceCaps(screen.get(), PLANES) * GetDeviceCaps(screen.get(), BITSPIXEL);
  TraceLog().Log("BaseApp::GetWindowBpp success. %d", bpp);
  return bpp;
}

int BaseApp::ChooseBpp() {
  const int bpp = GetWindowBpp();
  if (bpp != 0) {
    TraceLog().Log("Get Window bpp =  %d", bpp);
    return bpp;
  }
  TraceLog().Log("Get Window bpp false, set bpp = %d", 32);
  return 32;
}

bool BaseApp::ChooseOnDesktop(const char* mode, WindowChoice& choice) {
  TraceLog().Log("%s::SetGameParameter() begin", mode);
  TraceLog().Log("Get desktop window handle");
  HWND desktop = GetDesktopWindow();
  if (desktop == nullptr) {
    TraceLog().Log("Get desktop window false");
    return false;
  }
  TraceLog().Log("Get desktop window width and height");
  if (choice.width == 0) {
    RECT rect{};
    GetClientRect(desktop, &rect);
    choice.width = rect.right - rect.left;
    choice.height = rect.bottom - rect.top;
  }
  TraceLog().Log("width = %d, height = %d", choice.width, choice.height);
  choice.bpp = ChooseBpp();
  TraceLog().Log("%s::SetGameParameter() end", mode);
  return true;
}

int BaseApp::InitWindow() {
  TraceLog().Log("WaterApp::InitWindow()");
  TraceLog().Log("register self window' class");
  HINSTANCE instance = GetModuleHandleA(nullptr);
  bigIcon_.reset(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_FLAME_BIG), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_FLAME_SMALL), IMAGE_ICON, 16, 16, 0)));

  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = choice_.procedure != nullptr ? choice_.procedure : DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.hIcon = bigIcon_.get();
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = choice_.className.c_str();
  windowClass.hIconSm = smallIcon_.get();
  if (RegisterClassExA(&windowClass) == 0) {
    TraceLog().Log("RegisterClassEx False");
    return kErrorRegisterClass;
  }

  RECT rect{0, 0, choice_.width, choice_.height};
  int windowWidth = choice_.width;
  int windowHeight = choice_.height;
  if (AdjustWindowRect(&rect, choice_.style, FALSE) != FALSE) {
    windowWidth = rect.right - rect.left;
    windowHeight = rect.bottom - rect.top;
  }
  TraceLog().Log("create self window");
  window_.reset(CreateWindowExA(0, choice_.className.c_str(), choice_.title.c_str(), choice_.style, choice_.x,
                                choice_.y, windowWidth, windowHeight, nullptr, nullptr, instance, nullptr));
  if (!window_) {
    TraceLog().Log("CreateWindowEx false");
    return kErrorCreateWindow;
  }
  SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // Hidden until the mode has everything ready. It is made with the mode's
  // style as given (visible) and hidden afterwards: Wine's DirectDraw shows
  // nothing in a full-screen window that was created invisible.
  ShowWindow(window_.get(), SW_HIDE);
  return 0;
}

int BaseApp::InitDirectX() {
  TraceLog().Log("BaseApp::InitDirectX()");
  TraceLog().Log("Create Screen");
  try {
    screen_ = std::make_unique<CDXScreen>();
  } catch (const std::bad_alloc&) {
    TraceLog().Log("Create CDXScreen false");
    return kErrorCreateScreen;
  }
  if (choice_.fullScreen) {
    TraceLog().Log("BaseApp::InitDirectX() Full Screen");
    const int result = screen_->CreateFullScreen(window_.get(), choice_.width, choice_.height, choice_.bpp, 0);
    if (result < 0) {
      directXError_ = result;
      TraceLog().Log("CDXScreen::CreateFullScreen() false : return %d", result);
      return kErrorFullScreenDirectX;
    }
  } else {
    TraceLog().Log("BaseApp::InitDirectX() Not Full Screen");
    const int result = screen_->CreateWindowed(window_.get(), choice_.width, choice_.height);
    if (result < 0) {
      directXError_ = result;
      TraceLog().Log("CDXScreen::CreateWindowd() false : return %d", result);
      return kErrorWindowedDirectX;
    }
  }
  return 0;
}

int BaseApp::InitFire() {
  TraceLog().Log("BaseApp::InitFire");
  FireParameters parameters;
  parameters.width = choice_.width;
  parameters.height = choice_.height;
  parameters.bitsPerPixel = choice_.bpp;
  parameters.xOffset = 0;
  parameters.yOffset = 0;
  SkipUnloadableBackgrounds(*settings_, *desktop_);
  fire_ = std::make_unique<FireManager>(*settings_);
  const int result = fire_->Create(parameters, *desktop_);
  if (result != 0) {
    TraceLog().Log("BaseApp::InitFire false");
    fire_.reset();
    return result;
  }
  return 0;
}

std::uint32_t BaseApp::FrameMs() const {
  if (frameTimer_ == nullptr) return 0;
  const std::uint32_t real =
      static_cast<std::uint32_t>(frameTimer_->Elapsed()) - static_cast<std::uint32_t>(frameTimer_->PreviousElapsed());
  return real * timeScale_;
}

void BaseApp::StepFrame(const char* caller) {
  if (fire_ == nullptr) return;
  StepFire(*fire_, *screen_->GetBack(), FrameMs(), caller);
}

void BaseApp::DrawFrame() {
  PerformanceScope frameScope("BaseApp::OnMain()");
  StepFrame("BaseApp::OnMain()");
  PerformanceScope flipScope("screen->Flip()");
  screen_->Flip(1, 1, 0);
}

int BaseApp::MainLoop() {
  const PacingNotifications notifications(window_.get(), pacing_);
  MSG message{};
  std::uint32_t frames = 0;
  for (;;) {
    MSG waiting;
    if (PeekMessageA(&waiting, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      message = waiting;
      if (message.message == WM_QUIT) break;
      TranslateMessage(&message);
      DispatchMessageA(&message);
      continue;
    }
    if (frameTimer_ == nullptr) break;
    LookAtWindow(DrawnWindow(), pacing_);
    FollowPacing(frames);
    if (asleep_) {
      // A message ends the sleep. A covered window sends none when it is
      // uncovered: it is looked at again once a frame.
      const DWORD look = pacing_.AsleepForWindowOnly() ? 1000 / pacing_.FramesPerSecond() : INFINITE;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, look, QS_ALLINPUT);
      continue;
    }
    frameTimer_->Wait();
    DrawFrame();
    ++frames;
  }
  return static_cast<int>(message.wParam);
}

void BaseApp::FollowPacing(std::uint32_t frames) {
  const int framesPerSecond = pacing_.FramesPerSecond();
  if (framesPerSecond != loggedFramesPerSecond_) {
    TraceLog().Log("BaseApp::MainLoop() %s: %d frames a second (frame %u)", pacing_.RateReason(), framesPerSecond,
                   frames);
    loggedFramesPerSecond_ = framesPerSecond;
  }
  if (pacing_.Asleep()) {
    if (asleep_) return;
    asleep_ = true;
    frameTimer_->Pause();
    TraceLog().Log("BaseApp::MainLoop() asleep: %s (frame %u)", pacing_.SleepReason(), frames);
    return;
  }
  const int period = 1000 / framesPerSecond;
  if (!asleep_ && period == frameTimer_->Period()) return;
  // Whatever time no frame is handed (the sleep, or the part of a frame the
  // rate change cut short) still counts for the timed changes.
  const std::uint32_t unseen = frameTimer_->Resume(period);
  PassUnseen(unseen * timeScale_);
  if (asleep_) TraceLog().Log("BaseApp::MainLoop() awake after %u ms unseen (frame %u)", unseen, frames);
  asleep_ = false;
}

void BaseApp::PassUnseen(std::uint32_t elapsedMs) {
  if (fire_ != nullptr) fire_->PassUnseen(elapsedMs);
}

void BaseApp::OnEnd() {
  TraceLog().Log("BaseApp::OnEnd()");
  ReleaseAll();
}

void BaseApp::ReleaseDisplay() {
  fire_.reset();
  frameTimer_.reset();
  desktop_.reset();  // releases its surfaces and snapshot
  screen_.reset();
}

void BaseApp::ReleaseAll() {
  ReleaseDisplay();
  settings_.reset();
  // Not destroyed by hand: the process ends right after, and destroying a
  // window that held exclusive mode took two seconds under Wine, all of them
  // after the user's key press (the system destroys it at exit in no time).
  static_cast<void>(window_.release());
  bigIcon_.reset();
  smallIcon_.reset();
}

void BaseApp::ReportError(int code) {
  ErrorReportInfo info;
  info.code = code;
  info.directXError = directXError_;
  info.productName = kProductName;
  info.version = kVersion;
  info.settingsFolder = settings_ != nullptr ? settings_->GetSettingsFolder() : std::string();
  Win32ErrorReportShell shell;
  ::ReportError(info, shell);
}
