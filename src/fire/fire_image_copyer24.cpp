#include "fire/fire_image_copyer24.h"

#include <cstring>

#include "diagnostics/performance_monitor.h"

void FireImageCopyer24::CopyImageToSurface(const ByteImage& image, Surface& surface) {
  PerformanceScope scope("FireImageCopyer24::CopyImageToSurface()");
  const Visible v = VisiblePart(image, surface);
  if (v.Empty() || table_ == nullptr) return;
  if (surface.Lock() < 0) return;
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    const std::uint8_t* in = image.Row(y);
    std::uint8_t* out = SurfacePixel(surface, v.x0, y, 3);
    // Four bytes per store, the fourth overwritten by the next pixel; the last
    // pixel of a row stores exactly three so the byte after it is untouched.
    std::int32_t x = v.x0;
    for (; x + 1 < v.x1; ++x, out += 3) std::memcpy(out, table_ + 4 * in[x], 4);
    std::memcpy(out, table_ + 4 * in[x], 3);
  }
  surface.Unlock();
}

void FireImageCopyer24::ReadSurface(ByteImage& target, Surface& surface) {
  const Visible v = VisiblePart(target, surface);
  if (v.Empty()) return;
  if (surface.Lock() < 0) return;
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    std::uint8_t* out = target.Row(y);
    const std::uint8_t* in = SurfacePixel(surface, v.x0, y, 3);
    for (std::int32_t x = v.x0; x < v.x1; ++x, in += 3) out[x] = static_cast<std::uint8_t>((in[0] + in[1] + in[2]) / 3);
  }
  surface.Unlock();
}
