#pragma once
#include "image/image_decoder.h"

// JPEG files with a JFIF or Exif marker. The native build decodes them into B,G,R;
// the Windows build draws JPEG through the system's picture loader instead, so its
// Decode gives nothing.
class JpegDecoder : public ImageDecoder {
 public:
  bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t* end,
              std::size_t endLength) const override;
  std::optional<DecodedImage> Decode(const std::uint8_t* data, std::size_t size,
                                     const DecodeLimits& limits) const override;
};
