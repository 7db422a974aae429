// Which folder a start loads, when a user's folder is made, and what goes into it:
// against real folders, with the names as the platform would have found them.
#include "settings/settings_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "settings/ini_store.h"
#include "support/temp_dir.h"

namespace {

enum class Loads { Nothing, OwnFolder, ProfileFolder, MachineFolder };

struct Case {
  const char* what;
  bool ownNamed, machineNamed, profileNamed;
  bool profileMakeable;
  std::vector<std::string> machineFiles;  // hold "defaults"
  std::vector<std::string> profileFiles;  // already there, hold "mine"
  Loads loads;
  // What the profile folder holds afterwards, by file; every other file is absent.
  std::map<std::string, std::string> profileAfter;
};

const std::vector<std::string> kEverything = {"config.ini", "store.ini", "help.chm", "log.txt", "report.csv"};

// clang-format off
const Case kCases[] = {
    {"the user's own folder comes first",
     true, true, true, true, kEverything, {}, Loads::OwnFolder, {}},
    {"a first start copies the two settings files and nothing else",
     false, true, true, true, kEverything, {}, Loads::ProfileFolder,
     {{"config.ini", "defaults"}, {"store.ini", "defaults"}}},
    {"a kept folder's files are never overwritten",
     false, true, true, true, kEverything, {"config.ini", "log.txt"}, Loads::ProfileFolder,
     {{"config.ini", "mine"}, {"store.ini", "defaults"}, {"log.txt", "mine"}}},
    {"defaults the machine lacks are not made up",
     false, true, true, true, {"store.ini"}, {}, Loads::ProfileFolder, {{"store.ini", "defaults"}}},
    {"without a profile folder the machine folder serves, as before",
     false, true, false, true, kEverything, {}, Loads::MachineFolder, {}},
    {"a profile folder that cannot be made leaves the machine folder",
     false, true, true, false, kEverything, {}, Loads::MachineFolder, {}},
    {"without the machine's defaults nothing is made",
     false, false, true, true, {}, {}, Loads::Nothing, {}},
};
// clang-format on

std::map<std::string, std::string> Contents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  if (!std::filesystem::exists(folder)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = ReadFileBytes(entry.path());
  }
  return files;
}

TEST(SettingsLocationTest, FolderAndFirstStartCopies) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::filesystem::path own = dir / "own", machine = dir / "machine";
    const std::filesystem::path profile = c.profileMakeable ? dir / "profile" : dir / "missing" / "profile";
    std::filesystem::create_directory(own);
    std::filesystem::create_directory(machine);
    for (const std::string& name : c.machineFiles) WriteFileBytes(machine / name, "defaults");
    if (!c.profileFiles.empty()) std::filesystem::create_directory(profile);
    for (const std::string& name : c.profileFiles) WriteFileBytes(profile / name, "mine");
    const auto machineBefore = Contents(machine);

    SettingsFolderNames names;
    if (c.ownNamed) names.user = own.string();
    if (c.machineNamed) names.machine = machine.string();
    if (c.profileNamed) names.profile = profile.string();
    const std::string folder = PrepareSettingsFolder(names);

    const std::map<Loads, std::string> expected = {{Loads::Nothing, ""},
                                                   {Loads::OwnFolder, SettingsFolderFromText(own.string())},
                                                   {Loads::ProfileFolder, SettingsFolderFromText(profile.string())},
                                                   {Loads::MachineFolder, SettingsFolderFromText(machine.string())}};
    EXPECT_EQ(folder, expected.at(c.loads));
    EXPECT_EQ(Contents(profile), c.profileAfter);
    EXPECT_EQ(Contents(machine), machineBefore);
    // Under Windows the first start wrote the folder down; later cases start afresh.
    RememberUserSettingsFolder("");
  }
}

// Network pictures come only from a user's own choice: the first start's copy
// loses them (keeping the current one where it stays), a folder's own file keeps them.
TEST(SettingsLocationTest, InheritedNetworkBackgroundsAreDropped) {
  const struct {
    const char* what;
    bool userHasConfig;
    std::vector<std::string> expected;  // num, then path0..., then currentOrder
  } cases[] = {
      {"copied from the machine", false, {"2", "Desktop", "<local>", "1"}},
      {"the user's own", true, {"4", "Desktop", "\\\\server\\share\\a.bmp", "//server/share/b.bmp", "<local>", "3"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::filesystem::path machine = dir / "machine", profile = dir / "profile", local = dir / "local.bmp";
    std::filesystem::create_directory(machine);
    WriteFileBytes(local, "a picture");
    const std::string config =
        "[Background]\r\nnum=4\r\npath0=Desktop\r\npath1=\\\\server\\share\\a.bmp\r\n"
        "path2=//server/share/b.bmp\r\npath3=" +
        local.string() + "\r\ncurrentOrder=3\r\n";
    WriteFileBytes(machine / "config.ini", config);
    if (c.userHasConfig) {
      std::filesystem::create_directory(profile);
      WriteFileBytes(profile / "config.ini", config);
    }
    SettingsFolderNames names;
    names.machine = machine.string();
    names.profile = profile.string();
    PrepareSettingsFolder(names);
    RememberUserSettingsFolder("");

    std::vector<std::string> found;
    {
      IniStore copy((profile / "config.ini").string());
      const int count = copy.ReadInt("Background", "num", 0);
      found.push_back(std::to_string(count));
      for (int i = 0; i < count; ++i) {
        const std::string entry = copy.ReadString("Background", "path" + std::to_string(i), "");
        found.push_back(entry == local.string() ? "<local>" : entry);
      }
      found.push_back(copy.ReadString("Background", "currentOrder", ""));
    }
    EXPECT_EQ(found, c.expected);
  }
}

}  // namespace
