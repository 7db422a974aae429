#pragma once
#include <optional>
#include <string>

// INI files that earlier versions wrote in the system's legacy code page, made
// UTF-8 before they are read. The decision goes line by line: a line that is
// valid UTF-8 stays byte for byte (ASCII is both, and so is a value that this
// version already wrote), a line that is not is taken to be in the legacy code
// page. Files that start with a byte-order mark are the system's own Unicode
// INI files and stay as they are.

// The text with its legacy lines converted; nothing when no line needs it or a
// legacy line does not convert (then the text is left to the reader as it is).
std::optional<std::string> Utf8IniText(const std::string& content);

// Rewrites the file at `path` in UTF-8 when it holds legacy lines; true when it
// did. A missing, unreadable or read-only file is left alone.
bool ConvertLegacyIniFile(const std::string& path);
