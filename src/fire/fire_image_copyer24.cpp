#include "fire/fire_image_copyer24.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "diagnostics/performance_monitor.h"
#include "fire/avx2_flame_step.h"
#include "fire/avx2_pixel_stores.h"

namespace {

struct Store24 {
  // The table's entries without their fourth byte, which a 24-bit pixel has no
  // room for; the AVX2 store drops it itself.
  std::uint64_t entries[256];
  std::uint32_t wholeEntries[256];
  bool avx2;

  Store24(const std::uint8_t* table, bool useAvx2) : avx2(useAvx2) {
    std::memcpy(wholeEntries, table, sizeof wholeEntries);
    for (int i = 0; i < 256; ++i) entries[i] = wholeEntries[i] & 0xFFFFFFu;
  }

  // Sixteen pixels make 48 bytes, three 16-byte blocks that go out as
  // streaming stores like the other depths'. Single pixels (to reach a 16-byte
  // boundary, and at the end of a row) store exactly three bytes, so the byte
  // after a row's last pixel is never touched.
  void operator()(const std::uint8_t* in, std::int32_t count, std::uint8_t* out) const {
    if (avx2) {
      Avx2StorePixels24(wholeEntries, in, count, out);
      return;
    }
    std::int32_t x = 0;
    for (; x < count && (reinterpret_cast<std::uintptr_t>(out) & 15) != 0; ++x, out += 3) {
      std::memcpy(out, &entries[in[x]], 3);
    }
    for (; x + 16 <= count; x += 16, out += 48) {
      std::uint64_t eight[2];
      std::memcpy(eight, in + x, 16);
      std::uint64_t words[6];
      for (int half = 0; half < 2; ++half) {
        const std::uint64_t e = eight[half];
        auto p = [&](int i) { return entries[(e >> (8 * i)) & 0xFF]; };
        // Eight pixels of three bytes in three 64-bit words.
        words[3 * half] = p(0) | p(1) << 24 | p(2) << 48;
        words[3 * half + 1] = p(2) >> 16 | p(3) << 8 | p(4) << 32 | p(5) << 56;
        words[3 * half + 2] = p(5) >> 8 | p(6) << 16 | p(7) << 40;
      }
      for (int block = 0; block < 3; ++block) {
        const __m128i v =
            _mm_set_epi64x(static_cast<long long>(words[2 * block + 1]), static_cast<long long>(words[2 * block]));
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + 16 * block), v);
      }
    }
    for (; x < count; ++x, out += 3) std::memcpy(out, &entries[in[x]], 3);
  }
};

}  // namespace

FireImageCopyer24::FireImageCopyer24(const std::uint8_t* table, std::int32_t xOffset, std::int32_t yOffset,
                                     bool useAvx2)
    : FireImageCopyer(table, xOffset, yOffset), useAvx2_(useAvx2 && Avx2Available()) {}

void FireImageCopyer24::CopyImageToSurface(const ByteImage& image, Surface& surface) {
  PerformanceScope scope("FireImageCopyer24::CopyImageToSurface()");
  if (table_ == nullptr) return;
  CopyRows(image, surface, 3, Store24(table_, useAvx2_));
}

void FireImageCopyer24::RenderToSurface(const ByteImage& heat, const ByteImage& grey, Surface& surface) {
  PerformanceScope scope("FireImageCopyer24::RenderToSurface()");
  if (table_ == nullptr) return;
  RenderRows(heat, grey, surface, 3, Store24(table_, useAvx2_));
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
