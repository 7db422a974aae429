#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "image/decoded_image.h"

// One file format: recognises its files by content and decodes them into the
// intermediate image. Decoders hold no state between calls.
struct ImageDecoder {
  // `start` holds the first min(256, size) bytes of a file of `size` bytes, `end`
  // its last `endLength` (at most 64) bytes.
  bool (*detect)(const std::uint8_t* start, std::size_t size, const std::uint8_t* end, std::size_t endLength);
  // The picture, or why there is none (DecodeError).
  DecodeResult (*decode)(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits);
};

// ZSoft Paintbrush files of 8 bits per pixel: one plane with a palette, or three
// planes of red, green and blue.
extern const ImageDecoder kPcxDecoder;
// Photoshop files: 8-bit RGB, raw or PackBits, composited image only.
extern const ImageDecoder kPsdDecoder;
// Truevision Targa files with the version-2 footer: colour-mapped, true-colour
// and grey-scale, raw or run-length.
extern const ImageDecoder kTgaDecoder;
// Windows bitmaps and JPEG: their headers say more (bmp_decoder.h, jpeg_decoder.h).
extern const ImageDecoder kBmpDecoder;
extern const ImageDecoder kJpegDecoder;

// Sizes the pixel buffer (zero-filled) and, for 8 bits per pixel, an all-zero
// 256-entry colour table. Nothing on success; kMalformed when a side is below 1,
// kTooLarge when a side is beyond limits.maxSide or the buffer would exceed
// limits.maxPixelBytes; the arithmetic is 64-bit throughout.
std::optional<DecodeError> AllocateImage(DecodedImage& image, std::int64_t width, std::int64_t height, int bitsPerPixel,
                                         bool topDown, const DecodeLimits& limits);

// Why a reader's data gave out: the file ended (its failure flag is set), or a
// value read fitted the file but not the picture.
class ByteReader;
DecodeError DamageOf(const ByteReader& in);

// Bytes of one DIB row of `width` pixels: padded to a multiple of 4.
constexpr std::uint64_t DibStride(std::uint64_t width, int bitsPerPixel) {
  return (static_cast<std::uint64_t>(bitsPerPixel) * width + 31) / 32 * 4;
}
