#pragma once
#include <windows.h>
// windows.h first: ddraw.h relies on its types.
#include <ddraw.h>

#include <cstddef>
#include <cstdint>

#include "image/deadline_file_reader.h"
#include "image/decoded_image.h"

// Turns an image file into a new off-screen DirectDraw surface holding the
// picture at its own size. BMP, PSD, TGA and PCX are decoded by the program and
// drawn onto the surface by the system's DIB drawing, which converts to the
// surface's pixel format; JPEG is loaded and drawn by the OLE picture loader.
// A BMP variant the program's decoder leaves alone (bit-field masks, 4-bit runs,
// the OS/2 header) is drawn by the system from the checked file bytes. Nothing a
// decoder found damaged ever reaches the system (SystemLoaderMayTry).
// The caller owns the returned surface and releases it. Holds no state.
class CDXImage {
 public:
  // Format numbers; 0 asks for detection by content.
  enum Format : int { kDetect = 0, kBmp = 1, kPsd = 2, kTga = 3, kPcx = 4, kJpeg = 5 };

  // Null when the file cannot be read whole or holds no picture that can be
  // shown; `why` (when given) then says why.
  LPDIRECTDRAWSURFACE7 GetImage(LPDIRECTDRAW7 directDraw, const char* fileName, BYTE memoryType, int format = kDetect,
                                DecodeError* why = nullptr);
  LPDIRECTDRAWSURFACE7 GetImageFromMemory(LPDIRECTDRAW7 directDraw, std::size_t size, const std::uint8_t* data,
                                          BYTE memoryType, int format = kDetect, DecodeError* why = nullptr);

  // The whole file (shared read), or why not: it cannot be opened or read whole,
  // is empty, or is larger than DecodeLimits::kMaxFileBytes.
  static FileBytes ReadWholeFile(const char* fileName);

  // The finishing step of the program's own decoders: a surface of the image's
  // size with the image drawn 1:1 onto it. Null on any failure.
  LPDIRECTDRAWSURFACE7 DrawDecoded(LPDIRECTDRAW7 directDraw, const DecodedImage& image, BYTE memoryType);

  // JPEG through OLE: the picture's size in pixels follows from its HIMETRIC
  // extent and the display's pixels per inch. Null on any failure.
  LPDIRECTDRAWSURFACE7 DrawJpeg(LPDIRECTDRAW7 directDraw, std::size_t size, const std::uint8_t* data, BYTE memoryType);

  // A BMP file drawn by the system's DIB drawing as it stands. Only for a file
  // SystemCanDrawBmpWithin accepted. Null on any failure.
  LPDIRECTDRAWSURFACE7 DrawSystemBitmap(LPDIRECTDRAW7 directDraw, std::size_t size, const std::uint8_t* data,
                                        BYTE memoryType);

 private:
  // A new surface with the DIB drawn 1:1 onto it; null on any failure.
  static LPDIRECTDRAWSURFACE7 DrawDib(LPDIRECTDRAW7 directDraw, int width, int height, const BITMAPINFO* info,
                                      const void* bits, BYTE memoryType);
};
