#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

bool MakeFolder(const std::string& folder) {
  struct stat info {};
  return mkdir(folder.c_str(), 0755) == 0 ||
         (errno == EEXIST && stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
}

bool CopyFileIfMissing(const std::string& from, const std::string& to) {
  const int in = open(from.c_str(), O_RDONLY);
  if (in < 0) return false;
  // O_EXCL: the check and the creation are one step, so a file that appears
  // meanwhile is not overwritten either.
  const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  bool copied = out >= 0;
  char buffer[8192];
  while (copied) {
    const ssize_t got = read(in, buffer, sizeof buffer);
    if (got <= 0) {
      copied = got == 0;
      break;
    }
    copied = write(out, buffer, static_cast<size_t>(got)) == got;
  }
  close(in);
  if (out >= 0) {
    close(out);
    if (!copied) unlink(to.c_str());
  }
  return copied;
}
