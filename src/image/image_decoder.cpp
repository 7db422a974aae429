#include "image/image_decoder.h"

#include <new>

#include "image/byte_reader.h"

std::optional<DecodeError> AllocateImage(DecodedImage& image, std::int64_t width, std::int64_t height, int bitsPerPixel,
                                         bool topDown, const DecodeLimits& limits) {
  if (width < 1 || height < 1) return DecodeError::kMalformed;
  if (width > limits.maxSide || height > limits.maxSide) return DecodeError::kTooLarge;
  if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) return DecodeError::kUnsupported;
  const std::uint64_t stride = DibStride(static_cast<std::uint64_t>(width), bitsPerPixel);
  const std::uint64_t bytes = stride * static_cast<std::uint64_t>(height);
  if (bytes > limits.maxPixelBytes || stride > 0x7FFFFFFF) return DecodeError::kTooLarge;
  try {
    image.pixels.assign(static_cast<std::size_t>(bytes), 0);
    image.colorTable.assign(bitsPerPixel == 8 ? 256 * 4 : 0, 0);
  } catch (const std::bad_alloc&) {
    return DecodeError::kTooLarge;
  }
  image.width = static_cast<std::int32_t>(width);
  image.height = static_cast<std::int32_t>(height);
  image.bitsPerPixel = bitsPerPixel;
  image.topDown = topDown;
  image.stride = static_cast<std::int32_t>(stride);
  return std::nullopt;
}

DecodeError DamageOf(const ByteReader& in) { return in.Ok() ? DecodeError::kMalformed : DecodeError::kTruncated; }
