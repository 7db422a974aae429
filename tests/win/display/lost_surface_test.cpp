#include <windows.h>

#include <ddraw.h>
#include <gtest/gtest.h>

#include "display/cdx_surface_win.h"

namespace {
// A DirectDraw surface that reports itself lost until a restore works; a
// restore works only `restoresThatFail` calls after the first.
class LostSurface : public IDirectDrawSurface7 {
 public:
  bool lost = true;
  int restoresThatFail = 0;
  int locks = 0, unlocks = 0, restores = 0;
  std::uint8_t pixels[64] = {};

  STDMETHOD(QueryInterface)(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return 1; }
  STDMETHOD_(ULONG, Release)() override { return 0; }
  STDMETHOD(Lock)(LPRECT, LPDDSURFACEDESC2 desc, DWORD, HANDLE) override {
    ++locks;
    if (lost) return DDERR_SURFACELOST;
    desc->lpSurface = pixels;
    desc->lPitch = 16;
    return DD_OK;
  }
  STDMETHOD(Unlock)(LPRECT) override {
    ++unlocks;
    return lost ? DDERR_SURFACELOST : DD_OK;
  }
  STDMETHOD(Restore)() override {
    ++restores;
    if (restoresThatFail-- > 0) return DDERR_WRONGMODE;
    lost = false;
    return DD_OK;
  }
  STDMETHOD(IsLost)() override { return lost ? DDERR_SURFACELOST : DD_OK; }
  STDMETHOD(GetSurfaceDesc)(LPDDSURFACEDESC2) override { return DDERR_SURFACELOST; }
  STDMETHOD(ReleaseDC)(HDC) override { return DD_OK; }

#define UNUSED_METHOD(name, ...) \
  STDMETHOD(name)(__VA_ARGS__) override { return DDERR_UNSUPPORTED; }
  UNUSED_METHOD(AddAttachedSurface, LPDIRECTDRAWSURFACE7)
  UNUSED_METHOD(AddOverlayDirtyRect, LPRECT)
  UNUSED_METHOD(Blt, LPRECT, LPDIRECTDRAWSURFACE7, LPRECT, DWORD, LPDDBLTFX)
  UNUSED_METHOD(BltBatch, LPDDBLTBATCH, DWORD, DWORD)
  UNUSED_METHOD(BltFast, DWORD, DWORD, LPDIRECTDRAWSURFACE7, LPRECT, DWORD)
  UNUSED_METHOD(DeleteAttachedSurface, DWORD, LPDIRECTDRAWSURFACE7)
  UNUSED_METHOD(EnumAttachedSurfaces, LPVOID, LPDDENUMSURFACESCALLBACK7)
  UNUSED_METHOD(EnumOverlayZOrders, DWORD, LPVOID, LPDDENUMSURFACESCALLBACK7)
  UNUSED_METHOD(Flip, LPDIRECTDRAWSURFACE7, DWORD)
  UNUSED_METHOD(GetAttachedSurface, LPDDSCAPS2, LPDIRECTDRAWSURFACE7*)
  UNUSED_METHOD(GetBltStatus, DWORD)
  UNUSED_METHOD(GetCaps, LPDDSCAPS2)
  UNUSED_METHOD(GetClipper, LPDIRECTDRAWCLIPPER*)
  UNUSED_METHOD(GetColorKey, DWORD, LPDDCOLORKEY)
  UNUSED_METHOD(GetDC, HDC*)
  UNUSED_METHOD(GetFlipStatus, DWORD)
  UNUSED_METHOD(GetOverlayPosition, LPLONG, LPLONG)
  UNUSED_METHOD(GetPalette, LPDIRECTDRAWPALETTE*)
  UNUSED_METHOD(GetPixelFormat, LPDDPIXELFORMAT)
  UNUSED_METHOD(Initialize, LPDIRECTDRAW, LPDDSURFACEDESC2)
  UNUSED_METHOD(SetClipper, LPDIRECTDRAWCLIPPER)
  UNUSED_METHOD(SetColorKey, DWORD, LPDDCOLORKEY)
  UNUSED_METHOD(SetOverlayPosition, LONG, LONG)
  UNUSED_METHOD(SetPalette, LPDIRECTDRAWPALETTE)
  UNUSED_METHOD(UpdateOverlay, LPRECT, LPDIRECTDRAWSURFACE7, LPRECT, DWORD, LPDDOVERLAYFX)
  UNUSED_METHOD(UpdateOverlayDisplay, DWORD)
  UNUSED_METHOD(UpdateOverlayZOrder, DWORD, LPDIRECTDRAWSURFACE7)
  UNUSED_METHOD(GetDDInterface, LPVOID*)
  UNUSED_METHOD(PageLock, DWORD)
  UNUSED_METHOD(PageUnlock, DWORD)
  UNUSED_METHOD(SetSurfaceDesc, LPDDSURFACEDESC2, DWORD)
  UNUSED_METHOD(SetPrivateData, REFGUID, LPVOID, DWORD, DWORD)
  UNUSED_METHOD(GetPrivateData, REFGUID, LPVOID, LPDWORD)
  UNUSED_METHOD(FreePrivateData, REFGUID)
  UNUSED_METHOD(GetUniquenessValue, LPDWORD)
  UNUSED_METHOD(ChangeUniquenessValue)
  UNUSED_METHOD(SetPriority, DWORD)
  UNUSED_METHOD(GetPriority, LPDWORD)
  UNUSED_METHOD(SetLOD, DWORD)
  UNUSED_METHOD(GetLOD, LPDWORD)
#undef UNUSED_METHOD
};

TEST(LostSurfaceTest, LockRestoresAndRetriesAFewTimesThenGivesUp) {
  constexpr int kBound = CDXSurface::kMaxRestoreAttempts;
  const struct {
    const char* name;
    int restoresThatFail;
    int lockResult;
    int restores;
  } cases[] = {
      {"restored at once", 0, 1, 1},
      {"restored at the last attempt", kBound - 1, 1, kBound},
      {"stays lost", 1000, static_cast<int>(DDERR_SURFACELOST), kBound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LostSurface fake;
    fake.restoresThatFail = c.restoresThatFail;
    CDXSurface surface;
    surface.Attach(nullptr, &fake, 4, 4);
    EXPECT_EQ(c.lockResult, surface.Lock());
    EXPECT_EQ(c.restores, fake.restores);
    EXPECT_EQ(c.restores + 1, fake.locks);
    if (c.lockResult == 1) {
      EXPECT_EQ(fake.pixels, surface.FirstPixel());
      EXPECT_EQ(0, surface.UnlockSurface());
    } else {
      EXPECT_EQ(0, surface.GetLockCount());
      EXPECT_EQ(nullptr, surface.FirstPixel());
    }
  }
}

TEST(LostSurfaceTest, ASurfaceLostWhileLockedEndsTheLockAndLocksAfreshLater) {
  LostSurface fake;
  fake.lost = false;
  CDXSurface surface;
  surface.Attach(nullptr, &fake, 4, 4);
  ASSERT_EQ(1, surface.Lock());
  fake.lost = true;
  fake.restoresThatFail = 1000;  // another program keeps the display
  EXPECT_EQ(static_cast<int>(DDERR_SURFACELOST), surface.UnlockSurface());
  EXPECT_EQ(CDXSurface::kMaxRestoreAttempts, fake.restores);
  EXPECT_EQ(0, surface.GetLockCount());
  // The next frame asks DirectDraw again instead of counting up on a dead lock.
  fake.restoresThatFail = 0;
  const int locksBefore = fake.locks;
  EXPECT_EQ(1, surface.Lock());
  EXPECT_GT(fake.locks, locksBefore);
  EXPECT_EQ(0, surface.UnlockSurface());
}
}  // namespace
