#pragma once
#include <map>
#include <string>
#include <utility>

#include "settings/settings_store.h"

// A store held in memory, to test what the shared operations make of raw texts.
class MemoryStore : public SettingsStore {
 public:
  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) override {
    const auto found = values.find({section, key});
    return found == values.end() ? defaultValue : found->second;
  }
  void WriteString(const std::string& section, const std::string& key, const std::string& value) override {
    values[{section, key}] = value;
  }

  std::string Raw(const std::string& section, const std::string& key) { return values[{section, key}]; }

  std::map<std::pair<std::string, std::string>, std::string> values;
};
