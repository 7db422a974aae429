#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/ini_store.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

// Writes down where Settings::Load finds its folder, the way the installed product
// has it: under Windows the user's registry value (inside the test's own Wine prefix), in
// the portable build the environment variable. An empty text removes it.
void PointSettingsAt(const std::string& folderText);

// A settings folder of its own for each test, and the current directory put back
// afterwards (Load changes it).
class SettingsFolderTest : public ::testing::Test {
 protected:
  std::string FolderText() const { return dir_.path().string(); }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& content) const { WriteFileBytes(dir_ / name, content); }
  std::string Bytes(const std::string& name) const { return ReadFileBytes(dir_ / name); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }
  std::string Value(const std::string& file, const std::string& section, const std::string& key) const {
    IniStore store(PathOf(file));
    return store.ReadString(section, key, "<none>");
  }
  bool Load(Settings& settings) const {
    PointSettingsAt(FolderText());
    return settings.Load();
  }

  TempDir dir_;
  CurrentDirGuard cwd_{dir_.path()};
};
