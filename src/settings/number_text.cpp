#include "settings/number_text.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

int TextToInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Gathered as a magnitude up to one past INT_MAX, which is where INT_MIN ends.
  const std::int64_t limit = static_cast<std::int64_t>(INT_MAX) + (negative ? 1 : 0);
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > limit) value = limit;
  }
  return static_cast<int>(negative ? -value : value);
}

double TextToDouble(const std::string& text) { return std::strtod(text.c_str(), nullptr); }
