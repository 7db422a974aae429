#include <windows.h>

#include <shlwapi.h>

#include "settings/file_access.h"

bool PathExists(const std::string& path) { return !path.empty() && PathFileExistsA(path.c_str()) != FALSE; }

bool RegularFileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool SetCurrentFolder(const std::string& folder) { return SetCurrentDirectoryA(folder.c_str()) != FALSE; }

bool MakeFolder(const std::string& folder) {
  return CreateDirectoryA(folder.c_str(), nullptr) != FALSE || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool CopyFileIfMissing(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), TRUE) != FALSE;
}
