#include "image/jpeg_decoder.h"

DecodeResult DecodeJpeg(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) {
  if (const auto error = CheckJpegHeaders(data, size, limits)) return *error;
  return DecodeError::kUnsupported;  // sound headers: the system's picture loader draws it
}
