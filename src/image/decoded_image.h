#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The intermediate image a decoder produces, laid out as a device-independent
// bitmap: 8 bits per pixel with a colour table, 24 bits as B,G,R, or 32 bits as
// B,G,R,A; each row padded to a multiple of 4 bytes.
struct DecodedImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  int bitsPerPixel = 0;     // 8, 24 or 32
  bool topDown = false;     // rows stored top row first
  std::int32_t stride = 0;  // bytes per row, a multiple of 4
  std::vector<std::uint8_t> pixels;
  std::vector<std::uint8_t> colorTable;  // 8 bits: 256 entries of B,G,R,0

  // Colour of pixel (x, y) counted from the top row, as B,G,R.
  void PixelBgr(std::int32_t x, std::int32_t y, std::uint8_t bgr[3]) const;
};

// Why a file gave no picture. The kinds are what the user can act on; the
// Windows loader also decides by them whether the system may try the file.
enum class DecodeError {
  kUnreadable,   // the file cannot be opened or read whole
  kNotAPicture,  // content of no format the program knows
  kUnsupported,  // a known format in a variant the decoders leave alone
  kTruncated,    // the data ends before the picture does
  kMalformed,    // header values or packets that do not fit together
  kTooLarge,     // larger than the decode limits allow
};

// A decoded picture, or the reason there is none. Reads like an optional.
class DecodeResult {
 public:
  DecodeResult(DecodedImage image) : image_(std::move(image)) {}  // NOLINT(google-explicit-constructor)
  DecodeResult(DecodeError error) : error_(error) {}              // NOLINT(google-explicit-constructor)

  bool has_value() const { return image_.has_value(); }
  explicit operator bool() const { return has_value(); }
  const DecodedImage& operator*() const { return *image_; }
  DecodedImage& operator*() { return *image_; }
  const DecodedImage* operator->() const { return &*image_; }
  DecodedImage* operator->() { return &*image_; }

  // Meaningful only when there is no picture.
  DecodeError error() const { return error_; }

 private:
  std::optional<DecodedImage> image_;
  DecodeError error_ = DecodeError::kMalformed;
};

// The reason in words for the log, e.g. "cut short: the file ends at byte 70".
std::string DescribeDecodeError(DecodeError error, std::uint64_t fileSize);

// Bounds on what a decoder may allocate for one picture. Every file is treated as
// hostile: a header may claim any size, so the claim is checked against these and
// against the bytes the file actually holds before anything is allocated.
struct DecodeLimits {
  static constexpr std::int32_t kMaxSide = 16384;
  static constexpr std::uint64_t kMaxPixelBytes = 256ull << 20;
  static constexpr std::uint64_t kMaxFileBytes = 512ull << 20;

  std::int32_t maxSide = kMaxSide;               // pixels on either side
  std::uint64_t maxPixelBytes = kMaxPixelBytes;  // the intermediate image's pixel buffer
};

// Format numbers of the loaders.
enum class ImageFormat : int { kUnknown = 0, kBmp = 1, kPsd = 2, kTga = 3, kPcx = 4, kJpeg = 5 };

ImageFormat DetectImageFormat(const std::uint8_t* data, std::size_t size);

// Decodes a whole file held in memory; the reason instead when the data is not a
// picture of a supported kind or is damaged. JPEG is decoded only where the platform decoder
// exists in the core (the native build); the Windows build draws JPEG through OLE.
// Unrecognised content gives kNotAPicture; writing the "unsupported" message is the
// caller's, who knows whether it will try another loader.
DecodeResult DecodeImage(const std::uint8_t* data, std::size_t size, ImageFormat format = ImageFormat::kUnknown);
DecodeResult DecodeImage(const std::uint8_t* data, std::size_t size, ImageFormat format, const DecodeLimits& limits);
// Whether a file the decoders gave `why` for may be handed to a system loader
// (the Windows DIB drawing for a BMP, the OLE picture loader for a JPEG). Only
// variants the decoders leave alone, and only when everything the system would
// read lies inside the data; never a file they found damaged.
bool SystemLoaderMayTry(const std::uint8_t* data, std::size_t size, DecodeError why);

// Reads the whole file (shared read) first; a file that cannot be read whole, or is
// larger than DecodeLimits::kMaxFileBytes, gives nothing.
DecodeResult DecodeImageFile(const std::string& path);
