#pragma once
#include "image/image_decoder.h"

// ZSoft Paintbrush files of 8 bits per pixel: one plane with a palette, or three
// planes of red, green and blue.
class PcxDecoder : public ImageDecoder {
 public:
  bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t* end,
              std::size_t endLength) const override;
  DecodeResult Decode(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) const override;
};
