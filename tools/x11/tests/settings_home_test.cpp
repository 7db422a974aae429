#include "settings_home.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Write(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }

TEST(SettingsHome, FolderFromXdgConfigHomeOrHome) {
  EXPECT_EQ(UserSettingsFolder("/x/conf", "/home/u"), fs::path("/x/conf/hearthmoor"));
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  EXPECT_EQ(UserSettingsFolder("conf", "/home/u"), fs::path("/home/u/.config/hearthmoor"));
  EXPECT_EQ(UserSettingsFolder(nullptr, "/home/u"), fs::path("/home/u/.config/hearthmoor"));
  EXPECT_EQ(UserSettingsFolder("", "/home/u"), fs::path("/home/u/.config/hearthmoor"));
  // Without HOME (unset or empty) the password database names the home.
  const passwd* user = getpwuid(getuid());
  ASSERT_NE(user, nullptr);
  const fs::path fromDatabase = fs::path(user->pw_dir) / ".config/hearthmoor";
  EXPECT_EQ(UserSettingsFolder(nullptr, nullptr), fromDatabase);
  EXPECT_EQ(UserSettingsFolder("", ""), fromDatabase);
}

TEST(SettingsHome, FirstStartCopiesDefaultsButNeverOverwrites) {
  TempDir temp;
  const fs::path root(temp.path());
  const fs::path empty = root / "empty", defaults = root / "defaults", user = root / "home/.config/hearthmoor";
  fs::create_directories(empty);
  fs::create_directories(defaults);
  Write(defaults / "config.ini", "[Background]\nnum=0\n");
  Write(defaults / "store.ini", "[blur]\nnum=0\n");

  // The first folder holding a config.ini wins; missing ones are passed over.
  ASSERT_EQ(PrepareSettingsFolder(user, {root / "missing", empty, defaults}), "");
  EXPECT_EQ(Read(user / "config.ini"), "[Background]\nnum=0\n");
  EXPECT_EQ(Read(user / "store.ini"), "[blur]\nnum=0\n");

  Write(user / "config.ini", "mine");
  fs::remove(user / "store.ini");
  ASSERT_EQ(PrepareSettingsFolder(user, {defaults}), "");
  EXPECT_EQ(Read(user / "config.ini"), "mine");
  EXPECT_EQ(Read(user / "store.ini"), "[blur]\nnum=0\n");

  // Without defaults the folder is still made, and left empty.
  ASSERT_EQ(PrepareSettingsFolder(root / "bare", {empty}), "");
  EXPECT_TRUE(fs::is_directory(root / "bare"));
  EXPECT_FALSE(fs::exists(root / "bare/config.ini"));
}

TEST(SettingsHome, UnusableFoldersAreNamed) {
  TempDir temp;
  const fs::path root(temp.path());
  Write(root / "file", "x");
  EXPECT_NE(PrepareSettingsFolder(root / "file", {}), "");
  EXPECT_NE(PrepareSettingsFolder(root / "file/sub", {}), "");
  EXPECT_NE(PrepareSettingsFolder(fs::path(), {}), "");
}

}  // namespace
