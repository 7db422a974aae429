#pragma once
#include "image/image_decoder.h"

// JPEG files with a JFIF or Exif marker. The native build decodes them into B,G,R;
// the Windows build draws JPEG through the system's picture loader instead, so its
// Decode only checks the headers and answers kUnsupported for a file the system
// may be given.
class JpegDecoder : public ImageDecoder {
 public:
  bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t* end,
              std::size_t endLength) const override;
  DecodeResult Decode(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) const override;

  // Walks the markers up to the first scan: nothing when they lie inside the data
  // and the frame's size is within the limits, else why not.
  static std::optional<DecodeError> CheckHeaders(const std::uint8_t* data, std::size_t size,
                                                 const DecodeLimits& limits);
};
