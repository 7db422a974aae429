#include "settings_folder_fixture.h"

#ifdef _WIN32
#include "settings/registry_store_win.h"

// The user's own value, with no machine value beside it: a machine value alone
// would make the test user's profile folder at the first Load.
void PointSettingsAt(const std::string& folderText) {
  RegistryStore(HKEY_CURRENT_USER, "Software\\Hearthmoor\\").WriteString("Path", "Path", folderText);
  RegistryStore(HKEY_LOCAL_MACHINE, "Software\\Hearthmoor\\").WriteString("Path", "Path", "");
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
