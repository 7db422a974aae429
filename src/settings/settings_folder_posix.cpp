#include <cstdlib>

#include "settings/settings_folder.h"

SettingsFolderNames FindSettingsFolderNames() {
  const char* folder = std::getenv("HEARTHMOOR_SETTINGS_DIR");
  SettingsFolderNames names;
  names.user = folder ? folder : "";
  return names;
}

void RememberUserSettingsFolder(const std::string&) {}

std::string SettingsFolderFromText(const std::string& text) {
  if (text.empty() || text.back() == '/' || text.back() == '\\') return text;
  return text + "/";
}
