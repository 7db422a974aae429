#pragma once
#include <windows.h>

#include <string>

#include "dialogs/link_opener.h"

class SettingsController;

// The settings dialog's "Check For Updates": asks the update server, then opens
// the update dialog for an offer, or says "There are no updates." or "Can not
// connect to server." (caption "Check for updates"). Blocks the calling (UI)
// thread for the exchange, with the wait cursor; everything shown is owned by
// `owner`. Answers what the check answered: 1, 0 or -1.
int RunUpdateCheck(HWND owner, const std::string& updateUrl, const std::string& version,
                   LinkOpener& opener = ShellOpener());
// The same with the update address and the version of the settings mode.
int RunUpdateCheck(HWND owner, SettingsController& controller, LinkOpener& opener = ShellOpener());

extern const char* const kUpdateCheckCaption;
extern const char* const kNoUpdatesText;
extern const char* const kCannotConnectText;
