#include "image/bmp_decoder.h"

#include <algorithm>

#include "image/byte_reader.h"

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;

struct BmpHeader {
  std::uint32_t dataOffset = 0;
  std::uint32_t infoSize = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // absolute value
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
};

// The file's own header. Headers shorter than 40 bytes (the OS/2 form) are a
// variant left to the system.
std::optional<DecodeError> ReadHeader(ByteReader& in, BmpHeader& h) {
  in.Skip(10);
  h.dataOffset = in.U32Le();
  h.infoSize = in.U32Le();
  h.width = static_cast<std::int32_t>(in.U32Le());
  const std::int64_t height = static_cast<std::int32_t>(in.U32Le());
  in.U16Le();  // planes
  h.bitCount = in.U16Le();
  h.compression = in.U32Le();
  in.Skip(12);  // image size, resolution
  h.colorsUsed = in.U32Le();
  in.U32Le();  // colours important
  if (!in.Ok()) return DecodeError::kTruncated;
  // Files written top-down store a negative height; the rows are simply in the
  // other order.
  h.topDown = height < 0;
  h.height = height < 0 ? -height : height;
  // Later header versions are longer but start with the same 40 bytes; the colour
  // table follows the header, whatever its length.
  if (h.infoSize < kInfoHeaderSize) return DecodeError::kUnsupported;
  return std::nullopt;
}

bool ReadColorTable(ByteReader& in, const BmpHeader& h, DecodedImage& image) {
  const std::uint32_t maxEntries = 1u << h.bitCount;
  const std::uint32_t entries = h.colorsUsed != 0 ? std::min(h.colorsUsed, maxEntries) : maxEntries;
  if (!in.Seek(kFileHeaderSize + h.infoSize)) return false;
  const std::uint8_t* table = in.Bytes(std::uint64_t{entries} * 4);
  if (table == nullptr) return false;
  for (std::uint32_t i = 0; i < entries; ++i) {
    std::copy_n(table + i * 4, 3, image.colorTable.begin() + i * 4);
  }
  return true;
}

// Uncompressed rows, widened where the intermediate image has no such depth:
// 1 and 4 bits become 8-bit indices, 16 bits (5-5-5) become B,G,R.
bool DecodeRaw(ByteReader& in, const BmpHeader& h, DecodedImage& image) {
  const std::uint64_t fileStride = DibStride(static_cast<std::uint64_t>(h.width), h.bitCount);
  if (!in.Seek(h.dataOffset)) return false;
  const std::uint8_t* data = in.Bytes(fileStride * static_cast<std::uint64_t>(h.height));
  if (data == nullptr) return false;
  const std::size_t width = static_cast<std::size_t>(h.width);
  for (std::size_t y = 0; y < static_cast<std::size_t>(h.height); ++y) {
    const std::uint8_t* src = data + y * fileStride;
    std::uint8_t* dst = image.pixels.data() + y * static_cast<std::size_t>(image.stride);
    switch (h.bitCount) {
      case 1:
        for (std::size_t x = 0; x < width; ++x) dst[x] = (src[x / 8] >> (7 - x % 8)) & 1;
        break;
      case 4:
        for (std::size_t x = 0; x < width; ++x) dst[x] = (src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF;
        break;
      case 16:
        for (std::size_t x = 0; x < width; ++x) {
          const unsigned v = src[2 * x] | src[2 * x + 1] << 8;
          dst[3 * x] = static_cast<std::uint8_t>((v & 0x1F) << 3);
          dst[3 * x + 1] = static_cast<std::uint8_t>(((v >> 5) & 0x1F) << 3);
          dst[3 * x + 2] = static_cast<std::uint8_t>(((v >> 10) & 0x1F) << 3);
        }
        break;
      default:  // 8, 24 and 32 bits have the intermediate layout already
        std::copy_n(src, static_cast<std::size_t>(image.stride), dst);
        break;
    }
  }
  return true;
}

// RLE8 into the zeroed buffer, rows in stored order. Runs and literals that reach
// past the row are cut at the row's end and deltas that leave the image end it, so
// no packet can write outside its row. Data that ends before the image is complete
// makes the file damaged.
bool DecodeRle8(ByteReader& in, const BmpHeader& h, DecodedImage& image) {
  if (!in.Seek(h.dataOffset)) return false;
  const std::int64_t width = h.width;
  const std::int64_t height = h.height;
  std::int64_t x = 0;
  std::int64_t y = 0;
  auto put = [&](std::uint8_t value) {
    if (x < width) image.pixels[static_cast<std::size_t>(y * image.stride + x)] = value;
    ++x;
  };
  while (y < height) {
    if (in.Remaining() < 2) return y == height - 1 && x >= width;  // last row full, end mark missing
    const std::uint8_t count = in.U8();
    const std::uint8_t value = in.U8();
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(value);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of image
        return true;
      case 2: {  // delta
        const std::uint8_t dx = in.U8();
        const std::uint8_t dy = in.U8();
        if (!in.Ok()) return false;
        x += dx;
        y += dy;
        break;
      }
      default: {  // literal run, padded to an even length
        const std::uint8_t* literal = in.Bytes(value);
        if (literal == nullptr) return false;
        for (int i = 0; i < value; ++i) put(literal[i]);
        if (value % 2 != 0 && !in.Skip(1)) return y == height - 1 && x >= width;
        break;
      }
    }
  }
  return true;
}

bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t*, std::size_t) {
  return size >= kFileHeaderSize + kInfoHeaderSize && start[0] == 'B' && start[1] == 'M';
}

DecodeResult Decode(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) {
  ByteReader in(data, size);
  BmpHeader h;
  if (const auto error = ReadHeader(in, h)) return *error;
  const bool rle = h.compression == kRle8;
  // Bit-field masks, 4-bit runs and embedded JPEG or PNG are for the system.
  if (h.compression != kRgb && !rle) return DecodeError::kUnsupported;
  if (rle && h.bitCount != 8) return DecodeError::kMalformed;
  int outBits = 0;
  switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
      outBits = 8;
      break;
    case 16:
    case 24:
      outBits = 24;
      break;
    case 32:
      outBits = 32;
      break;
    default:
      return DecodeError::kMalformed;
  }
  if (h.width < 1 || h.height < 1) return DecodeError::kMalformed;
  if (h.width > limits.maxSide || h.height > limits.maxSide) return DecodeError::kTooLarge;
  // Uncompressed pixels must all be in the file before the buffer is made for them.
  if (!rle) {
    const std::uint64_t need =
        DibStride(static_cast<std::uint64_t>(h.width), h.bitCount) * static_cast<std::uint64_t>(h.height);
    if (h.dataOffset > size || need > size - h.dataOffset) return DecodeError::kTruncated;
  } else if (h.dataOffset >= size) {
    return DecodeError::kTruncated;
  }
  DecodedImage image;
  if (const auto error = AllocateImage(image, h.width, h.height, outBits, h.topDown, limits)) return *error;
  if (outBits == 8 && !ReadColorTable(in, h, image)) return DecodeError::kTruncated;
  // Every way the pixel data can fail is running out of it.
  const bool decoded = rle ? DecodeRle8(in, h, image) : DecodeRaw(in, h, image);
  if (!decoded) return DecodeError::kTruncated;
  return image;
}

}  // namespace

const ImageDecoder kBmpDecoder{&Detect, &Decode};

bool SystemCanDrawBmpWithin(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) {
  ByteReader in(data, size);
  if (in.U8() != 'B' || in.U8() != 'M') return false;
  in.Skip(8);
  const std::uint64_t dataOffset = in.U32Le();
  const std::uint32_t infoSize = in.U32Le();
  if (!in.Ok() || dataOffset > size) return false;
  if (infoSize == kCoreHeaderSize) {
    // The OS/2 form: 16-bit sides, no compression, 3-byte colour entries.
    const std::int64_t width = in.U16Le();
    const std::int64_t height = in.U16Le();
    const std::uint16_t planes = in.U16Le();
    const int bitCount = in.U16Le();
    if (!in.Ok() || planes != 1 || width < 1 || height < 1 || width > limits.maxSide || height > limits.maxSide) {
      return false;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24) return false;
    const std::uint64_t entries = bitCount <= 8 ? (1u << bitCount) : 0;
    const std::uint64_t rows =
        DibStride(static_cast<std::uint64_t>(width), bitCount) * static_cast<std::uint64_t>(height);
    return kFileHeaderSize + kCoreHeaderSize + entries * 3 <= size && rows <= limits.maxPixelBytes &&
           rows <= size - dataOffset;
  }
  if (infoSize < kInfoHeaderSize) return false;
  const std::int64_t width = static_cast<std::int32_t>(in.U32Le());
  const std::int64_t signedHeight = static_cast<std::int32_t>(in.U32Le());
  const std::uint16_t planes = in.U16Le();
  const int bitCount = in.U16Le();
  const std::uint32_t compression = in.U32Le();
  const std::uint64_t imageSize = in.U32Le();
  in.Skip(8);  // resolution
  const std::uint32_t colorsUsed = in.U32Le();
  if (!in.Ok() || planes != 1 || kFileHeaderSize + std::uint64_t{infoSize} > size) return false;
  const std::int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
  if (width < 1 || height < 1 || width > limits.maxSide || height > limits.maxSide) return false;

  constexpr std::uint32_t kRle4 = 2;
  constexpr std::uint32_t kBitFields = 3;
  bool fits = false;
  switch (compression) {
    case kRgb:
      fits = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
      break;
    case kRle8:
      fits = bitCount == 8 && signedHeight > 0;
      break;
    case kRle4:
      fits = bitCount == 4 && signedHeight > 0;
      break;
    case kBitFields:
      fits = bitCount == 16 || bitCount == 32;
      break;
    default:
      break;
  }
  if (!fits) return false;
  // The three masks follow a 40-byte header; later headers hold them.
  const std::uint64_t masks = compression == kBitFields && infoSize == kInfoHeaderSize ? 12 : 0;
  const std::uint64_t maxEntries = bitCount <= 8 ? (1u << bitCount) : 256;
  if (colorsUsed > maxEntries) return false;
  const std::uint64_t entries = colorsUsed != 0 ? colorsUsed : (bitCount <= 8 ? maxEntries : 0);
  if (kFileHeaderSize + infoSize + masks + entries * 4 > size) return false;

  const std::uint64_t stride = DibStride(static_cast<std::uint64_t>(width), bitCount);
  if (stride * static_cast<std::uint64_t>(height) > limits.maxPixelBytes) return false;
  // Runs are read up to the stated size of the data, rows in full.
  const std::uint64_t pixelData = compression == kRle8 || compression == kRle4 ? imageSize : stride * height;
  return pixelData > 0 && pixelData <= size - dataOffset;
}
