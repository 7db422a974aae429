#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/cdx_screen_win.h"
#include "display/cdx_surface_win.h"
#include "win/display/display_test_support.h"

namespace {
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kBlack = 0x000000;

// Opening DirectDraw is slow under Wine: the suite shares one screen.
class SurfaceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { display_ = new WindowedScreen(); }
  static void TearDownTestSuite() {
    delete display_;
    display_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(0, display_->createResult()); }
  CDXScreen& screen() { return display_->screen(); }
  static WindowedScreen* display_;
};
WindowedScreen* SurfaceTest::display_ = nullptr;

TEST_F(SurfaceTest, NewSurfaceIsEmptyAndCreatedOnesGetRisingIdsAndJoinTheList) {
  CDXSurface fresh;
  EXPECT_EQ(-1, fresh.GetId());
  EXPECT_EQ(0, fresh.Width());
  EXPECT_EQ(CDXMEM_SYSTEMONLY, fresh.GetMemoryType());
  EXPECT_EQ(-1, fresh.Lock());

  const int before = screen().GetSurfaceCount();
  {
    CDXSurface first, second;
    ASSERT_EQ(DD_OK, first.Create(&screen(), 8, 4));
    ASSERT_EQ(DD_OK, second.Create(&screen(), 3, 5, CDXMEM_ANY));
    EXPECT_GT(first.GetId(), 0);
    EXPECT_EQ(first.GetId() + 1, second.GetId());
    EXPECT_EQ(before + 2, screen().GetSurfaceCount());
    EXPECT_EQ(&second, screen().GetFirstSurface());  // newest first
    EXPECT_EQ(3, second.Width());
    EXPECT_EQ(5, second.Height());
    EXPECT_EQ(screen().GetBack()->BitsPerPixel(), first.BitsPerPixel());
  }
  EXPECT_EQ(before, screen().GetSurfaceCount());
}

TEST_F(SurfaceTest, NestedLocksReachDirectDrawOnlyAtTheOutermostPair) {
  CDXSurface surface;
  ASSERT_EQ(DD_OK, surface.Create(&screen(), 16, 16));
  ASSERT_EQ(1, surface.Lock());
  std::uint8_t* pixels = surface.FirstPixel();
  ASSERT_NE(nullptr, pixels);
  EXPECT_GE(surface.PitchBytes(), 16 * surface.BitsPerPixel() / 8);
  EXPECT_EQ(2, surface.Lock());
  EXPECT_EQ(pixels, surface.FirstPixel());
  EXPECT_EQ(1, surface.UnlockSurface());
  // Probe DirectDraw directly: the inner unlock left the surface locked...
  ASSERT_EQ(DD_OK, surface.GetDDS()->Unlock(nullptr));
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  ASSERT_EQ(DD_OK, surface.GetDDS()->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
  // ...and the outer one unlocks it.
  EXPECT_EQ(0, surface.UnlockSurface());
  EXPECT_NE(DD_OK, surface.GetDDS()->Unlock(nullptr));
  EXPECT_EQ(nullptr, surface.FirstPixel());
  // Unlocking what is not locked is refused and leaves the count alone.
  EXPECT_EQ(-1, surface.UnlockSurface());
  EXPECT_EQ(0, surface.GetLockCount());
  EXPECT_NE(nullptr, surface.GetDC());
  EXPECT_EQ(0, surface.ReleaseDC());
}

TEST_F(SurfaceTest, DeviceContextsNestAndAnUnbalancedReleaseIsRefused) {
  CDXSurface surface;
  ASSERT_EQ(DD_OK, surface.Create(&screen(), 8, 8));
  HDC first = surface.GetDC();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, surface.GetDC());
  EXPECT_EQ(2, surface.GetDCCount());
  EXPECT_EQ(0, surface.ReleaseDC());
  EXPECT_EQ(first, surface.GetHDC());
  EXPECT_EQ(0, surface.ReleaseDC());
  EXPECT_EQ(nullptr, surface.GetHDC());
  EXPECT_EQ(-1, surface.ReleaseDC());
  EXPECT_EQ(1, surface.Lock());  // the context was really given back
  surface.Unlock();
}

struct FillCase {
  const char* name;
  RECT clip;
  RECT fill;
  std::vector<POINT> painted;
  std::vector<POINT> untouched;
};

TEST_F(SurfaceTest, FillRectIsClippedToTheClipRectangle) {
  const std::vector<FillCase> cases = {
      {"inside", {0, 0, 16, 16}, {2, 2, 4, 4}, {{2, 2}, {3, 3}}, {{4, 4}, {1, 1}}},
      {"over the edges", {0, 0, 16, 16}, {-4, 12, 40, 30}, {{0, 12}, {15, 15}}, {{0, 11}}},
      {"clip inside", {4, 4, 8, 8}, {0, 0, 16, 16}, {{4, 4}, {7, 7}}, {{3, 3}, {8, 8}}},
      {"wholly outside", {4, 4, 8, 8}, {8, 0, 12, 16}, {}, {{8, 4}, {9, 9}, {5, 5}}},
      {"inverted", {0, 0, 16, 16}, {6, 6, 2, 2}, {}, {{3, 3}, {5, 5}}},
  };
  for (const FillCase& c : cases) {
    SCOPED_TRACE(c.name);
    CDXSurface surface;
    ASSERT_EQ(DD_OK, surface.Create(&screen(), 16, 16));
    ASSERT_EQ(DD_OK, surface.FillRect(0, 0, 16, 16, PixelValue(surface, kBlack)));
    surface.SetClipRect(c.clip);
    EXPECT_GE(surface.FillRect(c.fill.left, c.fill.top, c.fill.right, c.fill.bottom, PixelValue(surface, kRed)), 0);
    for (POINT p : c.painted) EXPECT_EQ(kRed, ReadRgb(surface, p.x, p.y)) << p.x << "," << p.y;
    for (POINT p : c.untouched) EXPECT_EQ(kBlack, ReadRgb(surface, p.x, p.y)) << p.x << "," << p.y;
  }
}

struct BltCase {
  const char* name;
  RECT sourceClip;
  const RECT* sourceRect;
  const RECT* destRect;
  bool drawsNothing;
  std::vector<POINT> painted;
  std::vector<POINT> untouched;
};

TEST_F(SurfaceTest, BltClipsBothRectanglesAndDrawsNothingWhenEitherIsEmpty) {
  static const RECT kOutsideSource{20, 0, 30, 8};
  static const RECT kDestCorner{12, 12, 20, 20};
  static const RECT kDestOutside{16, 0, 20, 4};
  static const RECT kHalfSource{0, 0, 4, 8};
  const std::vector<BltCase> cases = {
      {"whole onto whole stretches", {0, 0, 8, 8}, nullptr, nullptr, false, {{0, 0}, {15, 15}}, {}},
      {"source outside its clip", {0, 0, 8, 8}, &kOutsideSource, nullptr, true, {}, {{0, 0}, {8, 8}}},
      {"destination outside", {0, 0, 8, 8}, nullptr, &kDestOutside, true, {}, {{15, 0}, {0, 0}}},
      {"destination over the corner", {0, 0, 8, 8}, nullptr, &kDestCorner, false, {{12, 12}, {15, 15}}, {{11, 11}}},
      {"source clip limits", {0, 0, 4, 8}, &kHalfSource, &kDestCorner, false, {{12, 12}}, {{0, 0}}},
  };
  for (const BltCase& c : cases) {
    SCOPED_TRACE(c.name);
    CDXSurface source, dest;
    ASSERT_EQ(DD_OK, source.Create(&screen(), 8, 8));
    ASSERT_EQ(DD_OK, dest.Create(&screen(), 16, 16));
    source.FillRect(0, 0, 8, 8, PixelValue(source, kBlue));
    dest.FillRect(0, 0, 16, 16, PixelValue(dest, kBlack));
    source.SetClipRect(c.sourceClip);
    const HRESULT result = source.Blt(&dest, c.destRect, c.sourceRect);
    if (c.drawsNothing) {
      EXPECT_EQ(0, result);
    } else {
      EXPECT_EQ(DD_OK, result);
    }
    for (POINT p : c.painted) EXPECT_EQ(kBlue, ReadRgb(dest, p.x, p.y)) << p.x << "," << p.y;
    for (POINT p : c.untouched) EXPECT_EQ(kBlack, ReadRgb(dest, p.x, p.y)) << p.x << "," << p.y;
  }
}

TEST_F(SurfaceTest, TextOutDrawsWithTheGivenColourAndReturnsTheContext) {
  CDXSurface surface;
  ASSERT_EQ(DD_OK, surface.Create(&screen(), 64, 32));
  surface.FillRect(0, 0, 64, 32, PixelValue(surface, kBlack));
  EXPECT_EQ(0, surface.TextOut(2, 2, RGB(255, 255, 255), nullptr));
  EXPECT_EQ(0, surface.TextOut(2, 2, RGB(255, 255, 255), "WWW"));
  EXPECT_EQ(0, surface.GetDCCount());
  int lit = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x) lit += ReadRgb(surface, x, y) == 0xFFFFFF ? 1 : 0;
  }
  EXPECT_GT(lit, 10);
}

TEST_F(SurfaceTest, RestoreOfASurfaceWithoutAFileHasNothingToReload) {
  CDXSurface empty;
  EXPECT_EQ(-1, empty.Restore());
  CDXSurface surface;
  ASSERT_EQ(DD_OK, surface.Create(&screen(), 8, 8));
  EXPECT_EQ(-2, surface.Restore());
}

TEST_F(SurfaceTest, SurfacesOutlivingTheirScreenAreDetachedNotDangling) {
  auto display = std::make_unique<WindowedScreen>();
  auto survivor = std::make_unique<CDXSurface>();
  ASSERT_EQ(DD_OK, survivor->Create(&display->screen(), 8, 8));
  display.reset();
  EXPECT_EQ(nullptr, survivor->GetScreen());
  survivor.reset();  // must not touch the gone screen
}

struct LoadCase {
  const char* name;
  std::string file;
  int result;
  int width, height;
  std::vector<std::pair<POINT, std::uint32_t>> colours;
};

TEST_F(SurfaceTest, LoadImageKeepsTheFileAndReportsEachFailure) {
  const std::vector<LoadCase> cases = {
      {"jpeg", TestDataFile("red_blue_40x30.jpg").string(), 1, 40, 30, {{{2, 2}, kRed}, {{37, 27}, kBlue}}},
      {"bitmap", TestDataFile("green_6x4.bmp").string(), 1, 6, 4, {{{0, 0}, 0x00FF00}, {{5, 3}, 0x00FF00}}},
      // 16-bit bit-field bitmaps are drawn by the system from the checked bytes.
      {"system bitmap", TestDataFile("blue_6x4_rgb565.bmp").string(), 1, 6, 4, {{{0, 0}, kBlue}, {{5, 3}, kBlue}}},
      // Refused as a missing file is: the system's loader never sees it.
      {"cut-short bitmap", TestDataFile("../image/malformed/truncated_half_bmp_t24.bmp").string(), -2, 0, 0, {}},
      {"no name", "", -1, 0, 0, {}},
      {"name too long to keep", std::string(300, 'a') + ".bmp", -1, 0, 0, {}},
      {"missing file", TestDataFile("missing.bmp").string(), -2, 0, 0, {}},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    CDXSurface surface;
    const int before = screen().GetSurfaceCount();
    ASSERT_EQ(c.result, surface.LoadImage(&screen(), c.file.c_str()));
    if (c.result != 1) {
      EXPECT_EQ(-1, surface.GetId());
      EXPECT_EQ(before, screen().GetSurfaceCount());
      continue;
    }
    EXPECT_EQ(c.width, surface.Width());
    EXPECT_EQ(c.height, surface.Height());
    EXPECT_EQ(c.width, surface.GetClipRect().right);
    EXPECT_EQ(c.file, surface.GetFileName());
    EXPECT_GT(surface.GetId(), 0);
    EXPECT_EQ(before + 1, screen().GetSurfaceCount());
    for (const auto& [point, colour] : c.colours) {
      EXPECT_TRUE(NearColour(colour, ReadRgb(surface, point.x, point.y), 24))
          << point.x << "," << point.y << " " << std::hex << ReadRgb(surface, point.x, point.y);
    }
    // A restored surface reloads its picture from the file.
    surface.FillRect(0, 0, c.width, c.height, PixelValue(surface, kBlack));
    EXPECT_EQ(DD_OK, surface.Restore());
    const auto& [point, colour] = c.colours.front();
    EXPECT_TRUE(NearColour(colour, ReadRgb(surface, point.x, point.y), 24));
  }
}
}  // namespace
