#include <windows.h>

#include <shlobj.h>

#include "settings/registry_store_win.h"
#include "settings/settings_folder.h"

namespace {
const char* const kBasePath = "Software\\Hearthmoor\\";
}

SettingsFolderNames FindSettingsFolderNames() {
  SettingsFolderNames names;
  names.user = RegistryStore(HKEY_CURRENT_USER, kBasePath).ReadString("Path", "Path", "");
  names.machine = RegistryStore(HKEY_LOCAL_MACHINE, kBasePath).ReadString("Path", "Path", "");
  char appData[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)) && appData[0] != 0) {
    names.profile = SettingsFolderFromText(appData) + "Hearthmoor";
  }
  return names;
}

void RememberUserSettingsFolder(const std::string& folder) {
  RegistryStore(HKEY_CURRENT_USER, kBasePath).WriteString("Path", "Path", folder);
}

std::string SettingsFolderFromText(const std::string& text) {
  if (text.empty() || text.back() == '/' || text.back() == '\\') return text;
  return text + "\\";
}
