#pragma once
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
