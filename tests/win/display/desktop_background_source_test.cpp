#include <gtest/gtest.h>

#include <filesystem>

#include "display/desktop_background_source_win.h"
#include "win/display/display_test_support.h"

namespace {
TEST(DesktopBackgroundSourceTest, OnlyTheExactWordInAnyCaseMeansTheDesktop) {
  const struct {
    const char* name;
    bool desktop;
  } cases[] = {
      {"desktop", true},   {"Desktop", true},      {"DESKTOP", true}, {"dEsKtOp", true}, {" desktop", false},
      {"desktop ", false}, {"desktop.bmp", false}, {"desk", false},   {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.desktop, DesktopBackgroundSource::IsDesktopName(c.name)) << c.name;
}

class DesktopBackgroundSourceLoadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { shared_ = new WindowedScreen(80, 60); }
  static void TearDownTestSuite() {
    delete shared_;
    shared_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(0, display_.createResult()); }
  static WindowedScreen* shared_;
  WindowedScreen& display_ = *shared_;
  DesktopBackgroundSource source_;
};
WindowedScreen* DesktopBackgroundSourceLoadTest::shared_ = nullptr;

TEST_F(DesktopBackgroundSourceLoadTest, NothingLoadsBeforeTheScreenIsGiven) {
  ASSERT_TRUE(source_.Capture());
  EXPECT_EQ(nullptr, source_.Load("desktop"));
  EXPECT_EQ(nullptr, source_.Load(TestDataFile("green_6x4.bmp").string()));
}

TEST_F(DesktopBackgroundSourceLoadTest, TheDesktopIsCapturedOnceAndStretchedToTheScreen) {
  source_.SetScreen(&display_.screen());
  EXPECT_EQ(nullptr, source_.Load("Desktop"));  // nothing captured yet
  ASSERT_TRUE(source_.Capture());
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), source_.SnapshotWidth());
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), source_.SnapshotHeight());
  CDXSurface* desktop = source_.Load("Desktop");
  ASSERT_NE(nullptr, desktop);
  EXPECT_EQ(80, desktop->Width());
  EXPECT_EQ(60, desktop->Height());
  EXPECT_EQ(desktop, source_.Load("DESKTOP"));  // made once, then kept
  source_.Release();
  source_.Release();
  EXPECT_EQ(nullptr, source_.Load("desktop"));  // the snapshot went with the release
}

LRESULT CALLBACK PaintRed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &paint.rcPaint, red);
    DeleteObject(red);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(DesktopBackgroundSourceLoadTest, TheSnapshotShowsWhatWasOnTheScreen) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &PaintRed;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "HearthmoorRedCover";
  RegisterClassA(&windowClass);
  HWND cover = CreateWindowExA(WS_EX_TOPMOST, "HearthmoorRedCover", "", WS_POPUP | WS_VISIBLE, 0, 0,
                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                               windowClass.hInstance, nullptr);
  ASSERT_NE(nullptr, cover);
  UpdateWindow(cover);
  for (int i = 0; i < 20; ++i) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
  const bool captured = source_.Capture();
  DestroyWindow(cover);
  ASSERT_TRUE(captured);
  source_.SetScreen(&display_.screen());
  CDXSurface* desktop = source_.Load("desktop");
  ASSERT_NE(nullptr, desktop);
  EXPECT_EQ(0xFF0000u, ReadRgb(*desktop, 40, 30));
  EXPECT_EQ(0xFF0000u, ReadRgb(*desktop, 1, 58));
}

TEST_F(DesktopBackgroundSourceLoadTest, PicturesAreReadAgainAtEveryLoadAndStretched) {
  source_.SetScreen(&display_.screen());
  const int before = display_.screen().GetSurfaceCount();
  CDXSurface* first = source_.Load(TestDataFile("red_blue_40x30.jpg").string());
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(80, first->Width());
  EXPECT_EQ(60, first->Height());
  EXPECT_TRUE(NearColour(0xFF0000, ReadRgb(*first, 5, 30), 24));
  EXPECT_TRUE(NearColour(0x0000FF, ReadRgb(*first, 75, 30), 24));
  CDXSurface* second = source_.Load(TestDataFile("green_6x4.bmp").string());
  ASSERT_NE(nullptr, second);
  EXPECT_TRUE(NearColour(0x00FF00, ReadRgb(*second, 40, 30), 24));
  // Only the latest picture is kept; the file's own surface is gone too.
  EXPECT_EQ(before + 1, display_.screen().GetSurfaceCount());
  // A file that has gone leaves no picture.
  EXPECT_EQ(nullptr, source_.Load(TestDataFile("gone.jpg").string()));
  EXPECT_EQ(before, display_.screen().GetSurfaceCount());
}
}  // namespace
