#include "fire/avx2_flame_step.h"

// Everything shared with the rest of the program is included before the code
// below is switched to AVX2, so that no inline function the other translation
// units also use is ever compiled with AVX2 instructions. What follows has
// internal linkage.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "fire/heat_seeder.h"
#include "image/byte_image.h"

bool Avx2Available() {
#if defined(__GNUC__) && !defined(__clang__)
  static const bool available = __builtin_cpu_supports("avx2");
  return available;
#else
  return false;  // only the GCC builds (native and win64) carry the AVX2 walk
#endif
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC push_options
#pragma GCC target("avx2")

#include "fire/flame_step_kernels.h"

namespace {

inline __m256i Load32(const std::uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void Store32(std::uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

struct Wide32 {
  __m256i lo, hi;
};

inline Wide32 Add32(Wide32 a, Wide32 b) { return {_mm256_add_epi16(a.lo, b.lo), _mm256_add_epi16(a.hi, b.hi)}; }

// a + b for every byte, in 16-bit lanes: the two side by side, each pair
// multiplied by one and added, which takes four instructions where widening
// both and adding takes six. Unpacking and packing both work within each
// 16-byte half, so adding such sums, shifting and packing gives the bytes
// back in their order.
inline Wide32 SumOf(__m256i a, __m256i b) {
  const __m256i ones = _mm256_set1_epi8(1);
  return {_mm256_maddubs_epi16(_mm256_unpacklo_epi8(a, b), ones),
          _mm256_maddubs_epi16(_mm256_unpackhi_epi8(a, b), ones)};
}

inline __m256i Shift3AndPack32(Wide32 sum) {
  return _mm256_packus_epi16(_mm256_srli_epi16(sum.lo, 3), _mm256_srli_epi16(sum.hi, 3));
}

// The SSE2 Attenuator's result on 32 bytes, found another way. The steps
// come hottest first, so the steps a value reaches are always the coldest
// few: counting them (a compare and a subtract each) and looking the total
// up in a table of the sums of the coldest 0 .. kSteps amounts saves an
// instruction a step.
template <int kSteps>
class Attenuator32 {
 public:
  Attenuator32(std::uint8_t baseAmount, const std::uint8_t* thresholds, const std::uint8_t* amounts) {
    std::uint8_t totals[32] = {};
    std::uint8_t total = baseAmount;
    for (int reached = 0; reached <= kSteps; ++reached) {
      if (reached > 0) total = static_cast<std::uint8_t>(total + amounts[kSteps - reached]);
      totals[reached] = total;
      totals[16 + reached] = total;  // the byte shuffle looks up within each 16-byte half
    }
    totals_ = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(totals));
    for (int k = 0; k < kSteps; ++k) limit_[k] = _mm256_set1_epi8(static_cast<char>(thresholds[k]));
  }

  __m256i operator()(__m256i v) const {
    const __m256i signedV = _mm256_xor_si256(v, _mm256_set1_epi8(static_cast<char>(0x80)));
    __m256i reached = _mm256_setzero_si256();
    for (int k = 0; k < kSteps; ++k) reached = _mm256_sub_epi8(reached, _mm256_cmpgt_epi8(signedV, limit_[k]));
    return _mm256_subs_epu8(v, _mm256_shuffle_epi8(totals_, reached));
  }

 private:
  __m256i totals_;
  __m256i limit_[kSteps > 0 ? kSteps : 1];
};

template <int kSteps>
inline void SpreadUpPair32(const std::uint8_t* r0, std::ptrdiff_t pitch, std::uint8_t* top, std::uint8_t* bottom,
                           const Attenuator32<kSteps>& finish) {
  const std::uint8_t* r1 = r0 + pitch;
  const std::uint8_t* r2 = r1 + pitch;
  const std::uint8_t* r3 = r2 + pitch;
  const std::uint8_t* r4 = r3 + pitch;
  const __m256i mid3 = Load32(r3);
  // The two rows' cells share four of their eight samples: r1 and r2 at the
  // column, and r2 at both its neighbours.
  const Wide32 shared = Add32(SumOf(Load32(r2 - 1), Load32(r2 + 1)), SumOf(Load32(r2), Load32(r1)));
  const Wide32 upper = Add32(shared, Add32(SumOf(Load32(r1 - 1), Load32(r1 + 1)), SumOf(Load32(r0), mid3)));
  const Wide32 lower = Add32(shared, Add32(SumOf(Load32(r3 - 1), Load32(r3 + 1)), SumOf(Load32(r4), mid3)));
  Store32(top, finish(Shift3AndPack32(upper)));
  Store32(bottom, finish(Shift3AndPack32(lower)));
}

template <int kSteps>
inline void SpreadUpGroup32(const std::uint8_t* r0, std::ptrdiff_t pitch, std::uint8_t* out,
                            const Attenuator32<kSteps>& finish) {
  const std::uint8_t* r1 = r0 + pitch;
  const std::uint8_t* r2 = r1 + pitch;
  const std::uint8_t* r3 = r2 + pitch;
  const Wide32 sum = Add32(Add32(SumOf(Load32(r0), Load32(r3)), SumOf(Load32(r1 - 1), Load32(r1 + 1))),
                           Add32(SumOf(Load32(r1), Load32(r2)), SumOf(Load32(r2 - 1), Load32(r2 + 1))));
  Store32(out, finish(Shift3AndPack32(sum)));
}

// Whole groups of 32 cells with AVX2, the rest of the row with the SSE2 kernels.
template <int kSteps>
class Avx2Rows {
 public:
  Avx2Rows(const ByteImage& heat, const Attenuator32<kSteps>& wide, const Attenuator<kSteps>& narrow)
      : heat_(heat), wide_(wide), narrow_(narrow) {}

  void operator()(std::int32_t y, std::int32_t columns, bool pair, std::uint8_t* top, std::uint8_t* bottom) const {
    const std::ptrdiff_t pitch = heat_.pitch;
    const std::uint8_t* r0 = heat_.Row(y) + 1;
    ++top;
    std::int32_t x = 0;
    if (pair) {
      ++bottom;
      for (; x + 32 <= columns; x += 32) SpreadUpPair32(r0 + x, pitch, top + x, bottom + x, wide_);
      for (; x + 16 <= columns; x += 16) SpreadUpPair<true>(r0 + x, pitch, top + x, bottom + x, narrow_);
      if (x < columns) SpreadUpPair<false>(r0 + x, pitch, top + x, bottom + x, narrow_);
    } else {
      for (; x + 32 <= columns; x += 32) SpreadUpGroup32(r0 + x, pitch, top + x, wide_);
      for (; x + 16 <= columns; x += 16) SpreadUpGroup<true>(r0 + x, pitch, top + x, narrow_);
      if (x < columns) SpreadUpGroup<false>(r0 + x, pitch, top + x, narrow_);
    }
  }

 private:
  const ByteImage& heat_;
  const Attenuator32<kSteps>& wide_;
  const Attenuator<kSteps>& narrow_;
};

template <int kSteps>
void Walk(ByteImage& heat, std::uint8_t* other, std::uint8_t* scratch, HeatSeeder* seeder, std::uint8_t baseAmount,
          const std::uint8_t* thresholds, const std::uint8_t* amounts) {
  const Attenuator32<kSteps> wide(baseAmount, thresholds, amounts);
  const Attenuator<kSteps> narrow(baseAmount, thresholds, amounts);
  StepInPlace(heat, other, scratch, seeder, narrow, Avx2Rows<kSteps>(heat, wide, narrow));
}

}  // namespace

void Avx2StepInPlace(ByteImage& heat, std::uint8_t* other, std::uint8_t* scratch, HeatSeeder* seeder,
                     std::uint8_t baseAmount, int stepCount, const std::uint8_t* thresholds,
                     const std::uint8_t* amounts) {
  switch (stepCount) {
    case 0:
      return Walk<0>(heat, other, scratch, seeder, baseAmount, thresholds, amounts);
    case 1:
      return Walk<1>(heat, other, scratch, seeder, baseAmount, thresholds, amounts);
    case 2:
      return Walk<2>(heat, other, scratch, seeder, baseAmount, thresholds, amounts);
    case 3:
      return Walk<3>(heat, other, scratch, seeder, baseAmount, thresholds, amounts);
    case 4:
      return Walk<4>(heat, other, scratch, seeder, baseAmount, thresholds, amounts);
    case 5:
      return Walk<5>(heat, other, scratch, seeder, baseAmount, thresholds, amounts);
    case 6:
      return Walk<6>(heat, other, scratch, seeder, baseAmount, thresholds, amounts);
    case 7:
      return Walk<7>(heat, other, scratch, seeder, baseAmount, thresholds, amounts);
    default:
      return Walk<8>(heat, other, scratch, seeder, baseAmount, thresholds, amounts);
  }
}

void Avx2MergeBrighter(std::uint8_t* heat, const std::uint8_t* lit, std::int32_t count) {
  std::int32_t i = 0;
  for (; i + 32 <= count; i += 32) Store32(heat + i, _mm256_max_epu8(Load32(heat + i), Load32(lit + i)));
  for (; i + 8 <= count; i += 8) {
    __m128i* target = reinterpret_cast<__m128i*>(heat + i);
    _mm_storel_epi64(target,
                     _mm_max_epu8(_mm_loadl_epi64(target), _mm_loadl_epi64(reinterpret_cast<const __m128i*>(lit + i))));
  }
}

#pragma GCC pop_options
#else
void Avx2StepInPlace(ByteImage&, std::uint8_t*, std::uint8_t*, HeatSeeder*, std::uint8_t, int, const std::uint8_t*,
                     const std::uint8_t*) {}
void Avx2MergeBrighter(std::uint8_t*, const std::uint8_t*, std::int32_t) {}
#endif
