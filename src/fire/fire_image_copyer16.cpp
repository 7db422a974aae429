#include "fire/fire_image_copyer16.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "diagnostics/performance_monitor.h"

void FireImageCopyer16::CopyImageToSurface(const ByteImage& image, Surface& surface) {
  PerformanceScope scope("FireImageCopyer16::CopyImageToSurface()");
  const Visible v = VisiblePart(image, surface);
  if (v.Empty() || table_ == nullptr) return;
  if (surface.Lock() < 0) return;
  std::uint16_t entries[256];
  std::memcpy(entries, table_, sizeof entries);
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    const std::uint8_t* in = image.Row(y);
    std::uint8_t* out = SurfacePixel(surface, v.x0, y, 2);
    std::int32_t x = v.x0;
    // Whole 16-byte blocks go out as streaming stores, as in the 32-bit copier.
    for (; x < v.x1 && (reinterpret_cast<std::uintptr_t>(out) & 15) != 0; ++x, out += 2) {
      std::memcpy(out, &entries[in[x]], 2);
    }
    for (; x + 8 <= v.x1; x += 8, out += 16) {
      const __m128i block =
          _mm_setr_epi16(static_cast<short>(entries[in[x]]), static_cast<short>(entries[in[x + 1]]),
                         static_cast<short>(entries[in[x + 2]]), static_cast<short>(entries[in[x + 3]]),
                         static_cast<short>(entries[in[x + 4]]), static_cast<short>(entries[in[x + 5]]),
                         static_cast<short>(entries[in[x + 6]]), static_cast<short>(entries[in[x + 7]]));
      _mm_stream_si128(reinterpret_cast<__m128i*>(out), block);
    }
    for (; x < v.x1; ++x, out += 2) std::memcpy(out, &entries[in[x]], 2);
  }
  _mm_sfence();
  surface.Unlock();
}

void FireImageCopyer16::ReadSurface(ByteImage& target, Surface& surface) {
  const Visible v = VisiblePart(target, surface);
  if (v.Empty()) return;
  if (surface.Lock() < 0) return;
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    std::uint8_t* out = target.Row(y);
    const std::uint8_t* in = SurfacePixel(surface, v.x0, y, 2);
    for (std::int32_t x = v.x0; x < v.x1; ++x, in += 2) {
      std::uint16_t e;
      std::memcpy(&e, in, 2);
      // Red and blue as 5-bit values times 8, green from bits 5..9 times 4.
      out[x] = static_cast<std::uint8_t>((((e >> 8) & 0xF8) + ((e >> 3) & 0x7C) + ((e & 0x1F) << 3)) / 3);
    }
  }
  surface.Unlock();
}
