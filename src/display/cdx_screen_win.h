#pragma once
#include <windows.h>
// windows.h first: ddraw.h relies on its types.
#include <ddraw.h>

#include <cstdint>
#include <memory>

#include "diagnostics/handles_win.h"
#include "display/cdx_surface_host_win.h"
#include "display/cdx_surface_win.h"

// The DirectDraw 7 display: either an exclusive full-screen flipping pair or a
// windowed pair (the primary surface plus an off-screen back buffer, clipped to
// the window). The fire is drawn into the back buffer and presented by Flip
// once a frame. Every CDXSurface created on the screen is kept in its surface
// list (newest first).
//
// A screen whose DirectDraw could not be opened stays usable as an object; its
// creation calls then fail with -1. Used by one thread at a time.
class CDXScreen : public CDXSurfaceHost {
 public:
  // Creation results beside 0.
  static constexpr int kNoDirectDrawOrCreated = -1;
  static constexpr int kCooperativeLevelRefused = -2;
  static constexpr int kDisplayModeRefused = -4;      // full screen
  static constexpr int kPrimaryRefused = -4;          // windowed
  static constexpr int kChainNotInSystemMemory = -8;  // full screen
  static constexpr int kBackBufferRefused = -8;       // windowed
  static constexpr int kChainNotInVideoMemory = -16;  // full screen, no fall-back
  static constexpr int kBackNotAttached = -32;        // full screen
  static constexpr int kClipperNotCreated = -16;      // windowed, ORed:
  static constexpr int kClipperWindowRefused = -32;
  static constexpr int kClipperNotAttached = -64;

  using Clock = std::uint32_t (*)();

  // Opens DirectDraw and logs the drivers and display modes found. `clock`
  // (milliseconds) is replaceable for tests of the rate counter.
  explicit CDXScreen(Clock clock = nullptr);
  virtual ~CDXScreen();
  CDXScreen(const CDXScreen&) = delete;
  CDXScreen& operator=(const CDXScreen&) = delete;

  // 0 or a negative code (above). The application passes vga 0.
  int CreateFullScreen(HWND window, int width, int height, int bpp, int vga = 0);
  // 0, or a negative code; the clipper codes do not stop the creation.
  int CreateWindowed(HWND window, int width, int height);

  // Presents the back buffer: a flip in full screen, a blit into the window's
  // client area in windowed mode. `wait` waits for the vertical blank, `whole`
  // blits the whole back buffer (else its top-left part of the client size),
  // `showRate` writes the frame rate onto the back buffer first.
  HRESULT Flip(int wait = 1, int whole = 1, int showRate = 0);

  // Restores the primary (and, windowed, the back buffer) when lost; the last
  // restore result, 0 when nothing was lost.
  HRESULT Restore();

  CDXSurface* GetFront() const override { return front_.get(); }
  CDXSurface* GetBack() const override { return back_.get(); }
  LPDIRECTDRAW7 GetDD() const override { return directDraw_.get(); }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  int GetBpp() const { return bpp_; }
  HWND GetWindow() const { return window_; }
  int IsFullScreen() const override { return fullScreen_; }
  int GetFPS() const { return fps_; }
  int GetModeCount() const { return modeCount_; }
  int GetDriverCount() const { return driverCount_; }

  // The surface list. Surfaces join it through CDXSurface::Create/LoadImage
  // and leave it when destroyed.
  void AddSurfaceToList(CDXSurface* surface) override;
  void RemoveSurfaceFromList(CDXSurface* surface) override;
  // Empties the list without destroying the surfaces; each one forgets this
  // screen, so that destroying it later does not touch a gone screen.
  void ReleaseAllSurfaces();
  int GetSurfaceCount() const { return surfaceCount_; }
  CDXSurface* GetFirstSurface() const { return surfaceList_; }

 private:
  void InitCDXScreen();
  void EnumDrivers();
  void EnumVideoModes();
  static BOOL WINAPI DriverCallback(GUID* guid, LPSTR description, LPSTR name, LPVOID context, HMONITOR monitor);
  static HRESULT WINAPI ModeCallback(LPDDSURFACEDESC2 desc, LPVOID context);
  // False, and logged, when DirectDraw did not open or the buffers exist
  // already; else takes the window, size and kind ("in Fullscreen", "windowed").
  bool BeginCreate(const char* kind, HWND window, int width, int height, int fullScreen);
  void DestroyBuffers();
  // Sizes, clip rectangles and pixel formats of the two buffers just made.
  void SetBufferParams(int frontWidth, int frontHeight);
  void SetDefaultPalette();

  ComPtr<IDirectDraw7> directDraw_;
  std::unique_ptr<CDXSurface> front_;
  std::unique_ptr<CDXSurface> back_;
  ComPtr<IDirectDrawClipper> clipper_;
  int width_ = 0;
  int height_ = 0;
  int bpp_ = 0;
  HWND window_ = nullptr;
  int fullScreen_ = 0;
  // The drivers and display modes found are logged and counted, not kept.
  int modeCount_ = 0;
  int driverCount_ = 0;
  // Video memory first, system memory as the fall-back.
  int useVideoMemory_ = 1;
  std::uint32_t flipCount_ = 0;
  std::uint32_t flipMs_ = 0;
  std::uint32_t lastFlipTime_ = 0;
  int fps_ = 0;
  CDXSurface* surfaceList_ = nullptr;
  int surfaceCount_ = 0;
  Clock clock_;
};
