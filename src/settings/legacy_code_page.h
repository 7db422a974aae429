#pragma once
#include <optional>
#include <string>
#include <string_view>

// Text that earlier versions wrote in the system's legacy code page (the one
// the "A" calls used before the program declared UTF-8 as its own), converted
// to UTF-8. Windows: the system locale's ANSI code page; nothing while the
// process itself does not run in UTF-8 (Windows before 10 1903 ignores the
// manifest's request, and there the legacy code page is still the program's
// own, so old files must stay as they are). Portable build: Windows-1252.
// Nothing as well when the bytes do not convert.
std::optional<std::string> LegacyTextToUtf8(std::string_view bytes);
