#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The full paths an open-file dialog with multiple selection returned in its
// buffer of `bufferChars` characters, in the dialog's order. The buffer holds the
// folder and the names after it: one selected file is the folder and the name
// joined by a backslash ("C:\pics\a.jpg"); several are the folder, a NUL, then
// each name followed by a NUL, and a second NUL at the end. `fileOffset` is where
// the first name starts (the dialog's nFileOffset).
//
// The text is UTF-8, the process's code page, and `bufferChars` and
// `fileOffset` count its bytes. Nothing is returned when the offset is 0 or the
// folder part is longer than kMaxOpenFileFolderChars characters (as Windows
// counts them, not bytes). A buffer that runs out without its final NUL ends the
// names there.
constexpr std::size_t kMaxOpenFileFolderChars = 250;
std::vector<std::string> OpenFileNames(const char* buffer, std::size_t bufferChars, std::size_t fileOffset);

// Characters as Windows counts them in a path (UTF-16 units) in `bytes` of UTF-8
// text: one per lead byte, two for a character beyond the Basic Multilingual Plane.
std::size_t PathCharacters(const char* text, std::size_t bytes);
