#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "settings/ini_store.h"
#include "settings/ini_text.h"

// What the file looked like when it was parsed; any change on disk (another
// store object, another process, an editor) shows in one of these.
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

struct IniStore::Cache {
  std::string path;
  FileStamp stamp;
  IniText text;
};

namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The new text goes to a sibling file that then replaces the old one, so a crash or
// a full disk in the middle of a write leaves the previous file whole.
bool ReplaceWholeFile(const std::string& path, const std::string& content) {
  // A read-only file stays as it is, as Windows leaves it.
  if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) return false;
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << content;
    out.flush();
    if (!out) {
      out.close();
      std::remove(temporary.c_str());
      return false;
    }
  }
  struct stat old {};
  if (stat(path.c_str(), &old) == 0) chmod(temporary.c_str(), old.st_mode & 07777);
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

// The parsed file, read again only when it changed on disk since the last call.
static IniText& Current(std::shared_ptr<IniStore::Cache>& cache, const std::string& path) {
  const FileStamp stamp = FileStamp::Of(path);
  if (!cache || cache->path != path || !(cache->stamp == stamp) || !stamp.exists) {
    cache = std::make_shared<IniStore::Cache>();
    cache->path = path;
    cache->stamp = stamp;
    cache->text = stamp.exists ? IniText(ReadWholeFile(path)) : IniText();
  }
  return cache->text;
}

std::string IniStore::ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) {
  std::string result;
  const std::optional<std::string> value = path_.empty() ? std::nullopt : Current(cache_, path_).Find(section, key);
  if (value) {
    result = *value;
  } else {
    // Windows trims trailing blanks from the default and strips its quotes as well.
    std::string fallback = defaultValue;
    while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
    result = IniText::StripQuotes(fallback);
  }
  if (result.size() > kBufferSize - 1) result.resize(kBufferSize - 1);
  return result;
}

void IniStore::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (path_.empty()) return;
  IniText& text = Current(cache_, path_);
  text.Set(section, key, value);
  if (ReplaceWholeFile(path_, text.Content())) {
    cache_->stamp = FileStamp::Of(path_);
  } else {
    cache_.reset();  // the file did not take the change: read it afresh next time
  }
}
