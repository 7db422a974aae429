// The one-time import of update files named in config.ini's [update] section.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/update_file_name.h"
#include "settings_folder_fixture.h"

namespace {

std::string Palettes(const std::vector<int>& tags) {
  std::string text = "[ColorTableInfo]\r\nnum=" + std::to_string(tags.size()) + "\r\nindex=0\r\n";
  for (std::size_t i = 0; i < tags.size(); ++i) {
    text += "[pallette" + std::to_string(i) + "]\r\nRedPoint0=" + std::to_string(tags[i]) + ",0\r\n";
  }
  return text;
}

std::string Styles(const std::vector<std::string>& styles) {
  std::string text = "[blur]\r\nnum=" + std::to_string(styles.size()) + "\r\n";
  for (std::size_t i = 0; i < styles.size(); ++i) text += "blur" + std::to_string(i) + "=" + styles[i] + "\r\n";
  return text;
}

std::vector<int> Tags(const std::vector<PaletteRecord>& list) {
  std::vector<int> tags;
  for (const PaletteRecord& record : list) tags.push_back(record.points[0].x);
  return tags;
}

std::vector<std::string> StyleList(const Settings& settings) {
  std::vector<std::string> list;
  Settings::Index index = 0;
  settings.GetStyles(list, index);
  return list;
}

class UpdateImportTest : public SettingsFolderTest {
 protected:
  // The user's own files: one background, interval 100, palettes 1 and 2, styles
  // s1 and s2, a store, and content of their own.
  void WriteUserFiles(const std::string& updateSection) {
    Write("config.ini",
          "[Private]\r\nmine=1\r\n[Background]\r\nnum=1\r\npath0=Desktop\r\n"
          "[TimeSection]\r\nchangeBackgroundTime=100\r\nchangeColorTime=100\r\n" +
              Palettes({1, 2}) + Styles({"s1", "s2"}) + updateSection);
    Write("store.ini", Palettes({21, 22}) + Styles({"t0"}));
  }
};

TEST_F(UpdateImportTest, ConfigUpdateLeadsAndTheUsersOwnEntriesFollow) {
  Write("a.bmp", "BM");
  Write("new.ini", "[Background]\r\nnum=1\r\npath0=" + PathOf("a.bmp") +
                       "\r\n[TimeSection]\r\nchangeColorTime=500\r\n" + Palettes({2, 3}) + Styles({"s2", "s3"}));
  WriteUserFiles("[update]\r\nconfig=new.ini\r\nstore=\r\n");
  Settings settings;
  ASSERT_TRUE(Load(settings));

  std::vector<std::string> backgrounds;
  Settings::Index index = 0;
  settings.GetBackgrounds(backgrounds, index);
  EXPECT_EQ(backgrounds, std::vector<std::string>{PathOf("a.bmp")});
  EXPECT_EQ(settings.Interval(Rotation::kPalette), 500u);
  EXPECT_EQ(settings.Interval(Rotation::kBackground), 50u);  // the update's values stand, missing ones included
  EXPECT_EQ(Tags(settings.GetPalettes()), (std::vector<int>{2, 3, 1}));
  EXPECT_EQ(StyleList(settings), (std::vector<std::string>{"s2", "s3", "s1"}));
  EXPECT_EQ(Tags(settings.GetPaletteStore()), (std::vector<int>{21, 22}));

  EXPECT_FALSE(Exists("new.ini"));
  EXPECT_EQ(Value("config.ini", "update", "config"), "");
  EXPECT_EQ(Value("config.ini", "update", "store"), "");
  EXPECT_EQ(Value("config.ini", "Private", "mine"), "1");
  EXPECT_EQ(Value("config.ini", "ColorTableInfo", "num"), "3");
  EXPECT_EQ(Value("config.ini", "blur", "blur2"), "s1");
  EXPECT_EQ(Value("config.ini", "TimeSection", "changeColorTime"), "500");

  Settings again;  // the import happens once
  ASSERT_TRUE(Load(again));
  EXPECT_EQ(Tags(again.GetPalettes()), (std::vector<int>{2, 3, 1}));
  EXPECT_EQ(again.Interval(Rotation::kPalette), 500u);
}

TEST_F(UpdateImportTest, StoreUpdateMergesTheUsersStoreAndSavesEverything) {
  Write("newstore.ini", Palettes({22, 23}) + Styles({"t1"}));
  WriteUserFiles("[update]\r\nconfig=\r\nstore=newstore.ini\r\n");
  Settings settings;
  ASSERT_TRUE(Load(settings));
  EXPECT_EQ(Tags(settings.GetPaletteStore()), (std::vector<int>{22, 23, 21}));
  EXPECT_EQ(settings.GetStyleStore(), (std::vector<std::string>{"t1", "t0"}));
  EXPECT_EQ(Tags(settings.GetPalettes()), (std::vector<int>{1, 2}));  // config read as usual
  EXPECT_EQ(settings.Interval(Rotation::kPalette), 100u);
  EXPECT_FALSE(Exists("newstore.ini"));
  EXPECT_EQ(Value("store.ini", "ColorTableInfo", "num"), "3");
  EXPECT_EQ(Value("store.ini", "blur", "blur1"), "t0");
  EXPECT_EQ(Value("config.ini", "update", "store"), "");
}

TEST_F(UpdateImportTest, MissingUpdateFileIsIgnoredButTheKeysAreEmptied) {
  WriteUserFiles("[update]\r\nconfig=missing.ini\r\nstore=alsomissing.ini\r\n");
  const std::string store = Bytes("store.ini");
  Settings settings;
  ASSERT_TRUE(Load(settings));
  EXPECT_EQ(Tags(settings.GetPalettes()), (std::vector<int>{1, 2}));
  EXPECT_EQ(Value("config.ini", "update", "config"), "");
  EXPECT_EQ(Value("config.ini", "update", "store"), "");
  EXPECT_EQ(Bytes("store.ini"), store);  // nothing imported: no full save
}

TEST_F(UpdateImportTest, NamesLeadingOutOfTheFolderAreRefused) {
  TempDir outside;
  WriteFileBytes(outside / "evil.ini", Palettes({66}));
  std::filesystem::create_directory(dir_ / "sub");
  Write("sub/evil.ini", Palettes({66}));
  const std::string names[] = {
      (outside / "evil.ini").string(),
      "../" + outside.path().filename().string() + "/evil.ini",
      "..\\" + outside.path().filename().string() + "\\evil.ini",
      "sub/evil.ini",
      "sub\\evil.ini",
      "..",
      "config.ini",
      "store.ini",
      "CONFIG.INI",
  };
  for (const std::string& name : names) {
    WriteUserFiles("[update]\r\nconfig=" + name + "\r\nstore=" + name + "\r\n");
    Settings settings;
    ASSERT_TRUE(Load(settings)) << name;
    EXPECT_EQ(Tags(settings.GetPalettes()), (std::vector<int>{1, 2})) << name;
    EXPECT_EQ(Tags(settings.GetPaletteStore()), (std::vector<int>{21, 22})) << name;
    EXPECT_EQ(Value("config.ini", "update", "config"), "") << name;
    EXPECT_EQ(Value("config.ini", "update", "store"), "") << name;
    EXPECT_EQ(Value("config.ini", "Private", "mine"), "1") << name;
    EXPECT_TRUE(Exists("store.ini")) << name;
  }
  EXPECT_TRUE(std::filesystem::exists(outside / "evil.ini"));
  EXPECT_TRUE(Exists("sub/evil.ini"));
}

TEST(UpdateFileNameTest, OnlyPlainNamesInsideTheFolderPass) {
  const struct {
    const char* name;
    bool safe;
  } cases[] = {
      {"update.ini", true},
      {"new config.ini", true},
      {"..update.ini", true},
      {"config.ini.new", true},
      {"", false},
      {".", false},
      {"..", false},
      {"../x.ini", false},
      {"a\\b.ini", false},
      {"a/b.ini", false},
      {"/etc/passwd", false},
      {"C:x.ini", false},
      {"C:\\x.ini", false},
      {"x.ini:stream", false},
      {"config.ini", false},
      {"Store.INI", false},
      {"config.ini.", false},
      {"store.ini ", false},
      {"CON", false},
      {"nul.ini", false},
      {"com1", false},
      {"lpt9.txt", false},
      {"com10", true},
      {"console.ini", true},
      {"a\nb", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSafeUpdateFileName(c.name), c.safe) << '"' << c.name << '"';
}

}  // namespace
