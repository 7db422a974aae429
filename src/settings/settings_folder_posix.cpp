#include <cstdlib>

#include "settings/settings_folder.h"

std::string FindSettingsFolderText() {
  const char* folder = std::getenv("HEARTHMOOR_SETTINGS_DIR");
  return folder ? folder : "";
}

std::string SettingsFolderFromText(const std::string& text) {
  if (text.empty() || text.back() == '/' || text.back() == '\\') return text;
  return text + "/";
}
