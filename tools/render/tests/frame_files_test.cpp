#include "frame_files.h"

#include <gtest/gtest.h>

#include <cstring>

#include "image/memory_surface.h"
#include "support/temp_dir.h"

namespace {

TEST(FrameFiles, PgmSkipsThePaddingOfEachRow) {
  ByteImage image;
  image.Create(4, 2);
  image.width = 3;  // rows of 3 pixels, 4 bytes apart
  const std::uint8_t values[] = {1, 2, 3, 4, 5, 6, 7, 8};
  std::memcpy(image.data, values, sizeof values);
  const auto bytes = EncodePgm(image);
  const std::string expected = std::string("P5\n3 2\n255\n") + "\x01\x02\x03\x05\x06\x07";
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
}

TEST(FrameFiles, SurfacePixelsBecomeRgb) {
  struct Case {
    int bpp;
    std::vector<std::uint8_t> pixel;
    std::uint8_t r, g, b;
  };
  const Case cases[] = {
      {32, {10, 20, 30, 99}, 30, 20, 10}, {24, {10, 20, 30}, 30, 20, 10}, {16, {0xFF, 0xFF}, 255, 255, 255},
      {16, {0x00, 0xF8}, 255, 0, 0},      {16, {0xE0, 0x07}, 0, 255, 0},  {16, {0x1F, 0x00}, 0, 0, 255},
      {16, {0x08, 0x42}, 66, 65, 66},  // r 8, g 16, b 8
  };
  for (const Case& c : cases) {
    MemorySurface surface(1, 1, c.bpp);
    std::memcpy(surface.Bytes().data(), c.pixel.data(), c.pixel.size());
    const auto rgb = SurfaceToRgb(surface);
    EXPECT_EQ(rgb, (std::vector<std::uint8_t>{c.r, c.g, c.b})) << c.bpp;
  }
}

TEST(FrameFiles, PngStartsWithTheSignatureAndFailsOnShortInput) {
  const std::vector<std::uint8_t> rgb(4 * 3 * 3, 128);
  const auto png = EncodePng(rgb, 4, 3);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  EXPECT_TRUE(EncodePng(rgb, 5, 3).empty());
}

TEST(FrameFiles, AtomicWriteLeavesNothingWhenItCannotWrite) {
  TempDir dir;
  const std::vector<std::uint8_t> bytes{1, 2, 3};
  EXPECT_TRUE(WriteFileAtomically(dir / "a.raw", bytes));
  EXPECT_EQ(ReadFileBytes(dir / "a.raw"), std::string("\x01\x02\x03"));
  EXPECT_FALSE(WriteFileAtomically(dir / "missing" / "b.raw", bytes));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1u);
}

}  // namespace
