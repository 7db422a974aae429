#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "settings/ini_store.h"
#include "settings/ini_text.h"

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
void ReplaceWholeFile(const std::string& path, const std::string& content) {
  if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) return;  // read-only: as Windows, no write
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return;
    out << content;
    out.flush();
    if (!out) {
      out.close();
      std::remove(temporary.c_str());
      return;
    }
  }
  struct stat old {};
  if (stat(path.c_str(), &old) == 0) chmod(temporary.c_str(), old.st_mode & 07777);
  if (std::rename(temporary.c_str(), path.c_str()) != 0) std::remove(temporary.c_str());
}

}  // namespace

std::string IniStore::ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) {
  std::string result;
  const std::optional<std::string> value = IniText(ReadWholeFile(path_)).Find(section, key);
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
  IniText text(ReadWholeFile(path_));
  text.Set(section, key, value);
  ReplaceWholeFile(path_, text.Content());
}
