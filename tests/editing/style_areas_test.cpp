#include "editing/style_areas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

FireStyle MakeStyle(std::array<int, 8> temperatures, std::array<int, 8> modes = {}) {
  FireStyle style;
  std::copy(temperatures.begin(), temperatures.end(), style.temperatures);
  std::copy(modes.begin(), modes.end(), style.modes);
  return style;
}

TEST(StyleAreasTest, LoweringPullsLaterAreasDownAndRaisingNeverPushesEarlierOnes) {
  struct Case {
    std::array<int, 8> before;  // area `moved` already at its new value
    int moved;
    std::array<int, 8> after;
  };
  const Case cases[] = {
      // Area 3 raised above area 2: area 2 stays, nothing to the right is hotter.
      {{200, 180, 150, 170, 75, 50, 40, 30}, 3, {200, 180, 150, 170, 75, 50, 40, 30}},
      // Area 1 lowered to area 2's value: area 2 is not hotter, so area 3 stays.
      {{200, 100, 100, 170, 75, 50, 40, 30}, 1, {200, 100, 100, 170, 75, 50, 40, 30}},
      // Area 2 lowered below areas 3 and 4: both come down to it, area 5 was cooler.
      {{200, 180, 60, 100, 75, 50, 40, 30}, 2, {200, 180, 60, 60, 60, 50, 40, 30}},
      // The default style's trailing 255s come down when area 5 is moved.
      {{200, 180, 150, 100, 75, 40, 255, 255}, 5, {200, 180, 150, 100, 75, 40, 40, 40}},
      // Area 0 to zero pulls everything to zero.
      {{0, 180, 150, 100, 75, 50, 255, 255}, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
      // The last area has nothing to its right.
      {{200, 180, 150, 100, 75, 50, 40, 250}, 7, {200, 180, 150, 100, 75, 50, 40, 250}},
  };
  for (const Case& c : cases) {
    FireStyle style = MakeStyle(c.before);
    StyleAreas::PullDownAfter(style, c.moved);
    EXPECT_TRUE(std::equal(c.after.begin(), c.after.end(), style.temperatures)) << "moved " << c.moved;
  }
}

TEST(StyleAreasTest, DescriptionNamesEachFallingRangeAndItsAttenuation) {
  EXPECT_EQ(StyleAreas::Description(FireStyle{}),
            "The temperature in area [255,200] will be attenuated  1.\r\n"
            "The temperature in area [200,180] will not be attenuated.\r\n"
            "The temperature in area [180,150] will be attenuated  2.\r\n"
            "The temperature in area [150,100] will not be attenuated.\r\n"
            "The temperature in area [100,75] will be attenuated  1.\r\n"
            "The temperature in area [75,50] will be attenuated  2.\r\n");
  EXPECT_EQ(StyleAreas::Description(MakeStyle({100, 100, 100, 100, 100, 100, 100, 100}, {3, 0, 0, 0, 0, 0, 0, 0})),
            "The temperature in area [255,100] will be attenuated  3.\r\n");
  EXPECT_EQ(StyleAreas::Description(MakeStyle({100, 100, 100, 100, 100, 100, 100, 100}, {0, 1, 2, 3, 4, 5, 5, 5})),
            "The temperature in area [255,100] will not be attenuated.\r\n");
  EXPECT_EQ(StyleAreas::Description(MakeStyle({255, 255, 255, 255, 255, 255, 255, 255})), "");
}

}  // namespace
