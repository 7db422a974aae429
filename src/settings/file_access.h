#pragma once
#include <optional>
#include <string>

// The little the settings need of the file system, in the platform's own terms.

// A file or a folder of that name exists.
bool PathExists(const std::string& path);
// A file (not a folder or a device) of that name exists.
bool RegularFileExists(const std::string& path);
// Deletes a file; false when it could not.
bool RemoveFile(const std::string& path);
// Makes the folder the process's current directory; false when it could not.
bool SetCurrentFolder(const std::string& folder);
// Makes a folder whose parent exists; true when it exists afterwards.
bool MakeFolder(const std::string& folder);
// Copies a file to a name that does not exist yet: an existing file is never
// replaced (false then, as when the copy fails).
bool CopyFileIfMissing(const std::string& from, const std::string& to);
// The whole content of a file; nothing when it cannot be read (or is larger
// than a settings file can sensibly be: 64 MiB).
std::optional<std::string> ReadFileContent(const std::string& path);
// Replaces a file's content by way of a sibling file that then takes its name, so
// that a crash or a full disk midway leaves the old content whole. A read-only
// file stays as it is; false then, as when any step fails.
bool ReplaceFileContent(const std::string& path, const std::string& bytes);
