#pragma once
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "display/cdx_screen_win.h"
#include "display/cdx_surface_win.h"
#include "support/temp_dir.h"

// A plain top-level window for the screen to belong to; destroyed with the object.
class TestWindow {
 public:
  TestWindow(int width, int height);
  ~TestWindow();
  HWND handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// A windowed screen on a small test window, with the trace log pointed at a
// file of a fresh temporary folder for the life of the object.
class WindowedScreen {
 public:
  explicit WindowedScreen(int width = 64, int height = 48, CDXScreen::Clock clock = nullptr);
  ~WindowedScreen();
  CDXScreen& screen() { return *screen_; }
  int createResult() const { return createResult_; }
  void DestroyScreen() { screen_.reset(); }
  std::string LogText() const;
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  std::string previousLogName_;
  TestWindow window_;
  std::unique_ptr<CDXScreen> screen_;
  int createResult_ = 0;
};

// Colour of one pixel as 0xRRGGBB, whatever the surface's depth; locks and
// unlocks around the read.
std::uint32_t ReadRgb(CDXSurface& surface, int x, int y);

// Every pixel of a DirectDraw surface as 0xRRGGBB, rows top first; empty when
// it cannot be locked.
struct RgbPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};
RgbPixels ReadAllRgb(LPDIRECTDRAWSURFACE7 surface);

// The surface's pixel value for a colour 0xRRGGBB (for FillRect).
DWORD PixelValue(const CDXSurface& surface, std::uint32_t rgb);

// True when each channel of two 0xRRGGBB colours differs by at most `tolerance`.
bool NearColour(std::uint32_t a, std::uint32_t b, int tolerance);

std::filesystem::path TestDataFile(const std::string& name);
