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

inline __m128i Shift3AndPack(Wide sum) {
  // At most 8 * 255 = 2040, so 16-bit lanes never overflow.
  return _mm_packus_epi16(_mm_srli_epi16(sum.lo, 3), _mm_srli_epi16(sum.hi, 3));
}

// Sixteen (or, with kFull false, eight) cells of the upward kernel on one row.
template <bool kFull>
inline void SpreadUpGroup(const std::uint8_t* r0, const std::uint8_t* r1, const std::uint8_t* r2,
                          const std::uint8_t* r3, std::uint8_t* out) {
  auto load = [](const std::uint8_t* p) { return kFull ? Load16(p) : Load8(p); };
  Wide sum = Add(Widen(load(r0)), Widen(load(r3)));
  sum = Add(sum, Triple(load(r1 - 1), load(r1), load(r1 + 1)));
  sum = Add(sum, Triple(load(r2 - 1), load(r2), load(r2 + 1)));
  const __m128i packed = Shift3AndPack(sum);
  if (kFull) {
    Store16(out, packed);
  } else {
    Store8(out, packed);
  }
}

// The same cells on two rows at once: the rows below them overlap, so the
// three-wide sum of the middle row serves both.
template <bool kFull>
inline void SpreadUpPair(const std::uint8_t* r0, std::ptrdiff_t pitch, std::uint8_t* out) {
  auto load = [](const std::uint8_t* p) { return kFull ? Load16(p) : Load8(p); };
  const std::uint8_t* r1 = r0 + pitch;
  const std::uint8_t* r2 = r1 + pitch;
  const std::uint8_t* r3 = r2 + pitch;
  const std::uint8_t* r4 = r3 + pitch;
  const __m128i mid1 = load(r1);
  const __m128i mid3 = load(r3);
  const Wide shared = Triple(load(r2 - 1), load(r2), load(r2 + 1));
  const Wide upper = Add(Add(Widen(load(r0)), Widen(mid3)), Add(shared, Triple(load(r1 - 1), mid1, load(r1 + 1))));
  const Wide lower = Add(Add(Widen(mid1), Widen(load(r4))), Add(shared, Triple(load(r3 - 1), mid3, load(r3 + 1))));
  const __m128i top = Shift3AndPack(upper);
  const __m128i bottom = Shift3AndPack(lower);
  if (kFull) {
    Store16(out, top);
    Store16(out + pitch, bottom);
  } else {
    Store8(out, top);
    Store8(out + pitch, bottom);
  }
}

}  // namespace

Sse2FlameFilter::Sse2FlameFilter() { PrepareSteps(); }

void Sse2FlameFilter::SpreadUp(const ByteImage& heat, std::uint8_t* other) {
  const int groups = (heat.width - 2) / 8;
  if (heat.height < 4 || groups < 1 || heat.data == nullptr || other == nullptr) return;
  const int columns = 8 * groups;
  const int lastRow = heat.height - 4;
  const std::ptrdiff_t pitch = heat.pitch;
  int y = 0;
  for (; y + 1 <= lastRow; y += 2) {
    const std::uint8_t* r0 = heat.Row(y) + 1;
    std::uint8_t* out = other + y * pitch + 1;
    int x = 0;
    for (; x + 16 <= columns; x += 16) SpreadUpPair<true>(r0 + x, pitch, out + x);
    if (x < columns) SpreadUpPair<false>(r0 + x, pitch, out + x);
  }
  if (y == lastRow) {
    const std::uint8_t* r0 = heat.Row(y) + 1;
    const std::uint8_t* r1 = r0 + pitch;
    const std::uint8_t* r2 = r1 + pitch;
    const std::uint8_t* r3 = r2 + pitch;
    std::uint8_t* out = other + y * pitch + 1;
    int x = 0;
    for (; x + 16 <= columns; x += 16) SpreadUpGroup<true>(r0 + x, r1 + x, r2 + x, r3 + x, out + x);
    if (x < columns) SpreadUpGroup<false>(r0 + x, r1 + x, r2 + x, r3 + x, out + x);
  }
}

namespace {

// Attenuates `count` bytes with `kSteps` thresholds. Bytes are compared as
// signed after flipping their top bit, so "v >= t" becomes "v' > (t - 1)'".
template <int kSteps>
void Attenuate(std::uint8_t* bytes, std::size_t count, __m128i base, const std::uint8_t* thresholds,
               const std::uint8_t* amounts) {
  __m128i limit[kSteps > 0 ? kSteps : 1];
  __m128i amount[kSteps > 0 ? kSteps : 1];
  for (int k = 0; k < kSteps; ++k) {
    limit[k] = _mm_set1_epi8(static_cast<char>(thresholds[k]));
    amount[k] = _mm_set1_epi8(static_cast<char>(amounts[k]));
  }
  const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
  auto attenuate = [&](__m128i v) {
    const __m128i signedV = _mm_xor_si128(v, flip);
    __m128i total = base;
    for (int k = 0; k < kSteps; ++k) {
      total = _mm_add_epi8(total, _mm_and_si128(_mm_cmpgt_epi8(signedV, limit[k]), amount[k]));
    }
    return _mm_subs_epu8(v, total);
  };
  std::size_t i = 0;
  for (; i + 16 <= count; i += 16) Store16(bytes + i, attenuate(Load16(bytes + i)));
  for (; i + 8 <= count; i += 8) Store8(bytes + i, attenuate(Load8(bytes + i)));
  // A pitch that is not a multiple of 8 only comes from outside the flame.
  for (; i < count; ++i) {
    const __m128i one = _mm_cvtsi32_si128(bytes[i]);
    bytes[i] = static_cast<std::uint8_t>(_mm_cvtsi128_si32(attenuate(one)) & 0xFF);
  }
}

}  // namespace

void Sse2FlameFilter::Blur(ByteImage& heat, std::uint8_t*& other, std::int32_t /*unused*/) {
  if (other != nullptr && heat.pitch > 0 && heat.height > 0) {
    const std::size_t count = static_cast<std::size_t>(heat.pitch) * static_cast<std::size_t>(heat.height);
    const __m128i base = _mm_set1_epi8(static_cast<char>(baseAmount_));
    const std::uint8_t* t = stepThresholds_;
    const std::uint8_t* a = stepAmounts_;
    switch (stepCount_) {
      case 0:
        Attenuate<0>(other, count, base, t, a);
        break;
      case 1:
        Attenuate<1>(other, count, base, t, a);
        break;
      case 2:
        Attenuate<2>(other, count, base, t, a);
        break;
      case 3:
        Attenuate<3>(other, count, base, t, a);
        break;
      case 4:
        Attenuate<4>(other, count, base, t, a);
        break;
      case 5:
        Attenuate<5>(other, count, base, t, a);
        break;
      case 6:
        Attenuate<6>(other, count, base, t, a);
        break;
      case 7:
        Attenuate<7>(other, count, base, t, a);
        break;
      default:
        Attenuate<8>(other, count, base, t, a);
        break;
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
  // earlier one. The attenuation of v is then the wrapping byte sum, over the
  // kept areas at or below v, of each area's mode minus the next colder one's.
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
  baseAmount_ = 0;
  stepCount_ = 0;
  for (int j = 0; j < count; ++j) {
    const std::uint8_t colder = j + 1 < count ? modes[j + 1] : 0;
    const std::uint8_t step = static_cast<std::uint8_t>(modes[j] - colder);
    if (temps[j] == 0) {
      baseAmount_ = static_cast<std::uint8_t>(baseAmount_ + step);  // every value reaches it
    } else {
      stepThresholds_[stepCount_] = static_cast<std::uint8_t>((temps[j] - 1) ^ 0x80);
      stepAmounts_[stepCount_] = step;
      ++stepCount_;
    }
  }
}
