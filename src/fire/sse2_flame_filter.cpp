#include "fire/sse2_flame_filter.h"

#include <emmintrin.h>

#include <utility>

namespace {

inline __m128i Load16(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i Load8(const std::uint8_t* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }
inline void Store16(std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline void Store8(std::uint8_t* p, __m128i v) { _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v); }

// Sum of the three neighbours x-1, x, x+1 of a row, widened to 16-bit lanes.
struct Wide {
  __m128i lo, hi;
};

inline Wide Widen(__m128i v) {
  const __m128i zero = _mm_setzero_si128();
  return {_mm_unpacklo_epi8(v, zero), _mm_unpackhi_epi8(v, zero)};
}

inline Wide Add(Wide a, Wide b) { return {_mm_add_epi16(a.lo, b.lo), _mm_add_epi16(a.hi, b.hi)}; }

inline Wide Triple(__m128i left, __m128i mid, __m128i right) { return Add(Add(Widen(left), Widen(mid)), Widen(right)); }

// Sixteen (or, with Load8/Store8, eight) cells of the upward kernel.
template <bool kFull>
inline void SpreadUpGroup(const std::uint8_t* r0, const std::uint8_t* r1, const std::uint8_t* r2,
                          const std::uint8_t* r3, std::uint8_t* out) {
  auto load = [](const std::uint8_t* p) { return kFull ? Load16(p) : Load8(p); };
  Wide sum = Add(Widen(load(r0)), Widen(load(r3)));
  sum = Add(sum, Triple(load(r1 - 1), load(r1), load(r1 + 1)));
  sum = Add(sum, Triple(load(r2 - 1), load(r2), load(r2 + 1)));
  // At most 8 * 255 = 2040, so 16-bit lanes never overflow.
  const __m128i packed = _mm_packus_epi16(_mm_srli_epi16(sum.lo, 3), _mm_srli_epi16(sum.hi, 3));
  if (kFull) {
    Store16(out, packed);
  } else {
    Store8(out, packed);
  }
}

}  // namespace

Sse2FlameFilter::Sse2FlameFilter() { PrepareSteps(); }

void Sse2FlameFilter::SpreadUp(const ByteImage& heat, std::uint8_t* other) {
  const int groups = (heat.width - 2) / 8;
  if (heat.height < 4 || groups < 1 || heat.data == nullptr || other == nullptr) return;
  const int columns = 8 * groups;
  for (int y = 0; y <= heat.height - 4; ++y) {
    const std::uint8_t* r0 = heat.Row(y) + 1;
    const std::uint8_t* r1 = heat.Row(y + 1) + 1;
    const std::uint8_t* r2 = heat.Row(y + 2) + 1;
    const std::uint8_t* r3 = heat.Row(y + 3) + 1;
    std::uint8_t* out = other + static_cast<std::ptrdiff_t>(y) * heat.pitch + 1;
    int x = 0;
    for (; x + 16 <= columns; x += 16) SpreadUpGroup<true>(r0 + x, r1 + x, r2 + x, r3 + x, out + x);
    if (x < columns) SpreadUpGroup<false>(r0 + x, r1 + x, r2 + x, r3 + x, out + x);
  }
}

void Sse2FlameFilter::Blur(ByteImage& heat, std::uint8_t*& other, std::int32_t /*unused*/) {
  if (other != nullptr && heat.pitch > 0 && heat.height > 0) {
    // The pitch is a multiple of 8, so the buffer is whole groups of eight.
    const std::size_t count = static_cast<std::size_t>(heat.pitch) * static_cast<std::size_t>(heat.height);
    __m128i temperatures[FireStyle::kAreas];
    __m128i amounts[FireStyle::kAreas];
    for (int k = 0; k < stepCount_; ++k) {
      temperatures[k] = _mm_set1_epi8(static_cast<char>(stepTemperatures_[k]));
      amounts[k] = _mm_set1_epi8(static_cast<char>(stepAmounts_[k]));
    }
    const int steps = stepCount_;
    auto attenuate = [&](__m128i v) {
      __m128i amount = _mm_setzero_si128();
      for (int k = 0; k < steps; ++k) {
        const __m128i reached = _mm_cmpeq_epi8(_mm_max_epu8(v, temperatures[k]), v);  // v >= temperature
        amount = _mm_add_epi8(amount, _mm_and_si128(reached, amounts[k]));
      }
      return _mm_subs_epu8(v, amount);
    };
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) Store16(other + i, attenuate(Load16(other + i)));
    for (; i + 8 <= count; i += 8) Store8(other + i, attenuate(Load8(other + i)));
    // A pitch that is not a multiple of 8 only comes from outside the flame.
    for (; i < count; ++i) {
      const __m128i one = _mm_cvtsi32_si128(other[i]);
      other[i] = static_cast<std::uint8_t>(_mm_cvtsi128_si32(attenuate(one)) & 0xFF);
    }
  }
  std::swap(heat.data, other);
}

void Sse2FlameFilter::SetStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]) {
  ScalarFlameFilter::SetStyle(temperatures, modes);
  PrepareSteps();
}

void Sse2FlameFilter::PrepareSteps() {
  // Keep the areas that can win a first match: each must be colder than every
  // earlier one. They come out hottest first; store them coldest first with the
  // difference to the next colder area's mode.
  std::uint8_t temps[FireStyle::kAreas];
  std::uint8_t modes[FireStyle::kAreas];
  int count = 0;
  for (int k = 0; k < FireStyle::kAreas; ++k) {
    if (count == 0 || style_.temperatures[k] < temps[count - 1]) {
      temps[count] = style_.temperatures[k];
      modes[count] = style_.modes[k];
      ++count;
    }
  }
  stepCount_ = count;
  for (int j = 0; j < count; ++j) {
    const int hottestFirst = count - 1 - j;
    const std::uint8_t colder = hottestFirst + 1 < count ? modes[hottestFirst + 1] : 0;
    stepTemperatures_[j] = temps[hottestFirst];
    stepAmounts_[j] = static_cast<std::uint8_t>(modes[hottestFirst] - colder);
  }
}
