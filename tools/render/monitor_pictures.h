#pragma once
#include <cstdint>
#include <vector>

#include "fire/monitor_layout.h"

// Copies `rgb` (area.width × area.height × 3 bytes) into `canvas`, an RGB
// picture `canvasWidth` pixels wide, with its top-left corner at area.x, area.y.
void PlaceRgb(std::vector<std::uint8_t>& canvas, std::int32_t canvasWidth, const std::vector<std::uint8_t>& rgb,
              const ScreenRect& area);
