#include "image/decoded_image.h"

#include <cinttypes>
#include <cstdio>

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

std::string DescribeDecodeError(DecodeError error, std::uint64_t fileSize) {
  switch (error) {
    case DecodeError::kUnreadable:
      return "the file cannot be read";
    case DecodeError::kNotAPicture:
      return "not a picture of a known format";
    case DecodeError::kUnsupported:
      return "a kind of picture this program cannot show";
    case DecodeError::kTruncated: {
      char text[64];
      std::snprintf(text, sizeof text, "cut short: the file ends at byte %" PRIu64, fileSize);
      return text;
    }
    case DecodeError::kMalformed:
      return "damaged: its sizes or packets do not fit together";
    case DecodeError::kTooLarge:
      return "too large to show";
  }
  return "damaged";
}
