#pragma once
// The SSE2 kernels of the heat step: the upward spread on one or two rows, the
// attenuation by the style, and the walk that seeds, spreads and attenuates
// the field in one pass. Everything here has internal linkage, so that the
// translation unit built for AVX2 can include it without sharing code with the
// others.
#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

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
// three-wide sum of the middle row serves both. The upper row's cells go to
// `top`, the lower row's to `bottom`.
template <bool kFull, class Finish>
inline void SpreadUpPair(const std::uint8_t* r0, std::ptrdiff_t pitch, std::uint8_t* top, std::uint8_t* bottom,
                         const Finish& finish) {
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
  const __m128i upperCells = finish(Shift3AndPack(upper));
  const __m128i lowerCells = finish(Shift3AndPack(lower));
  if (kFull) {
    Store16(top, upperCells);
    Store16(bottom, lowerCells);
  } else {
    Store8(top, upperCells);
    Store8(bottom, lowerCells);
  }
}

// The cells [1, 1 + columns) of row y, written to `top` + 1, and with `pair`
// those of row y + 1, written to `bottom` + 1.
template <class Finish>
inline void SpreadUpRows(const ByteImage& heat, std::int32_t y, std::int32_t columns, bool pair, std::uint8_t* top,
                         std::uint8_t* bottom, const Finish& finish) {
  const std::ptrdiff_t pitch = heat.pitch;
  const std::uint8_t* r0 = heat.Row(y) + 1;
  std::int32_t x = 0;
  if (pair) {
    for (; x + 16 <= columns; x += 16) SpreadUpPair<true>(r0 + x, pitch, top + 1 + x, bottom + 1 + x, finish);
    if (x < columns) SpreadUpPair<false>(r0 + x, pitch, top + 1 + x, bottom + 1 + x, finish);
  } else {
    for (; x + 16 <= columns; x += 16) SpreadUpGroup<true>(r0 + x, pitch, top + 1 + x, finish);
    if (x < columns) SpreadUpGroup<false>(r0 + x, pitch, top + 1 + x, finish);
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

// heat[i] becomes the attenuated other[i] and other[i] the old heat[i], for
// `count` bytes: what spreading into the other buffer, attenuating it and
// swapping the two does to the cells the spread leaves alone.
template <class Attenuate>
inline void ExchangeAttenuated(std::uint8_t* heat, std::uint8_t* other, std::size_t count, const Attenuate& attenuate) {
  std::size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m128i kept = Load16(heat + i);
    Store16(heat + i, attenuate(Load16(other + i)));
    Store16(other + i, kept);
  }
  for (; i < count; ++i) {
    const std::uint8_t kept = heat[i];
    const __m128i one = _mm_cvtsi32_si128(other[i]);
    heat[i] = static_cast<std::uint8_t>(_mm_cvtsi128_si32(attenuate(one)) & 0xFF);
    other[i] = kept;
  }
}

// Seeds, spreads and attenuates in one walk over the field, two rows at a
// time, writing the spread cells back into the field itself instead of into
// the other buffer. That halves the memory the step moves, and gives the same
// field as the two-buffer step: a spread cell of row y reads rows y .. y + 3,
// so once a pair of rows is done no later pair reads them. Within a pair the
// upper row is read at its own column only, and is written in place; the lower
// row's neighbours are still to be read by the next group of columns, so its
// cells go to `scratch` (a row of at least the pitch) and are copied back
// after the pair. The cells the spread leaves alone (column 0, the columns
// past the last group, the rows below the spread region) take the other
// buffer's value attenuated, as the swap would give them, and the other buffer
// keeps theirs for the next step; the other buffer's spread cells are
// overwritten by every step before they are read, so they are not kept.
// `spreadRows(y, columns, pair, top, bottom)` writes the attenuated cells
// [1, 1 + columns) of row y to top + 1 (and of row y + 1 to bottom + 1).
template <class Attenuate, class SpreadRows>
void StepInPlace(ByteImage& heat, std::uint8_t* other, std::uint8_t* scratch, HeatSeeder* seeder,
                 const Attenuate& attenuate, const SpreadRows& spreadRows) {
  const SpreadRegion region(heat);
  const std::ptrdiff_t pitch = heat.pitch;
  const std::int32_t restStart = 1 + region.columns;
  const std::size_t rest = static_cast<std::size_t>(pitch - restStart);
  auto seedBefore = [&](std::int32_t end) {
    if (seeder != nullptr) seeder->SeedRowsBefore(heat, end);
  };
  auto finishRow = [&](std::int32_t y) {
    std::uint8_t* row = heat.Row(y);
    std::uint8_t* kept = other + y * pitch;
    ExchangeAttenuated(row, kept, 1, attenuate);
    ExchangeAttenuated(row + restStart, kept + restStart, rest, attenuate);
  };
  std::int32_t y = 0;
  for (; y + 1 <= region.lastRow; y += 2) {
    seedBefore(y + 5);
    spreadRows(y, region.columns, true, heat.Row(y), scratch);
    std::memcpy(heat.Row(y + 1) + 1, scratch + 1, static_cast<std::size_t>(region.columns));
    finishRow(y);
    finishRow(y + 1);
  }
  if (y == region.lastRow) {
    seedBefore(y + 4);
    spreadRows(y, region.columns, false, heat.Row(y), nullptr);
    finishRow(y);
    ++y;
  }
  seedBefore(heat.height);
  ExchangeAttenuated(heat.Row(y), other + y * pitch,
                     static_cast<std::size_t>(pitch) * static_cast<std::size_t>(heat.height - y), attenuate);
}

}  // namespace
