#include "settings/settings_location.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "image/network_path.h"
#include "settings/file_access.h"
#include "settings/ini_store.h"
#include "settings/list_io.h"

namespace {

// Read entry by entry, not through ReadBackgrounds: it keeps network names.
void DropNetworkBackgrounds(const std::string& configPath) {
  IniStore config(configPath);
  const int count = std::min(config.ReadInt("Background", "num", 0), static_cast<int>(kMaxListEntries));
  const int current = config.ReadInt("Background", "currentOrder", 0);
  std::vector<std::string> kept;
  std::uint32_t keptCurrent = 0;
  for (int i = 0; i < count; ++i) {
    std::string entry = config.ReadString("Background", "path" + std::to_string(i), "");
    if (IsNetworkPath(entry)) continue;
    if (i == current) keptCurrent = static_cast<std::uint32_t>(kept.size());
    kept.push_back(std::move(entry));
  }
  if (kept.size() != static_cast<std::size_t>(std::max(count, 0))) WriteBackgrounds(config, kept, keptCurrent);
}

}  // namespace

SettingsLocation ChooseSettingsLocation(const SettingsFolderNames& names) {
  SettingsLocation location;
  location.machineFolder = SettingsFolderFromText(names.machine);
  if (!names.user.empty()) {
    location.folder = SettingsFolderFromText(names.user);
  } else if (!names.machine.empty() && !names.profile.empty()) {
    location.folder = SettingsFolderFromText(names.profile);
    location.firstStart = true;
  } else {
    location.folder = location.machineFolder;
  }
  return location;
}

bool MakeUserSettingsFolder(const SettingsLocation& location) {
  if (!MakeFolder(location.folder)) return false;
  // A folder the user kept from an earlier installation (or one the machine
  // folder already is) keeps its files; only missing ones come from the defaults.
  // The log, the report and the help file are not a user's to inherit.
  const std::string config = location.folder + "config.ini";
  if (CopyFileIfMissing(location.machineFolder + "config.ini", config)) DropNetworkBackgrounds(config);
  CopyFileIfMissing(location.machineFolder + "store.ini", location.folder + "store.ini");
  RememberUserSettingsFolder(location.folder);
  return true;
}

std::string PrepareSettingsFolder(const SettingsFolderNames& names) {
  const SettingsLocation location = ChooseSettingsLocation(names);
  if (location.firstStart && !MakeUserSettingsFolder(location)) return location.machineFolder;
  return location.folder;
}

std::string AdministratorsHelpFile(const SettingsFolderNames& names) {
  const std::string folder = ChooseSettingsLocation(names).machineFolder;
  return folder.empty() ? "" : folder + "help.chm";
}
