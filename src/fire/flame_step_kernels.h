#pragma once
// The SSE2 kernels of the heat step: the upward spread on one or two rows, the
// attenuation by the style, and the walk that seeds, spreads and attenuates
// the field in one pass. Everything here has internal linkage, so that the
// translation unit built for AVX2 can include it without sharing code with the
// others.
#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#include "fire/heat_seeder.h"
#include "image/byte_image.h"

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

// Leaves a spread value as it is: the plain SpreadUp.
struct Unchanged {
  __m128i operator()(__m128i v) const { return v; }
};

// The style as `kSteps` thresholds and amounts, applied to sixteen bytes at
// once. Bytes are compared as signed after flipping their top bit, so
// "v >= t" becomes "v' > (t - 1)'".
template <int kSteps>
class Attenuator {
 public:
  Attenuator(std::uint8_t baseAmount, const std::uint8_t* thresholds, const std::uint8_t* amounts)
      : base_(_mm_set1_epi8(static_cast<char>(baseAmount))) {
    for (int k = 0; k < kSteps; ++k) {
      limit_[k] = _mm_set1_epi8(static_cast<char>(thresholds[k]));
      amount_[k] = _mm_set1_epi8(static_cast<char>(amounts[k]));
    }
  }

  __m128i operator()(__m128i v) const {
    const __m128i signedV = _mm_xor_si128(v, _mm_set1_epi8(static_cast<char>(0x80)));
    __m128i total = base_;
    for (int k = 0; k < kSteps; ++k) {
      total = _mm_add_epi8(total, _mm_and_si128(_mm_cmpgt_epi8(signedV, limit_[k]), amount_[k]));
    }
    return _mm_subs_epu8(v, total);
  }

  // Attenuates `count` bytes in place.
  void Apply(std::uint8_t* bytes, std::size_t count) const {
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) Store16(bytes + i, (*this)(Load16(bytes + i)));
    for (; i + 8 <= count; i += 8) Store8(bytes + i, (*this)(Load8(bytes + i)));
    // Only the ends of rows, and pitches that are not a multiple of 8 (which
    // only come from outside the flame), leave single bytes.
    for (; i < count; ++i) {
      const __m128i one = _mm_cvtsi32_si128(bytes[i]);
      bytes[i] = static_cast<std::uint8_t>(_mm_cvtsi128_si32((*this)(one)) & 0xFF);
    }
  }

 private:
  __m128i base_;
  __m128i limit_[kSteps > 0 ? kSteps : 1];
  __m128i amount_[kSteps > 0 ? kSteps : 1];
};

// Sixteen (or, with kFull false, eight) cells of the upward kernel on one row.
template <bool kFull, class Finish>
inline void SpreadUpGroup(const std::uint8_t* r0, std::ptrdiff_t pitch, std::uint8_t* out, const Finish& finish) {
  auto load = [](const std::uint8_t* p) { return kFull ? Load16(p) : Load8(p); };
  const std::uint8_t* r1 = r0 + pitch;
  const std::uint8_t* r2 = r1 + pitch;
  const std::uint8_t* r3 = r2 + pitch;
  Wide sum = Add(Widen(load(r0)), Widen(load(r3)));
  sum = Add(sum, Triple(load(r1 - 1), load(r1), load(r1 + 1)));
  sum = Add(sum, Triple(load(r2 - 1), load(r2), load(r2 + 1)));
  const __m128i packed = finish(Shift3AndPack(sum));
  if (kFull) {
    Store16(out, packed);
  } else {
    Store8(out, packed);
  }
}

// The same cells on two rows at once: the rows below them overlap, so the
// three-wide sum of the middle row serves both.
template <bool kFull, class Finish>
inline void SpreadUpPair(const std::uint8_t* r0, std::ptrdiff_t pitch, std::uint8_t* out, const Finish& finish) {
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
  const __m128i top = finish(Shift3AndPack(upper));
  const __m128i bottom = finish(Shift3AndPack(lower));
  if (kFull) {
    Store16(out, top);
    Store16(out + pitch, bottom);
  } else {
    Store8(out, top);
    Store8(out + pitch, bottom);
  }
}

// The cells [1, 1 + columns) of rows y and y + 1 (or of row y alone).
template <class Finish>
inline void SpreadUpRows(const ByteImage& heat, std::uint8_t* other, std::int32_t y, std::int32_t columns, bool pair,
                         const Finish& finish) {
  const std::ptrdiff_t pitch = heat.pitch;
  const std::uint8_t* r0 = heat.Row(y) + 1;
  std::uint8_t* out = other + y * pitch + 1;
  std::int32_t x = 0;
  if (pair) {
    for (; x + 16 <= columns; x += 16) SpreadUpPair<true>(r0 + x, pitch, out + x, finish);
    if (x < columns) SpreadUpPair<false>(r0 + x, pitch, out + x, finish);
  } else {
    for (; x + 16 <= columns; x += 16) SpreadUpGroup<true>(r0 + x, pitch, out + x, finish);
    if (x < columns) SpreadUpGroup<false>(r0 + x, pitch, out + x, finish);
  }
}

// Rows 0 .. height - 4, columns 1 .. 8 * ((width - 2) / 8); none when the
// field is lower than 4 rows or narrower than 10 columns.
struct SpreadRegion {
  explicit SpreadRegion(const ByteImage& heat) {
    const std::int32_t groups = (heat.width - 2) / 8;
    columns = heat.height >= 4 && groups >= 1 ? 8 * groups : 0;
    lastRow = columns > 0 ? heat.height - 4 : -1;
  }
  std::int32_t columns;
  std::int32_t lastRow;
};

// Seeds, spreads and attenuates in one walk, two rows at a time. A pair of
// output rows reads five heat rows: those are seeded first. The bytes of a
// spread row that the kernel does not write (column 0 and the columns past its
// last group) and the rows below the spread region are attenuated in place.
// `spreadRows(y, columns, pair)` writes the attenuated cells [1, 1 + columns)
// of row y (and y + 1 when `pair`).
template <class Attenuate, class SpreadRows>
void StepInOneWalk(ByteImage& heat, std::uint8_t* other, HeatSeeder* seeder, const Attenuate& attenuate,
                   const SpreadRows& spreadRows) {
  const SpreadRegion region(heat);
  const std::ptrdiff_t pitch = heat.pitch;
  const std::int32_t restStart = 1 + region.columns;
  const std::size_t rest = static_cast<std::size_t>(pitch - restStart);
  auto seedBefore = [&](std::int32_t end) {
    if (seeder != nullptr) seeder->SeedRowsBefore(heat, end);
  };
  auto finishRow = [&](std::int32_t y) {
    std::uint8_t* row = other + y * pitch;
    attenuate.Apply(row, 1);
    attenuate.Apply(row + restStart, rest);
  };
  std::int32_t y = 0;
  for (; y + 1 <= region.lastRow; y += 2) {
    seedBefore(y + 5);
    spreadRows(y, region.columns, true);
    finishRow(y);
    finishRow(y + 1);
  }
  if (y == region.lastRow) {
    seedBefore(y + 4);
    spreadRows(y, region.columns, false);
    finishRow(y);
    ++y;
  }
  seedBefore(heat.height);
  attenuate.Apply(other + y * pitch, static_cast<std::size_t>(pitch) * static_cast<std::size_t>(heat.height - y));
}

}  // namespace
