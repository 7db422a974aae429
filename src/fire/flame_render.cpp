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

void FlameRender::RanderRow(const std::uint8_t* heat, const std::uint8_t* grey, std::uint8_t* output,
                            std::int32_t count) {
  std::int32_t x = 0;
  for (; x + 16 <= count; x += 16) {
    const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(heat + x));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(grey + x));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(output + x), HalfSum(va, vb));
  }
  if (x + 8 <= count) {
    const __m128i va = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(heat + x));
    const __m128i vb = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(grey + x));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(output + x), HalfSum(va, vb));
    x += 8;
  }
  for (; x < count; ++x) output[x] = static_cast<std::uint8_t>((heat[x] >> 1) + (grey[x] >> 1));
}

void FlameRender::Rander(const ByteImage& heat, const ByteImage& grey, ByteImage& output) {
  PerformanceScope scope("FlameRender::Rander()");
  const Area area = AreaOf(heat, grey, output);
  for (std::int32_t y = 0; y < area.rows; ++y) RanderRow(heat.Row(y), grey.Row(y), output.Row(y), area.columns);
}

FlameRender::Area FlameRender::AreaOf(const ByteImage& heat, const ByteImage& grey, const ByteImage& output) {
  if (heat.data == nullptr || grey.data == nullptr || output.data == nullptr) return {};
  const std::int32_t width = std::min({heat.width, grey.width, output.width});
  const std::int32_t height = std::min({heat.height, grey.height, output.height});
  const std::int32_t columns = 8 * (std::max(width, 0) / 8);
  if (columns == 0 || height <= 0) return {};
  return {height, columns};
}
