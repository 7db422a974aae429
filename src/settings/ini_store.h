#pragma once
#include <memory>
#include <string>

#include "settings/settings_store.h"

// A store on one INI file, addressed by its full path (set after construction).
// Windows reads and writes it with the private-profile calls; the portable build
// has its own reader and writer that behave the same for the files we use: names
// compared without case, blanks around names and values ignored, one pair of
// surrounding quotes stripped from a value, a value cut at a NUL byte, at most
// 2,047 characters returned, and a write that creates the file or section as
// needed and leaves every other line as it was. The portable stores on one path share one copy of the file and
// write it when the last of them ends.
//
// Before its first read or write a store makes its file UTF-8 if an earlier
// version wrote it in the legacy code page (see legacy_ini_file.h), so that every
// value comes back in UTF-8 and is written back that way.
class IniStore : public SettingsStore {
 public:
  static constexpr int kBufferSize = 2048;
  static constexpr int kSectionBufferSize = 32767;

  IniStore() = default;
  explicit IniStore(std::string path) : path_(std::move(path)) {}

  void SetPath(const std::string& path) {
    path_ = path;
    encodingChecked_ = false;
  }
  const std::string& GetPath() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) override;
  void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
  // Puts what this store wrote into the file now (the Windows calls write at once)
  // and answers whether every write of this store reached the file.
  bool Commit();
  std::optional<Entries> ReadSection(const std::string& section) override;

  struct Cache;  // the portable build keeps the parsed file between calls

 private:
  // Converts a legacy file once per store and path.
  void CheckEncoding();

  std::string path_;
  bool encodingChecked_ = false;
  std::shared_ptr<Cache> cache_;
  bool failed_ = false;  // a write of this store did not reach the file
};
