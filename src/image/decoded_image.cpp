#include "image/decoded_image.h"

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
