#pragma once
#include "image/image_decoder.h"

// Photoshop files: 8-bit RGB, raw or PackBits, composited image only.
class PsdDecoder : public ImageDecoder {
 public:
  bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t* end,
              std::size_t endLength) const override;
  DecodeResult Decode(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) const override;
};
