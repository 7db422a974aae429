#include "image/decoded_image.h"

#include <new>

#include "image/image_decoder.h"

void DecodedImage::PixelBgr(std::int32_t x, std::int32_t y, std::uint8_t bgr[3]) const {
  bgr[0] = bgr[1] = bgr[2] = 0;
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  const std::int64_t row = topDown ? y : static_cast<std::int64_t>(height) - 1 - y;
  const std::uint64_t offset = static_cast<std::uint64_t>(row) * static_cast<std::uint64_t>(stride);
  if (bitsPerPixel == 8) {
    const std::uint64_t at = offset + static_cast<std::uint64_t>(x);
    if (at >= pixels.size()) return;
    const std::size_t entry = static_cast<std::size_t>(pixels[at]) * 4;
    if (entry + 3 > colorTable.size()) return;
    for (int i = 0; i < 3; ++i) bgr[i] = colorTable[entry + i];
    return;
  }
  const int bytes = bitsPerPixel / 8;
  if (bytes < 3) return;
  const std::uint64_t at = offset + static_cast<std::uint64_t>(x) * static_cast<std::uint64_t>(bytes);
  if (at + 3 > pixels.size()) return;
  for (int i = 0; i < 3; ++i) bgr[i] = pixels[at + i];
}

bool AllocateImage(DecodedImage& image, std::int64_t width, std::int64_t height, int bitsPerPixel, bool topDown,
                   const DecodeLimits& limits) {
  if (width < 1 || height < 1 || width > limits.maxSide || height > limits.maxSide) return false;
  if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) return false;
  const std::uint64_t stride = DibStride(static_cast<std::uint64_t>(width), bitsPerPixel);
  const std::uint64_t bytes = stride * static_cast<std::uint64_t>(height);
  if (bytes > limits.maxPixelBytes || stride > 0x7FFFFFFF) return false;
  try {
    image.pixels.assign(static_cast<std::size_t>(bytes), 0);
    image.colorTable.assign(bitsPerPixel == 8 ? 256 * 4 : 0, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  image.width = static_cast<std::int32_t>(width);
  image.height = static_cast<std::int32_t>(height);
  image.bitsPerPixel = bitsPerPixel;
  image.topDown = topDown;
  image.stride = static_cast<std::int32_t>(stride);
  return true;
}
