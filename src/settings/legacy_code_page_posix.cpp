#include <cstdint>

#include "settings/legacy_code_page.h"

namespace {

// Windows-1252's 0x80..0x9F; the rest of the upper half is Latin-1's. Its five
// unassigned bytes (0 here) make the text not convertible.
constexpr std::uint16_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                             0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& text, std::uint16_t code) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::optional<std::string> LegacyTextToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const std::uint16_t code = byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
    if (code == 0 && byte != 0) return std::nullopt;
    AppendUtf8(text, code);
  }
  return text;
}
