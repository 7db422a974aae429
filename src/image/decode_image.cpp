#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

#include "image/bmp_decoder.h"
#include "image/decoded_image.h"
#include "image/jpeg_decoder.h"

namespace {

constexpr std::size_t kStartLength = 256;
constexpr std::size_t kEndLength = 64;

const ImageDecoder* DecoderFor(ImageFormat format) {
  switch (format) {
    case ImageFormat::kBmp:
      return &kBmpDecoder;
    case ImageFormat::kPsd:
      return &kPsdDecoder;
    case ImageFormat::kTga:
      return &kTgaDecoder;
    case ImageFormat::kPcx:
      return &kPcxDecoder;
    case ImageFormat::kJpeg:
      return &kJpegDecoder;
    default:
      return nullptr;
  }
}

}  // namespace

ImageFormat DetectImageFormat(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size == 0) return ImageFormat::kUnknown;
  // The TGA footer is the only signature at the end, so it is tested first: a
  // Targa file may well begin with bytes that look like another format.
  static constexpr ImageFormat kOrder[] = {ImageFormat::kTga, ImageFormat::kBmp, ImageFormat::kPsd, ImageFormat::kPcx,
                                           ImageFormat::kJpeg};
  // The start window is padded with zeros so that a short file can be tested
  // without reading past it; each decoder still checks the real size.
  std::uint8_t start[kStartLength] = {};
  std::copy_n(data, std::min(size, kStartLength), start);
  const std::size_t endLength = std::min(size, kEndLength);
  const std::uint8_t* end = data + size - endLength;
  for (ImageFormat format : kOrder) {
    if (DecoderFor(format)->detect(start, size, end, endLength)) return format;
  }
  return ImageFormat::kUnknown;
}

DecodeResult DecodeImage(const std::uint8_t* data, std::size_t size, ImageFormat format, const DecodeLimits& limits) {
  if (data == nullptr || size == 0) return DecodeError::kUnreadable;
  if (format == ImageFormat::kUnknown) format = DetectImageFormat(data, size);
  const ImageDecoder* decoder = DecoderFor(format);
  if (decoder == nullptr) return DecodeError::kNotAPicture;
  try {
    return decoder->decode(data, size, limits);
  } catch (const std::bad_alloc&) {
    return DecodeError::kTooLarge;
  }
}

DecodeResult DecodeImage(const std::uint8_t* data, std::size_t size, ImageFormat format) {
  return DecodeImage(data, size, format, DecodeLimits{});
}

DecodeResult DecodeImageFile(const std::string& path) {
  // The name is in the program's narrow (ANSI) encoding, as every name it handles.
  const std::filesystem::path name(path);
  std::error_code error;
  const std::uintmax_t fileSize = std::filesystem::file_size(name, error);
  if (error || fileSize == 0) return DecodeError::kUnreadable;
  if (fileSize > DecodeLimits::kMaxFileBytes) return DecodeError::kTooLarge;
  std::ifstream file(name, std::ios::binary);
  if (!file) return DecodeError::kUnreadable;
  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(static_cast<std::size_t>(fileSize));
  } catch (const std::bad_alloc&) {
    return DecodeError::kTooLarge;
  }
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (file.gcount() != static_cast<std::streamsize>(bytes.size())) return DecodeError::kUnreadable;
  return DecodeImage(bytes.data(), bytes.size());
}

bool SystemLoaderMayTry(const std::uint8_t* data, std::size_t size, DecodeError why) {
  // A file the decoders found damaged, too large or unreadable stays refused: the
  // system would read it with fewer checks. What they leave alone as a variant is
  // passed on only when what the system reads lies inside it.
  if (why != DecodeError::kUnsupported || data == nullptr || size == 0) return false;
  switch (DetectImageFormat(data, size)) {
    case ImageFormat::kBmp:
      return SystemCanDrawBmpWithin(data, size, DecodeLimits{});
    case ImageFormat::kJpeg:
      return !CheckJpegHeaders(data, size, DecodeLimits{}).has_value();
    default:
      return false;
  }
}
