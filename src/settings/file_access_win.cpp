#include <windows.h>

#include <shlwapi.h>

#include "diagnostics/handles_win.h"
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

std::optional<std::string> ReadFileContent(const std::string& path) {
  constexpr LONGLONG kMaxBytes = 64LL << 20;
  const UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.get(), &size) == FALSE || size.QuadPart > kMaxBytes) return std::nullopt;
  std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!content.empty() &&
      (ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) == FALSE ||
       read != content.size())) {
    return std::nullopt;
  }
  return content;
}

bool ReplaceFileContent(const std::string& path, const std::string& bytes) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  const std::string temporary = path + ".new";
  UniqueFile file(
      CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const bool complete =
      WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE &&
      written == bytes.size() && FlushFileBuffers(file.get()) != FALSE;
  // Closed before the rename, which a file still open for writing would stop.
  file.reset();
  if (complete && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileA(temporary.c_str());
  return false;
}
