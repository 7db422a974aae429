#include "fire/background_manager.h"

#include <gtest/gtest.h>

#include "fake_background_source.h"
#include "fire/color_table.h"
#include "fire/depth_image_copyer.h"
#include "fire/insert_bright.h"

namespace {

constexpr std::int32_t kWidth = 40;
constexpr std::int32_t kHeight = 30;

class BackgroundManagerTest : public testing::Test {
 protected:
  BackgroundManagerTest() : source(kWidth, kHeight), copier(table), manager(source, copier) {
    grey.Create(kWidth, kHeight);
    hotSpots.Prepare(grey);
    source.Add("dark", 10);
    source.Add("square", 60, true);
    source.Add("light", 200);
  }

  // Ticks until a running wipe has ended; returns the number of steps.
  int FinishWipe() {
    int steps = 0;
    while (!manager.IsIdle() && steps < 1000) {
      EXPECT_FALSE(manager.Tick(40, hotSpots, grey));
      ++steps;
    }
    return steps;
  }

  bool GreyIsUniform(std::uint8_t value) const {
    for (std::int32_t y = 0; y < kHeight; ++y) {
      for (std::int32_t x = 0; x < kWidth; ++x) {
        if (grey.data[y * grey.pitch + x] != value) return false;
      }
    }
    return true;
  }

  static bool HasEdges(const InsertBright& spots) {
    const ByteImage& edges = spots.EdgeMap();
    for (std::int32_t i = 0; i < edges.pitch * edges.height; ++i) {
      if (edges.data[i] != 0) return true;
    }
    return false;
  }

  std::uint8_t table[1024] = {};
  FakeBackgroundSource source;
  FireImageCopyer32 copier;
  BackgroundManager manager;
  ByteImage grey;
  InsertBright hotSpots;
};

TEST_F(BackgroundManagerTest, ChangeFallsDueOnThePeriodAndStaysDueUntilStarted) {
  int dueAt = 0;
  for (int frame = 1; frame <= 200 && dueAt == 0; ++frame) {
    if (manager.Tick(40, hotSpots, grey)) dueAt = frame;
  }
  EXPECT_EQ(dueAt, 125);
  EXPECT_TRUE(manager.Tick(40, hotSpots, grey));
  EXPECT_TRUE(manager.Tick(0, hotSpots, grey));

  manager.EnableChange(false);
  EXPECT_FALSE(manager.Tick(40, hotSpots, grey));
  manager.EnableChange(true);
  EXPECT_TRUE(manager.Tick(40, hotSpots, grey));

  manager.SetChangePeriod(100);
  EXPECT_FALSE(manager.IsChangeDue());
  EXPECT_FALSE(manager.Tick(99, hotSpots, grey));
  EXPECT_TRUE(manager.Tick(1, hotSpots, grey));
}

TEST_F(BackgroundManagerTest, WipesRunInTheirFixedOrderStartingRightToLeft) {
  std::vector<int> order;
  for (int change = 0; change < 6; ++change) {
    ASSERT_TRUE(manager.StartChange(change % 2 == 0 ? "light" : "dark"));
    order.push_back(manager.WipeIndex());
    FinishWipe();
  }
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 0, 1, 2}));
}

TEST_F(BackgroundManagerTest, WipeReplacesTheGreyAndMovesTheSparksOnlyAtItsEnd) {
  manager.ShowNow("dark", hotSpots, grey);
  ASSERT_TRUE(GreyIsUniform(10));
  EXPECT_FALSE(HasEdges(hotSpots));

  manager.SetChangePeriod(0);
  ASSERT_TRUE(manager.Tick(40, hotSpots, grey));
  ASSERT_TRUE(manager.StartChange("square"));
  EXPECT_FALSE(manager.IsIdle());
  EXPECT_FALSE(manager.Tick(40, hotSpots, grey));  // first strip of the right-to-left wipe
  EXPECT_EQ(grey.data[kWidth - 1], 60);
  EXPECT_EQ(grey.data[0], 10);
  EXPECT_FALSE(HasEdges(hotSpots)) << "sparks stay on the old background during the wipe";

  EXPECT_EQ(FinishWipe() + 1, kWidth / 5);
  EXPECT_FALSE(manager.IsChangeDue());
  EXPECT_TRUE(HasEdges(hotSpots));
  EXPECT_EQ(grey.data[0], 60);
  EXPECT_EQ(grey.data[(kHeight / 2) * kWidth + kWidth / 2], 240);

  // A period of 0 makes the next change due at the first idle frame.
  EXPECT_TRUE(manager.Tick(0, hotSpots, grey));
}

TEST_F(BackgroundManagerTest, UnloadableNameKeepsTheChangeDueAndTheOldBackground) {
  manager.ShowNow("light", hotSpots, grey);
  manager.SetChangePeriod(0);
  ASSERT_TRUE(manager.Tick(40, hotSpots, grey));
  EXPECT_FALSE(manager.StartChange("gone.bmp"));
  EXPECT_TRUE(manager.IsIdle());
  EXPECT_TRUE(manager.Tick(40, hotSpots, grey)) << "the fire manager asks for the next name at once";
  EXPECT_TRUE(GreyIsUniform(200));
  // The failed start has used up its wipe: the next one is top to bottom.
  ASSERT_TRUE(manager.StartChange("dark"));
  EXPECT_EQ(manager.WipeIndex(), 2);
  FinishWipe();
  EXPECT_TRUE(GreyIsUniform(10));
}

TEST_F(BackgroundManagerTest, ShowNowAbandonsARunningWipeAndIgnoresUnknownNames) {
  manager.ShowNow("dark", hotSpots, grey);
  ASSERT_TRUE(manager.StartChange("light"));
  manager.Tick(40, hotSpots, grey);
  manager.Tick(40, hotSpots, grey);

  manager.ShowNow("missing", hotSpots, grey);
  EXPECT_FALSE(manager.IsIdle()) << "an unknown name changes nothing";

  manager.ShowNow("square", hotSpots, grey);
  EXPECT_TRUE(manager.IsIdle());
  EXPECT_FALSE(manager.IsChangeDue());
  EXPECT_EQ(grey.data[0], 60);
  EXPECT_TRUE(HasEdges(hotSpots));

  // The abandoned wipe starts from its edge when its turn comes again.
  for (int change = 0; change < 4; ++change) {
    ASSERT_TRUE(manager.StartChange("light"));
    manager.Tick(40, hotSpots, grey);
    if (manager.WipeIndex() == 1) {
      EXPECT_EQ(grey.data[kWidth - 1], 200);
      EXPECT_EQ(grey.data[kWidth - 6], 60);
    }
    FinishWipe();
    manager.ShowNow("square", hotSpots, grey);
  }
}

TEST_F(BackgroundManagerTest, ReleaseTwiceLeavesAManagerThatDoesNothing) {
  manager.Release();
  manager.Release();
  EXPECT_FALSE(manager.StartChange("light"));
  EXPECT_TRUE(manager.IsIdle());
}

}  // namespace
