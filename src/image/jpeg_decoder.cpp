#include "image/jpeg_decoder.h"

#include <cstring>

#include "image/byte_reader.h"

namespace {
constexpr std::size_t kMarkerOffset = 6;
constexpr std::size_t kMarkerLength = 4;

bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t*, std::size_t) {
  if (size < kMarkerOffset + kMarkerLength || start[0] != 0xFF || start[2] != 0xFF) return false;
  return std::memcmp(start + kMarkerOffset, "JFIF", kMarkerLength) == 0 ||
         std::memcmp(start + kMarkerOffset, "Exif", kMarkerLength) == 0;
}

}  // namespace

const ImageDecoder kJpegDecoder{&Detect, &DecodeJpeg};

std::optional<DecodeError> CheckJpegHeaders(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) {
  ByteReader in(data, size);
  if (in.U8() != 0xFF || in.U8() != 0xD8) return DamageOf(in);
  bool frame = false;
  while (true) {
    if (in.U8() != 0xFF) return DamageOf(in);
    std::uint8_t marker = in.U8();
    while (marker == 0xFF) marker = in.U8();  // fill bytes
    if (!in.Ok()) return DecodeError::kTruncated;
    const bool standalone = marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
    if (standalone) continue;
    if (marker == 0xD8 || marker == 0xD9) return DecodeError::kMalformed;  // a second start, or the end before a scan
    const std::uint16_t length = in.U16Be();
    if (!in.Ok()) return DecodeError::kTruncated;
    if (length < 2) return DecodeError::kMalformed;
    if (marker == 0xDA) return frame ? std::nullopt : std::optional<DecodeError>(DecodeError::kMalformed);
    const std::uint64_t next = in.Position() + length - 2;
    // Start-of-frame markers are C0 to CF but for the tables C4, C8 and CC.
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      in.U8();  // sample precision
      const std::uint64_t height = in.U16Be();
      const std::uint64_t width = in.U16Be();
      if (!in.Ok() || length < 8) return DamageOf(in);
      if (height == 0) return DecodeError::kUnsupported;  // the height comes later, in a DNL segment
      if (width == 0) return DecodeError::kMalformed;
      const auto side = static_cast<std::uint64_t>(limits.maxSide);
      if (width > side || height > side || width * height * 4 > limits.maxPixelBytes) return DecodeError::kTooLarge;
      frame = true;
    }
    if (!in.Seek(next)) return DecodeError::kTruncated;
  }
}
