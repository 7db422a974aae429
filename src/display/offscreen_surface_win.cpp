#include "display/offscreen_surface_win.h"

#include "diagnostics/handles_win.h"

DWORD OffscreenCaps(BYTE memoryType) {
  switch (memoryType) {
    case CDXMEM_VIDEOONLY:
      return DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    case CDXMEM_SYSTEMONLY:
      return DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    default:
      return DDSCAPS_OFFSCREENPLAIN;
  }
}

HRESULT CreateOffscreenSurface(LPDIRECTDRAW7 directDraw, int width, int height, BYTE memoryType,
                               LPDIRECTDRAWSURFACE7* surface) {
  *surface = nullptr;
  if (directDraw == nullptr || width <= 0 || height <= 0) return DDERR_INVALIDPARAMS;
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.ddsCaps.dwCaps = OffscreenCaps(memoryType);
  desc.dwWidth = static_cast<DWORD>(width);
  desc.dwHeight = static_cast<DWORD>(height);
  const HRESULT result = directDraw->CreateSurface(&desc, surface, nullptr);
  if (FAILED(result)) *surface = nullptr;
  return result;
}

LPDIRECTDRAWSURFACE7 DrawOffscreenSurface(LPDIRECTDRAW7 directDraw, int width, int height, BYTE memoryType,
                                          const std::function<bool(HDC)>& draw) {
  ComPtr<IDirectDrawSurface7> surface;
  if (FAILED(CreateOffscreenSurface(directDraw, width, height, memoryType, surface.put()))) return nullptr;
  HDC dc = nullptr;
  if (FAILED(surface->GetDC(&dc))) return nullptr;
  const bool drawn = draw(dc);
  surface->ReleaseDC(dc);
  return drawn ? surface.release() : nullptr;
}
