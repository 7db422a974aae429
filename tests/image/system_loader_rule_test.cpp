#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/decoded_image.h"
#include "image_test_files.h"

namespace {

namespace fs = std::filesystem;

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// A BMP with a 40-byte header: `extra` bytes of masks or colour table after it,
// then `pixelBytes` bytes of pixel data.
std::vector<std::uint8_t> Bitmap(std::int32_t width, std::int32_t height, int bitCount, std::uint32_t compression,
                                 std::size_t extra, std::size_t pixelBytes, std::uint32_t imageSize = 0) {
  std::vector<std::uint8_t> b(54 + extra + pixelBytes, 0x11);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 10, static_cast<std::uint32_t>(54 + extra));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(width));
  Put32(b, 22, static_cast<std::uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, static_cast<std::uint32_t>(bitCount));
  Put32(b, 30, compression);
  Put32(b, 34, imageSize);
  Put32(b, 46, 0);  // colours used: all
  return b;
}

// The OS/2 form: a 12-byte header with 16-bit sides.
std::vector<std::uint8_t> CoreBitmap(int width, int height, std::size_t pixelBytes) {
  std::vector<std::uint8_t> b(26 + pixelBytes, 0x22);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 10, 26);
  Put32(b, 14, 12);
  Put16(b, 18, static_cast<std::uint32_t>(width));
  Put16(b, 20, static_cast<std::uint32_t>(height));
  Put16(b, 22, 1);
  Put16(b, 24, 24);
  return b;
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t by) {
  bytes.resize(bytes.size() - by);
  return bytes;
}

struct RuleCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  std::optional<DecodeError> why;  // none: what the decoders say
  bool mayTry;
};

// Only variants the decoders leave alone, and only when all the system reads of
// them lies inside the file; never what they found damaged.
TEST(SystemLoaderRuleTest, OnlyCheckedVariantsReachTheSystem) {
  const fs::path golden = DisplayDataDir() / "golden";
  const fs::path malformed = DisplayDataDir() / "malformed";
  const RuleCase cases[] = {
      {"16-bit bit-field masks, whole", Bitmap(2, 2, 16, 3, 12, 8), std::nullopt, true},
      {"16-bit bit-field masks, last row cut", Cut(Bitmap(2, 2, 16, 3, 12, 8), 1), std::nullopt, false},
      {"bit-field masks cut off", Cut(Bitmap(2, 2, 32, 3, 12, 0), 6), std::nullopt, false},
      {"4-bit runs inside the file", Bitmap(4, 4, 4, 2, 64, 10, 10), std::nullopt, true},
      {"4-bit runs stated past the end", Bitmap(4, 4, 4, 2, 64, 10, 11), std::nullopt, false},
      {"4-bit runs of no stated size", Bitmap(4, 4, 4, 2, 64, 10, 0), std::nullopt, false},
      {"4-bit runs stored top-down", Bitmap(4, -4, 4, 2, 64, 10, 10), std::nullopt, false},
      {"bit-field masks on 8 bits", Bitmap(2, 2, 8, 3, 12 + 1024, 8), std::nullopt, false},
      {"bit-field masks wider than the limit", Bitmap(20000, 1, 16, 3, 12, 40000), std::nullopt, false},
      {"OS/2 header, whole", CoreBitmap(10, 10, 320), std::nullopt, true},
      {"OS/2 header, rows cut", Cut(CoreBitmap(10, 10, 320), 5), std::nullopt, false},
      {"plain bitmap cut short", ReadBytes(malformed / "truncated_half_bmp_t24.bmp"), std::nullopt, false},
      {"runs cut short", ReadBytes(malformed / "bmp_rle_truncated.bmp"), std::nullopt, false},
      {"header claiming gigabytes", ReadBytes(malformed / "bmp_header_only_claims_gigabytes.bmp"), std::nullopt, false},
      {"jpeg with sound headers", ReadBytes(golden / "jpeg_baseline.jpg"), DecodeError::kUnsupported, true},
      {"jpeg frame of gigabytes", ReadBytes(malformed / "jpeg_frame_claims_gigabytes.jpg"), DecodeError::kUnsupported,
       false},
      {"jpeg cut before its scan", Cut(ReadBytes(golden / "jpeg_baseline.jpg"), 120), DecodeError::kUnsupported, false},
      {"psd variant: the system reads no psd", ReadBytes(malformed / "psd_channels_25.psd"), DecodeError::kUnsupported,
       false},
      {"pcx variant", ReadBytes(malformed / "pcx_4_bits_unsupported.pcx"), std::nullopt, false},
      {"no known format", std::vector<std::uint8_t>(300, 0x5A), std::nullopt, false},
      {"empty", {}, DecodeError::kUnreadable, false},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.name);
    DecodeError why = c.why.value_or(DecodeError::kMalformed);
    if (!c.why) {
      const DecodeResult result = DecodeImage(c.bytes.data(), c.bytes.size());
      ASSERT_FALSE(result.has_value());
      why = result.error();
    }
    EXPECT_EQ(SystemLoaderMayTry(c.bytes.data(), c.bytes.size(), why), c.mayTry);
  }
}

}  // namespace
