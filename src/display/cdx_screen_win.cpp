#include "display/cdx_screen_win.h"

#include <cstdio>
#include <string>
#include <vector>

#include "diagnostics/clock.h"
#include "diagnostics/debug_log.h"

namespace {
// The interface version this program is built against, logged for support.
constexpr int kDirectDrawVersion = 0x700;
// DirectDraw's capability record of this interface version.
constexpr DWORD kCapsSize = 380;
static_assert(sizeof(DDCAPS) == kCapsSize, "DirectDraw 7 capability record");

// Full-screen cooperation: exclusive, full screen, Ctrl+Alt+Del allowed, Mode X.
constexpr DWORD kFullScreenCooperation = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_ALLOWMODEX;
constexpr DWORD kChainCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
constexpr COLORREF kRateColour = 0xFFF0;
}  // namespace

namespace {
// What the enumerations gather, for the log.
struct DisplayMode {
  int width = 0;
  int height = 0;
  int bpp = 0;
};
}  // namespace

CDXScreen::CDXScreen(Clock clock) : clock_(clock != nullptr ? clock : &MillisecondsNow) {
  TraceLog().Log("START: CDXScreen::CDXScreen()");
  InitCDXScreen();
  TraceLog().Log("END: CDXScreen::CDXScreen()");
}

void CDXScreen::InitCDXScreen() {
  TraceLog().Log("START: CDXScreen::InitCDXScreen");
  TraceLog().Log("Initialize member vars");
  useVideoMemory_ = 1;
  flipCount_ = 0;
  flipMs_ = 0;
  lastFlipTime_ = clock_();
  fps_ = 0;

  TraceLog().Log("CDX_DDVER: 0x%X (%i)", kDirectDrawVersion, kDirectDrawVersion);
  TraceLog().Log("DIRECTDRAW_VERSION: 0x%X (i)", kDirectDrawVersion);

  ComPtr<IDirectDraw> first;
  if (FAILED(DirectDrawCreate(nullptr, first.put(), nullptr)) || !first) {
    TraceLog().Log("Failed to create an IID_IDirectDraw Interface!");
  } else if (FAILED(first->QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(directDraw_.put())))) {
    directDraw_.release();  // a refusal leaves nothing counted
    TraceLog().Log("Failed to create an IID_IDirectDraw7 Interface!");
  }

  EnumDrivers();
  EnumVideoModes();
  TraceLog().Log("END: CDXScreen::InitCDXScreen");
}

BOOL WINAPI CDXScreen::DriverCallback(GUID* guid, LPSTR description, LPSTR, LPVOID context, HMONITOR) {
  // Only drivers that open and answer their capabilities count.
  ComPtr<IDirectDraw> directDraw;
  if (FAILED(DirectDrawCreate(guid, directDraw.put(), nullptr)) || !directDraw) return DDENUMRET_OK;
  DDCAPS hardwareCaps{};
  DDCAPS emulationCaps{};
  hardwareCaps.dwSize = kCapsSize;
  emulationCaps.dwSize = kCapsSize;
  if (FAILED(directDraw->GetCaps(&hardwareCaps, &emulationCaps))) return DDENUMRET_OK;
  static_cast<std::vector<std::string>*>(context)->emplace_back(description != nullptr ? description : "");
  return DDENUMRET_OK;
}

void CDXScreen::EnumDrivers() {
  TraceLog().Log("START: CDXScreen::EnumDrivers");
  driverCount_ = 0;
  std::vector<std::string> descriptions;
  TraceLog().Log("DirectDrawEnumerateEx");
  const HRESULT result = DirectDrawEnumerateExA(
      &CDXScreen::DriverCallback, &descriptions,
      DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES | DDENUM_NONDISPLAYDEVICES);
  if (SUCCEEDED(result)) {
    TraceLog().Log("Get the number of drivers");
    for (const std::string& description : descriptions) TraceLog().Log("%s", description.c_str());
    driverCount_ = static_cast<int>(descriptions.size());
  }
  TraceLog().Log("END: CDXScreen::EnumDrivers");
}

HRESULT WINAPI CDXScreen::ModeCallback(LPDDSURFACEDESC2 desc, LPVOID context) {
  static_cast<std::vector<DisplayMode>*>(context)->push_back(
      DisplayMode{static_cast<int>(desc->dwWidth), static_cast<int>(desc->dwHeight),
                  static_cast<int>(desc->ddpfPixelFormat.dwRGBBitCount)});
  return DDENUMRET_OK;
}

void CDXScreen::EnumVideoModes() {
  TraceLog().Log("START: CDXScreen::EnumVideoModes");
  TraceLog().Log("Do some init'ing");
  modeCount_ = 0;
  std::vector<DisplayMode> modes;
  TraceLog().Log("EnumDisplayModes");
  if (directDraw_ &&
      SUCCEEDED(directDraw_->EnumDisplayModes(DDEDM_STANDARDVGAMODES, nullptr, &modes, &CDXScreen::ModeCallback))) {
    TraceLog().Log("Get the number of video modes");
    for (const DisplayMode& mode : modes) TraceLog().Log("w:%i, h:%i, bpp:%i", mode.width, mode.height, mode.bpp);
    modeCount_ = static_cast<int>(modes.size());
  }
  TraceLog().Log("END: CDXScreen::EnumVideoModes");
}

void CDXScreen::DestroyBuffers() {
  back_.reset();
  front_.reset();
}

void CDXScreen::SetBufferParams(int frontWidth, int frontHeight) {
  front_->Attach(this, front_->surface_, frontWidth, frontHeight);
  TraceLog().Log("Get RGB Format for front buffer");
  front_->ReadPixelFormat();
  TraceLog().Log("Set params for back buffer");
  back_->Attach(this, back_->surface_, width_, height_);
  TraceLog().Log("Get RGB Format for back buffer");
  back_->ReadPixelFormat();
}

void CDXScreen::SetDefaultPalette() {
  // No palette file is named, so the front surface runs without a palette.
  TraceLog().Log("Load default palette");
  TraceLog().Log("Set palette for front surface");
  front_->surface_->SetPalette(nullptr);
}

bool CDXScreen::BeginCreate(const char* kind, HWND window, int width, int height, int fullScreen) {
  if (!directDraw_) {
    TraceLog().Log("DirectDraw Interface pointer is NULL");
    return false;
  }
  if (front_ != nullptr) {
    TraceLog().Log("Attempted to recreate %s and the front buffer is not NULL", kind);
    return false;
  }
  TraceLog().Log("Set member variables");
  fullScreen_ = fullScreen;
  width_ = width;
  height_ = height;
  window_ = window;
  return true;
}

int CDXScreen::CreateFullScreen(HWND window, int width, int height, int bpp, int vga) {
  TraceLog().Log("START: CDXScreen::CreateFullScreen(hwnd:%i, width:%i, height:%i, bpp:%i, bVGA:%i)",
                 static_cast<int>(reinterpret_cast<INT_PTR>(window)), width, height, bpp, vga);
  if (!BeginCreate("in Fullscreen", window, width, height, 1)) return kNoDirectDrawOrCreated;
  bpp_ = bpp;

  TraceLog().Log("Set cooperative level");
  if (FAILED(directDraw_->SetCooperativeLevel(window, kFullScreenCooperation))) return kCooperativeLevelRefused;

  TraceLog().Log("Set video mode");
  if (FAILED(directDraw_->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height), static_cast<DWORD>(bpp),
                                         0, vga ? DDSDM_STANDARDVGAMODE : 0))) {
    return kDisplayModeRefused;
  }

  TraceLog().Log("Create front buffer");
  front_ = std::make_unique<CDXSurface>();
  TraceLog().Log("Create back buffer");
  back_ = std::make_unique<CDXSurface>();

  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = kChainCaps | (useVideoMemory_ ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);
  desc.dwBackBufferCount = 1;
  TraceLog().Log("create front buffer surface");
  if (FAILED(directDraw_->CreateSurface(&desc, &front_->surface_, nullptr))) {
    front_->surface_ = nullptr;
    if (useVideoMemory_ != 1) {
      DestroyBuffers();
      return kChainNotInVideoMemory;
    }
    TraceLog().Log("create front buffer surface (in system ram)");
    desc.ddsCaps.dwCaps = kChainCaps | DDSCAPS_SYSTEMMEMORY;
    if (FAILED(directDraw_->CreateSurface(&desc, &front_->surface_, nullptr))) {
      front_->surface_ = nullptr;
      DestroyBuffers();
      return kChainNotInSystemMemory;
    }
  }

  TraceLog().Log("Get the attached back buffer surface");
  DDSCAPS2 backCaps{};
  backCaps.dwCaps = DDSCAPS_BACKBUFFER;
  if (FAILED(front_->surface_->GetAttachedSurface(&backCaps, &back_->surface_))) {
    back_->surface_ = nullptr;
    DestroyBuffers();
    return kBackNotAttached;
  }

  TraceLog().Log("Set params for front buffer");
  TraceLog().Log("W: %i, H: %i", width, height);
  SetBufferParams(width, height);
  SetDefaultPalette();
  TraceLog().Log("END: CDXScreen::CreateFullScreen");
  return 0;
}

int CDXScreen::CreateWindowed(HWND window, int width, int height) {
  TraceLog().Log("START: CDXScreen::CreateWindowed(hwnd:%i, width:%i, height:%i)",
                 static_cast<int>(reinterpret_cast<INT_PTR>(window)), width, height);
  if (!BeginCreate("windowed", window, width, height, 0)) return kNoDirectDrawOrCreated;
  TraceLog().Log("Get Device Caps");
  int desktopWidth = 0;
  int desktopHeight = 0;
  {
    const WindowDc screen(nullptr);
    if (!screen) return kNoDirectDrawOrCreated;
    bpp_ = GetDeviceCaps(screen.get(), PLANES) * GetDeviceCaps(screen.get(), BITSPIXEL);
    desktopWidth = GetDeviceCaps(screen.get(), HORZRES);
    desktopHeight = GetDeviceCaps(screen.get(), VERTRES);
  }

  TraceLog().Log("Set cooperative level");
  if (FAILED(directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL))) return kCooperativeLevelRefused;

  TraceLog().Log("Create front buffer");
  front_ = std::make_unique<CDXSurface>();
  TraceLog().Log("Create back buffer");
  back_ = std::make_unique<CDXSurface>();

  TraceLog().Log("create front buffer surface");
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  if (FAILED(directDraw_->CreateSurface(&desc, &front_->surface_, nullptr))) {
    front_->surface_ = nullptr;
    DestroyBuffers();
    return kPrimaryRefused;
  }

  TraceLog().Log("Create back buffer surface");
  desc = DDSURFACEDESC2{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = static_cast<DWORD>(width);
  desc.dwHeight = static_cast<DWORD>(height);
  desc.ddsCaps.dwCaps = OffscreenCaps(useVideoMemory_ == 1 ? CDXMEM_VIDEOONLY : CDXMEM_SYSTEMONLY);
  HRESULT result = directDraw_->CreateSurface(&desc, &back_->surface_, nullptr);
  if (FAILED(result) && useVideoMemory_ == 1) {
    TraceLog().Log("Try creating back buffer in system ram");
    desc.ddsCaps.dwCaps = OffscreenCaps(CDXMEM_SYSTEMONLY);
    result = directDraw_->CreateSurface(&desc, &back_->surface_, nullptr);
  }
  if (FAILED(result)) {
    back_->surface_ = nullptr;
    DestroyBuffers();
    return kBackBufferRefused;
  }

  // A clipper keeps the presentation inside the window; without one the fire
  // still runs, so its failures are only reported.
  int clipperResult = 0;
  TraceLog().Log("Create clipper object");
  if (FAILED(directDraw_->CreateClipper(0, clipper_.put(), nullptr))) {
    clipper_.release();  // a refusal leaves nothing counted
    clipperResult = kClipperNotCreated;
  }
  TraceLog().Log("Set Hwnd (%i) for clipper", static_cast<int>(reinterpret_cast<INT_PTR>(window)));
  if (!clipper_ || FAILED(clipper_->SetHWnd(0, window))) clipperResult |= kClipperWindowRefused;
  TraceLog().Log("Assign clipper object to front surface");
  if (!clipper_ || FAILED(front_->surface_->SetClipper(clipper_.get()))) clipperResult |= kClipperNotAttached;

  TraceLog().Log("Set params for front buffer");
  TraceLog().Log("W: %i, H: %i", desktopWidth, desktopHeight);
  SetBufferParams(desktopWidth, desktopHeight);
  SetDefaultPalette();
  TraceLog().Log("END: CDXScreen::CreateWindowed");
  return clipperResult;
}

HRESULT CDXScreen::Flip(int wait, int whole, int showRate) {
  TraceLog().LogDetail("START: CDXScreen::Flip");
  const std::uint32_t now = clock_();
  flipMs_ += now - lastFlipTime_;
  lastFlipTime_ = now;
  if (flipMs_ > 1000) {
    fps_ = static_cast<int>(static_cast<std::uint64_t>(flipCount_) * 1000 / flipMs_);
    flipMs_ = 0;
    flipCount_ = 0;
  }
  ++flipCount_;

  if (front_ == nullptr || back_ == nullptr || front_->surface_ == nullptr || back_->surface_ == nullptr) return -1;

  if (showRate) {
    char text[32];
    std::snprintf(text, sizeof text, "FPS = %d", fps_);
    back_->TextOut(10, 20, kRateColour, text);
  }

  HRESULT result;
  if (fullScreen_) {
    TraceLog().LogDetail("do a fullscreen flip");
    result = front_->surface_->Flip(nullptr, wait == 1 ? DDFLIP_WAIT : DDFLIP_NOVSYNC);
  } else {
    TraceLog().LogDetail("windowed mode flip");
    RECT client{};
    GetClientRect(window_, &client);
    const RECT source{0, 0, client.right - client.left, client.bottom - client.top};
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (wait == 1) {
      TraceLog().LogDetail("START: CDXScreen::WaitForVerticalBlank");
      directDraw_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    }
    result = front_->surface_->Blt(&client, back_->surface_, whole ? nullptr : const_cast<RECT*>(&source), DDBLT_WAIT,
                                   nullptr);
  }
  if (result == DDERR_SURFACELOST) result = Restore();
  TraceLog().LogDetail("END: CDXScreen::Flip");
  return result;
}

HRESULT CDXScreen::Restore() {
  TraceLog().Log("START: CDXScreen::Restore");
  HRESULT result = 0;
  if (front_ != nullptr && front_->surface_ != nullptr && front_->surface_->IsLost() == DDERR_SURFACELOST) {
    result = front_->surface_->Restore();  // in full screen this brings back the whole chain
  }
  if (!fullScreen_ && back_ != nullptr && back_->surface_ != nullptr &&
      back_->surface_->IsLost() == DDERR_SURFACELOST) {
    result = back_->surface_->Restore();
  }
  TraceLog().Log("END: CDXScreen::Restore");
  return result;
}

void CDXScreen::AddSurfaceToList(CDXSurface* surface) {
  if (surface == nullptr) return;
  surface->previous_ = nullptr;
  surface->next_ = surfaceList_;
  if (surfaceList_ != nullptr) surfaceList_->previous_ = surface;
  surfaceList_ = surface;
  ++surfaceCount_;
}

void CDXScreen::RemoveSurfaceFromList(CDXSurface* surface) {
  if (surface == nullptr) return;
  // Only a member of this list may be unlinked: the head, or one with a predecessor.
  if (surface != surfaceList_ && surface->previous_ == nullptr) return;
  if (surface->previous_ != nullptr) surface->previous_->next_ = surface->next_;
  if (surface->next_ != nullptr) surface->next_->previous_ = surface->previous_;
  if (surfaceList_ == surface) surfaceList_ = surface->next_;
  surface->previous_ = nullptr;
  surface->next_ = nullptr;
  --surfaceCount_;
}

void CDXScreen::ReleaseAllSurfaces() {
  CDXSurface* surface = surfaceList_;
  while (surface != nullptr) {
    CDXSurface* next = surface->next_;
    surface->ForgetScreen();
    surface = next;
  }
  surfaceList_ = nullptr;
  surfaceCount_ = 0;
}

CDXScreen::~CDXScreen() {
  TraceLog().Log("START: CDXScreen::~CDXScreen");
  // The enumerations keep no lists (the modes and drivers went once logged):
  // the two lines stay so that the log reads the same as ever.
  TraceLog().Log("Modes Ptr: %i", 0);
  if (directDraw_) directDraw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
  TraceLog().Log("Drivers Ptr: %i", 0);
  TraceLog().Log("Restore Display");
  if (directDraw_) directDraw_->RestoreDisplayMode();
  TraceLog().Log("Freeing all surfaces");
  ReleaseAllSurfaces();
  TraceLog().Log("Delete back buffer");
  back_.reset();
  TraceLog().Log("Delete front buffer");
  front_.reset();
  TraceLog().Log("Start releasing objects");
  // The screen makes no z-buffer and no palette; the two lines stay so that the
  // log reads the same as ever.
  TraceLog().Log("Release zBuffer");
  TraceLog().Log("Release clipper");
  clipper_.reset();
  TraceLog().Log("Release Palette");
  TraceLog().Log("Release DirectDraw");
  directDraw_.reset();
  TraceLog().Log("END: CDXScreen::~CDXScreen");
}
