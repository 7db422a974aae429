#include "display/cdx_image_win.h"

#include <objbase.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "diagnostics/debugger_output.h"
#include "diagnostics/handles_win.h"
#include "display/offscreen_surface_win.h"
#include "image/bmp_decoder.h"

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

std::uint32_t U32At(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
}  // namespace

FileBytes CDXImage::ReadWholeFile(const char* fileName) {
  FileBytes result;
  const UniqueFile file(
      CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0) {
    result.error = DecodeError::kUnreadable;
    return result;
  }
  if (size.QuadPart > kMaxFileBytes) {
    result.error = DecodeError::kTooLarge;
    return result;
  }
  result.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(file.get(), result.bytes.data(), static_cast<DWORD>(result.bytes.size()), &read, nullptr) ||
      read != result.bytes.size()) {
    result.bytes.clear();
    result.error = DecodeError::kUnreadable;
  }
  return result;
}

LPDIRECTDRAWSURFACE7 CDXImage::GetImage(LPDIRECTDRAW7 directDraw, const char* fileName, BYTE memoryType, int format,
                                        DecodeError* why) {
  DecodeError ignored{};
  if (why == nullptr) why = &ignored;
  *why = DecodeError::kUnreadable;
  if (fileName == nullptr) return nullptr;
  const FileBytes file = ReadWholeFile(fileName);
  if (file.error) {
    *why = *file.error;
    return nullptr;
  }
  return GetImageFromMemory(directDraw, file.bytes.size(), file.bytes.data(), memoryType, format, why);
}

LPDIRECTDRAWSURFACE7 CDXImage::GetImageFromMemory(LPDIRECTDRAW7 directDraw, std::size_t size, const std::uint8_t* data,
                                                  BYTE memoryType, int format, DecodeError* why) {
  DecodeError ignored{};
  if (why == nullptr) why = &ignored;
  *why = DecodeError::kUnreadable;
  if (data == nullptr || size == 0) return nullptr;
  if (format == kDetect) format = static_cast<int>(DetectImageFormat(data, size));
  if (format < kBmp || format > kJpeg) {
    WriteToDebugger("Error: CDXImage - Unsupported Image type.");
    *why = DecodeError::kNotAPicture;
    return nullptr;
  }
  const DecodeResult image = DecodeImage(data, size, static_cast<ImageFormat>(format));
  LPDIRECTDRAWSURFACE7 surface = nullptr;
  if (image) {
    surface = DrawDecoded(directDraw, *image, memoryType);
  } else if (SystemLoaderMayTry(data, size, image.error())) {
    surface = format == kJpeg ? DrawJpeg(directDraw, size, data, memoryType)
                              : DrawSystemBitmap(directDraw, size, data, memoryType);
  } else {
    *why = image.error();
    return nullptr;
  }
  // A picture that passed every check but could not be drawn: most likely no
  // memory for a surface of its size.
  if (surface == nullptr) *why = DecodeError::kTooLarge;
  return surface;
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

  return DrawDib(directDraw, image.width, image.height, reinterpret_cast<const BITMAPINFO*>(&dib), image.pixels.data(),
                 memoryType);
}

LPDIRECTDRAWSURFACE7 CDXImage::DrawSystemBitmap(LPDIRECTDRAW7 directDraw, std::size_t size, const std::uint8_t* data,
                                                BYTE memoryType) {
  constexpr std::size_t kFileHeader = 14;
  if (data == nullptr || !SystemCanDrawBmpWithin(data, size, DecodeLimits{})) return nullptr;
  // The header, masks and colour table, copied to aligned memory: at most a
  // 124-byte header, 12 bytes of masks and 256 entries. What lies past the file
  // stays zero (the check above proved nothing there is read).
  alignas(8) std::uint8_t info[2048] = {};
  std::memcpy(info, data + kFileHeader, std::min(size - kFileHeader, sizeof info));
  int width = 0;
  int height = 0;
  if (U32At(info) == sizeof(BITMAPCOREHEADER)) {
    width = info[4] | info[5] << 8;
    height = info[6] | info[7] << 8;
  } else {
    width = static_cast<std::int32_t>(U32At(info + 4));
    height = static_cast<std::int32_t>(U32At(info + 8));
    if (height < 0) height = -height;
  }
  return DrawDib(directDraw, width, height, reinterpret_cast<const BITMAPINFO*>(info), data + U32At(data + 10),
                 memoryType);
}

LPDIRECTDRAWSURFACE7 CDXImage::DrawDib(LPDIRECTDRAW7 directDraw, int width, int height, const BITMAPINFO* info,
                                       const void* bits, BYTE memoryType) {
  return DrawOffscreenSurface(directDraw, width, height, memoryType, [&](HDC dc) {
    const int lines = StretchDIBits(dc, 0, 0, width, height, 0, 0, width, height, bits, info, DIB_RGB_COLORS, SRCCOPY);
    return lines != 0 && lines != static_cast<int>(GDI_ERROR);
  });
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

  return DrawOffscreenSurface(directDraw, width, height, memoryType, [&](HDC dc) {
    // The picture's extent runs bottom-up; starting at its height with a
    // negative height draws it upright.
    return SUCCEEDED(picture->Render(dc, 0, 0, width, height, 0, extentHeight, extentWidth, -extentHeight, nullptr));
  });
}
