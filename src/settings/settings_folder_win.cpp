#include "settings/registry_store_win.h"
#include "settings/settings_folder.h"

std::string FindSettingsFolderText() {
  RegistryStore registry(HKEY_LOCAL_MACHINE, "Software\\Hearthmoor\\");
  return registry.ReadString("Path", "Path", "");
}

std::string SettingsFolderFromText(const std::string& text) {
  if (text.empty() || text.back() == '/' || text.back() == '\\') return text;
  return text + "\\";
}
