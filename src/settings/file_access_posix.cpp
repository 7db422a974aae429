#include <sys/stat.h>
#include <unistd.h>

#include "settings/file_access.h"

bool PathExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool RegularFileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool SetCurrentFolder(const std::string& folder) { return chdir(folder.c_str()) == 0; }
