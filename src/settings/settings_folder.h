#pragma once
#include <string>

// Where the settings folders are written down, and where a user's own folder
// belongs. Windows: the string value "Path" of Software\Hearthmoor\Path\ under
// HKEY_CURRENT_USER (the user's folder) and under HKEY_LOCAL_MACHINE (the
// machine's defaults, put there by the installer), and %APPDATA%\Hearthmoor.
// Portable build: the environment variable HEARTHMOOR_SETTINGS_DIR names the
// user's folder; there are no machine defaults. Each text is empty when unknown.
struct SettingsFolderNames {
  std::string user;
  std::string machine;
  std::string profile;
};

SettingsFolderNames FindSettingsFolderNames();

// Writes down the user's folder, so that later starts find it first. The portable
// build keeps nothing: its folder is always the environment's.
void RememberUserSettingsFolder(const std::string& folder);

// The folder text with a separator at its end, so that file names can simply be
// appended. A text already ending in "/" or "\" stands as it is. Windows appends
// a backslash; the portable build a slash, the only separator it knows.
std::string SettingsFolderFromText(const std::string& text);
