#include <algorithm>
#include <cstring>

#include "image/byte_reader.h"
#include "image/image_decoder.h"

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr char kSignature[] = "TRUEVISION-XFILE";
constexpr std::size_t kSignatureLength = sizeof kSignature - 1;
constexpr std::size_t kSignatureFromEnd = 18;
constexpr int kRunLengthFlag = 8;  // image types 9, 10, 11 are 1, 2, 3 run-length encoded
constexpr std::uint8_t kTopDownBit = 0x20;

bool IsPixelDepth(int depth) { return depth == 8 || depth == 16 || depth == 24 || depth == 32; }

// One file pixel into the intermediate layout: an index, or B,G,R.
void StorePixel(const std::uint8_t* src, int depth, std::uint8_t* dst) {
  switch (depth) {
    case 8:
      dst[0] = src[0];
      break;
    case 16: {
      const unsigned v = src[0] | src[1] << 8;
      dst[0] = static_cast<std::uint8_t>((v & 0x1F) << 3);
      dst[1] = static_cast<std::uint8_t>(((v >> 5) & 0x1F) << 3);
      dst[2] = static_cast<std::uint8_t>(((v >> 10) & 0x1F) << 3);
      break;
    }
    default:  // 24 and 32: B,G,R kept, a fourth byte dropped
      dst[0] = src[0];
      dst[1] = src[1];
      dst[2] = src[2];
      break;
  }
}

// Colour-map entries go to slots first, first + 1, ... and stop at slot 255, so a
// first index or length beyond the table cannot write past it.
bool ReadColorMap(const std::uint8_t* map, std::uint32_t first, std::uint32_t length, int entryBytes,
                  DecodedImage& image) {
  if (entryBytes < 2 || entryBytes > 4) return false;
  for (std::uint32_t i = 0; i < length && first + i < 256; ++i) {
    const std::uint8_t* e = map + static_cast<std::size_t>(i) * entryBytes;
    std::uint8_t* slot = image.colorTable.data() + (first + i) * 4;
    if (entryBytes == 2) {
      const unsigned v = e[0] | e[1] << 8;
      slot[0] = static_cast<std::uint8_t>((v & 0x1F) << 3);
      slot[1] = static_cast<std::uint8_t>(((v >> 5) & 0x1F) << 3);
      slot[2] = static_cast<std::uint8_t>(((v >> 10) & 0x1F) << 3);
    } else {
      std::copy_n(e, 3, slot);
    }
  }
  return true;
}

bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t* end, std::size_t endLength) {
  if (size < kHeaderSize || endLength < kSignatureFromEnd) return false;
  return std::memcmp(end + endLength - kSignatureFromEnd, kSignature, kSignatureLength) == 0 && IsPixelDepth(start[16]);
}

DecodeResult Decode(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) {
  ByteReader in(data, size);
  const std::uint8_t idLength = in.U8();
  const std::uint8_t mapType = in.U8();
  const std::uint8_t imageType = in.U8();
  const std::uint32_t mapFirst = in.U16Le();
  const std::uint32_t mapLength = in.U16Le();
  int mapEntryBits = in.U8();
  in.Skip(4);  // origin
  const std::int64_t width = in.U16Le();
  const std::int64_t height = in.U16Le();
  const int depth = in.U8();
  const std::uint8_t descriptor = in.U8();
  if (!in.Ok()) return DecodeError::kTruncated;
  if (!IsPixelDepth(depth)) return DecodeError::kUnsupported;
  if (mapEntryBits == 15) mapEntryBits = 16;
  const int mapEntryBytes = (mapEntryBits + 7) / 8;
  const int outBits = depth == 8 ? 8 : 24;

  in.Skip(idLength);
  const std::uint8_t* map = nullptr;
  if (mapType != 0) map = in.Bytes(std::uint64_t{mapLength} * mapEntryBytes);
  if (!in.Ok()) return DecodeError::kTruncated;

  const int kind = imageType & ~kRunLengthFlag;
  const bool known = kind >= 1 && kind <= 3;
  const bool rle = known && imageType >= 9;
  const std::uint64_t pixelBytes = static_cast<std::uint64_t>(depth / 8);
  const std::uint64_t pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  if (known) {
    // Raw pixels must all be present; a run-length packet of 1 + pixelBytes bytes
    // gives at most 128 pixels.
    const std::uint64_t available = in.Remaining();
    if (!rle && pixels * pixelBytes > available) return DecodeError::kTruncated;
    if (rle && pixels * (1 + pixelBytes) > available * 128) return DecodeError::kTruncated;
  }

  DecodedImage image;
  if (const auto error = AllocateImage(image, width, height, outBits, (descriptor & kTopDownBit) != 0, limits)) {
    return *error;
  }
  if (outBits == 8) {
    if (mapType != 0) {
      if (!ReadColorMap(map, mapFirst, mapLength, mapEntryBytes, image)) return DecodeError::kMalformed;
    } else {
      // Grey-scale files carry no map: give them the grey ramp they mean.
      for (int i = 0; i < 256; ++i) std::fill_n(image.colorTable.begin() + i * 4, 3, static_cast<std::uint8_t>(i));
    }
  }
  if (!known) return image;  // an image type without pixels of ours stays black

  const std::size_t outBytes = static_cast<std::size_t>(outBits / 8);
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t total = static_cast<std::size_t>(pixels);
  auto out = [&](std::size_t index) {
    return image.pixels.data() + (index / w) * static_cast<std::size_t>(image.stride) + (index % w) * outBytes;
  };
  if (!rle) {
    const std::uint8_t* src = in.Bytes(pixels * pixelBytes);
    if (src == nullptr) return DecodeError::kTruncated;
    for (std::size_t i = 0; i < total; ++i) StorePixel(src + i * pixelBytes, depth, out(i));
    return image;
  }
  // Packets run on across rows; a packet longer than what is left of the image is
  // cut at the image's end.
  std::size_t done = 0;
  while (done < total) {
    const std::uint8_t header = in.U8();
    if (!in.Ok()) return DecodeError::kTruncated;
    if (header >= 128) {
      const std::uint8_t* value = in.Bytes(pixelBytes);
      if (value == nullptr) return DecodeError::kTruncated;
      const std::size_t run = std::min<std::size_t>(header - 127u, total - done);
      for (std::size_t i = 0; i < run; ++i) StorePixel(value, depth, out(done + i));
      done += run;
    } else {
      const std::size_t count = header + 1u;
      const std::uint8_t* values = in.Bytes(count * pixelBytes);
      if (values == nullptr) return DecodeError::kTruncated;
      const std::size_t run = std::min(count, total - done);
      for (std::size_t i = 0; i < run; ++i) StorePixel(values + i * pixelBytes, depth, out(done + i));
      done += run;
    }
  }
  return image;
}

}  // namespace

const ImageDecoder kTgaDecoder{&Detect, &Decode};
