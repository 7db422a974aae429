#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "record_text.h"
#include "settings/settings.h"

namespace {

// A palette told apart from others by its first point.
PaletteRecord Palette(int tag) {
  PaletteRecord record;
  record.points[0] = {tag, tag};
  return record;
}

std::vector<int> Tags(const Settings& settings) {
  std::vector<int> tags;
  for (const PaletteRecord& record : settings.GetPalettes()) tags.push_back(record.points[0].x);
  return tags;
}

void FillPalettes(Settings& settings, int count, Settings::Index current) {
  for (int i = 0; i < count; ++i) settings.AddPalette(Palette(i));
  settings.SetPaletteIndex(current);
}

TEST(SettingsListsTest, EmptyListsGiveTheBuiltInDefaults) {
  Settings settings;
  settings.SetPaletteIndex(7);
  EXPECT_EQ(Text(settings.CurrentPalette()), Text(Settings::DefaultPalette()));
  EXPECT_EQ(Text(settings.NextPalette()), Text(Settings::DefaultPalette()));
  EXPECT_EQ(settings.GetPaletteIndex(), 7u);
  settings.SetBackgroundIndex(3);
  EXPECT_EQ(settings.CurrentBackground(), "");
  EXPECT_EQ(settings.NextBackground(), "");
  EXPECT_EQ(settings.GetBackgroundIndex(), 3u);
  EXPECT_EQ(Text(settings.CurrentStyle()), Text(Settings::DefaultStyle()));
  settings.NextStyle();
  EXPECT_EQ(settings.GetStyleIndex(), 0u);
  EXPECT_EQ(Settings::DefaultBackground(), "desktop");
  const PaletteRecord fallback = Settings::DefaultPalette();
  EXPECT_EQ(Text(fallback), "96,0 174,67 162,200 223,255 0,16 163,65 62,179 133,255 153,0 199,249 253,-2 254,255 ");
}

TEST(SettingsListsTest, RotationWrapsAndResetsAnIndexPastTheEnd) {
  Settings settings;
  settings.SetBackgrounds({"a", "b", "c"}, 2);
  EXPECT_EQ(settings.NextBackground(), "a");
  EXPECT_EQ(settings.NextBackground(), "b");
  settings.SetBackgrounds({"a", "b", "c"}, 9);
  EXPECT_EQ(settings.CurrentBackground(), "a");
  EXPECT_EQ(settings.GetBackgroundIndex(), 0u);

  FillPalettes(settings, 1, 0);
  EXPECT_EQ(Text(settings.NextPalette()), Text(Palette(0)));  // one entry still "changes" to itself
  FillPalettes(settings, 2, 5);                               // now palettes 0, 0, 1 with index 5
  EXPECT_EQ(Text(settings.CurrentPalette()), Text(Palette(0)));
  EXPECT_EQ(settings.GetPaletteIndex(), 0u);
  settings.SetPaletteIndex(std::numeric_limits<Settings::Index>::max());
  EXPECT_EQ(Text(settings.NextPalette()), Text(Palette(0)));

  settings.SetStyles({"10,1", "20,2"}, 1);
  EXPECT_EQ(settings.CurrentStyle().temperatures[0], 20);
  settings.NextStyle();
  EXPECT_EQ(settings.CurrentStyle().temperatures[0], 10);
  settings.SetStyles({"10,1"}, 4);  // set past the end: reset at once
  EXPECT_EQ(settings.GetStyleIndex(), 0u);
  settings.SelectStyle(1);
  EXPECT_EQ(settings.GetStyleIndex(), 0u);
}

struct EditCase {
  const char* name;
  int count;
  Settings::Index current;
  enum { kRemove, kUp, kDown } operation;
  Settings::Index argument;
  bool result;
  std::vector<int> tags;
  Settings::Index index;
};

TEST(SettingsListsTest, EditingKeepsTheIndexRules) {
  const Settings::Index none = std::numeric_limits<Settings::Index>::max();
  const EditCase cases[] = {
      {"remove the current last palette", 4, 3, EditCase::kRemove, 3, true, {0, 1, 2}, 2},
      {"remove palette 0 while 3 is current", 5, 3, EditCase::kRemove, 0, true, {1, 2, 3, 4}, 3},
      {"remove the only palette", 1, 0, EditCase::kRemove, 0, true, {}, none},
      {"remove out of range", 2, 1, EditCase::kRemove, 2, false, {0, 1}, 1},
      {"move the current one up", 3, 2, EditCase::kUp, 2, true, {0, 2, 1}, 1},
      {"move up onto the current one", 3, 1, EditCase::kUp, 2, true, {0, 2, 1}, 1},
      {"move the first up", 3, 0, EditCase::kUp, 0, false, {0, 1, 2}, 0},
      {"move up past the end", 3, 0, EditCase::kUp, 3, false, {0, 1, 2}, 0},
      {"move up in a list of one", 1, 0, EditCase::kUp, 0, false, {0}, 0},
      {"move the current one down", 3, 0, EditCase::kDown, 0, true, {1, 0, 2}, 1},
      {"move down onto the current one", 3, 1, EditCase::kDown, 0, true, {1, 0, 2}, 1},
      {"move the last down", 3, 0, EditCase::kDown, 2, false, {0, 1, 2}, 0},
      {"move down in an empty list", 0, 0, EditCase::kDown, 0, false, {}, 0},
  };
  for (const EditCase& c : cases) {
    Settings settings;
    FillPalettes(settings, c.count, c.current);
    bool result = false;
    switch (c.operation) {
      case EditCase::kRemove:
        result = settings.RemovePalette(c.argument);
        break;
      case EditCase::kUp:
        result = settings.MovePaletteUp(c.argument);
        break;
      case EditCase::kDown:
        result = settings.MovePaletteDown(c.argument);
        break;
    }
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(Tags(settings), c.tags) << c.name;
    EXPECT_EQ(settings.GetPaletteIndex(), c.index) << c.name;
  }
}

TEST(SettingsListsTest, StoreEditsMarkTheStoreChangedEvenWhenRefused) {
  Settings settings;
  EXPECT_FALSE(settings.RemovePaletteFromStore(0));
  EXPECT_TRUE(settings.PaletteStoreChanged());
  EXPECT_FALSE(settings.StyleStoreChanged());
  EXPECT_FALSE(settings.RemoveStyleFromStore(3));
  EXPECT_TRUE(settings.StyleStoreChanged());

  EXPECT_TRUE(settings.AddPaletteToStore(Palette(1)));
  EXPECT_TRUE(settings.AddPaletteToStore(Palette(2)));
  EXPECT_TRUE(settings.RemovePaletteFromStore(0));
  ASSERT_EQ(settings.GetPaletteStore().size(), 1u);
  EXPECT_EQ(Text(settings.GetPaletteStore()[0]), Text(Palette(2)));
  EXPECT_TRUE(settings.AddStyleToStore("1,1"));
  EXPECT_TRUE(settings.AddStyleToStore("1,1"));  // duplicates are allowed
  EXPECT_TRUE(settings.RemoveStyleFromStore(1));
  EXPECT_EQ(settings.GetStyleStore(), std::vector<std::string>{"1,1"});
}

}  // namespace
