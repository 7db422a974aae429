#include <windows.h>

#include "settings/legacy_code_page.h"

namespace {

// The system locale's ANSI code page: what GetACP() answered before the
// manifest made it CP_UTF8.
UINT SystemAnsiCodePage() {
  DWORD codePage = 0;
  if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR)) == 0) {
    return 0;
  }
  return codePage;
}

}  // namespace

std::optional<std::string> LegacyTextToUtf8(std::string_view bytes) {
  if (GetACP() != CP_UTF8) return std::nullopt;
  const UINT codePage = SystemAnsiCodePage();
  if (codePage == 0 || codePage == CP_UTF8) return std::nullopt;
  if (bytes.empty()) return std::string();
  const int size = static_cast<int>(bytes.size());
  const int wideLength = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), wideLength);
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::nullopt;
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, text.data(), length, nullptr, nullptr);
  return text;
}
