// The portable INI store. Every IniStore on one path in this process shares one
// parsed copy of the file; writes go into that copy and reach the disk together
// when the last store on the path goes away, so that saving a few thousand keys
// writes the file once instead of a few thousand times. Readers in the process see
// every write at once; the file is complete whenever no store on it is alive.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <vector>

#include "settings/file_access.h"
#include "settings/ini_store.h"
#include "settings/ini_text.h"

namespace {

// What the file looked like when it was parsed; any change on disk (another
// process, an editor) shows in one of these.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  long long modifiedNs = 0;

  static FileStamp Of(const std::string& path) {
    FileStamp stamp;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return stamp;
  }
  bool operator==(const FileStamp&) const = default;
};

struct Edit {
  std::string section;
  std::string key;
  std::string value;
};

}  // namespace

struct IniStore::Cache {
  std::string path;
  FileStamp stamp;  // the file as last read or written
  IniText text;     // its text with the pending edits applied
  std::vector<Edit> pending;

  ~Cache() {
    try {
      Flush();
    } catch (...) {
      // Writing is best effort, and a destructor must not throw.
    }
  }

  // The file as it is now, unless edits are waiting: then our copy stands.
  IniText& Current() {
    if (pending.empty()) {
      const FileStamp now = FileStamp::Of(path);
      if (!(now == stamp) || !now.exists) {
        stamp = now;
        text = now.exists ? IniText(ReadFileContent(path).value_or("")) : IniText();
      }
    }
    return text;
  }

  // False when the file could not take the pending edits.
  bool Flush() {
    if (pending.empty()) return true;
    // Someone else changed the file meanwhile: their keys stay, ours go on top,
    // so the last writer wins per key as with the Windows calls.
    if (!(FileStamp::Of(path) == stamp)) {
      text = IniText(ReadFileContent(path).value_or(""));
      for (const Edit& edit : pending) text.Set(edit.section, edit.key, edit.value);
    }
    pending.clear();
    const bool written = ReplaceFileContent(path, text.Content());
    stamp = FileStamp::Of(path);
    return written;
  }
};

namespace {

// The Windows calls hand out C strings of at most 2,047 characters: a NUL byte in
// the file ends the value there.
std::string AsWindowsGives(std::string value) {
  value.resize(std::min(value.find('\0'), value.size()));
  if (value.size() > IniStore::kBufferSize - 1) value.resize(IniStore::kBufferSize - 1);
  return value;
}

// The one shared copy per path; entries die with their last store.
std::shared_ptr<IniStore::Cache> SharedCache(const std::string& path) {
  static std::mutex mutex;
  static std::map<std::string, std::weak_ptr<IniStore::Cache>> caches;
  const std::lock_guard<std::mutex> lock(mutex);
  for (auto it = caches.begin(); it != caches.end();) it = it->second.expired() ? caches.erase(it) : std::next(it);
  std::shared_ptr<IniStore::Cache> cache = caches[path].lock();
  if (!cache) {
    cache = std::make_shared<IniStore::Cache>();
    cache->path = path;
    caches[path] = cache;
  }
  return cache;
}

}  // namespace

std::string IniStore::ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) {
  CheckEncoding();
  std::optional<std::string> value;
  if (!path_.empty()) {
    if (!cache_ || cache_->path != path_) cache_ = SharedCache(path_);
    value = cache_->Current().Find(section, key);
  }
  std::string result;
  if (value) {
    result = *value;
  } else {
    // Windows trims trailing blanks from the default and strips its quotes as well.
    std::string fallback = defaultValue;
    while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
    result = IniText::StripQuotes(fallback);
  }
  return AsWindowsGives(std::move(result));
}

std::optional<SettingsStore::Entries> IniStore::ReadSection(const std::string& section) {
  CheckEncoding();
  Entries entries;
  if (path_.empty()) return entries;
  if (!cache_ || cache_->path != path_) cache_ = SharedCache(path_);
  entries = cache_->Current().Section(section);
  for (auto& entry : entries) entry.second = AsWindowsGives(std::move(entry.second));
  return entries;
}

void IniStore::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  CheckEncoding();
  if (path_.empty()) return;
  if (!cache_ || cache_->path != path_) cache_ = SharedCache(path_);
  cache_->Current().Set(section, key, value);
  cache_->pending.push_back({section, key, value});
}

bool IniStore::Commit() {
  if (cache_ && !cache_->Flush()) failed_ = true;
  return !failed_;
}
