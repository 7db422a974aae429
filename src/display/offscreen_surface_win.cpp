#include "display/offscreen_surface_win.h"

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

LPDIRECTDRAWSURFACE7 CreateOffscreenSurface(LPDIRECTDRAW7 directDraw, int width, int height, BYTE memoryType) {
  if (directDraw == nullptr || width <= 0 || height <= 0) return nullptr;
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.ddsCaps.dwCaps = OffscreenCaps(memoryType);
  desc.dwWidth = static_cast<DWORD>(width);
  desc.dwHeight = static_cast<DWORD>(height);
  LPDIRECTDRAWSURFACE7 surface = nullptr;
  if (FAILED(directDraw->CreateSurface(&desc, &surface, nullptr))) return nullptr;
  return surface;
}
