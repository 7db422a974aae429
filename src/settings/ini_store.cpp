#include "settings/ini_store.h"

#include "settings/legacy_ini_file.h"

void IniStore::CheckEncoding() {
  if (encodingChecked_ || path_.empty()) return;
  encodingChecked_ = true;
  ConvertLegacyIniFile(path_);
}
