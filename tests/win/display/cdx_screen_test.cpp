#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "diagnostics/debug_log.h"
#include "display/cdx_screen_win.h"
#include "win/display/display_test_support.h"

namespace {
std::uint32_t g_now = 0;
std::uint32_t FakeNow() { return g_now; }

// The log's lines without their time stamps.
std::vector<std::string> Messages(const std::string& log) {
  std::vector<std::string> lines;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto colon = line.find(": ");
    lines.push_back(colon == std::string::npos ? line : line.substr(colon + 2));
  }
  return lines;
}

// Whether `expected` appear in this order (other lines may stand between).
::testing::AssertionResult InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
  std::size_t at = 0;
  for (const std::string& want : expected) {
    while (at < lines.size() && lines[at] != want) ++at;
    if (at == lines.size()) return ::testing::AssertionFailure() << "missing or out of order: \"" << want << "\"";
    ++at;
  }
  return ::testing::AssertionSuccess();
}

TEST(ScreenTest, WindowedLifeIsTracedInOrder) {
  std::string log;
  bool backInSystemMemory = false;
  {
    WindowedScreen display(64, 48);
    ASSERT_EQ(0, display.createResult());
    EXPECT_GT(display.screen().GetModeCount(), 0);
    EXPECT_GT(display.screen().GetDriverCount(), 0);
    EXPECT_EQ(0, display.screen().IsFullScreen());
    EXPECT_EQ(display.screen().GetBack()->BitsPerPixel(), display.screen().GetBpp());
    EXPECT_EQ(64, display.screen().GetBack()->Width());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), display.screen().GetFront()->Width());
    TestWindow other(32, 32);
    // A second creation is refused and leaves the first one as it was.
    CDXSurface* back = display.screen().GetBack();
    EXPECT_EQ(-1, display.screen().CreateWindowed(other.handle(), 32, 32));
    EXPECT_EQ(-1, display.screen().CreateFullScreen(other.handle(), 640, 480, 32));
    EXPECT_EQ(back, display.screen().GetBack());
    EXPECT_EQ(64, display.screen().GetWidth());
    EXPECT_EQ(DD_OK, display.screen().Flip(1, 1, 0));
    backInSystemMemory = (back->GetDescriptor().ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY) != 0;
    display.DestroyScreen();
    log = display.LogText();
  }
  const std::vector<std::string> lines = Messages(log);
  EXPECT_TRUE(InOrder(lines, {"START: CDXScreen::CDXScreen()",
                              "START: CDXScreen::InitCDXScreen",
                              "Initialize member vars",
                              "CDX_DDVER: 0x700 (1792)",
                              "DIRECTDRAW_VERSION: 0x700 (i)",
                              "START: CDXScreen::EnumDrivers",
                              "DirectDrawEnumerateEx",
                              "Get the number of drivers",
                              "END: CDXScreen::EnumDrivers",
                              "START: CDXScreen::EnumVideoModes",
                              "Do some init'ing",
                              "EnumDisplayModes",
                              "Get the number of video modes",
                              "END: CDXScreen::EnumVideoModes",
                              "END: CDXScreen::InitCDXScreen",
                              "END: CDXScreen::CDXScreen()",
                              "Set member variables",
                              "Get Device Caps",
                              "Set cooperative level",
                              "Create front buffer",
                              "Create back buffer",
                              "create front buffer surface",
                              "Create back buffer surface",
                              "Create clipper object",
                              "Assign clipper object to front surface",
                              "Set params for front buffer",
                              "Get RGB Format for front buffer",
                              "Set params for back buffer",
                              "Get RGB Format for back buffer",
                              "Load default palette",
                              "Set palette for front surface",
                              "END: CDXScreen::CreateWindowed",
                              "Attempted to recreate windowed and the front buffer is not NULL",
                              "Attempted to recreate in Fullscreen and the front buffer is not NULL",
                              "START: CDXScreen::~CDXScreen",
                              "Modes Ptr: 0",
                              "Drivers Ptr: 0",
                              "Restore Display",
                              "Freeing all surfaces",
                              "Delete back buffer",
                              "CDXSurface::~CDXSurface",
                              "Delete front buffer",
                              "CDXSurface::~CDXSurface",
                              "Start releasing objects",
                              "Release zBuffer",
                              "Release clipper",
                              "Release Palette",
                              "Release DirectDraw",
                              "END: CDXScreen::~CDXScreen"}));
  // The per-frame flip writes only detailed lines, which this program never logs.
  EXPECT_FALSE(InOrder(lines, {"START: CDXScreen::Flip"}));
  // Without video memory to spare (Wine's GDI renderer has none) the back
  // buffer falls back to system memory, and says so.
  EXPECT_EQ(backInSystemMemory, InOrder(lines, {"Create back buffer surface", "Try creating back buffer in system ram",
                                                "Create clipper object"}));
  bool modeLine = false;
  for (const std::string& line : lines) modeLine = modeLine || line.rfind("w:", 0) == 0;
  EXPECT_TRUE(modeLine);
}

struct RateCase {
  const char* name;
  std::vector<std::uint32_t> flipTimes;  // ms since the screen was made
  int fps;
};

TEST(ScreenTest, FrameRateIsMeasuredOnceMoreThanASecondHasPassed) {
  const std::vector<RateCase> cases = {
      {"exactly one second is not yet more", {250, 500, 750, 1000}, 0},
      // The flip that ends the second is counted in the next one.
      {"thirty frames in a second and a bit", {}, 28},
      {"ten a second", {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1100}, 9},
      {"slower than one a second", {600, 1200}, 0},
  };
  for (RateCase c : cases) {
    SCOPED_TRACE(c.name);
    if (c.flipTimes.empty() && c.fps != 0) {
      for (int i = 1; i <= 31; ++i) c.flipTimes.push_back(static_cast<std::uint32_t>(i * 1001 / 30));
    }
    g_now = 5000;  // any start: only differences count
    WindowedScreen display(32, 24, &FakeNow);
    ASSERT_EQ(0, display.createResult());
    for (std::uint32_t t : c.flipTimes) {
      g_now = 5000 + t;
      display.screen().Flip(0, 1, 0);
    }
    EXPECT_EQ(c.fps, display.screen().GetFPS());
  }
}

TEST(ScreenTest, ShownRateIsWrittenOntoTheBackBuffer) {
  WindowedScreen display(96, 48);
  ASSERT_EQ(0, display.createResult());
  CDXSurface& back = *display.screen().GetBack();
  back.FillRect(0, 0, 96, 48, 0);
  EXPECT_EQ(DD_OK, display.screen().Flip(0, 1, 1));
  int lit = 0;
  for (int y = 20; y < 40; ++y) {
    for (int x = 10; x < 60; ++x) lit += ReadRgb(back, x, y) != 0 ? 1 : 0;
  }
  EXPECT_GT(lit, 5);
  EXPECT_EQ(0, display.screen().Restore());  // nothing was lost
}

TEST(ScreenTest, FullScreenMakesAFlippingPairOnceAtEachDepth) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  for (int bpp : {32, 16}) {
    SCOPED_TRACE(bpp);
    TestWindow window(width, height);
    TempDir dir;
    TraceLog().SetFileName((dir / "log.txt").string().c_str());
    bool chainInSystemMemory = false;
    {
      CDXScreen screen;
      ASSERT_EQ(0, screen.CreateFullScreen(window.handle(), width, height, bpp));
      EXPECT_EQ(1, screen.IsFullScreen());
      ASSERT_NE(nullptr, screen.GetBack());
      EXPECT_EQ(width, screen.GetBack()->Width());
      EXPECT_EQ(bpp, screen.GetBack()->BitsPerPixel());
      chainInSystemMemory = (screen.GetFront()->GetDescriptor().ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY) != 0;
      EXPECT_EQ(1, screen.GetBack()->Lock());
      screen.GetBack()->Unlock();
      EXPECT_EQ(DD_OK, screen.Flip(1, 1, 0));
      EXPECT_EQ(-1, screen.CreateFullScreen(window.handle(), width, height, bpp));
      EXPECT_EQ(-1, screen.CreateWindowed(window.handle(), 32, 32));
      EXPECT_EQ(width, screen.GetWidth());
    }
    const std::string size = "W: " + std::to_string(width) + ", H: " + std::to_string(height);
    EXPECT_TRUE(InOrder(
        Messages(ReadFileBytes(dir / "log.txt")),
        {"Set member variables", "Set cooperative level", "Set video mode", "Create front buffer", "Create back buffer",
         "create front buffer surface", "Get the attached back buffer surface", "Set params for front buffer", size,
         "Get RGB Format for front buffer", "Set params for back buffer", "Get RGB Format for back buffer",
         "Load default palette", "Set palette for front surface", "END: CDXScreen::CreateFullScreen",
         "Attempted to recreate in Fullscreen and the front buffer is not NULL",
         "Attempted to recreate windowed and the front buffer is not NULL"}));
    EXPECT_EQ(chainInSystemMemory,
              InOrder(Messages(ReadFileBytes(dir / "log.txt")),
                      {"create front buffer surface", "create front buffer surface (in system ram)",
                       "Get the attached back buffer surface"}));
  }
}

TEST(ScreenTest, ARefusedDisplayModeIsReportedAndTheScreenStaysUncreated) {
  TestWindow window(64, 48);
  TempDir dir;
  TraceLog().SetFileName((dir / "log.txt").string().c_str());
  CDXScreen screen;
  EXPECT_EQ(-4, screen.CreateFullScreen(window.handle(), 123, 45, 32));
  EXPECT_EQ(nullptr, screen.GetBack());
}
}  // namespace
