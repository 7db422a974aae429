#pragma once
#include "image/image_decoder.h"

// Windows bitmaps: 1, 4, 8, 16, 24 and 32 bits uncompressed, and 8-bit RLE.
// Bit-field masks, 4-bit runs and OS/2 headers are left to the system.
class BmpDecoder : public ImageDecoder {
 public:
  bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t* end,
              std::size_t endLength) const override;
  DecodeResult Decode(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) const override;

  // Whether everything the system's DIB drawing would read of this file (header,
  // masks, colour table, pixel data or the stated run-length data) lies inside
  // it, within the limits. Only then may a variant Decode leaves alone be handed
  // to the system.
  static bool SystemCanDrawWithin(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits);
};
