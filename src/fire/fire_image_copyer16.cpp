#include "fire/fire_image_copyer16.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "diagnostics/performance_monitor.h"
#include "fire/avx2_flame_step.h"
#include "fire/avx2_pixel_stores.h"

namespace {

struct Store16 {
  std::uint16_t entries[256];
  std::uint32_t wideEntries[256];  // the same, zero-extended for the AVX2 store
  bool avx2;

  Store16(const std::uint8_t* table, bool useAvx2) : avx2(useAvx2) {
    std::memcpy(entries, table, sizeof entries);
    for (int i = 0; i < 256; ++i) wideEntries[i] = entries[i];
  }

  // Whole 16-byte blocks go out as streaming stores, as in the 32-bit copier.
  void operator()(const std::uint8_t* in, std::int32_t count, std::uint8_t* out) const {
    if (avx2) {
      Avx2StorePixels16(wideEntries, in, count, out);
      return;
    }
    std::int32_t x = 0;
    for (; x < count && (reinterpret_cast<std::uintptr_t>(out) & 15) != 0; ++x, out += 2) {
      std::memcpy(out, &entries[in[x]], 2);
    }
    auto pixel = [this](std::uint64_t eight, int i) { return static_cast<short>(entries[(eight >> (8 * i)) & 0xFF]); };
    for (; x + 8 <= count; x += 8, out += 16) {
      std::uint64_t eight;
      std::memcpy(&eight, in + x, 8);
      const __m128i block = _mm_setr_epi16(pixel(eight, 0), pixel(eight, 1), pixel(eight, 2), pixel(eight, 3),
                                           pixel(eight, 4), pixel(eight, 5), pixel(eight, 6), pixel(eight, 7));
      _mm_stream_si128(reinterpret_cast<__m128i*>(out), block);
    }
    for (; x < count; ++x, out += 2) std::memcpy(out, &entries[in[x]], 2);
  }
};

}  // namespace

FireImageCopyer16::FireImageCopyer16(const std::uint8_t* table, std::int32_t xOffset, std::int32_t yOffset,
                                     bool useAvx2)
    : FireImageCopyer(table, xOffset, yOffset), useAvx2_(useAvx2 && Avx2Available()) {}

void FireImageCopyer16::CopyImageToSurface(const ByteImage& image, Surface& surface) {
  PerformanceScope scope("FireImageCopyer16::CopyImageToSurface()");
  if (table_ == nullptr) return;
  CopyRows(image, surface, 2, Store16(table_, useAvx2_));
}

void FireImageCopyer16::RenderToSurface(const ByteImage& heat, const ByteImage& grey, Surface& surface) {
  PerformanceScope scope("FireImageCopyer16::RenderToSurface()");
  if (table_ == nullptr) return;
  RenderRows(heat, grey, surface, 2, Store16(table_, useAvx2_));
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
