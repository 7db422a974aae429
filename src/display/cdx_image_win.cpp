#include "display/cdx_image_win.h"

#include <objbase.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "diagnostics/debugger_output.h"
#include "display/handles_win.h"
#include "display/offscreen_surface_win.h"
#include "image/decoded_image.h"

namespace {
// Larger files are not pictures this program shows; refusing them keeps one
// odd file from taking the whole address space.
constexpr LONGLONG kMaxFileBytes = static_cast<LONGLONG>(DecodeLimits::kMaxFileBytes);

// What the DIB drawing reads: the information header and a full colour table.
struct DibHeader {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
  DWORD spare;
};
static_assert(sizeof(DibHeader) == 1068, "header, 256 colours, 4 spare bytes");

bool ReadWholeFile(const char* fileName, std::vector<std::uint8_t>& bytes) {
  const UniqueFile file(
      CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxFileBytes) return false;
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  return ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
}
}  // namespace

LPDIRECTDRAWSURFACE7 CDXImage::GetImage(LPDIRECTDRAW7 directDraw, const char* fileName, BYTE memoryType, int format) {
  if (fileName == nullptr) return nullptr;
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes)) return nullptr;
  return GetImageFromMemory(directDraw, bytes.size(), bytes.data(), memoryType, format);
}

LPDIRECTDRAWSURFACE7 CDXImage::GetImageFromMemory(LPDIRECTDRAW7 directDraw, std::size_t size, const std::uint8_t* data,
                                                  BYTE memoryType, int format) {
  if (data == nullptr || size == 0) return nullptr;
  if (format == kDetect) format = static_cast<int>(DetectImageFormat(data, size));
  if (format < kBmp || format > kJpeg) {
    WriteToDebugger("Error: CDXImage - Unsupported Image type.");
    return nullptr;
  }
  if (format == kJpeg) return DrawJpeg(directDraw, size, data, memoryType);
  const std::optional<DecodedImage> image = DecodeImage(data, size, static_cast<ImageFormat>(format));
  if (!image) return nullptr;
  return DrawDecoded(directDraw, *image, memoryType);
}

LPDIRECTDRAWSURFACE7 CDXImage::DrawDecoded(LPDIRECTDRAW7 directDraw, const DecodedImage& image, BYTE memoryType) {
  const int bpp = image.bitsPerPixel;
  if (image.width <= 0 || image.height <= 0 || (bpp != 8 && bpp != 24 && bpp != 32)) return nullptr;
  // The DIB drawing reads height rows of the padded width: check the buffer
  // holds them before handing it over.
  const std::int64_t rowBytes = (static_cast<std::int64_t>(bpp) * image.width + 31) / 32 * 4;
  if (image.stride < rowBytes ||
      static_cast<std::int64_t>(image.pixels.size()) < static_cast<std::int64_t>(image.stride) * image.height) {
    return nullptr;
  }
  if (image.stride != rowBytes) return nullptr;  // DIB rows are exactly the padded width

  ComPtr<IDirectDrawSurface7> surface(CreateOffscreenSurface(directDraw, image.width, image.height, memoryType));
  if (!surface) return nullptr;

  DibHeader dib{};
  dib.header.biSize = sizeof(BITMAPINFOHEADER);
  dib.header.biWidth = image.width;
  dib.header.biHeight = image.topDown ? -image.height : image.height;
  dib.header.biPlanes = 1;
  dib.header.biBitCount = static_cast<WORD>(bpp);
  dib.header.biCompression = BI_RGB;
  if (bpp == 8) {
    std::memcpy(dib.colours, image.colorTable.data(), std::min(image.colorTable.size(), sizeof dib.colours));
  }

  bool drawn = false;
  HDC dc = nullptr;
  if (SUCCEEDED(surface->GetDC(&dc))) {
    const int lines =
        StretchDIBits(dc, 0, 0, image.width, image.height, 0, 0, image.width, image.height, image.pixels.data(),
                      reinterpret_cast<const BITMAPINFO*>(&dib), DIB_RGB_COLORS, SRCCOPY);
    drawn = lines != 0 && lines != static_cast<int>(GDI_ERROR);
    surface->ReleaseDC(dc);
  }
  return drawn ? surface.release() : nullptr;
}

LPDIRECTDRAWSURFACE7 CDXImage::DrawJpeg(LPDIRECTDRAW7 directDraw, std::size_t size, const std::uint8_t* data,
                                        BYTE memoryType) {
  if (directDraw == nullptr || data == nullptr || size == 0 || size > static_cast<std::size_t>(kMaxFileBytes)) {
    return nullptr;
  }
  // The OLE loader reads from a stream; the stream owns the memory block and
  // frees it when released.
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!block) return nullptr;
  void* target = GlobalLock(block.get());
  if (target == nullptr) return nullptr;
  std::memcpy(target, data, size);
  GlobalUnlock(block.get());
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(block.get(), TRUE, stream.put()))) return nullptr;
  block.release();  // the stream's now
  ComPtr<IPicture> picture;
  const HRESULT loaded = OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(picture.put()));
  stream.reset();
  if (FAILED(loaded) || !picture) return nullptr;

  OLE_XSIZE_HIMETRIC extentWidth = 0;
  OLE_YSIZE_HIMETRIC extentHeight = 0;
  picture->get_Width(&extentWidth);
  picture->get_Height(&extentHeight);
  int pixelsPerInchX = 96;
  int pixelsPerInchY = 96;
  if (const UniqueDc info(CreateICA("Display", nullptr, nullptr, nullptr)); info) {
    pixelsPerInchX = GetDeviceCaps(info.get(), LOGPIXELSX);
    pixelsPerInchY = GetDeviceCaps(info.get(), LOGPIXELSY);
  }
  // HIMETRIC is hundredths of a millimetre: 2540 to the inch.
  const int width = MulDiv(extentWidth, pixelsPerInchX, 2540);
  const int height = MulDiv(extentHeight, pixelsPerInchY, 2540);

  ComPtr<IDirectDrawSurface7> surface(CreateOffscreenSurface(directDraw, width, height, memoryType));
  bool drawn = false;
  HDC dc = nullptr;
  if (surface && SUCCEEDED(surface->GetDC(&dc))) {
    // The picture's extent runs bottom-up; starting at its height with a
    // negative height draws it upright.
    drawn = SUCCEEDED(picture->Render(dc, 0, 0, width, height, 0, extentHeight, extentWidth, -extentHeight, nullptr));
    surface->ReleaseDC(dc);
  }
  return drawn ? surface.release() : nullptr;
}
