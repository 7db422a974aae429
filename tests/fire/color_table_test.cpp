#include "fire/color_table.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "fire_test_fixture.h"
#include "palette_test_support.h"

namespace {

using ColorTableTest = FireTest;

TEST_F(ColorTableTest, CreateByDepth) {
  struct Case {
    int depth, code, size;
  };
  for (const Case c : {Case{16, 0, 512}, Case{24, 0, 1024}, Case{32, 0, 1024}, Case{8, -8, 0}, Case{15, -8, 0}}) {
    ColorTable table;
    EXPECT_EQ(table.Create(c.depth), c.code) << c.depth;
    EXPECT_EQ(table.TableSize(), c.size) << c.depth;
    EXPECT_EQ(table.Depth(), c.depth);
    EXPECT_EQ(table.Table() == nullptr, c.size == 0);
    table.Apply(FlatPalette(1, 2, 3));  // harmless without tables
    table.ChangeTo(FlatPalette(1, 2, 3));
    table.Release();
    table.Release();
    EXPECT_EQ(table.TableSize(), 0);
  }
  const std::string log = LogText();
  EXPECT_NE(log.find("ColorTable::Create bpp = 16\n"), std::string::npos);
  EXPECT_NE(log.find("ColorTable::Create bpp = 8\n"), std::string::npos);
  EXPECT_NE(log.find(": ColorTable::Create success\n"), std::string::npos);
}

TEST_F(ColorTableTest, RecreatingAtAnUnsupportedDepthDropsTheOldTables) {
  ColorTable table;
  ASSERT_EQ(table.Create(16), 0);
  EXPECT_EQ(table.Create(8), -8);
  EXPECT_EQ(table.Table(), nullptr);
  table.Apply(FlatPalette(255, 255, 255));
}

TEST_F(ColorTableTest, EntriesAreInTheScreenFormat) {
  ColorTable table16, table32;
  ASSERT_EQ(table16.Create(16), 0);
  ASSERT_EQ(table32.Create(32), 0);
  table16.Apply(FlatPalette(255, 128, 64));
  table32.Apply(FlatPalette(255, 128, 64));
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(table16.Table()[2 * i] | table16.Table()[2 * i + 1] << 8, 0xFC08) << i;
    EXPECT_EQ(table32.Table()[4 * i + 0], 64) << i;
    EXPECT_EQ(table32.Table()[4 * i + 1], 128) << i;
    EXPECT_EQ(table32.Table()[4 * i + 2], 255) << i;
  }
}

TEST_F(ColorTableTest, FadeAtThirtyTwoBits) {
  ColorTable table;
  ASSERT_EQ(table.Create(32), 0);
  const std::uint8_t* address = table.Table();
  table.Apply(FlatPalette(0, 0, 0));
  table.SetChangePeriod(1000);
  EXPECT_TRUE(table.Tick(1000));
  table.ChangeTo(FlatPalette(200, 100, 0));
  EXPECT_TRUE(table.Fading());
  EXPECT_TRUE(table.ChangeDue());

  EXPECT_FALSE(table.Tick(1000));  // t = 1000: a quarter of the way
  EXPECT_EQ(table.Table()[2], 50);
  EXPECT_EQ(table.Table()[1], 25);
  EXPECT_FALSE(table.Tick(2999));  // t = 3999: truncated, not yet there
  EXPECT_EQ(table.Table()[2], 199);
  EXPECT_EQ(table.Table()[1], 99);
  EXPECT_FALSE(table.Tick(500));  // capped at 4000: done
  EXPECT_EQ(table.Table()[2], 200);
  EXPECT_EQ(table.Table()[1], 100);
  EXPECT_FALSE(table.Fading());
  EXPECT_FALSE(table.ChangeDue());
  EXPECT_EQ(table.Table(), address);

  // The next period counts from the end of the fade.
  EXPECT_FALSE(table.Tick(999));
  EXPECT_TRUE(table.Tick(1));
}

TEST_F(ColorTableTest, ChangeAtSixteenAndTwentyFourBitsIsImmediate) {
  for (int depth : {16, 24}) {
    ColorTable table;
    ASSERT_EQ(table.Create(depth), 0);
    table.Apply(FlatPalette(0, 0, 0));
    table.SetChangePeriod(100);
    EXPECT_TRUE(table.Tick(150));
    table.ChangeTo(FlatPalette(255, 255, 255));
    EXPECT_FALSE(table.Fading());
    EXPECT_FALSE(table.ChangeDue());
    EXPECT_EQ(table.Table()[0], 0xFF) << depth;
    EXPECT_EQ(table.Table()[1], 0xFF) << depth;
    // The timer restarted from zero: the carried 50 ms are gone.
    EXPECT_FALSE(table.Tick(99));
    EXPECT_TRUE(table.Tick(1));
  }
}

TEST_F(ColorTableTest, ChangeTimer) {
  ColorTable table;
  ASSERT_EQ(table.Create(24), 0);
  table.Apply(FlatPalette(0, 0, 0));
  EXPECT_EQ(table.ChangePeriod(), 5000u);
  EXPECT_FALSE(table.Tick(4999));
  EXPECT_TRUE(table.Tick(1));
  EXPECT_TRUE(table.Tick(0));  // stays due until something clears it
  table.EnableChange(false);
  EXPECT_FALSE(table.Tick(0));
  table.EnableChange(true);
  EXPECT_TRUE(table.Tick(0));
  table.SetChangePeriod(300);  // clears the due flag and the count
  EXPECT_FALSE(table.Tick(299));
  EXPECT_TRUE(table.Tick(1));
  table.Apply(FlatPalette(1, 1, 1));
  EXPECT_FALSE(table.ChangeDue());
  table.SetChangePeriod(0);
  EXPECT_TRUE(table.Tick(0));
}

TEST_F(ColorTableTest, ApplyDuringAFadeStopsIt) {
  ColorTable table;
  ASSERT_EQ(table.Create(32), 0);
  table.Apply(FlatPalette(0, 0, 0));
  table.ChangeTo(FlatPalette(200, 200, 200));
  table.Tick(1000);
  table.Apply(FlatPalette(10, 20, 30));
  EXPECT_FALSE(table.Fading());
  EXPECT_EQ(table.Table()[0], 30);
  EXPECT_FALSE(table.Tick(3000));
  EXPECT_EQ(table.Table()[0], 30);
}

TEST_F(ColorTableTest, FadeKeepsAChannelTheNewPaletteCannotDraw) {
  ColorTable table;
  ASSERT_EQ(table.Create(32), 0);
  table.ChangeTo(FlatPalette(90, 90, 90));  // an earlier fade leaves 90s in the target
  table.Tick(4000);
  table.Apply(FlatPalette(10, 20, 30));
  const PalettePoint dot[4] = {{40, 40}, {40, 40}, {40, 40}, {40, 40}};
  const PalettePoint full[4] = {{0, 255}, {85, 255}, {170, 255}, {255, 255}};
  table.ChangeTo(MakePalette(full, full, dot));
  table.Tick(4000);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(table.Table()[4 * i + 0], 30) << i;
    EXPECT_EQ(table.Table()[4 * i + 2], 255) << i;
  }
}

}  // namespace
