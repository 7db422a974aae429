#include <windows.h>

#include <vector>

#include "settings/ini_store.h"

std::string IniStore::ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) {
  CheckEncoding();
  // Without a path the call would fall back to the Windows folder's win.ini.
  if (path_.empty()) return defaultValue;
  std::vector<char> buffer(kBufferSize, '\0');
  const DWORD copied = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                                static_cast<DWORD>(buffer.size()), path_.c_str());
  return std::string(buffer.data(), copied);
}

void IniStore::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  CheckEncoding();
  if (path_.empty()) return;
  if (WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()) == FALSE) failed_ = true;
}

bool IniStore::Commit() { return !failed_; }
