#include "image/jpeg_decoder.h"

std::optional<DecodedImage> JpegDecoder::Decode(const std::uint8_t*, std::size_t, const DecodeLimits&) const {
  return std::nullopt;
}
