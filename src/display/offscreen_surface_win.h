#pragma once
#include <windows.h>
// windows.h first: ddraw.h relies on its types.
#include <ddraw.h>

#include <functional>

// Where a surface's pixels live. Video memory is fastest to blit but can run out
// or be lost; system memory is what the pixel copiers touch cheapest.
enum CDXMemoryType : BYTE {
  CDXMEM_VIDEOONLY = 0,
  CDXMEM_SYSTEMONLY = 1,
  CDXMEM_ANY = 2,  // DirectDraw chooses
};

// Off-screen plain surface capabilities for a memory type.
DWORD OffscreenCaps(BYTE memoryType);

// Creates an off-screen plain surface of the memory type in `*surface` (null on
// failure) and answers what DirectDraw did; DDERR_INVALIDPARAMS without a
// DirectDraw object or for an empty size.
HRESULT CreateOffscreenSurface(LPDIRECTDRAW7 directDraw, int width, int height, BYTE memoryType,
                               LPDIRECTDRAWSURFACE7* surface);
// A new off-screen surface with `draw` done on its device context, which is
// released before this returns: the surface (the caller's to release) when the
// surface, its device context and `draw` all succeed, else null.
LPDIRECTDRAWSURFACE7 DrawOffscreenSurface(LPDIRECTDRAW7 directDraw, int width, int height, BYTE memoryType,
                                          const std::function<bool(HDC)>& draw);
