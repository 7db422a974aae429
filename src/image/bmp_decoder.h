#pragma once
#include "image/image_decoder.h"

// Windows bitmaps: 1, 4, 8, 16, 24 and 32 bits uncompressed, and 8-bit RLE.
class BmpDecoder : public ImageDecoder {
 public:
  bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t* end,
              std::size_t endLength) const override;
  std::optional<DecodedImage> Decode(const std::uint8_t* data, std::size_t size,
                                     const DecodeLimits& limits) const override;
};
