#include "settings_home.h"

#include <pwd.h>
#include <unistd.h>

#include <system_error>

namespace fs = std::filesystem;

fs::path UserSettingsFolder(const char* xdgConfigHome, const char* home) {
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') return fs::path(xdgConfigHome) / "hearthmoor";
  std::string base = home != nullptr ? home : "";
  if (base.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) base = entry->pw_dir;
  }
  if (base.empty()) return {};
  return fs::path(base) / ".config" / "hearthmoor";
}

fs::path FindDefaultSettings(const std::vector<fs::path>& defaultFolders) {
  std::error_code error;
  for (const fs::path& folder : defaultFolders) {
    if (!folder.empty() && fs::is_regular_file(folder / "config.ini", error)) return folder;
  }
  return {};
}

std::string PrepareSettingsFolder(const fs::path& folder, const std::vector<fs::path>& defaultFolders) {
  std::error_code error;
  if (folder.empty()) return "no settings folder: neither XDG_CONFIG_HOME nor HOME is set";
  if (fs::exists(folder, error) && !fs::is_directory(folder, error)) {
    return "settings path '" + folder.string() + "' is not a folder";
  }
  fs::create_directories(folder, error);
  if (error) return "settings folder '" + folder.string() + "' cannot be made: " + error.message();
  if (access(folder.c_str(), R_OK | W_OK | X_OK) != 0) {
    return "settings folder '" + folder.string() + "' cannot be read and written";
  }

  const fs::path defaults = FindDefaultSettings(defaultFolders);
  if (defaults.empty()) return {};
  for (const char* name : {"config.ini", "store.ini"}) {
    const fs::path target = folder / name;
    if (fs::exists(target, error) || !fs::exists(defaults / name, error)) continue;
    fs::copy_file(defaults / name, target, error);
    if (error) return "cannot copy " + (defaults / name).string() + " to " + target.string() + ": " + error.message();
  }
  return {};
}
