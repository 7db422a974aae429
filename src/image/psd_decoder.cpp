#include <algorithm>

#include "image/byte_reader.h"
#include "image/image_decoder.h"

namespace {

constexpr std::size_t kHeaderSize = 26;
constexpr std::uint32_t kMaxChannels = 24;
constexpr std::uint16_t kRgbMode = 3;
// Planes 0..3 (red, green, blue, alpha) go to these bytes of a B,G,R,A pixel.
constexpr int kPlaneByte[4] = {2, 1, 0, 3};
// A PackBits pair of two bytes makes at most 128.
constexpr std::uint64_t kPackBitsMaxRatio = 64;

// One plane of `count` bytes, written to every fourth byte from `out`. A packet
// that would run past the plane makes the file damaged.
bool UnpackPlane(ByteReader& in, std::uint8_t* out, std::uint64_t count) {
  std::uint64_t done = 0;
  while (done < count) {
    const std::uint8_t n = in.U8();
    if (!in.Ok()) return false;
    if (n < 128) {
      const std::uint64_t run = n + 1u;
      const std::uint8_t* literal = in.Bytes(run);
      if (literal == nullptr || run > count - done) return false;
      for (std::uint64_t i = 0; i < run; ++i) out[(done + i) * 4] = literal[i];
      done += run;
    } else if (n > 128) {
      const std::uint64_t run = 257u - n;
      const std::uint8_t value = in.U8();
      if (!in.Ok() || run > count - done) return false;
      for (std::uint64_t i = 0; i < run; ++i) out[(done + i) * 4] = value;
      done += run;
    }
  }
  return true;
}

bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t*, std::size_t) {
  return size >= kHeaderSize && std::equal(start, start + 4, "8BPS") && start[4] == 0;
}

DecodeResult Decode(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) {
  ByteReader in(data, size);
  in.Skip(4);
  const std::uint16_t version = in.U16Be();
  in.Skip(6);
  const std::uint32_t channels = in.U16Be();
  const std::uint64_t height = in.U32Be();
  const std::uint64_t width = in.U32Be();
  const std::uint16_t depth = in.U16Be();
  const std::uint16_t mode = in.U16Be();
  if (!in.Ok()) return DecodeError::kTruncated;
  if (channels > kMaxChannels) return DecodeError::kMalformed;
  // Large documents, 16-bit channels and other colour modes are variants.
  if (version != 1 || depth != 8 || mode != kRgbMode) return DecodeError::kUnsupported;
  for (int section = 0; section < 3; ++section) {  // colour-mode data, resources, layers and masks
    const std::uint32_t length = in.U32Be();
    if (!in.Skip(length)) return DecodeError::kTruncated;
  }
  const std::uint16_t compression = in.U16Be();
  if (!in.Ok()) return DecodeError::kTruncated;
  if (compression > 1) return DecodeError::kUnsupported;
  if (width < 1 || height < 1) return DecodeError::kMalformed;
  if (width > static_cast<std::uint64_t>(limits.maxSide) || height > static_cast<std::uint64_t>(limits.maxSide)) {
    return DecodeError::kTooLarge;
  }
  const std::uint64_t planeBytes = width * height;
  const std::uint32_t planes = std::min<std::uint32_t>(channels, 4);
  if (compression == 1 && !in.Skip(std::uint64_t{channels} * height * 2)) return DecodeError::kTruncated;  // row sizes
  const std::uint64_t ratio = compression == 0 ? 1 : kPackBitsMaxRatio;
  if (planes * planeBytes > in.Remaining() * ratio) return DecodeError::kTruncated;

  DecodedImage image;
  if (const auto error =
          AllocateImage(image, static_cast<std::int64_t>(width), static_cast<std::int64_t>(height), 32, true, limits)) {
    return *error;
  }
  if (channels < 4) {
    for (std::uint64_t i = 0; i < planeBytes; ++i) image.pixels[i * 4 + 3] = 255;
  }
  for (std::uint32_t plane = 0; plane < planes; ++plane) {
    std::uint8_t* out = image.pixels.data() + kPlaneByte[plane];
    if (compression == 0) {
      const std::uint8_t* src = in.Bytes(planeBytes);
      if (src == nullptr) return DecodeError::kTruncated;
      for (std::uint64_t i = 0; i < planeBytes; ++i) out[i * 4] = src[i];
    } else if (!UnpackPlane(in, out, planeBytes)) {
      return DamageOf(in);
    }
  }
  return image;
}

}  // namespace

const ImageDecoder kPsdDecoder{&Detect, &Decode};
