#include "fire/picture_background_source.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "support/temp_dir.h"

namespace {

// A 24-bit bottom-up BMP whose pixel (x, y) has blue x, green y and red `red`.
std::string Bmp(int width, int height, std::uint8_t red) {
  const int stride = (width * 3 + 3) & ~3;
  const int size = 54 + stride * height;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  auto put32 = [&](int at, std::uint32_t v) { std::memcpy(&bytes[static_cast<std::size_t>(at)], &v, 4); };
  auto put16 = [&](int at, std::uint16_t v) { std::memcpy(&bytes[static_cast<std::size_t>(at)], &v, 2); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(size));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  put16(26, 1);
  put16(28, 24);
  put32(34, static_cast<std::uint32_t>(stride * height));
  for (int y = 0; y < height; ++y) {
    char* row = &bytes[static_cast<std::size_t>(54 + (height - 1 - y) * stride)];
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<char>(x);
      row[x * 3 + 1] = static_cast<char>(y);
      row[x * 3 + 2] = static_cast<char>(red);
    }
  }
  return bytes;
}

DecodedImage Picture(int width, int height, std::uint8_t red) {
  DecodedImage picture;
  picture.width = width;
  picture.height = height;
  picture.bitsPerPixel = 32;
  picture.topDown = true;
  picture.stride = width * 4;
  picture.pixels.resize(static_cast<std::size_t>(picture.stride * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &picture.pixels[static_cast<std::size_t>(y * picture.stride + x * 4)];
      p[0] = static_cast<std::uint8_t>(x);
      p[1] = static_cast<std::uint8_t>(y);
      p[2] = red;
    }
  }
  return picture;
}

const std::uint8_t* PixelAt(Surface& surface, int x, int y) {
  return surface.FirstPixel() + y * surface.PitchBytes() + x * (surface.BitsPerPixel() / 8);
}

TEST(PictureBackgroundSource, OnlyTheWordDesktopInAnyCaseMeansTheDesktop) {
  struct Case {
    const char* name;
    bool desktop;
  };
  for (const Case c : {Case{"desktop", true}, Case{"Desktop", true}, Case{"DESKTOP", true}, Case{"dEsKtOp", true},
                       Case{" desktop", false}, Case{"desktop ", false}, Case{"desktop.bmp", false},
                       Case{"deskto", false}, Case{"", false}}) {
    EXPECT_EQ(PictureBackgroundSource::IsDesktopName(c.name), c.desktop) << '"' << c.name << '"';
  }
}

TEST(PictureBackgroundSource, StretchTakesTheNearestPixelAtOrBeforeThePlace) {
  // 4 × 2 onto 10 × 5: screen column x shows picture column x × 4 / 10.
  auto surface = PictureBackgroundSource::MakeScreenSurface(Picture(4, 2, 9), 10, 5, 32);
  ASSERT_TRUE(surface);
  std::vector<int> columns, rows;
  for (int x = 0; x < 10; ++x) columns.push_back(PixelAt(*surface, x, 0)[0]);
  for (int y = 0; y < 5; ++y) rows.push_back(PixelAt(*surface, 0, y)[1]);
  EXPECT_EQ(columns, (std::vector<int>{0, 0, 0, 1, 1, 2, 2, 2, 3, 3}));
  EXPECT_EQ(rows, (std::vector<int>{0, 0, 0, 1, 1}));
  // Shrinking skips pixels the same way: 4 columns onto 3.
  auto smaller = PictureBackgroundSource::MakeScreenSurface(Picture(4, 2, 9), 3, 1, 32);
  ASSERT_TRUE(smaller);
  EXPECT_EQ(PixelAt(*smaller, 1, 0)[0], 1);
  EXPECT_EQ(PixelAt(*smaller, 2, 0)[0], 2);
}

TEST(PictureBackgroundSource, PixelsTakeTheScreensFormat) {
  DecodedImage picture = Picture(1, 1, 0);
  picture.pixels[0] = 0x47;  // blue
  picture.pixels[1] = 0x8C;  // green
  picture.pixels[2] = 0xFB;  // red
  struct Case {
    int bpp;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {32, {0x47, 0x8C, 0xFB, 0x00}}, {24, {0x47, 0x8C, 0xFB}}, {16, {0x68, 0xFC}},  // red 31, green 35, blue 8: 0xFC68
  };
  for (const Case& c : cases) {
    auto surface = PictureBackgroundSource::MakeScreenSurface(picture, 1, 1, c.bpp);
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->Bytes(), c.bytes) << c.bpp;
  }
}

TEST(PictureBackgroundSource, InconsistentPicturesAndScreensGiveNoSurface) {
  DecodedImage shortRows = Picture(4, 4, 0);
  shortRows.pixels.resize(shortRows.pixels.size() - 1);
  DecodedImage narrowStride = Picture(4, 4, 0);
  narrowStride.stride = 12;
  DecodedImage paletteless = Picture(4, 4, 0);
  paletteless.bitsPerPixel = 8;
  for (const DecodedImage* bad : {&shortRows, &narrowStride, &paletteless}) {
    EXPECT_FALSE(PictureBackgroundSource::MakeScreenSurface(*bad, 8, 8, 32));
  }
  EXPECT_FALSE(PictureBackgroundSource::MakeScreenSurface(Picture(4, 4, 0), 0, 8, 32));
  EXPECT_FALSE(PictureBackgroundSource::MakeScreenSurface(Picture(4, 4, 0), 8, 8, 8));
}

TEST(PictureBackgroundSource, DesktopIsMadeOnceAndPicturesAreReadAtEveryLoad) {
  TempDir dir;
  const std::string file = (dir / "picture.bmp").string();
  WriteFileBytes(file, Bmp(8, 6, 50));
  PictureBackgroundSource source(16, 12, 24);

  EXPECT_EQ(source.Load("desktop"), nullptr) << "no snapshot was given";
  source.SetDesktopSnapshot(Picture(8, 6, 200));
  Surface* desktop = source.Load("Desktop");
  ASSERT_NE(desktop, nullptr);
  EXPECT_EQ(desktop->Width(), 16);
  EXPECT_EQ(PixelAt(*desktop, 15, 11)[2], 200);
  EXPECT_EQ(source.Load("DESKTOP"), desktop);

  Surface* picture = source.Load(file);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(PixelAt(*picture, 15, 11)[0], 7);  // blue = column 7
  EXPECT_EQ(PixelAt(*picture, 15, 11)[1], 5);  // green = row 5, counted from the top
  EXPECT_EQ(PixelAt(*picture, 15, 11)[2], 50);

  WriteFileBytes(file, Bmp(8, 6, 90));
  picture = source.Load(file);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(PixelAt(*picture, 0, 0)[2], 90);

  std::filesystem::remove(file);
  EXPECT_EQ(source.Load(file), nullptr);
  EXPECT_EQ(source.Load(" desktop"), nullptr) << "a file name, and no such file";
  EXPECT_EQ(source.Load("desktop"), desktop);

  source.Release();
  source.Release();
  EXPECT_EQ(source.Load("desktop"), nullptr);
}

}  // namespace
