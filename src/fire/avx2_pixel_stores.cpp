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

#pragma GCC pop_options
#else
void Avx2StorePixels32(const std::uint32_t*, const std::uint8_t*, std::int32_t, std::uint8_t*) {}
#endif
