#include "image/image_decoder.h"

#include <new>

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
