#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/decoded_image.h"
#include "image_test_files.h"

namespace {

enum class Match {
  kExact,
  kFiveBits,  // 16-bit colours: the reference widens 5 bits differently, the top 5 must agree
  kJpeg,      // two decoders of one file may differ by rounding
  kBlack,
};
enum class Alpha { kNone, kOpaque, kFromReference };

struct Golden {
  const char* file;
  ImageFormat format;
  int bitsPerPixel;
  bool topDown;
  Match match;
  Alpha alpha;
};

constexpr int kJpegTolerance = 3;

const Golden kGolden[] = {
    {"bmp_p1.bmp", ImageFormat::kBmp, 8, false, Match::kExact, Alpha::kNone},
    {"bmp_p4.bmp", ImageFormat::kBmp, 8, false, Match::kExact, Alpha::kNone},
    {"bmp_p8.bmp", ImageFormat::kBmp, 8, false, Match::kExact, Alpha::kNone},
    {"bmp_rle8.bmp", ImageFormat::kBmp, 8, false, Match::kExact, Alpha::kNone},
    {"bmp_t24.bmp", ImageFormat::kBmp, 24, false, Match::kExact, Alpha::kNone},
    {"bmp_t24_topdown.bmp", ImageFormat::kBmp, 24, true, Match::kExact, Alpha::kNone},
    {"tga_p8.tga", ImageFormat::kTga, 8, false, Match::kExact, Alpha::kNone},
    {"tga_p8_topdown.tga", ImageFormat::kTga, 8, true, Match::kExact, Alpha::kNone},
    {"tga_p8_rle.tga", ImageFormat::kTga, 8, false, Match::kExact, Alpha::kNone},
    {"tga_p8_rle_topdown.tga", ImageFormat::kTga, 8, true, Match::kExact, Alpha::kNone},
    {"tga_g8.tga", ImageFormat::kTga, 8, false, Match::kExact, Alpha::kNone},
    {"tga_g8_topdown.tga", ImageFormat::kTga, 8, true, Match::kExact, Alpha::kNone},
    {"tga_g8_rle.tga", ImageFormat::kTga, 8, false, Match::kExact, Alpha::kNone},
    {"tga_g8_rle_topdown.tga", ImageFormat::kTga, 8, true, Match::kExact, Alpha::kNone},
    {"tga_t16.tga", ImageFormat::kTga, 24, false, Match::kFiveBits, Alpha::kNone},
    {"tga_t16_topdown.tga", ImageFormat::kTga, 24, true, Match::kFiveBits, Alpha::kNone},
    {"tga_t16_rle.tga", ImageFormat::kTga, 24, false, Match::kFiveBits, Alpha::kNone},
    {"tga_t16_rle_topdown.tga", ImageFormat::kTga, 24, true, Match::kFiveBits, Alpha::kNone},
    {"tga_t24.tga", ImageFormat::kTga, 24, false, Match::kExact, Alpha::kNone},
    {"tga_t24_topdown.tga", ImageFormat::kTga, 24, true, Match::kExact, Alpha::kNone},
    {"tga_t24_rle.tga", ImageFormat::kTga, 24, false, Match::kExact, Alpha::kNone},
    {"tga_t24_rle_topdown.tga", ImageFormat::kTga, 24, true, Match::kExact, Alpha::kNone},
    {"tga_t24_width3.tga", ImageFormat::kTga, 24, false, Match::kExact, Alpha::kNone},
    {"tga_t32.tga", ImageFormat::kTga, 24, false, Match::kExact, Alpha::kNone},
    {"tga_t32_topdown.tga", ImageFormat::kTga, 24, true, Match::kExact, Alpha::kNone},
    {"tga_t32_rle.tga", ImageFormat::kTga, 24, false, Match::kExact, Alpha::kNone},
    {"tga_t32_rle_topdown.tga", ImageFormat::kTga, 24, true, Match::kExact, Alpha::kNone},
    {"pcx_p8.pcx", ImageFormat::kPcx, 8, true, Match::kExact, Alpha::kNone},
    {"pcx_t24.pcx", ImageFormat::kPcx, 24, true, Match::kExact, Alpha::kNone},
    {"pcx_p8_nopalette.pcx", ImageFormat::kPcx, 8, true, Match::kBlack, Alpha::kNone},
    {"psd_rgb.psd", ImageFormat::kPsd, 32, true, Match::kExact, Alpha::kOpaque},
    {"psd_rgb_rle.psd", ImageFormat::kPsd, 32, true, Match::kExact, Alpha::kOpaque},
    {"psd_rgba.psd", ImageFormat::kPsd, 32, true, Match::kExact, Alpha::kFromReference},
    {"psd_rgba_rle.psd", ImageFormat::kPsd, 32, true, Match::kExact, Alpha::kFromReference},
    {"jpeg_baseline.jpg", ImageFormat::kJpeg, 24, true, Match::kJpeg, Alpha::kNone},
    {"jpeg_progressive.jpg", ImageFormat::kJpeg, 24, true, Match::kJpeg, Alpha::kNone},
    {"jpeg_grey.jpg", ImageFormat::kJpeg, 24, true, Match::kJpeg, Alpha::kNone},
};

class GoldenTest : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenTest, MatchesTheEncodersOwnDecode) {
  const Golden& g = GetParam();
  const std::filesystem::path file = DisplayDataDir() / "golden" / g.file;
  const std::vector<std::uint8_t> bytes = ReadBytes(file);
  ASSERT_FALSE(bytes.empty()) << file;
  EXPECT_EQ(DetectImageFormat(bytes.data(), bytes.size()), g.format);

  const DecodeResult image = DecodeImageFile(file.string());
#ifdef _WIN32
  if (g.format == ImageFormat::kJpeg) {
    EXPECT_FALSE(image.has_value()) << "Windows draws JPEG through its own picture loader";
    return;
  }
#endif
  ASSERT_TRUE(image.has_value());
  ASSERT_TRUE(IsConsistent(*image));
  EXPECT_EQ(image->bitsPerPixel, g.bitsPerPixel);
  EXPECT_EQ(image->topDown, g.topDown);

  NetpbmImage reference;
  if (g.match == Match::kBlack) {
    reference.width = 7;
    reference.height = 5;
    reference.samples.assign(7 * 5 * 3, 0);
  } else {
    reference = ReadNetpbm(file.string() + ".ppm");
    ASSERT_EQ(reference.channels, 3);
  }
  ASSERT_EQ(image->width, reference.width);
  ASSERT_EQ(image->height, reference.height);
  EXPECT_EQ(image->stride % 4, 0);
  for (int y = 0; y < image->height; ++y) {
    for (int x = 0; x < image->width; ++x) {
      std::uint8_t bgr[3];
      image->PixelBgr(x, y, bgr);
      for (int c = 0; c < 3; ++c) {
        const int want = reference.samples[(static_cast<std::size_t>(y) * reference.width + x) * 3 + (2 - c)];
        const int got = bgr[c];
        const bool same = g.match == Match::kFiveBits ? (want >> 3) == (got >> 3)
                          : g.match == Match::kJpeg   ? std::abs(want - got) <= kJpegTolerance
                                                      : want == got;
        ASSERT_TRUE(same) << "pixel " << x << "," << y << " channel " << c << ": " << got << " want " << want;
      }
    }
  }

  if (g.alpha == Alpha::kNone) return;
  NetpbmImage alpha;
  if (g.alpha == Alpha::kFromReference) {
    alpha = ReadNetpbm(file.string() + ".alpha.pgm");
    ASSERT_EQ(alpha.channels, 1);
  }
  for (int y = 0; y < image->height; ++y) {
    for (int x = 0; x < image->width; ++x) {
      const int want = g.alpha == Alpha::kOpaque ? 255 : alpha.samples[static_cast<std::size_t>(y) * alpha.width + x];
      EXPECT_EQ(image->pixels[static_cast<std::size_t>(y) * image->stride + x * 4 + 3], want) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, GoldenTest, ::testing::ValuesIn(kGolden), [](const auto& info) {
  std::string name = info.param.file;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
});

TEST(GoldenTest, Width3RowsArePaddedTo12Bytes) {
  const DecodeResult image = DecodeImageFile((DisplayDataDir() / "golden" / "tga_t24_width3.tga").string());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(image->stride, 12);
}

}  // namespace
