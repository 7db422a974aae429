#include "app/base_app.h"

#include <cstdio>
#include <new>

#include "app/error_messages.h"
#include "app/error_report.h"
#include "app/frame_timer.h"
#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "dialogs/resource.h"
#include "display/cdx_screen_win.h"
#include "display/desktop_background_source_win.h"
#include "fire/fire_manager.h"
#include "settings/change_periods.h"
#include "settings/loadable_background.h"
#include "settings/settings.h"

BaseApp::BaseApp() {
  settings_ = new Settings();
  settings_->Load();
  // Loading made the settings folder the current directory: the log lives there
  // and starts empty at every run.
  TraceLog().SetFileName("log.txt");
  TraceLog().DeleteLogFile();
}

BaseApp::~BaseApp() { ReleaseAll(); }

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
      if (window_ != nullptr && IsWindowVisible(window_)) ShowWindow(window_, SW_HIDE);
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
  if (!SetGameParameter(argv)) return kErrorConfigure;
  TraceLog().Log("After set game Parameter: w=%d, h=%d, bpp=%d, full=%d, style=%d", width_, height_, bpp_, fullScreen_,
                 static_cast<int>(windowStyle_));

  // Before any window of ours exists, so the snapshot shows the user's desktop.
  desktop_ = new DesktopBackgroundSource();
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
  desktop_->SetScreen(screen_);
  TraceLog().Log("init fire");
  code = InitFire();
  if (code != 0) {
    TraceLog().Log("init fire false. error %d", code);
    return code;
  }

  frameTimer_ = new FrameTimer();
  frameTimer_->SetPeriod(framesPerSecond > 0 ? 1000 / framesPerSecond : 1000 / 30);
  frameTimer_->Start();
  std::snprintf(fpsText_, sizeof fpsText_, "fps:");

  HandChangePeriods(*settings_, *fire_);
  TraceLog().Log("BaseApp::Init() end");
  return 0;
}

int BaseApp::GetWindowBpp() {
  HDC dc = ::GetDC(nullptr);
  if (dc == nullptr) {
    TraceLog().Log("BaseApp::GetWindowBpp false. return 32");
    return 32;
  }
  const int bpp = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
  ::ReleaseDC(nullptr, dc);
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

int BaseApp::InitWindow() {
  TraceLog().Log("WaterApp::InitWindow()");
  TraceLog().Log("register self window' class");
  HINSTANCE instance = GetModuleHandleA(nullptr);
  bigIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_FLAME_BIG), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_FLAME_SMALL), IMAGE_ICON, 16, 16, 0));

  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = windowProc_ != nullptr ? windowProc_ : DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.hIcon = bigIcon_;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = className_.c_str();
  windowClass.hIconSm = smallIcon_;
  if (RegisterClassExA(&windowClass) == 0) {
    TraceLog().Log("RegisterClassEx False");
    return kErrorRegisterClass;
  }

  RECT rect{0, 0, width_, height_};
  int windowWidth = width_;
  int windowHeight = height_;
  if (AdjustWindowRect(&rect, windowStyle_, FALSE) != FALSE) {
    windowWidth = rect.right - rect.left;
    windowHeight = rect.bottom - rect.top;
  }
  TraceLog().Log("create self window");
  window_ = CreateWindowExA(0, className_.c_str(), windowTitle_.c_str(), windowStyle_, x_, y_, windowWidth,
                            windowHeight, nullptr, nullptr, instance, nullptr);
  if (window_ == nullptr) {
    TraceLog().Log("CreateWindowEx false");
    return kErrorCreateWindow;
  }
  // Hidden until the mode has everything ready. It is made with the mode's
  // style as given (visible) and hidden afterwards: Wine's DirectDraw shows
  // nothing in a full-screen window that was created invisible.
  ShowWindow(window_, SW_HIDE);
  return 0;
}

int BaseApp::InitDirectX() {
  TraceLog().Log("BaseApp::InitDirectX()");
  TraceLog().Log("Create Screen");
  screen_ = new (std::nothrow) CDXScreen();
  if (screen_ == nullptr) {
    TraceLog().Log("Create CDXScreen false");
    return kErrorCreateScreen;
  }
  if (fullScreen_ != 0) {
    TraceLog().Log("BaseApp::InitDirectX() Full Screen");
    const int result = screen_->CreateFullScreen(window_, width_, height_, bpp_, 0);
    if (result < 0) {
      directXError_ = result;
      TraceLog().Log("CDXScreen::CreateFullScreen() false : return %d", result);
      return kErrorFullScreenDirectX;
    }
  } else {
    TraceLog().Log("BaseApp::InitDirectX() Not Full Screen");
    const int result = screen_->CreateWindowed(window_, width_, height_);
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
  fireParams_ = new FireParameters();
  fireParams_->width = width_;
  fireParams_->height = height_;
  fireParams_->bitsPerPixel = bpp_;
  fireParams_->xOffset = 0;
  fireParams_->yOffset = 0;
  SkipUnloadableBackgrounds(*settings_, *desktop_);
  fire_ = new FireManager(*settings_);
  const int result = fire_->Create(*fireParams_, *desktop_);
  if (result != 0) {
    TraceLog().Log("BaseApp::InitFire false");
    delete fire_;
    fire_ = nullptr;
    return result;
  }
  return 0;
}

void BaseApp::OnMain() {
  PerformanceScope frameScope("BaseApp::OnMain()");
  if (fire_ != nullptr) {
    try {
      const std::uint32_t frameMs = frameTimer_ != nullptr
                                        ? static_cast<std::uint32_t>(frameTimer_->Elapsed()) -
                                              static_cast<std::uint32_t>(frameTimer_->PreviousElapsed())
                                        : 0;
      fire_->Update(frameMs);
    } catch (...) {
      TraceLog().Log("BaseApp::OnMain() fire Update get an exception");
    }
    try {
      fire_->Render();
    } catch (...) {
      TraceLog().Log("BaseApp::OnMain() fire Render get an exception");
    }
    try {
      fire_->CopyToSurface(*screen_->GetBack());
    } catch (...) {
      TraceLog().Log("BaseApp::OnMain() fire CopyToSurface get an exception");
    }
  }
  PerformanceScope flipScope("screen->Flip()");
  if (showFps_ != 0) {
    try {
      screen_->GetBack()->TextOut(10, 10, 0xFFFF00FF, fpsText_);
    } catch (...) {
      TraceLog().Log("BaseApp::OnMain() show fps get an exception");
    }
  }
  screen_->Flip(1, 1, 0);
}

void BaseApp::CountFrame(std::uint32_t now) {
  now_ = now;
  ++frames_;
  const std::uint32_t since = now_ - lastFpsTime_;
  if (since > 1000) {
    fps_ = static_cast<float>(frames_ * 1000.0 / since);
    lastFpsTime_ = now_;
    frames_ = 0;
    std::snprintf(fpsText_, sizeof fpsText_, "%f", static_cast<double>(fps_));
  }
}

int BaseApp::MainLoop() {
  running_ = 1;
  MSG message{};
  while (running_ != 0) {
    MSG waiting;
    if (PeekMessageA(&waiting, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      message = waiting;
      if (message.message == WM_QUIT) break;
      TranslateMessage(&message);
      DispatchMessageA(&message);
      continue;
    }
    if (frameTimer_ == nullptr) break;
    const std::uint32_t now = static_cast<std::uint32_t>(frameTimer_->Wait());
    OnMain();
    CountFrame(now);
  }
  return static_cast<int>(message.wParam);
}

void BaseApp::OnEnd() {
  TraceLog().Log("BaseApp::OnEnd()");
  ReleaseAll();
}

void BaseApp::ReleaseDisplay() {
  delete fire_;
  fire_ = nullptr;
  delete fireParams_;
  fireParams_ = nullptr;
  delete frameTimer_;
  frameTimer_ = nullptr;
  if (desktop_ != nullptr) {
    desktop_->Release();
    delete desktop_;
    desktop_ = nullptr;
  }
  if (screen_ != nullptr) {
    delete screen_;
    screen_ = nullptr;
  }
}

void BaseApp::ReleaseAll() {
  ReleaseDisplay();
  delete settings_;
  settings_ = nullptr;
  if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
  bigIcon_ = nullptr;
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
  smallIcon_ = nullptr;
}

void BaseApp::ReportError(int code) {
  ErrorReportInfo info;
  info.code = code;
  info.directXError = directXError_;
  info.productName = productName_;
  info.version = version_;
  info.settingsFolder = settings_ != nullptr ? settings_->GetSettingsFolder() : std::string();
  Win32ErrorReportShell shell;
  ::ReportError(info, shell);
}
