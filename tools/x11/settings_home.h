#pragma once
#include <filesystem>
#include <string>
#include <vector>

// The user's Hearthmoor folder: $XDG_CONFIG_HOME/hearthmoor when that variable
// holds an absolute path, else $HOME/.config/hearthmoor (the password database's
// home when HOME is unset). Empty when no home can be found.
std::filesystem::path UserSettingsFolder(const char* xdgConfigHome, const char* home);

// Makes the folder if needed and copies config.ini and store.ini from the first
// of `defaultFolders` that holds them into it when the folder lacks them, so that
// a first start shows the bundled palettes and styles. Files already there are
// never touched. Returns one line naming what went wrong, or empty.
std::string PrepareSettingsFolder(const std::filesystem::path& folder,
                                  const std::vector<std::filesystem::path>& defaultFolders);

// The first of the folders that holds a config.ini; empty when none does.
std::filesystem::path FindDefaultSettings(const std::vector<std::filesystem::path>& defaultFolders);
