#include "fire/fire_image_copyer32.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "diagnostics/performance_monitor.h"

void FireImageCopyer32::CopyImageToSurface(const ByteImage& image, Surface& surface) {
  PerformanceScope scope("FireImageCopyer32::CopyImageToSurface()");
  const Visible v = VisiblePart(image, surface);
  if (v.Empty() || table_ == nullptr) return;
  if (surface.Lock() < 0) return;
  std::uint32_t entries[256];
  std::memcpy(entries, table_, sizeof entries);
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    const std::uint8_t* in = image.Row(y);
    std::uint8_t* out = SurfacePixel(surface, v.x0, y, 4);
    std::int32_t x = v.x0;
    // Whole 16-byte blocks go out as streaming stores: the surface is written
    // once and not read back, so it need not pass through the cache (and a
    // display surface is often write-combined memory).
    for (; x < v.x1 && (reinterpret_cast<std::uintptr_t>(out) & 15) != 0; ++x, out += 4) {
      std::memcpy(out, &entries[in[x]], 4);
    }
    for (; x + 4 <= v.x1; x += 4, out += 16) {
      const __m128i block = _mm_setr_epi32(static_cast<int>(entries[in[x]]), static_cast<int>(entries[in[x + 1]]),
                                           static_cast<int>(entries[in[x + 2]]), static_cast<int>(entries[in[x + 3]]));
      _mm_stream_si128(reinterpret_cast<__m128i*>(out), block);
    }
    for (; x < v.x1; ++x, out += 4) std::memcpy(out, &entries[in[x]], 4);
  }
  _mm_sfence();
  surface.Unlock();
}

void FireImageCopyer32::ReadSurface(ByteImage& target, Surface& surface) {
  const Visible v = VisiblePart(target, surface);
  if (v.Empty()) return;
  if (surface.Lock() < 0) return;
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    std::uint8_t* out = target.Row(y);
    const std::uint8_t* in = SurfacePixel(surface, v.x0, y, 4);
    for (std::int32_t x = v.x0; x < v.x1; ++x, in += 4) out[x] = static_cast<std::uint8_t>((in[0] + in[1] + in[2]) / 3);
  }
  surface.Unlock();
}
