#pragma once
#include <windows.h>

#include <string>

#include "settings/settings_store.h"

// A store in the registry: section S, key K is the value K of the subkey
// base path + S + "\" under the root key. The settings only ever read from it
// (the settings folder); writing exists for installers and tests.
class RegistryStore : public SettingsStore {
 public:
  static constexpr DWORD kBufferSize = 1024;

  RegistryStore(HKEY root, std::string basePath) : root_(root), basePath_(std::move(basePath)) {}

  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) override;
  void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
  virtual DWORD ValueType() const { return REG_SZ; }

 private:
  std::string SubKey(const std::string& section) const { return basePath_ + section + "\\"; }

  HKEY root_;
  std::string basePath_;
};
