#include "image/jpeg_decoder.h"

DecodeResult JpegDecoder::Decode(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) const {
  if (const auto error = CheckHeaders(data, size, limits)) return *error;
  return DecodeError::kUnsupported;  // sound headers: the system's picture loader draws it
}
