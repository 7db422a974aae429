#pragma once
#include "image/image_decoder.h"

// Truevision Targa files with the version-2 footer: colour-mapped, true-colour
// and grey-scale, raw or run-length.
class TgaDecoder : public ImageDecoder {
 public:
  bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t* end,
              std::size_t endLength) const override;
  DecodeResult Decode(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) const override;
};
