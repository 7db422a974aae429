#pragma once
#include <string>

// Whether a name from config.ini's [update] section may be taken in. The files
// named there are read and then deleted, so a name must stay a plain file inside
// the settings folder: no separators, no drive, not "." or "..", no device name,
// and not config.ini or store.ini themselves.
bool IsSafeUpdateFileName(const std::string& name);
