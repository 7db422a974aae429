#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/decoded_image.h"

namespace {

// A flat 8 x 8 grey progressive JPEG whose 63 AC coefficients are each sent in
// their own scan, first at `bitPlanes - 1` bits down and then refined one bit at a
// time: 1 + 63 * bitPlanes valid scans. Every block is zero, so each scan's data
// is a single one-bit code (category 0, or end of band) padded with ones.
std::vector<std::uint8_t> ManyScanJpeg(int bitPlanes) {
  std::vector<std::uint8_t> j = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
  auto add = [&](std::initializer_list<int> bytes) {
    for (int b : bytes) j.push_back(static_cast<std::uint8_t>(b));
  };
  add({0xFF, 0xDB, 0, 67, 0});  // quantisation table 0: all ones
  j.insert(j.end(), 64, 1);
  add({0xFF, 0xC2, 0, 11, 8, 0, 8, 0, 8, 1, 1, 0x11, 0});  // progressive, 8 x 8, one component
  for (int tableClass : {0x00, 0x10}) {                    // DC and AC tables with one 1-bit code for 0
    add({0xFF, 0xC4, 0, 20, tableClass, 1});
    j.insert(j.end(), 15, 0);
    add({0});
  }
  auto scan = [&](int ss, int se, int ah, int al) { add({0xFF, 0xDA, 0, 8, 1, 1, 0x00, ss, se, ah << 4 | al, 0x7F}); };
  scan(0, 0, 0, 0);
  for (int k = 1; k <= 63; ++k) {
    scan(k, k, 0, bitPlanes - 1);
    for (int al = bitPlanes - 2; al >= 0; --al) scan(k, k, al + 1, al);
  }
  add({0xFF, 0xD9});
  return j;
}

TEST(JpegDecoderTest, AFileOfEndlessScansIsGivenUp) {
  struct Case {
    int bitPlanes;
    bool picture;
  };
  for (const Case& c : {Case{6, true}, Case{9, false}}) {  // 379 and 568 scans
    const std::vector<std::uint8_t> jpeg = ManyScanJpeg(c.bitPlanes);
    ASSERT_EQ(DetectImageFormat(jpeg.data(), jpeg.size()), ImageFormat::kJpeg);
    const DecodeResult image = DecodeImage(jpeg.data(), jpeg.size());
#ifdef _WIN32
    EXPECT_FALSE(image.has_value());  // Windows draws JPEG through its own picture loader
#else
    ASSERT_EQ(image.has_value(), c.picture) << c.bitPlanes;
    if (!image) continue;
    std::uint8_t bgr[3];
    image->PixelBgr(7, 7, bgr);
    EXPECT_EQ(bgr[1], 128);  // zero DC is mid grey
#endif
  }
}

}  // namespace
