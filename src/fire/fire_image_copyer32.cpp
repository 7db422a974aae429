#include "fire/fire_image_copyer32.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "diagnostics/performance_monitor.h"
#include "fire/avx2_flame_step.h"
#include "fire/avx2_pixel_stores.h"

namespace {

struct Store32 {
  std::uint32_t entries[256];
  bool avx2;

  Store32(const std::uint8_t* table, bool useAvx2) : avx2(useAvx2) { std::memcpy(entries, table, sizeof entries); }

  // Whole 16-byte blocks go out as streaming stores: the surface is written
  // once and not read back, so it need not pass through the cache (and a
  // display surface is often write-combined memory). Indices are read eight at
  // a time and taken apart in a register.
  void operator()(const std::uint8_t* in, std::int32_t count, std::uint8_t* out) const {
    if (avx2) {
      Avx2StorePixels32(entries, in, count, out);
      return;
    }
    std::int32_t x = 0;
    for (; x < count && (reinterpret_cast<std::uintptr_t>(out) & 15) != 0; ++x, out += 4) {
      std::memcpy(out, &entries[in[x]], 4);
    }
    auto pixel = [this](std::uint64_t eight, int i) { return static_cast<int>(entries[(eight >> (8 * i)) & 0xFF]); };
    for (; x + 8 <= count; x += 8, out += 32) {
      std::uint64_t eight;
      std::memcpy(&eight, in + x, 8);
      const __m128i low = _mm_setr_epi32(pixel(eight, 0), pixel(eight, 1), pixel(eight, 2), pixel(eight, 3));
      const __m128i high = _mm_setr_epi32(pixel(eight, 4), pixel(eight, 5), pixel(eight, 6), pixel(eight, 7));
      _mm_stream_si128(reinterpret_cast<__m128i*>(out), low);
      _mm_stream_si128(reinterpret_cast<__m128i*>(out + 16), high);
    }
    for (; x < count; ++x, out += 4) std::memcpy(out, &entries[in[x]], 4);
  }
};

}  // namespace

FireImageCopyer32::FireImageCopyer32(const std::uint8_t* table, std::int32_t xOffset, std::int32_t yOffset,
                                     bool useAvx2)
    : FireImageCopyer(table, xOffset, yOffset), useAvx2_(useAvx2 && Avx2Available()) {}

void FireImageCopyer32::CopyImageToSurface(const ByteImage& image, Surface& surface) {
  PerformanceScope scope("FireImageCopyer32::CopyImageToSurface()");
  if (table_ == nullptr) return;
  CopyRows(image, surface, 4, Store32(table_, useAvx2_));
}

void FireImageCopyer32::RenderToSurface(const ByteImage& heat, const ByteImage& grey, Surface& surface) {
  PerformanceScope scope("FireImageCopyer32::RenderToSurface()");
  if (table_ == nullptr) return;
  RenderRows(heat, grey, surface, 4, Store32(table_, useAvx2_));
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
