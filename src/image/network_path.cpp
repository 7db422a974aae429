#include "image/network_path.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool StartsWithNoCase(const std::string& text, std::size_t at, const char* prefix) {
  for (std::size_t i = 0; prefix[i] != '\0'; ++i) {
    if (at + i >= text.size()) return false;
    char c = text[at + i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsNetworkPath(const std::string& path) {
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return false;
  // "\\?\" and "\\.\" lead into the system's own name spaces, where only UNC
  // goes out to a server.
  if (path.size() >= 4 && (path[2] == '?' || path[2] == '.') && IsSeparator(path[3])) {
    return StartsWithNoCase(path, 4, "UNC") && path.size() > 7 && IsSeparator(path[7]);
  }
  return true;
}
