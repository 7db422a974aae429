#pragma once
#include <cstdint>
#include <vector>

#include "fire/monitor_layout.h"
#include "image/decoded_image.h"

// The part `area` of a picture as a picture of its own (24 bits, top row
// first), the desktop a monitor alone would have shown. `area` lies inside the
// picture (MonitorLayout::SnapshotPart gives such parts).
DecodedImage CropPicture(const DecodedImage& picture, const ScreenRect& area);

// Copies `rgb` (area.width × area.height × 3 bytes) into `canvas`, an RGB
// picture `canvasWidth` pixels wide, with its top-left corner at area.x, area.y.
void PlaceRgb(std::vector<std::uint8_t>& canvas, std::int32_t canvasWidth, const std::vector<std::uint8_t>& rgb,
              const ScreenRect& area);
