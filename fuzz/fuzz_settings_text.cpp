// INI texts and style texts from anywhere: the reader and editor must not fail on
// any bytes, and an edit must read back through a fresh parse of the result.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/ini_text.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const std::string style = Settings::FormatStyle(Settings::ParseStyle(input));
  if (Settings::FormatStyle(Settings::ParseStyle(style)) != style) std::abort();

  IniText text(input);
  text.Find("Background", "num");
  text.Find("pallette0", "RedPoint0");
  // The first line names the section to edit, so the fuzzer can aim at sections
  // that exist in the rest of the text.
  const std::string section = IniText::Trim(input.substr(0, input.find('\n')));
  if (section.find_first_of("[]=;\r\n") != std::string::npos || section.empty()) return 0;
  text.Set(section, "key", "value");
  if (text.Find(section, "key") != std::optional<std::string>("value")) std::abort();
  if (IniText(text.Content()).Find(section, "KEY") != std::optional<std::string>("value")) std::abort();
  return 0;
}
