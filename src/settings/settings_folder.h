#pragma once
#include <string>

// Where the settings folder is written down. Windows: the string value "Path" of
// HKEY_LOCAL_MACHINE\Software\Hearthmoor\Path\ (put there by the installer).
// Portable build: the environment variable HEARTHMOOR_SETTINGS_DIR. Empty when
// there is none.
std::string FindSettingsFolderText();

// The folder text with a separator at its end, so that file names can simply be
// appended. A text already ending in "/" or "\" stands as it is. Windows appends
// a backslash; the portable build a slash, the only separator it knows.
std::string SettingsFolderFromText(const std::string& text);
