#include "fire/avx2_pixel_stores.h"

// As in avx2_flame_step.cpp: shared headers first, then AVX2 for this file's own code only.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC push_options
#pragma GCC target("avx2")

void Avx2StorePixels32(const std::uint32_t* entries, const std::uint8_t* in, std::int32_t count, std::uint8_t* out) {
  std::int32_t x = 0;
  for (; x < count && (reinterpret_cast<std::uintptr_t>(out) & 31) != 0; ++x, out += 4) {
    __builtin_memcpy(out, &entries[in[x]], 4);
  }
  for (; x + 8 <= count; x += 8, out += 32) {
    std::uint64_t e;
    __builtin_memcpy(&e, in + x, 8);
    const __m256i block =
        _mm256_setr_epi32(static_cast<int>(entries[e & 0xFF]), static_cast<int>(entries[(e >> 8) & 0xFF]),
                          static_cast<int>(entries[(e >> 16) & 0xFF]), static_cast<int>(entries[(e >> 24) & 0xFF]),
                          static_cast<int>(entries[(e >> 32) & 0xFF]), static_cast<int>(entries[(e >> 40) & 0xFF]),
                          static_cast<int>(entries[(e >> 48) & 0xFF]), static_cast<int>(entries[e >> 56]));
    _mm256_stream_si256(reinterpret_cast<__m256i*>(out), block);
  }
  for (; x < count; ++x, out += 4) __builtin_memcpy(out, &entries[in[x]], 4);
}

namespace {

// The table entries of four indices, one to a 32-bit lane.
inline __m128i FourEntries(const std::uint32_t* entries, std::uint32_t four) {
  return _mm_setr_epi32(static_cast<int>(entries[four & 0xFF]), static_cast<int>(entries[(four >> 8) & 0xFF]),
                        static_cast<int>(entries[(four >> 16) & 0xFF]), static_cast<int>(entries[four >> 24]));
}

// The same with their fourth bytes dropped: twelve bytes, then four zeros.
inline __m128i FourPacked(const std::uint32_t* entries, std::uint32_t four) {
  const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  return _mm_shuffle_epi8(FourEntries(entries, four), pack);
}

}  // namespace

void Avx2StorePixels24(const std::uint32_t* entries, const std::uint8_t* in, std::int32_t count, std::uint8_t* out) {
  std::int32_t x = 0;
  for (; x < count && (reinterpret_cast<std::uintptr_t>(out) & 15) != 0; ++x, out += 3) {
    __builtin_memcpy(out, &entries[in[x]], 3);
  }
  for (; x + 16 <= count; x += 16, out += 48) {
    std::uint32_t sixteen[4];
    __builtin_memcpy(sixteen, in + x, 16);
    const __m128i a = FourPacked(entries, sixteen[0]);
    const __m128i b = FourPacked(entries, sixteen[1]);
    const __m128i c = FourPacked(entries, sixteen[2]);
    const __m128i d = FourPacked(entries, sixteen[3]);
    // Twelve bytes each, laid end to end over three blocks.
    _mm_stream_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(a, _mm_slli_si128(b, 12)));
    _mm_stream_si128(reinterpret_cast<__m128i*>(out + 16), _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
    _mm_stream_si128(reinterpret_cast<__m128i*>(out + 32), _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
  }
  for (; x < count; ++x, out += 3) __builtin_memcpy(out, &entries[in[x]], 3);
}

void Avx2StorePixels16(const std::uint32_t* entries, const std::uint8_t* in, std::int32_t count, std::uint8_t* out) {
  std::int32_t x = 0;
  for (; x < count && (reinterpret_cast<std::uintptr_t>(out) & 15) != 0; ++x, out += 2) {
    __builtin_memcpy(out, &entries[in[x]], 2);
  }
  for (; x + 8 <= count; x += 8, out += 16) {
    std::uint32_t eight[2];
    __builtin_memcpy(eight, in + x, 8);
    // Every entry fits 16 bits, so packing with saturation keeps it whole.
    _mm_stream_si128(reinterpret_cast<__m128i*>(out),
                     _mm_packus_epi32(FourEntries(entries, eight[0]), FourEntries(entries, eight[1])));
  }
  for (; x < count; ++x, out += 2) __builtin_memcpy(out, &entries[in[x]], 2);
}

#pragma GCC pop_options
#else
void Avx2StorePixels32(const std::uint32_t*, const std::uint8_t*, std::int32_t, std::uint8_t*) {}
void Avx2StorePixels24(const std::uint32_t*, const std::uint8_t*, std::int32_t, std::uint8_t*) {}
void Avx2StorePixels16(const std::uint32_t*, const std::uint8_t*, std::int32_t, std::uint8_t*) {}
#endif
