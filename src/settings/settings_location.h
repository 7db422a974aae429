#pragma once
#include <string>

#include "settings/settings_folder.h"

// Which settings folder a start uses. Every user has a folder of their own, so
// that nobody's choices, log or report land in another's; the folder the
// installer names for the whole machine holds the defaults and the help file,
// and only administrators write there.
struct SettingsLocation {
  // The folder to load from and write to, ending in a separator; empty: none.
  std::string folder;
  // The machine's defaults (and help.chm), ending in a separator; may be empty.
  std::string machineFolder;
  // The user's first start: the folder is to be made, filled from the machine's
  // defaults and written down.
  bool firstStart = false;
};

// The user's own folder when one is written down; otherwise, when the machine
// has defaults, the user's profile folder, made at this first start; with no
// profile folder known, the machine folder itself, as before folders were per user.
SettingsLocation ChooseSettingsLocation(const SettingsFolderNames& names);

// Makes the user's folder, copies into it config.ini and store.ini where it does not have
// them yet (a file already there is the user's and stays), and writes the folder
// down. False when the folder could not be made; nothing is written down then.
// A copied config.ini loses its backgrounds on network paths ("\\server\share\..."):
// loading one hands the user's network credentials to that server, so only a
// user's own choice may name one, and the machine folder of an older version
// was writable by every user.
bool MakeUserSettingsFolder(const SettingsLocation& location);

// The folder this start loads from: the chosen one, made first at a first start;
// when it cannot be made, the machine folder. Empty when none is known.
std::string PrepareSettingsFolder(const SettingsFolderNames& names);

// The help file to open: the administrators' copy beside the machine's defaults,
// never one from the user's folder, where anyone logged on as that user (or a
// program they ran) could have put it. Empty when the machine has no folder.
std::string AdministratorsHelpFile(const SettingsFolderNames& names);
