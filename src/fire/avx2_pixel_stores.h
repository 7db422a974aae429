#pragma once
#include <cstdint>

// Stores `count` pixels of the 32-bit table `entries` (one per index of `in`)
// from `out` on: whole 32-byte blocks as 32-byte streaming stores, the pixels
// before the first block and after the last one singly. The same bytes as the
// SSE2 walk of PixelStore32; call only when Avx2Available().
void Avx2StorePixels32(const std::uint32_t* entries, const std::uint8_t* in, std::int32_t count, std::uint8_t* out);

// The same for 24-bit pixels (each entry's first three bytes): sixteen pixels
// as three 16-byte streaming stores, the pixels before the first 16-byte
// boundary and after the last block as exactly three bytes each. The same
// bytes as the SSE2 walk of PixelStore24; call only when Avx2Available().
void Avx2StorePixels24(const std::uint32_t* entries, const std::uint8_t* in, std::int32_t count, std::uint8_t* out);

// The same for 16-bit pixels, from the entries zero-extended to 32 bits: eight
// pixels a 16-byte streaming store, single pixels before the first 16-byte
// boundary and after the last block. The same bytes as the SSE2 walk of
// PixelStore16; call only when Avx2Available().
void Avx2StorePixels16(const std::uint32_t* entries, const std::uint8_t* in, std::int32_t count, std::uint8_t* out);
