#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

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

std::optional<std::string> ReadFileContent(const std::string& path) {
  constexpr std::streamoff kMaxBytes = 64LL << 20;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in || in.tellg() > kMaxBytes) return std::nullopt;
  in.seekg(0);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool ReplaceFileContent(const std::string& path, const std::string& bytes) {
  // A read-only file stays as it is, as Windows leaves it.
  if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) return false;
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << bytes;
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
