#include "image/jpeg_decoder.h"

#include <cstring>

namespace {
constexpr std::size_t kMarkerOffset = 6;
constexpr std::size_t kMarkerLength = 4;
}  // namespace

bool JpegDecoder::Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t*, std::size_t) const {
  if (size < kMarkerOffset + kMarkerLength || start[0] != 0xFF || start[2] != 0xFF) return false;
  return std::memcmp(start + kMarkerOffset, "JFIF", kMarkerLength) == 0 ||
         std::memcmp(start + kMarkerOffset, "Exif", kMarkerLength) == 0;
}
