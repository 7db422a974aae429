#include "fire/flame_render.h"

#include <emmintrin.h>

#include <algorithm>

#include "diagnostics/performance_monitor.h"

namespace {

// (a >> 1) + (b >> 1) per byte: shifting 16-bit lanes drags a neighbour's low
// bit into each byte's top bit, which the mask removes.
inline __m128i HalfSum(__m128i a, __m128i b) {
  const __m128i low7 = _mm_set1_epi8(0x7F);
  return _mm_adds_epu8(_mm_and_si128(_mm_srli_epi16(a, 1), low7), _mm_and_si128(_mm_srli_epi16(b, 1), low7));
}

}  // namespace

void FlameRender::Rander(const ByteImage& heat, const ByteImage& grey, ByteImage& output) {
  PerformanceScope scope("FlameRender::Rander()");
  // Never read or write past any of the three images.
  const std::int32_t width = std::min({heat.width, grey.width, output.width});
  const std::int32_t height = std::min({heat.height, grey.height, output.height});
  const std::int32_t columns = 8 * (std::max(width, 0) / 8);
  if (columns == 0 || heat.data == nullptr || grey.data == nullptr || output.data == nullptr) return;
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* a = heat.Row(y);
    const std::uint8_t* b = grey.Row(y);
    std::uint8_t* o = output.Row(y);
    std::int32_t x = 0;
    for (; x + 16 <= columns; x += 16) {
      const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
      const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o + x), HalfSum(va, vb));
    }
    if (x < columns) {
      const __m128i va = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(a + x));
      const __m128i vb = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(b + x));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(o + x), HalfSum(va, vb));
    }
  }
}
