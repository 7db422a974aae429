#include "fire/monitor_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string Text(const ScreenRect& r) {
  return std::to_string(r.width) + "x" + std::to_string(r.height) + "@" + std::to_string(r.x) + "," +
         std::to_string(r.y);
}

struct LayoutCase {
  const char* name;
  std::vector<Monitor> reported;
  std::vector<ScreenRect> covered;  // in the order the saver covers them
  ScreenRect virtualScreen;
  std::int32_t snapshotWidth;
  std::int32_t snapshotHeight;
  std::vector<ScreenRect> parts;  // per covered monitor
  std::vector<Monitor> later;     // what the system reports while the saver runs
  std::vector<std::size_t> removed;
};

TEST(MonitorLayout, CoversVirtualScreenPartsAndRemovals) {
  const ScreenRect wide{0, 0, 1920, 1080};
  const ScreenRect left{-1280, 200, 1280, 1024};
  const ScreenRect above{0, -768, 1024, 768};
  const LayoutCase cases[] = {
      {"one monitor", {{wide, true}}, {wide}, wide, 1920, 1080, {wide}, {{wide, true}}, {}},
      {"Wine's two screens side by side",
       {{{0, 0, 1280, 1024}, true}, {{1280, 0, 1024, 768}, false}},
       {{0, 0, 1280, 1024}, {1280, 0, 1024, 768}},
       {0, 0, 2304, 1024},
       2304,
       1024,
       {{0, 0, 1280, 1024}, {1280, 0, 1024, 768}},
       {{{0, 0, 1280, 1024}, true}},
       {1}},
      {"secondary at negative x, primary listed second",
       {{left, false}, {wide, true}},
       {wide, left},
       {-1280, 0, 3200, 1224},
       3200,
       1224,
       {{1280, 0, 1920, 1080}, {0, 200, 1280, 1024}},
       {{wide, true}, {left, false}},
       {}},
      {"three monitors, one above: snapshot at half size",
       {{wide, true}, {left, false}, {above, false}},
       {wide, left, above},
       {-1280, -768, 3200, 1992},
       1600,
       996,
       {{640, 384, 960, 540}, {0, 484, 640, 512}, {640, 0, 512, 384}},
       {{wide, true}, {left, false}, {{0, -768, 1280, 1024}, false}},
       {2}},
      {"snapshot of another size is taken as the desktop scaled",
       {{wide, true}, {{1920, 0, 800, 600}, false}},
       {wide, {1920, 0, 800, 600}},
       {0, 0, 2720, 1080},
       2000,
       1080,
       {{0, 0, 1411, 1080}, {1411, 0, 589, 600}},
       {},
       {0, 1}},
      {"mirrored and empty monitors are left out, first taken as primary",
       {{wide, false}, {{0, 0, 0, 768}, false}, {wide, false}},
       {wide},
       wide,
       1920,
       1080,
       {wide},
       {{wide, false}},
       {}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    const MonitorLayout layout(c.reported);
    ASSERT_EQ(layout.Count(), c.covered.size());
    for (std::size_t i = 0; i < layout.Count(); ++i) {
      EXPECT_EQ(Text(layout.Monitors()[i].area), Text(c.covered[i])) << i;
      EXPECT_EQ(layout.Monitors()[i].primary, i == 0) << i;
      EXPECT_EQ(Text(layout.SnapshotPart(i, c.snapshotWidth, c.snapshotHeight)), Text(c.parts[i])) << i;
    }
    EXPECT_EQ(Text(layout.VirtualScreen()), Text(c.virtualScreen));
    EXPECT_TRUE(layout.SnapshotPart(layout.Count(), c.snapshotWidth, c.snapshotHeight).Empty());
    EXPECT_EQ(layout.RemovedIn(MonitorLayout(c.later)), c.removed);
  }
}

}  // namespace
