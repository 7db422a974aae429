#include "dialogs/open_file_names.h"

#include <cstring>

std::size_t PathCharacters(const char* text, std::size_t bytes) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < bytes; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) != 0x80) characters += byte >= 0xF0 ? 2 : 1;
  }
  return characters;
}

std::vector<std::string> OpenFileNames(const char* buffer, std::size_t bufferChars, std::size_t fileOffset) {
  std::vector<std::string> paths;
  if (buffer == nullptr || fileOffset == 0 || fileOffset >= bufferChars ||
      PathCharacters(buffer, fileOffset) > kMaxOpenFileFolderChars) {
    return paths;
  }
  // The character before the first name is the single selection's backslash or
  // the NUL that ends a multiple selection's folder: a separator either way.
  std::string folder(buffer, fileOffset);
  folder.back() = '\\';
  // A drive's root already ends in one ("C:\" then the NUL of a multiple selection).
  if (folder.size() >= 2 && folder[folder.size() - 2] == '\\') folder.pop_back();
  std::size_t at = fileOffset;
  while (at < bufferChars && buffer[at] != '\0') {
    const void* end = std::memchr(buffer + at, '\0', bufferChars - at);
    const std::size_t length =
        end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - (buffer + at)) : bufferChars - at;
    paths.push_back(folder + std::string(buffer + at, length));
    at += length + 1;
  }
  return paths;
}
