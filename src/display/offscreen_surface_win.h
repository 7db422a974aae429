#pragma once
#include <windows.h>
// windows.h first: ddraw.h relies on its types.
#include <ddraw.h>

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
// The same, answering the surface or null.
LPDIRECTDRAWSURFACE7 CreateOffscreenSurface(LPDIRECTDRAW7 directDraw, int width, int height, BYTE memoryType);
