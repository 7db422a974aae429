#include "settings/settings_location.h"

#include "settings/file_access.h"

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
  for (const char* name : kInheritedSettingsFiles) {
    CopyFileIfMissing(location.machineFolder + name, location.folder + name);
  }
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
