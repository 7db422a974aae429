#include "image/byte_image.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Source 6 x 4 with value 10 * y + x, pitch 8; destination 5 x 5, pitch 7, all 0xEE.
struct CopyCase {
  const char* name;
  int dx, dy, sx, sy, w, h;
  // Rectangle expected in the destination (x0, y0, width, height) and the
  // source point that lands on its corner.
  int ex, ey, ew, eh, fromX, fromY;
};

TEST(ByteImageTest, CopyRectClipsToBothImagesAndUsesEachPitch) {
  const CopyCase cases[] = {
      {"inside", 1, 1, 2, 1, 3, 2, 1, 1, 3, 2, 2, 1},
      {"clipped by destination", 3, 2, 0, 0, 6, 4, 3, 2, 2, 3, 0, 0},
      {"clipped by source", 0, 0, 4, 2, 5, 5, 0, 0, 2, 2, 4, 2},
      {"destination start outside", 5, 0, 0, 0, 2, 2, 0, 0, 0, 0, 0, 0},
      {"source start outside", 0, 0, 0, 4, 2, 2, 0, 0, 0, 0, 0, 0},
      {"negative start", -1, 0, 0, 0, 3, 3, 0, 0, 0, 0, 0, 0},
      {"empty size", 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0},
  };
  for (const CopyCase& c : cases) {
    ByteImage source;
    source.Create(8, 4);
    source.width = 6;
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 8; ++x) source.Row(y)[x] = static_cast<std::uint8_t>(x < 6 ? 10 * y + x : 0xFF);
    }
    ByteImage destination;
    destination.Create(7, 5);
    destination.width = 5;
    std::fill(destination.data, destination.data + 35, 0xEE);
    ByteImage::CopyRect(destination, c.dx, c.dy, source, c.sx, c.sy, c.w, c.h);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 7; ++x) {
        const bool inside = x >= c.ex && x < c.ex + c.ew && y >= c.ey && y < c.ey + c.eh;
        const int expected = inside ? 10 * (y - c.ey + c.fromY) + (x - c.ex + c.fromX) : 0xEE;
        EXPECT_EQ(destination.Row(y)[x], expected) << c.name << " at " << x << "," << y;
      }
    }
  }
}

TEST(ByteImageTest, CreateReleaseAndMove) {
  ByteImage image;
  image.Create(5, 3);
  EXPECT_EQ(image.pitch, 5);
  EXPECT_EQ(std::vector<std::uint8_t>(image.data, image.data + 15), std::vector<std::uint8_t>(15, 0));
  ByteImage moved(std::move(image));
  EXPECT_EQ(image.data, nullptr);
  EXPECT_EQ(image.width, 0);
  EXPECT_EQ(moved.width, 5);
  moved.Release();
  moved.Release();
  EXPECT_EQ(moved.data, nullptr);
  EXPECT_EQ(moved.height, 0);
  EXPECT_EQ(moved.pitch, 0);
}

}  // namespace
