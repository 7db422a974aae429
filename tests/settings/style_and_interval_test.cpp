#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "record_text.h"
#include "settings/change_interval.h"
#include "settings/settings.h"

namespace {

FireStyle Style(std::initializer_list<int> t, std::initializer_list<int> a) {
  FireStyle style;
  int k = 0;
  for (int v : t) style.temperatures[k++] = static_cast<std::uint8_t>(v);
  k = 0;
  for (int v : a) style.modes[k++] = static_cast<std::uint8_t>(v);
  return style;
}

TEST(StyleTextTest, ParsesOverTheDefaultStyle) {
  const FireStyle fallback = Settings::DefaultStyle();
  ASSERT_EQ(Text(fallback), Text(Style({255, 255, 50, 75, 100, 150, 180, 200}, {80, 0, 2, 1, 0, 2, 0, 1})));
  const struct {
    const char* text;
    FireStyle expected;
  } cases[] = {
      {"200,1|180,0|150,2|100,0|75,1|50,2|255,0|255,2",
       Style({200, 180, 150, 100, 75, 50, 255, 255}, {1, 0, 2, 0, 1, 2, 0, 2})},
      {"10,1,20,2", Style({10, 20, 50, 75, 100, 150, 180, 200}, {1, 2, 2, 1, 0, 2, 0, 1})},
      {"10|1|20|2", Style({10, 20, 50, 75, 100, 150, 180, 200}, {1, 2, 2, 1, 0, 2, 0, 1})},
      {"300,-1", Style({44, 255, 50, 75, 100, 150, 180, 200}, {255, 0, 2, 1, 0, 2, 0, 1})},
      {"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15", fallback},  // odd piece count
      {"", fallback},
      {"10,1|", fallback},                                                           // three pieces
      {",|,", Style({0, 0, 50, 75, 100, 150, 180, 200}, {0, 0, 2, 1, 0, 2, 0, 1})},  // empty pieces read as 0
      {"x,y", Style({0, 255, 50, 75, 100, 150, 180, 200}, {0, 0, 2, 1, 0, 2, 0, 1})},
      {"1,1,2,2,3,3,4,4,5,5,6,6,7,7,8,8,9,9", Style({1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8})},
  };
  for (const auto& c : cases) EXPECT_EQ(Text(Settings::ParseStyle(c.text)), Text(c.expected)) << '"' << c.text << '"';
}

TEST(StyleTextTest, FormatRoundTripsThroughParse) {
  const FireStyle style = Style({200, 180, 150, 100, 75, 50, 255, 255}, {1, 0, 2, 0, 1, 2, 0, 2});
  const std::string text = Settings::FormatStyle(style.temperatures, style.modes);
  EXPECT_EQ(text, "200,1|180,0|150,2|100,0|75,1|50,2|255,0|255,2");
  EXPECT_EQ(Text(Settings::ParseStyle(text)), text);
  EXPECT_EQ(Settings::FormatStyle(Settings::DefaultStyle()), "255,80|255,0|50,2|75,1|100,0|150,2|180,0|200,1");
}

TEST(ChangeIntervalTest, PositionsGiveMillisecondsAndLabels) {
  const struct {
    std::uint32_t position;
    const char* text;
    std::uint32_t ms;
  } cases[] = {
      {0, "5 seconds", 5000},       {1, "12 seconds", 7195},       {7, "55 seconds", 50365},
      {8, "1.0 minute", 57560},     {9, "1.1 minutes", 64755},     {10, "1.2 minutes", 71950},
      {50, "6.0 minutes", 359750},  {100, "12.0 minutes", 719500}, {500, "1.0 hour", 3597500},
      {1000, "2.0 hours", 7195000}, {5000, "9.9 hours", 7200000},  {0xFFFFFFFFu, "1193.0 hours", 7200000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IntervalText(c.position, 5, 7200), c.text) << c.position;
    EXPECT_EQ(IntervalMilliseconds(c.position, 5, 7200), c.ms) << c.position;
  }
}

TEST(ChangeIntervalTest, LabelUnitsAtTheirBoundaries) {
  // Limits chosen so that the position is the number of seconds past 0.
  const struct {
    std::uint32_t seconds;
    const char* text;
  } cases[] = {{0, "0 second"},     {1, "1 second"},        {59, "59 seconds"}, {60, "1.0 minute"},
               {66, "1.1 minutes"}, {3599, "59.9 minutes"}, {3600, "1.0 hour"}, {7200, "2.0 hours"},
               {3959, "1.0 hour"},  {3960, "1.1 hours"}};
  for (const auto& c : cases) EXPECT_EQ(IntervalText(1000, c.seconds, c.seconds), c.text) << c.seconds;
}

TEST(ChangeIntervalTest, SettersClampButLoadedPositionsStandAsTheyAre) {
  Settings settings;
  EXPECT_EQ(settings.Interval(Rotation::kPalette), 10u);  // until loaded
  settings.SetInterval(Rotation::kPalette, 5000);
  settings.SetInterval(Rotation::kBackground, 0);
  settings.SetInterval(Rotation::kStyle, 1);
  EXPECT_EQ(settings.Interval(Rotation::kPalette), 1000u);
  EXPECT_EQ(settings.IntervalMs(Rotation::kPalette), 7195000u);
  EXPECT_EQ(settings.IntervalText(Rotation::kPalette), "2.0 hours");
  EXPECT_EQ(settings.IntervalMs(Rotation::kBackground), 5000u);
  EXPECT_EQ(settings.IntervalText(Rotation::kStyle), "12 seconds");
}

}  // namespace
