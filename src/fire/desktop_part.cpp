#include "fire/desktop_part.h"

#include <cstddef>

DecodedImage DesktopPart(const DecodedImage& snapshot, const ScreenRect& area) {
  DecodedImage part;
  part.width = area.width;
  part.height = area.height;
  part.bitsPerPixel = 24;
  part.topDown = true;
  part.stride = (area.width * 3 + 3) / 4 * 4;
  part.pixels.assign(static_cast<std::size_t>(part.stride) * static_cast<std::size_t>(area.height), 0);
  for (std::int32_t y = 0; y < area.height; ++y) {
    std::uint8_t* row = part.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(part.stride);
    for (std::int32_t x = 0; x < area.width; ++x) snapshot.PixelBgr(area.x + x, area.y + y, row + 3 * x);
  }
  return part;
}
