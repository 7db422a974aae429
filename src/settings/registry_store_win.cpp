#include "settings/registry_store_win.h"

#include <vector>

#include "diagnostics/handles_win.h"

std::string RegistryStore::ReadString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue) {
  UniqueRegistryKey handle;
  if (RegOpenKeyExA(root_, SubKey(section).c_str(), 0, KEY_READ, handle.put()) != ERROR_SUCCESS) return defaultValue;
  // One byte more than the query may fill, so the text always ends in a NUL even
  // when the stored value was written without one.
  std::vector<char> buffer(kBufferSize + 1, '\0');
  DWORD size = kBufferSize;
  const LONG result =
      RegQueryValueExA(handle.get(), key.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size);
  if (result != ERROR_SUCCESS) return defaultValue;
  return std::string(buffer.data());
}

void RegistryStore::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  UniqueRegistryKey handle;
  const std::string subKey = SubKey(section);
  if (RegOpenKeyExA(root_, subKey.c_str(), 0, KEY_WRITE, handle.put()) != ERROR_SUCCESS) {
    UniqueRegistryKey created;
    if (RegCreateKeyExA(root_, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, created.put(), nullptr) !=
        ERROR_SUCCESS) {
      return;
    }
    created.reset();
    if (RegOpenKeyExA(root_, subKey.c_str(), 0, KEY_WRITE, handle.put()) != ERROR_SUCCESS) return;
  }
  RegSetValueExA(handle.get(), key.c_str(), 0, ValueType(), reinterpret_cast<const BYTE*>(value.data()),
                 static_cast<DWORD>(value.size()));
}
