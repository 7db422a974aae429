#include "monitor_pictures.h"

#include <algorithm>
#include <cstddef>

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
