#pragma once
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "fire/avx2_pixel_stores.h"

// How one depth's copier puts a run of palette indices on the surface and reads
// a pixel back as grey. Each store is made once per copy from the colour table
// (entries already in the surface's format) and writes whole 16-byte blocks as
// streaming stores: the surface is written once and not read back, so it need
// not pass through the cache (and a display surface is often write-combined
// memory). The pixels before the first 16-byte boundary and after the last
// block are stored singly. `avx2` hands the run to the AVX2 store of the same
// depth, which writes the same bytes.

// RGB565: eight pixels a block.
struct PixelStore16 {
  static constexpr int kBytesPerPixel = 2;
  static constexpr const char* kCopyScope = "FireImageCopyer16::CopyImageToSurface()";
  static constexpr const char* kRenderScope = "FireImageCopyer16::RenderToSurface()";

  std::uint16_t entries[256];
  std::uint32_t wideEntries[256];  // the same, zero-extended for the AVX2 store
  bool avx2;

  PixelStore16(const std::uint8_t* table, bool useAvx2) : avx2(useAvx2) {
    std::memcpy(entries, table, sizeof entries);
    for (int i = 0; i < 256; ++i) wideEntries[i] = entries[i];
  }

  void operator()(const std::uint8_t* in, std::int32_t count, std::uint8_t* out) const {
    if (avx2) {
      Avx2StorePixels16(wideEntries, in, count, out);
      return;
    }
    std::int32_t x = 0;
    for (; x < count && (reinterpret_cast<std::uintptr_t>(out) & 15) != 0; ++x, out += 2) {
      std::memcpy(out, &entries[in[x]], 2);
    }
    auto pixel = [this](std::uint64_t eight, int i) { return static_cast<short>(entries[(eight >> (8 * i)) & 0xFF]); };
    for (; x + 8 <= count; x += 8, out += 16) {
      std::uint64_t eight;
      std::memcpy(&eight, in + x, 8);
      const __m128i block = _mm_setr_epi16(pixel(eight, 0), pixel(eight, 1), pixel(eight, 2), pixel(eight, 3),
                                           pixel(eight, 4), pixel(eight, 5), pixel(eight, 6), pixel(eight, 7));
      _mm_stream_si128(reinterpret_cast<__m128i*>(out), block);
    }
    for (; x < count; ++x, out += 2) std::memcpy(out, &entries[in[x]], 2);
  }

  static std::uint8_t Grey(const std::uint8_t* pixel) {
    std::uint16_t e;
    std::memcpy(&e, pixel, 2);
    // Red and blue as 5-bit values times 8, green from bits 5..9 times 4.
    return static_cast<std::uint8_t>((((e >> 8) & 0xF8) + ((e >> 3) & 0x7C) + ((e & 0x1F) << 3)) / 3);
  }
};

// B,G,R: sixteen pixels make 48 bytes, three blocks, put together in 64-bit
// registers. Single pixels store exactly three bytes, so the byte after a row's
// last pixel is never touched.
struct PixelStore24 {
  static constexpr int kBytesPerPixel = 3;
  static constexpr const char* kCopyScope = "FireImageCopyer24::CopyImageToSurface()";
  static constexpr const char* kRenderScope = "FireImageCopyer24::RenderToSurface()";

  // The table's entries without their fourth byte, which a 24-bit pixel has no
  // room for; the AVX2 store drops it itself.
  std::uint64_t entries[256];
  std::uint32_t wholeEntries[256];
  bool avx2;

  PixelStore24(const std::uint8_t* table, bool useAvx2) : avx2(useAvx2) {
    std::memcpy(wholeEntries, table, sizeof wholeEntries);
    for (int i = 0; i < 256; ++i) entries[i] = wholeEntries[i] & 0xFFFFFFu;
  }

  void operator()(const std::uint8_t* in, std::int32_t count, std::uint8_t* out) const {
    if (avx2) {
      Avx2StorePixels24(wholeEntries, in, count, out);
      return;
    }
    std::int32_t x = 0;
    for (; x < count && (reinterpret_cast<std::uintptr_t>(out) & 15) != 0; ++x, out += 3) {
      std::memcpy(out, &entries[in[x]], 3);
    }
    for (; x + 16 <= count; x += 16, out += 48) {
      std::uint64_t eight[2];
      std::memcpy(eight, in + x, 16);
      std::uint64_t words[6];
      for (int half = 0; half < 2; ++half) {
        const std::uint64_t e = eight[half];
        auto p = [&](int i) { return entries[(e >> (8 * i)) & 0xFF]; };
        // Eight pixels of three bytes in three 64-bit words.
        words[3 * half] = p(0) | p(1) << 24 | p(2) << 48;
        words[3 * half + 1] = p(2) >> 16 | p(3) << 8 | p(4) << 32 | p(5) << 56;
        words[3 * half + 2] = p(5) >> 8 | p(6) << 16 | p(7) << 40;
      }
      for (int block = 0; block < 3; ++block) {
        const __m128i v =
            _mm_set_epi64x(static_cast<long long>(words[2 * block + 1]), static_cast<long long>(words[2 * block]));
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + 16 * block), v);
      }
    }
    for (; x < count; ++x, out += 3) std::memcpy(out, &entries[in[x]], 3);
  }

  static std::uint8_t Grey(const std::uint8_t* pixel) {
    return static_cast<std::uint8_t>((pixel[0] + pixel[1] + pixel[2]) / 3);
  }
};

// B,G,R,X: four pixels a block; indices are read eight at a time and taken
// apart in a register.
struct PixelStore32 {
  static constexpr int kBytesPerPixel = 4;
  static constexpr const char* kCopyScope = "FireImageCopyer32::CopyImageToSurface()";
  static constexpr const char* kRenderScope = "FireImageCopyer32::RenderToSurface()";

  std::uint32_t entries[256];
  bool avx2;

  PixelStore32(const std::uint8_t* table, bool useAvx2) : avx2(useAvx2) { std::memcpy(entries, table, sizeof entries); }

  void operator()(const std::uint8_t* in, std::int32_t count, std::uint8_t* out) const {
    if (avx2) {
      Avx2StorePixels32(entries, in, count, out);
      return;
    }
    std::int32_t x = 0;
    for (; x < count && (reinterpret_cast<std::uintptr_t>(out) & 15) != 0; ++x, out += 4) {
      std::memcpy(out, &entries[in[x]], 4);
    }
    auto pixel = [this](std::uint64_t eight, int i) { return static_cast<int>(entries[(eight >> (8 * i)) & 0xFF]); };
    for (; x + 8 <= count; x += 8, out += 32) {
      std::uint64_t eight;
      std::memcpy(&eight, in + x, 8);
      const __m128i low = _mm_setr_epi32(pixel(eight, 0), pixel(eight, 1), pixel(eight, 2), pixel(eight, 3));
      const __m128i high = _mm_setr_epi32(pixel(eight, 4), pixel(eight, 5), pixel(eight, 6), pixel(eight, 7));
      _mm_stream_si128(reinterpret_cast<__m128i*>(out), low);
      _mm_stream_si128(reinterpret_cast<__m128i*>(out + 16), high);
    }
    for (; x < count; ++x, out += 4) std::memcpy(out, &entries[in[x]], 4);
  }

  static std::uint8_t Grey(const std::uint8_t* pixel) { return PixelStore24::Grey(pixel); }
};
