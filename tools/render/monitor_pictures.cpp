#include "monitor_pictures.h"

#include <algorithm>
#include <cstddef>

DecodedImage CropPicture(const DecodedImage& picture, const ScreenRect& area) {
  DecodedImage part;
  part.width = area.width;
  part.height = area.height;
  part.bitsPerPixel = 24;
  part.topDown = true;
  part.stride = (area.width * 3 + 3) / 4 * 4;
  part.pixels.assign(static_cast<std::size_t>(part.stride) * static_cast<std::size_t>(area.height), 0);
  for (std::int32_t y = 0; y < area.height; ++y) {
    std::uint8_t* row = part.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(part.stride);
    for (std::int32_t x = 0; x < area.width; ++x) picture.PixelBgr(area.x + x, area.y + y, row + 3 * x);
  }
  return part;
}

void PlaceRgb(std::vector<std::uint8_t>& canvas, std::int32_t canvasWidth, const std::vector<std::uint8_t>& rgb,
              const ScreenRect& area) {
  const std::size_t rowBytes = static_cast<std::size_t>(area.width) * 3;
  for (std::int32_t y = 0; y < area.height; ++y) {
    const std::size_t to = (static_cast<std::size_t>(area.y + y) * static_cast<std::size_t>(canvasWidth) +
                            static_cast<std::size_t>(area.x)) *
                           3;
    std::copy_n(rgb.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * rowBytes), rowBytes,
                canvas.begin() + static_cast<std::ptrdiff_t>(to));
  }
}
