#include <windows.h>

#include <vector>

#include "settings/ini_store.h"
#include "settings/ini_text.h"

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
std::optional<SettingsStore::Entries> IniStore::ReadSection(const std::string& section) {
  CheckEncoding();
  Entries entries;
  if (path_.empty()) return entries;
  // The most a section read hands out; a section larger than that (no section we
  // write comes near) is read key by key instead.
  std::vector<char> buffer(kSectionBufferSize, '\0');
  const DWORD copied =
      GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
  if (copied >= buffer.size() - 2) return std::nullopt;
  // "key=value" lines, each ending in a NUL, the whole in a second one.
  for (std::size_t at = 0; at < copied && buffer[at] != '\0';) {
    const std::string line(buffer.data() + at);
    at += line.size() + 1;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string value = IniText::StripQuotes(IniText::Trim(line.substr(equals + 1)));
    if (value.size() > kBufferSize - 1) value.resize(kBufferSize - 1);
    entries.emplace_back(IniText::Trim(line.substr(0, equals)), std::move(value));
  }
  return entries;
}
