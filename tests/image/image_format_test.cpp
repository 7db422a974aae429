#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "image/byte_reader.h"
#include "image/decoded_image.h"

namespace {

std::vector<std::uint8_t> Bytes(std::size_t size, std::initializer_list<std::pair<std::size_t, const char*>> parts) {
  std::vector<std::uint8_t> bytes(size, 0);
  for (const auto& [at, text] : parts) std::memcpy(bytes.data() + at, text, std::strlen(text));
  return bytes;
}

// A Targa footer 18 bytes before the end, with the header's pixel depth.
std::vector<std::uint8_t> WithTgaFooter(std::vector<std::uint8_t> bytes, std::uint8_t depth) {
  bytes[16] = depth;
  std::memcpy(bytes.data() + bytes.size() - 18, "TRUEVISION-XFILE", 16);
  return bytes;
}

struct Detection {
  const char* name;
  std::vector<std::uint8_t> bytes;
  ImageFormat want;
};

TEST(DetectImageFormatTest, TestsInOrderAndTheFirstThatHoldsWins) {
  const std::vector<std::uint8_t> bmp = Bytes(54, {{0, "BM"}});
  const std::vector<std::uint8_t> jfif = Bytes(20, {{0, "\xFF\xD8\xFF\xE0"}, {6, "JFIF"}});
  const Detection cases[] = {
      {"bmp", bmp, ImageFormat::kBmp},
      {"bmp shorter than its headers", Bytes(53, {{0, "BM"}}), ImageFormat::kUnknown},
      {"psd", Bytes(26, {{0, "8BPS"}}), ImageFormat::kPsd},
      {"psd signature without the zero byte", Bytes(26, {{0, "8BPS\x01"}}), ImageFormat::kUnknown},
      {"pcx", Bytes(128, {{0, "\x0A\x05\x01"}}), ImageFormat::kPcx},
      {"pcx version 3", Bytes(128, {{0, "\x0A\x03\x01"}}), ImageFormat::kUnknown},
      {"jpeg jfif", jfif, ImageFormat::kJpeg},
      {"jpeg exif", Bytes(20, {{0, "\xFF\xD8\xFF\xE1"}, {6, "Exif"}}), ImageFormat::kJpeg},
      {"jpeg without jfif or exif", Bytes(20, {{0, "\xFF\xD8\xFF\xEE"}, {6, "Adob"}}), ImageFormat::kUnknown},
      {"tga", WithTgaFooter(std::vector<std::uint8_t>(60, 0), 24), ImageFormat::kTga},
      {"tga footer wins over a bmp start", WithTgaFooter(Bytes(100, {{0, "BM"}}), 8), ImageFormat::kTga},
      {"tga footer with depth 15", WithTgaFooter(std::vector<std::uint8_t>(60, 0), 15), ImageFormat::kUnknown},
      {"tga footer not 18 bytes from the end",
       [] {
         std::vector<std::uint8_t> b = WithTgaFooter(std::vector<std::uint8_t>(60, 0), 24);
         b.push_back(0);
         return b;
       }(),
       ImageFormat::kUnknown},
      {"tga without footer", Bytes(60, {{2, "\x02"}, {16, "\x18"}}), ImageFormat::kUnknown},
      {"empty", {}, ImageFormat::kUnknown},
      {"one byte", {'B'}, ImageFormat::kUnknown},
  };
  for (const Detection& c : cases) {
    EXPECT_EQ(DetectImageFormat(c.bytes.data(), c.bytes.size()), c.want) << c.name;
  }
}

TEST(ByteReaderTest, AReadPastTheEndFailsForGoodAndMovesNothing) {
  const std::uint8_t data[] = {0x01, 0x02, 0x03, 0x04, 0x05};
  ByteReader in(data, sizeof data);
  EXPECT_EQ(in.U16Le(), 0x0201);
  EXPECT_EQ(in.U16Be(), 0x0304);
  EXPECT_EQ(in.U32Le(), 0u);  // only one byte left
  EXPECT_FALSE(in.Ok());
  EXPECT_EQ(in.Position(), 4u);
  EXPECT_EQ(in.U8(), 0);  // failed readers stay failed
  EXPECT_EQ(in.Bytes(0), nullptr);

  ByteReader far(data, sizeof data);
  EXPECT_FALSE(far.Skip(~std::uint64_t{0}));  // no wrap-around of the position
  ByteReader seek(data, sizeof data);
  EXPECT_TRUE(seek.Seek(5));
  EXPECT_EQ(seek.Remaining(), 0u);
  EXPECT_FALSE(seek.Seek(6));
}

// An 8-bit Targa of a type that carries no pixels: all header, so only the limits decide.
std::vector<std::uint8_t> EmptyTga(std::uint16_t width, std::uint16_t height, std::uint8_t depth) {
  std::vector<std::uint8_t> tga(18 + 26, 0);
  tga[12] = static_cast<std::uint8_t>(width);
  tga[13] = static_cast<std::uint8_t>(width >> 8);
  tga[14] = static_cast<std::uint8_t>(height);
  tga[15] = static_cast<std::uint8_t>(height >> 8);
  tga[16] = depth;
  std::memcpy(tga.data() + tga.size() - 18, "TRUEVISION-XFILE", 16);
  return tga;
}

TEST(DecodeLimitsTest, SidesAndPixelBytesAreBoundedBeforeAllocating) {
  DecodeLimits small;
  small.maxPixelBytes = 4096;
  struct Case {
    std::uint16_t width, height;
    std::uint8_t depth;
    const DecodeLimits& limits;
    bool picture;
  };
  const DecodeLimits defaults;
  // clang-format off
  const Case cases[] = {
      {16384, 1, 8, defaults, true},
      {16385, 1, 8, defaults, false},
      {1, 16385, 8, defaults, false},
      {64, 64, 8, small, true},     // 4096 bytes exactly
      {65, 64, 8, small, false},    // rows padded to 68 bytes
      {21, 64, 24, small, true},    // 63 bytes padded to 64: exactly 4096
      {22, 64, 24, small, false},   // 66 bytes padded to 68
      {0, 10, 8, defaults, false},  // no pixels at all
  };
  // clang-format on
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> tga = EmptyTga(c.width, c.height, c.depth);
    const DecodeResult image = DecodeImage(tga.data(), tga.size(), ImageFormat::kUnknown, c.limits);
    EXPECT_EQ(image.has_value(), c.picture) << c.width << "x" << c.height << "x" << int{c.depth};
  }
}

TEST(DecodeImageFileTest, MissingOrEmptyFilesGiveNothing) {
  EXPECT_FALSE(DecodeImageFile("no such file.bmp").has_value());
  EXPECT_FALSE(DecodeImage(nullptr, 10).has_value());
}

// Grey-scale Targa files carry no colour map: they get a grey ramp.
TEST(TgaGreyTest, IndicesWithoutAMapAreGreys) {
  std::vector<std::uint8_t> tga = EmptyTga(2, 1, 8);
  tga[2] = 3;  // grey, uncompressed
  const std::uint8_t pixels[] = {0x00, 0xC8};
  tga.insert(tga.begin() + 18, std::begin(pixels), std::end(pixels));
  const DecodeResult image = DecodeImage(tga.data(), tga.size());
  ASSERT_TRUE(image.has_value());
  std::uint8_t bgr[3];
  image->PixelBgr(1, 0, bgr);
  EXPECT_EQ(bgr[0], 0xC8);
  EXPECT_EQ(bgr[1], 0xC8);
  EXPECT_EQ(bgr[2], 0xC8);
}

}  // namespace
