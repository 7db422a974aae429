#include <algorithm>
#include <new>
#include <vector>

#include "image/byte_reader.h"
#include "image/image_decoder.h"

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::uint8_t kPaletteMarker = 12;
constexpr std::size_t kPaletteSize = 768;
constexpr std::uint8_t kRunFlag = 0xC0;
// Two bytes give at most 63 output bytes.
constexpr std::uint64_t kRunMaxRatio = 32;

// Exactly line.size() bytes of one plane; a run that crosses the line's end, or
// data that ends first, makes the file damaged.
bool DecodeLine(ByteReader& in, std::vector<std::uint8_t>& line) {
  std::size_t done = 0;
  while (done < line.size()) {
    std::uint8_t value = in.U8();
    std::size_t count = 1;
    if ((value & kRunFlag) == kRunFlag) {
      count = value & 0x3F;
      value = in.U8();
    }
    if (!in.Ok() || count > line.size() - done) return false;
    for (std::size_t i = 0; i < count; ++i) line[done + i] = value;
    done += count;
  }
  return true;
}

bool Detect(const std::uint8_t* start, std::size_t size, const std::uint8_t*, std::size_t) {
  return size >= kHeaderSize && start[0] == 10 && start[1] == 5 && start[2] == 1;
}

DecodeResult Decode(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits) {
  ByteReader in(data, size);
  in.Skip(3);
  const int bitsPerPixel = in.U8();
  const std::int64_t xMin = in.U16Le();
  const std::int64_t yMin = in.U16Le();
  const std::int64_t xMax = in.U16Le();
  const std::int64_t yMax = in.U16Le();
  in.Seek(65);
  const int planes = in.U8();
  const std::uint64_t bytesPerLine = in.U16Le();
  if (!in.Seek(kHeaderSize)) return DecodeError::kTruncated;
  const std::int64_t width = xMax - xMin + 1;
  const std::int64_t height = yMax - yMin + 1;
  if (bitsPerPixel != 8 || (planes != 1 && planes != 3)) return DecodeError::kUnsupported;
  // A line shorter than the row would leave pixels with nothing to come from.
  if (width < 1 || height < 1 || bytesPerLine < static_cast<std::uint64_t>(width)) return DecodeError::kMalformed;
  if (bytesPerLine * planes * static_cast<std::uint64_t>(height) > in.Remaining() * kRunMaxRatio) {
    return DecodeError::kTruncated;
  }

  DecodedImage image;
  if (const auto error = AllocateImage(image, width, height, planes == 1 ? 8 : 24, true, limits)) return *error;
  std::vector<std::uint8_t> line[3];
  try {
    for (int p = 0; p < planes; ++p) line[p].resize(bytesPerLine);
  } catch (const std::bad_alloc&) {
    return DecodeError::kTooLarge;
  }
  const std::size_t w = static_cast<std::size_t>(width);
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
    for (int p = 0; p < planes; ++p) {
      if (!DecodeLine(in, line[p])) return DamageOf(in);
    }
    std::uint8_t* row = image.pixels.data() + y * static_cast<std::size_t>(image.stride);
    if (planes == 1) {
      std::copy_n(line[0].begin(), w, row);
    } else {
      for (std::size_t x = 0; x < w; ++x) {
        row[3 * x] = line[2][x];
        row[3 * x + 1] = line[1][x];
        row[3 * x + 2] = line[0][x];
      }
    }
  }
  // The palette is found from the end of the file, wherever the pixel data ended.
  if (planes == 1 && size >= kPaletteSize + 1 && in.Seek(size - kPaletteSize - 1) && in.U8() == kPaletteMarker) {
    const std::uint8_t* palette = in.Bytes(kPaletteSize);
    for (std::size_t i = 0; palette != nullptr && i < 256; ++i) {
      image.colorTable[i * 4] = palette[i * 3 + 2];
      image.colorTable[i * 4 + 1] = palette[i * 3 + 1];
      image.colorTable[i * 4 + 2] = palette[i * 3];
    }
  }
  return image;
}

}  // namespace

const ImageDecoder kPcxDecoder{&Detect, &Decode};
