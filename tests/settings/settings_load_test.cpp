// Load and the saves against real files in a settings folder of the test's own:
// natively through the portable INI code and the environment variable, under Wine
// through the registry and the private-profile calls.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "record_text.h"
#include "settings/settings.h"
#include "settings_folder_fixture.h"

namespace {

const char* const kPointKeys[] = {"RedPoint0",   "RedPoint1",   "RedPoint2",   "RedPoint3",
                                  "GreenPoint0", "GreenPoint1", "GreenPoint2", "GreenPoint3",
                                  "BluePoint0",  "BluePoint1",  "BluePoint2",  "BluePoint3"};

// A palette whose every point is (tag, i), and its section as the files hold it.
PaletteRecord Palette(int tag) {
  PaletteRecord record;
  for (int i = 0; i < PaletteRecord::kPoints; ++i) record.points[i] = {tag, i};
  return record;
}

std::string PaletteSection(int number, int tag) {
  std::string text = "[pallette" + std::to_string(number) + "]\r\n";
  for (int i = 0; i < PaletteRecord::kPoints; ++i) {
    text += std::string(kPointKeys[i]) + "=" + std::to_string(tag) + "," + std::to_string(i) + "\r\n";
  }
  return text;
}

std::string Lists(const std::vector<int>& paletteTags, const std::vector<std::string>& styles) {
  std::string text = "[ColorTableInfo]\r\nnum=" + std::to_string(paletteTags.size()) + "\r\nindex=0\r\n";
  for (std::size_t i = 0; i < paletteTags.size(); ++i) text += PaletteSection(static_cast<int>(i), paletteTags[i]);
  text += "[blur]\r\nnum=" + std::to_string(styles.size()) + "\r\n";
  for (std::size_t i = 0; i < styles.size(); ++i) text += "blur" + std::to_string(i) + "=" + styles[i] + "\r\n";
  return text + "currentOrder=0\r\n";
}

std::vector<int> Tags(const std::vector<PaletteRecord>& list) {
  std::vector<int> tags;
  for (const PaletteRecord& record : list) tags.push_back(record.points[0].x);
  return tags;
}

std::vector<std::string> Styles(const Settings& settings) {
  std::vector<std::string> list;
  Settings::Index index = 0;
  settings.GetStyles(list, index);
  return list;
}

std::vector<std::string> Backgrounds(const Settings& settings) {
  std::vector<std::string> list;
  Settings::Index index = 0;
  settings.GetBackgrounds(list, index);
  return list;
}

using SettingsLoadTest = SettingsFolderTest;

TEST_F(SettingsLoadTest, WithoutAFolderNothingLoads) {
  PointSettingsAt("");
  Settings settings;
  EXPECT_FALSE(settings.Load());
  EXPECT_FALSE(settings.IsLoaded());
  EXPECT_EQ(settings.GetSettingsFolder(), "");
  settings.SaveAll();  // with no folder, saving must not write anywhere
  settings.SavePositions();
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
}

TEST_F(SettingsLoadTest, FolderGetsOneSeparatorAndBecomesTheCurrentDirectory) {
  const std::string base = FolderText();
  const struct {
    std::string text;
    std::string folder;
  } cases[] = {
#ifdef _WIN32
      {base, base + "\\"},
      {base + "\\", base + "\\"},
#else
      {base, base + "/"},  // the portable build's only separator
#endif
      {base + "/", base + "/"},
  };
  for (const auto& c : cases) {
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    PointSettingsAt(c.text);
    Settings settings;
    ASSERT_TRUE(settings.Load()) << c.text;
    EXPECT_EQ(settings.GetSettingsFolder(), c.folder);
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir_.path())) << c.text;
  }
}

TEST_F(SettingsLoadTest, EmptyFolderLoadsDefaultsAndWritesNothing) {
  Settings settings;
  ASSERT_TRUE(Load(settings));
  EXPECT_TRUE(settings.IsLoaded());
  EXPECT_TRUE(Backgrounds(settings).empty());
  EXPECT_TRUE(settings.GetPalettes().empty());
  EXPECT_TRUE(Styles(settings).empty());
  EXPECT_EQ(settings.Interval(Rotation::kBackground), 50u);
  EXPECT_EQ(settings.Interval(Rotation::kPalette), 50u);
  EXPECT_EQ(settings.Interval(Rotation::kStyle), 50u);
  EXPECT_TRUE(settings.GetShowFire());
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
}

TEST_F(SettingsLoadTest, ReadsAPreparedFolder) {
  Write("a.bmp", "BM");
  Write("config.ini", "[Background]\r\nnum=6\r\npath0=Desktop\r\npath1=" + PathOf("a.bmp") +
                          "\r\npath2=" + PathOf("gone.bmp") +
                          "\r\npath3=desktop\r\npath4=\r\npath5=\\\\nowhere\\share\\a.bmp\r\n"
                          "currentOrder=1\r\n"
                          "[TimeSection]\r\nchangeBackgroundTime=0\r\nchangeColorTime=abc\r\n"
                          "changeBlurTime=5000\r\nShowFire=0\r\n"
                          "[ColorTableInfo]\r\nnum=3\r\nindex=1\r\n" +
                          PaletteSection(0, 4) +
                          "[pallette1]\r\nRedPoint0=5\r\nGreenPoint3=7,8,9\r\nBluePoint3=-1,300\r\n"
                          "[blur]\r\nnum=3\r\nblur0=10,1|20,2\r\nblur1=\r\nblur2=1,2,3\r\ncurrentOrder=7\r\n");
  Write("store.ini", Lists({8, 9}, {"1,1|2,2"}));
  Settings settings;
  ASSERT_TRUE(Load(settings));

  // A name on another machine is kept unasked: loading it finds out, off the frame thread.
  EXPECT_EQ(Backgrounds(settings), (std::vector<std::string>{"Desktop", PathOf("a.bmp"), "\\\\nowhere\\share\\a.bmp"}));
  EXPECT_EQ(settings.GetBackgroundIndex(), 1u);
  EXPECT_EQ(settings.IntervalMs(Rotation::kBackground), 5000u);
  EXPECT_EQ(settings.Interval(Rotation::kPalette), 50u);
  EXPECT_EQ(settings.IntervalMs(Rotation::kStyle), 7200000u);
  EXPECT_EQ(settings.IntervalText(Rotation::kStyle), "9.9 hours");
  EXPECT_FALSE(settings.GetShowFire());

  ASSERT_EQ(settings.PaletteCount(), 2u);  // the list ends where pallette2 is missing
  EXPECT_EQ(Text(settings.GetPalettes()[0]), Text(Palette(4)));
  PaletteRecord malformed;
  malformed.points[11] = {-1, 300};  // stored as given; the fire clamps
  EXPECT_EQ(Text(settings.GetPalettes()[1]), Text(malformed));
  EXPECT_EQ(settings.GetPaletteIndex(), 1u);

  EXPECT_EQ(Styles(settings), (std::vector<std::string>{"10,1|20,2", "", "1,2,3"}));
  EXPECT_EQ(settings.GetStyleIndex(), 0u);  // 7 was out of range
  EXPECT_EQ(settings.CurrentStyle().temperatures[1], 20);

  EXPECT_EQ(Tags(settings.GetPaletteStore()), (std::vector<int>{8, 9}));
  EXPECT_EQ(settings.GetStyleStore(), std::vector<std::string>{"1,1|2,2"});
  EXPECT_FALSE(settings.PaletteStoreChanged());
}

TEST_F(SettingsLoadTest, AbsurdCountsAndIndicesAreBounded) {
  Write("config.ini",
        "[Background]\r\nnum=-5\r\npath0=Desktop\r\ncurrentOrder=-1\r\n"
        "[TimeSection]\r\nchangeBlurTime=-1\r\n"
        "[blur]\r\nnum=2147483647\r\nblur0=1,1\r\ncurrentOrder=99999\r\n");
  Settings settings;
  ASSERT_TRUE(Load(settings));
  std::vector<std::string> backgrounds;
  Settings::Index index = 0;
  settings.GetBackgrounds(backgrounds, index);
  EXPECT_TRUE(backgrounds.empty());
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(Styles(settings), std::vector<std::string>{"1,1"});  // what the file holds, not two billion
  EXPECT_EQ(settings.GetStyleIndex(), 0u);
  EXPECT_EQ(settings.IntervalMs(Rotation::kStyle), 7200000u);  // -1 counts as above 1000
}

// Damaged files: a list holds what the file holds, within the limits, however
// its count reads; the values are what the Windows calls would hand out.
TEST_F(SettingsLoadTest, DamagedListsHoldWhatTheFileHolds) {
  std::string thousand = "[ColorTableInfo]\r\nnum=1000\r\nindex=999\r\n";
  for (int i = 0; i < 1000; ++i) thousand += PaletteSection(i, i);
  const struct {
    const char* what;
    std::string config;
    std::size_t backgrounds, palettes, styles;
    Settings::Index paletteIndex;
    int firstTag;  // the first palette's
  } cases[] = {
      {"counts far beyond the entries",
       "[Background]\r\nnum=2147483647\r\npath0=Desktop\r\npath1=Desktop\r\ncurrentOrder=2147483647\r\n"
       "[ColorTableInfo]\r\nnum=2147483647\r\nindex=1\r\n" +
           PaletteSection(0, 1) + PaletteSection(1, 2) + "[blur]\r\nnum=2147483647\r\nblur0=1,1\r\nblur1=\r\n",
       2, 2, 2, 1, 1},
      {"a hole in the numbering is passed over",
       "[Background]\r\nnum=3\r\npath0=Desktop\r\npath2=Desktop\r\n[ColorTableInfo]\r\nnum=3\r\nindex=1\r\n" +
           PaletteSection(0, 1) + PaletteSection(2, 3) + "[blur]\r\nnum=3\r\nblur1=1,1\r\n",
       2, 2, 1, 1, 1},
      {"a thousand palettes", thousand, 0, Settings::kMaxPalettes, 0, 0, 0},
      {"a section twice: the first counts",
       "[ColorTableInfo]\r\nnum=1\r\n" + PaletteSection(0, 7) + "[ColorTableInfo]\r\nnum=5\r\n" + PaletteSection(0, 8) +
           PaletteSection(1, 9),
       0, 1, 0, 0, 7},
      {"NUL bytes end a value",
       std::string("[Background]\r\nnum=3\r\npath0=Desktop\0junk\r\npath1=Desk\0top\r\npath2=Desktop\r\n", 72) +
           "[ColorTableInfo]\r\nnum=1\r\n" + PaletteSection(0, 1).substr(0, 40) + std::string("\0\0", 2),
       2, 1, 0, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write("config.ini", c.config);
    Settings settings;
    ASSERT_TRUE(Load(settings));
    EXPECT_EQ(Backgrounds(settings), std::vector<std::string>(c.backgrounds, "Desktop"));
    EXPECT_EQ(settings.PaletteCount(), c.palettes);
    EXPECT_EQ(settings.GetPaletteIndex(), c.paletteIndex);
    EXPECT_EQ(Styles(settings).size(), c.styles);
    if (c.palettes > 0) {
      EXPECT_EQ(settings.GetPalettes()[0].points[0].x, c.firstTag);
    }
  }
}

// Each list of two holds stored indices 0 and 1; 2, its length, is one past the
// last entry and reads as 0 like any other index out of range.
TEST_F(SettingsLoadTest, AStoredIndexMustBeBelowTheListsLength) {
  for (const int stored : {1, 2}) {
    const std::string index = std::to_string(stored);
    std::string text = Lists({1, 2}, {"a", "b"});
    text.replace(text.find("index=0"), 7, "index=" + index);
    text.replace(text.find("currentOrder=0"), 14, "currentOrder=" + index);
    Write("config.ini",
          "[Background]\r\nnum=2\r\npath0=Desktop\r\npath1=Desktop\r\ncurrentOrder=" + index + "\r\n" + text);
    Settings settings;
    ASSERT_TRUE(Load(settings));
    const Settings::Index expected = stored < 2 ? 1 : 0;
    EXPECT_EQ(settings.GetBackgroundIndex(), expected) << stored;
    EXPECT_EQ(settings.GetPaletteIndex(), expected) << stored;
    EXPECT_EQ(settings.GetStyleIndex(), expected) << stored;
  }
}

TEST_F(SettingsLoadTest, SaveAllRoundTripsAndKeepsWhatItDoesNotKnow) {
  Write("a.bmp", "BM");
  Write("config.ini", "[Private]\r\nmine=1\r\n[Background]\r\nextra=kept\r\n");
  Write("store.ini", "[Notes]\r\nnote=hello\r\n");
  {
    Settings settings;
    ASSERT_TRUE(Load(settings));
    settings.SetBackgrounds({PathOf("a.bmp"), "Desktop"}, 1);
    for (int tag : {3, 5, 7}) settings.AddPalette(Palette(tag));
    settings.SetPaletteIndex(2);
    settings.SetStyles({"200,1|180,0", "x"}, 1);
    settings.SetInterval(Rotation::kPalette, 8);
    settings.SetShowFire(false);
    settings.AddPaletteToStore(Palette(11));
    settings.AddStyleToStore("9,9");
    EXPECT_TRUE(settings.SaveAll());
    EXPECT_FALSE(settings.PaletteStoreChanged());
    EXPECT_FALSE(settings.StyleStoreChanged());
  }
  EXPECT_EQ(Value("config.ini", "Private", "mine"), "1");
  EXPECT_EQ(Value("config.ini", "Background", "extra"), "kept");
  EXPECT_EQ(Value("store.ini", "Notes", "note"), "hello");
  EXPECT_EQ(Value("config.ini", "pallette1", "RedPoint2"), "5,2");
  EXPECT_EQ(Value("config.ini", "TimeSection", "ShowFire"), "0");

  Settings again;
  ASSERT_TRUE(Load(again));
  EXPECT_EQ(Backgrounds(again), (std::vector<std::string>{PathOf("a.bmp"), "Desktop"}));
  EXPECT_EQ(again.GetBackgroundIndex(), 1u);
  EXPECT_EQ(Tags(again.GetPalettes()), (std::vector<int>{3, 5, 7}));
  EXPECT_EQ(Text(again.GetPalettes()[1]), Text(Palette(5)));
  EXPECT_EQ(again.GetPaletteIndex(), 2u);
  EXPECT_EQ(Styles(again), (std::vector<std::string>{"200,1|180,0", "x"}));
  EXPECT_EQ(again.GetStyleIndex(), 1u);
  EXPECT_EQ(again.Interval(Rotation::kPalette), 8u);
  EXPECT_EQ(again.Interval(Rotation::kBackground), 50u);
  EXPECT_FALSE(again.GetShowFire());
  EXPECT_EQ(Tags(again.GetPaletteStore()), (std::vector<int>{11}));
  EXPECT_EQ(again.GetStyleStore(), std::vector<std::string>{"9,9"});
}

// A file that cannot be written once the settings are loaded (here a folder in
// its place) makes SaveAll say so, whichever of the two it is.
TEST_F(SettingsLoadTest, SaveAllReportsAFileThatTookNothing) {
  for (const char* name : {"config.ini", "store.ini"}) {
    SCOPED_TRACE(name);
    Write("config.ini", "");
    Write("store.ini", "");
    Settings settings;
    ASSERT_TRUE(Load(settings));
    std::filesystem::remove(dir_ / name);
    std::filesystem::create_directory(dir_ / name);
    EXPECT_FALSE(settings.SaveAll());
    std::filesystem::remove_all(dir_ / name);
  }
}

TEST_F(SettingsLoadTest, ShrinkingAListLeavesItsOldSectionsButReadsByCount) {
  Write("config.ini", Lists({0, 1, 2, 3, 4}, {"a", "b", "c"}));
  {
    Settings settings;
    ASSERT_TRUE(Load(settings));
    settings.SetPaletteIndex(4);
    ASSERT_TRUE(settings.RemovePalette(4));
    ASSERT_TRUE(settings.RemovePalette(0));
    settings.SetStyles({"c"}, 0);
    settings.SaveAll();
  }
  EXPECT_EQ(Value("config.ini", "ColorTableInfo", "num"), "3");
  EXPECT_EQ(Value("config.ini", "ColorTableInfo", "index"), "2");
  EXPECT_EQ(Value("config.ini", "pallette3", "RedPoint0"), "3,0");
  EXPECT_EQ(Value("config.ini", "pallette4", "RedPoint0"), "4,0");
  EXPECT_EQ(Value("config.ini", "blur", "blur2"), "c");
  Settings again;
  ASSERT_TRUE(Load(again));
  EXPECT_EQ(Tags(again.GetPalettes()), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Styles(again), std::vector<std::string>{"c"});
}

TEST_F(SettingsLoadTest, VanishedBackgroundIsLeftOutAndTheRestRenumbered) {
  Write("a.bmp", "BM");
  Write("b.bmp", "BM");
  // An older list whose second entry would otherwise come back.
  Write("config.ini", "[Background]\r\nnum=3\r\npath0=Desktop\r\npath1=Desktop\r\npath2=Desktop\r\n");
  {
    Settings settings;
    ASSERT_TRUE(Load(settings));
    settings.SetBackgrounds({PathOf("a.bmp"), PathOf("gone.bmp"), PathOf("b.bmp")}, 2);
    settings.SaveAll();
  }
  EXPECT_EQ(Value("config.ini", "Background", "num"), "2");
  EXPECT_EQ(Value("config.ini", "Background", "path0"), PathOf("a.bmp"));
  EXPECT_EQ(Value("config.ini", "Background", "path1"), PathOf("b.bmp"));
  EXPECT_EQ(Value("config.ini", "Background", "currentOrder"), "1");
  Settings again;
  ASSERT_TRUE(Load(again));
  EXPECT_EQ(Backgrounds(again), (std::vector<std::string>{PathOf("a.bmp"), PathOf("b.bmp")}));
  EXPECT_EQ(again.GetBackgroundIndex(), 1u);  // still b.bmp
}

TEST_F(SettingsLoadTest, SavePositionsWritesOnlyTheThreeIndices) {
  const std::string before =
      "[Background]\r\nnum=2\r\npath0=Desktop\r\npath1=Desktop\r\ncurrentOrder=0\r\n"
      "[TimeSection]\r\nchangeColorTime=7\r\n" +
      Lists({1, 2, 3}, {"a", "b"});
  Write("config.ini", before);
  Settings settings;
  ASSERT_TRUE(Load(settings));
  settings.NextBackground();
  settings.NextPalette();
  settings.NextPalette();
  settings.NextStyle();
  // In-memory edits that SavePositions must not write.
  settings.SetInterval(Rotation::kPalette, 1000);
  settings.AddPalette(Palette(9));
  settings.SetBackgrounds({"Desktop", "Desktop", "Desktop"}, 1);
  settings.SavePositions();

  std::string expected = before;
  expected.replace(expected.find("currentOrder=0"), 14, "currentOrder=1");
  expected.replace(expected.find("index=0"), 7, "index=2");
  expected.replace(expected.rfind("currentOrder=0"), 14, "currentOrder=1");
  EXPECT_EQ(Bytes("config.ini"), expected);
  EXPECT_FALSE(Exists("store.ini"));
}

TEST_F(SettingsLoadTest, SavePositionsWritesZeroForAnIndexPastTheEnd) {
  Write("config.ini", Lists({1, 2}, {}));
  Settings settings;
  ASSERT_TRUE(Load(settings));
  settings.SetPaletteIndex(1);
  ASSERT_TRUE(settings.RemovePalette(0));
  ASSERT_TRUE(settings.RemovePalette(0));  // empty list: the index is now the largest value
  settings.SavePositions();
  EXPECT_EQ(Value("config.ini", "ColorTableInfo", "index"), "0");
  EXPECT_EQ(Value("config.ini", "Background", "currentOrder"), "0");
}

TEST_F(SettingsLoadTest, SaveStoresWritesOnlyTheChangedStore) {
  Write("store.ini", Lists({1, 2}, {"a"}));
  Settings settings;
  ASSERT_TRUE(Load(settings));
  settings.SaveStores();  // nothing changed: the file stays as it is
  EXPECT_EQ(Bytes("store.ini"), Lists({1, 2}, {"a"}));

  settings.AddStyleToStore("b");
  // Marks the palette section so that a rewrite of it would show.
  Write("store.ini", Lists({1, 2}, {"a"}) + "[pallette0]\r\nRedPoint0=77,77\r\n");
  settings.SaveStores();
  EXPECT_FALSE(settings.StyleStoreChanged());
  EXPECT_EQ(Value("store.ini", "blur", "num"), "2");
  EXPECT_EQ(Value("store.ini", "blur", "blur1"), "b");
  EXPECT_EQ(Value("store.ini", "pallette0", "RedPoint0"), "1,0");  // the first section of that name
  EXPECT_FALSE(Exists("config.ini"));

  settings.RemovePaletteFromStore(0);
  settings.SaveStores();
  EXPECT_EQ(Value("store.ini", "ColorTableInfo", "num"), "1");
  EXPECT_EQ(Value("store.ini", "pallette0", "RedPoint0"), "2,0");
}

}  // namespace
