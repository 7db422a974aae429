#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/decoded_image.h"

// Decodes one input and checks that whatever comes back is self-consistent. The
// pixel budget is kept small so that inputs claiming huge pictures cost little
// and the fuzzer keeps its pace; the side limit stays the product's.
inline void FuzzDecode(const std::uint8_t* data, std::size_t size, ImageFormat format) {
  DecodeLimits limits;
  limits.maxPixelBytes = 1u << 20;
  const DecodeResult image = DecodeImage(data, size, format, limits);
  if (!image) return;
  const DecodedImage& i = *image;
  const bool shapeOk = i.width > 0 && i.height > 0 && i.stride % 4 == 0 &&
                       static_cast<std::int64_t>(i.stride) * 8 >= static_cast<std::int64_t>(i.width) * i.bitsPerPixel &&
                       i.pixels.size() == static_cast<std::size_t>(i.stride) * static_cast<std::size_t>(i.height) &&
                       (i.bitsPerPixel != 8 || i.colorTable.size() == 1024);
  if (!shapeOk) std::abort();
  std::uint8_t bgr[3];
  i.PixelBgr(0, 0, bgr);
  i.PixelBgr(i.width - 1, i.height - 1, bgr);
}
