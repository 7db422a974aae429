#include "settings/legacy_ini_file.h"

#include "settings/file_access.h"
#include "settings/legacy_code_page.h"
#include "settings/utf8_text.h"

namespace {

bool StartsWithByteOrderMark(const std::string& content) {
  return content.starts_with("\xEF\xBB\xBF") || content.starts_with("\xFF\xFE") || content.starts_with("\xFE\xFF");
}

}  // namespace

std::optional<std::string> Utf8IniText(const std::string& content) {
  if (StartsWithByteOrderMark(content) || IsValidUtf8(content)) return std::nullopt;
  std::string converted;
  converted.reserve(content.size() + content.size() / 2);
  std::size_t at = 0;
  while (at < content.size()) {
    std::size_t end = content.find('\n', at);
    end = end == std::string::npos ? content.size() : end + 1;
    const std::string_view line(content.data() + at, end - at);
    if (IsValidUtf8(line)) {
      converted += line;
    } else {
      const std::optional<std::string> utf8 = LegacyTextToUtf8(line);
      if (!utf8) return std::nullopt;
      converted += *utf8;
    }
    at = end;
  }
  return converted;
}

bool ConvertLegacyIniFile(const std::string& path) {
  const std::optional<std::string> content = ReadFileContent(path);
  if (!content) return false;
  const std::optional<std::string> converted = Utf8IniText(*content);
  return converted && ReplaceFileContent(path, *converted);
}
