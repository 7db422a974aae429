#include "settings/registry_store_win.h"

#include <vector>

std::string RegistryStore::ReadString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root_, SubKey(section).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return defaultValue;
  // One byte more than the query may fill, so the text always ends in a NUL even
  // when the stored value was written without one.
  std::vector<char> buffer(kBufferSize + 1, '\0');
  DWORD size = kBufferSize;
  const LONG result =
      RegQueryValueExA(handle, key.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size);
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS) return defaultValue;
  return std::string(buffer.data());
}

void RegistryStore::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  HKEY handle = nullptr;
  const std::string subKey = SubKey(section);
  if (RegOpenKeyExA(root_, subKey.c_str(), 0, KEY_WRITE, &handle) != ERROR_SUCCESS) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(root_, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) != ERROR_SUCCESS) {
      return;
    }
    RegCloseKey(created);
    if (RegOpenKeyExA(root_, subKey.c_str(), 0, KEY_WRITE, &handle) != ERROR_SUCCESS) return;
  }
  RegSetValueExA(handle, key.c_str(), 0, ValueType(), reinterpret_cast<const BYTE*>(value.data()),
                 static_cast<DWORD>(value.size()));
  RegCloseKey(handle);
}
