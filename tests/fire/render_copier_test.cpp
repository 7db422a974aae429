#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "fire/depth_image_copyer.h"
#include "fire/flame_render.h"
#include "fire/scalar_flame_render.h"
#include "fire_test_fixture.h"
#include "image/memory_surface.h"

namespace {

using RenderTest = FireTest;
using CopyerTest = FireTest;

TEST_F(RenderTest, IndexIsHalfTheHeatPlusHalfTheGrey) {
  struct Case {
    std::uint8_t heat, grey, index;
  };
  const Case cases[] = {{0, 200, 100}, {255, 0, 127}, {255, 255, 254}, {1, 1, 0}, {3, 5, 3}, {128, 129, 128}};
  for (const Case& c : cases) {
    ByteImage heat, grey, output;
    heat.Create(16, 2);
    grey.Create(16, 2);
    output.Create(16, 2);
    Fill(heat, c.heat);
    Fill(grey, c.grey);
    FlameRender().Rander(heat, grey, output);
    for (int i = 0; i < 32; ++i) ASSERT_EQ(output.data[i], c.index) << int(c.heat) << "+" << int(c.grey);
  }
}

TEST_F(RenderTest, OnlyWholeGroupsOfEightColumnsAreWritten) {
  struct Case {
    std::int32_t width, written;
  };
  for (const Case c : {Case{1366, 1360}, Case{7, 0}, Case{8, 8}, Case{23, 16}}) {
    ByteImage heat, grey, output;
    heat.Create(c.width, 3);
    grey.Create(c.width, 3);
    output.Create(c.width, 3);
    Fill(heat, 255);
    Fill(grey, 255);
    FlameRender().Rander(heat, grey, output);
    for (std::int32_t y = 0; y < 3; ++y) {
      for (std::int32_t x = 0; x < c.width; ++x) ASSERT_EQ(output.Row(y)[x], x < c.written ? 254 : 0) << c.width;
    }
  }
}

TEST_F(RenderTest, Sse2MatchesScalarReferenceWithDifferentPitches) {
  std::mt19937 random(7);
  for (std::int32_t width : {8, 9, 10, 17, 24, 31, 1366}) {
    for (std::int32_t height : {1, 2, 5}) {
      // Heat with the flame's padded pitch, grey and output packed.
      ByteImage heat, grey, fast, plain;
      heat.Create((width + 7) / 8 * 8, height);
      heat.width = width;
      grey.Create(width, height);
      fast.Create(width, height);
      plain.Create(width, height);
      FillRandom(heat, random);
      FillRandom(grey, random);
      FlameRender().Rander(heat, grey, fast);
      ScalarFlameRender().Rander(heat, grey, plain);
      ASSERT_EQ(0, std::memcmp(fast.data, plain.data, static_cast<std::size_t>(width) * height)) << width;
    }
  }
}

std::array<std::uint8_t, 1024> Table32() {
  std::array<std::uint8_t, 1024> table{};
  for (int i = 0; i < 256; ++i) {
    table[4 * i + 0] = static_cast<std::uint8_t>(i);
    table[4 * i + 1] = static_cast<std::uint8_t>(i ^ 0x5A);
    table[4 * i + 2] = static_cast<std::uint8_t>(255 - i);
    table[4 * i + 3] = 0xC3;
  }
  return table;
}

std::array<std::uint8_t, 512> Table16() {
  std::array<std::uint8_t, 512> table{};
  for (int i = 0; i < 256; ++i) {
    table[2 * i] = static_cast<std::uint8_t>(i);
    table[2 * i + 1] = static_cast<std::uint8_t>(i ^ 0xA5);
  }
  return table;
}

ByteImage IndexImage(std::int32_t width, std::int32_t height, std::int32_t pitch) {
  ByteImage image;
  image.Create(pitch, height);
  image.width = width;
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < pitch; ++x) image.Row(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 31);
  }
  return image;
}

// Each copier against the layout it must produce: every pixel of the image
// lands at its offset with exactly its bytes per pixel, and nothing else of the
// surface (row padding, the byte after a row, pixels outside) changes.
TEST_F(CopyerTest, CopyWritesEachPixelInTheSurfaceFormatAndNothingElse) {
  const auto table32 = Table32();
  const auto table16 = Table16();
  struct Case {
    int bpp;
    std::int32_t xOffset, yOffset;
    bool avx2 = true;  // where the processor has it
  };
  for (const Case c : {Case{16, 0, 0}, Case{24, 0, 0}, Case{32, 0, 0}, Case{24, 3, 2}, Case{32, 1, 4}, Case{16, 5, 1},
                       Case{16, 0, 0, false}, Case{16, 5, 1, false}, Case{24, 0, 0, false}, Case{24, 3, 2, false},
                       Case{32, 0, 0, false}, Case{32, 1, 4, false}}) {
    // Widths around the blocks of 8 and 16 pixels and the 16-byte boundaries.
    for (const std::int32_t width : {1, 13, 16, 17, 35, 50, 77}) {
      const int bytes = c.bpp / 8;
      const std::int32_t height = 5;
      MemorySurface surface(width + c.xOffset + 2, height + c.yOffset + 1, c.bpp, (width + c.xOffset + 2) * bytes + 5);
      std::fill(surface.Bytes().begin(), surface.Bytes().end(), 0xAA);
      const ByteImage image = IndexImage(width, height, width + 3);
      std::unique_ptr<FireImageCopyer> copyer;
      if (c.bpp == 16) copyer = std::make_unique<FireImageCopyer16>(table16.data(), c.xOffset, c.yOffset, c.avx2);
      if (c.bpp == 24) copyer = std::make_unique<FireImageCopyer24>(table32.data(), c.xOffset, c.yOffset, c.avx2);
      if (c.bpp == 32) copyer = std::make_unique<FireImageCopyer32>(table32.data(), c.xOffset, c.yOffset, c.avx2);
      copyer->CopyImageToSurface(image, surface);
      EXPECT_EQ(surface.LockDepth(), 0);

      std::vector<std::uint8_t> expected(surface.Bytes().size(), 0xAA);
      for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
          const int index = image.Row(y)[x];
          const std::uint8_t* entry = c.bpp == 16 ? &table16[2 * index] : &table32[4 * index];
          std::memcpy(&expected[(y + c.yOffset) * surface.PitchBytes() + (x + c.xOffset) * bytes], entry, bytes);
        }
      }
      EXPECT_EQ(surface.Bytes(), expected) << c.bpp << " at " << c.xOffset << "," << c.yOffset << " width " << width;
    }
  }
}

// Depths 17, 25 and 33 are the 16-, 24- and 32-bit copiers kept to SSE2.
std::unique_ptr<FireImageCopyer> MakeCopyer(int depth, const std::uint8_t* table, std::int32_t x, std::int32_t y) {
  if (depth == 16 || depth == 17) return std::make_unique<FireImageCopyer16>(table, x, y, depth == 16);
  if (depth == 24 || depth == 25) return std::make_unique<FireImageCopyer24>(table, x, y, depth == 24);
  return std::make_unique<FireImageCopyer32>(table, x, y, depth == 32);
}

// Rendering on the way to the surface stores exactly what the plain renderer's
// index image stores through the same copier, columns it leaves at 0
// included: every depth, widths around the groups of 8 and 16 pixels and the
// runs of 1024, offsets that cut the image, padded pitches.
TEST_F(CopyerTest, RenderToSurfaceMatchesRenderingIntoTheIndexImageAndCopying) {
  const auto table32 = Table32();
  const auto table16 = Table16();
  std::mt19937 random(11);
  std::vector<std::int32_t> widths;
  for (std::int32_t w = 1; w <= 40; ++w) widths.push_back(w);
  for (std::int32_t w : {63, 64, 65, 1023, 1024, 1025, 1366, 2055}) widths.push_back(w);
  for (const int depth : {16, 17, 24, 25, 32, 33}) {
    const int bpp = depth / 8 * 8;
    const std::uint8_t* table = bpp == 16 ? table16.data() : table32.data();
    const int bytes = bpp / 8;
    for (const std::int32_t width : widths) {
      for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{3, 1}, std::pair{-5, -1}}) {
        const std::int32_t height = 3;
        ByteImage heat, grey, indices;
        heat.Create((width + 7) / 8 * 8, height);
        heat.width = width;
        grey.Create(width, height);
        indices.Create(width, height);
        FillRandom(heat, random);
        FillRandom(grey, random);
        ScalarFlameRender().Rander(heat, grey, indices);
        const std::int32_t pitch = (width + 4) * bytes + 5;
        MemorySurface copied(width + 4, height + 1, bpp, pitch);
        MemorySurface rendered(width + 4, height + 1, bpp, pitch);
        std::fill(copied.Bytes().begin(), copied.Bytes().end(), 0xAA);
        std::fill(rendered.Bytes().begin(), rendered.Bytes().end(), 0xAA);
        const auto copyer = MakeCopyer(depth, table, dx, dy);
        copyer->CopyImageToSurface(indices, copied);
        copyer->RenderToSurface(heat, grey, rendered);
        EXPECT_EQ(rendered.LockDepth(), 0);
        ASSERT_TRUE(copied.Bytes() == rendered.Bytes()) << bpp << " width " << width << " at " << dx << "," << dy;
      }
    }
  }
}

TEST_F(CopyerTest, PixelsOutsideTheSurfaceAreNotWritten) {
  const auto table32 = Table32();
  MemorySurface surface(10, 4, 32);
  const ByteImage image = IndexImage(12, 6, 12);
  for (auto [dx, dy] : {std::pair{3, 2}, std::pair{-2, -1}, std::pair{100, 0}, std::pair{0, -100}}) {
    std::fill(surface.Bytes().begin(), surface.Bytes().end(), 0);
    FireImageCopyer32 copyer(table32.data(), dx, dy);
    copyer.CopyImageToSurface(image, surface);  // must stay inside the surface's bytes
    int written = 0;
    for (std::int32_t y = 0; y < 4; ++y) {
      for (std::int32_t x = 0; x < 10; ++x) {
        const bool covered = x - dx >= 0 && x - dx < 12 && y - dy >= 0 && y - dy < 6;
        const std::uint8_t* pixel = &surface.Bytes()[y * 40 + x * 4];
        if (covered) {
          EXPECT_EQ(pixel[0], table32[4 * image.Row(y - dy)[x - dx]]) << dx << "," << dy;
          ++written;
        } else {
          EXPECT_EQ(pixel[3], 0) << dx << "," << dy << " at " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(written == 0, dx == 100 || dy == -100);
  }
}

TEST_F(CopyerTest, SurfaceThatCannotBeLockedIsLeftAlone) {
  const auto table32 = Table32();
  const auto table16 = Table16();
  FireImageCopyer16 c16(table16.data());
  FireImageCopyer24 c24(table32.data());
  FireImageCopyer32 c32(table32.data());
  for (FireImageCopyer* copyer : std::initializer_list<FireImageCopyer*>{&c16, &c24, &c32}) {
    const int bpp = copyer == &c16 ? 16 : copyer == &c24 ? 24 : 32;
    MemorySurface surface(8, 2, bpp);
    std::fill(surface.Bytes().begin(), surface.Bytes().end(), 0x33);
    surface.FailLocks(true);
    const ByteImage image = IndexImage(8, 2, 8);
    copyer->CopyImageToSurface(image, surface);
    ByteImage grey;
    grey.Create(8, 2);
    copyer->ReadSurface(grey, surface);
    EXPECT_EQ(surface.LockDepth(), 0);
    EXPECT_TRUE(std::all_of(surface.Bytes().begin(), surface.Bytes().end(), [](auto b) { return b == 0x33; }));
    EXPECT_TRUE(std::all_of(grey.data, grey.data + 16, [](auto b) { return b == 0; }));
  }
}

TEST_F(CopyerTest, ReadSurfaceGivesTheGreyOfEachPixel) {
  struct Case {
    int bpp;
    std::vector<std::uint8_t> pixel;
    std::uint8_t grey;
  };
  const std::vector<Case> cases = {
      {32, {64, 128, 255, 77}, 149}, {32, {255, 255, 255, 255}, 255},
      {24, {64, 128, 255}, 149},     {24, {1, 1, 0}, 0},
      {16, {0xFF, 0xFF}, 206},       {16, {0x08, 0xFC}, (248 + 0 + 64) / 3},
      {16, {0x00, 0x04}, 0},  // only the highest green bit: not used
  };
  for (const Case& c : cases) {
    const int bytes = c.bpp / 8;
    MemorySurface surface(5, 3, c.bpp, 5 * bytes + 3);
    for (std::int32_t y = 0; y < 3; ++y) {
      for (std::int32_t x = 0; x < 5; ++x) {
        std::memcpy(&surface.Bytes()[y * surface.PitchBytes() + x * bytes], c.pixel.data(), bytes);
      }
    }
    ByteImage grey;
    grey.Create(8, 4);  // larger than the surface at offset (1, 1): only 4 x 2 lie on it
    Fill(grey, 0xEE);
    std::unique_ptr<FireImageCopyer> copyer;
    if (c.bpp == 16) copyer = std::make_unique<FireImageCopyer16>(nullptr, 1, 1);
    if (c.bpp == 24) copyer = std::make_unique<FireImageCopyer24>(nullptr, 1, 1);
    if (c.bpp == 32) copyer = std::make_unique<FireImageCopyer32>(nullptr, 1, 1);
    copyer->ReadSurface(grey, surface);
    EXPECT_EQ(surface.LockDepth(), 0);
    for (std::int32_t y = 0; y < 4; ++y) {
      for (std::int32_t x = 0; x < 8; ++x) {
        EXPECT_EQ(grey.Row(y)[x], x < 4 && y < 2 ? c.grey : 0xEE) << c.bpp << " " << x << "," << y;
      }
    }
  }
}

TEST_F(CopyerTest, SetTableRedirectsLaterCopies) {
  auto first = Table32();
  std::array<std::uint8_t, 1024> second{};
  second.fill(0x42);
  MemorySurface surface(8, 1, 32);
  const ByteImage image = IndexImage(8, 1, 8);
  FireImageCopyer32 copyer(first.data());
  copyer.SetTable(second.data());
  EXPECT_EQ(copyer.Table(), second.data());
  copyer.CopyImageToSurface(image, surface);
  EXPECT_TRUE(std::all_of(surface.Bytes().begin(), surface.Bytes().end(), [](auto b) { return b == 0x42; }));
}

}  // namespace
