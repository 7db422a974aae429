#include <windows.h>

#include <shlobj.h>

#include "diagnostics/handles_win.h"
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

// With its terminating NUL, unlike RegistryStore's values: the uninstaller reads
// this one too, and not every reader terminates what it gets.
void RememberUserSettingsFolder(const std::string& folder) {
  UniqueRegistryKey key;
  const std::string subKey = std::string(kBasePath) + "Path\\";
  if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key.get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>(folder.size() + 1));
}

std::string SettingsFolderFromText(const std::string& text) {
  if (text.empty() || text.back() == '/' || text.back() == '\\') return text;
  return text + "\\";
}
