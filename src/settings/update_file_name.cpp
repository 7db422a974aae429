#include "settings/update_file_name.h"

namespace {

std::string Lowered(const std::string& text) {
  std::string result = text;
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

// Windows opens these as devices in every folder, with or without an extension.
bool IsDeviceName(const std::string& lowered) {
  const std::string stem = lowered.substr(0, lowered.find('.'));
  if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
  return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) && stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

bool IsSafeUpdateFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    // ':' covers drive letters and alternate data streams; control characters
    // have no business in a file name.
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
  }
  const std::string lowered = Lowered(name);
  // Blanks and dots at the end vanish from Windows names: "config.ini. " is config.ini.
  std::string trimmed = lowered;
  while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '.')) trimmed.pop_back();
  if (trimmed.empty()) return false;
  if (trimmed == "config.ini" || trimmed == "store.ini") return false;
  return !IsDeviceName(trimmed);
}
