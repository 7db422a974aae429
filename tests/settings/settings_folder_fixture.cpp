#include "settings_folder_fixture.h"

#ifdef _WIN32
#include "settings/registry_store_win.h"

void PointSettingsAt(const std::string& folderText) {
  RegistryStore registry(HKEY_LOCAL_MACHINE, "Software\\Hearthmoor\\");
  registry.WriteString("Path", "Path", folderText);
}
#else
#include <cstdlib>

void PointSettingsAt(const std::string& folderText) {
  if (folderText.empty()) {
    unsetenv("HEARTHMOOR_SETTINGS_DIR");
  } else {
    setenv("HEARTHMOOR_SETTINGS_DIR", folderText.c_str(), 1);
  }
}
#endif
