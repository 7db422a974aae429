#include "update/url_escaper.h"

#include <algorithm>
#include <cstring>

#include "update/http_limits.h"

namespace {

bool KeptAsIs(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return c != 0 && std::strchr("%!'()*-./:_~", c) != nullptr;
}

}  // namespace

std::optional<std::string> EscapeUrl(std::string_view url) {
  static constexpr char kHex[] = "0123456789abcdef";
  const std::size_t plainFrom = std::min(url.find_first_of("?#"), url.size());
  std::string escaped;
  escaped.reserve(url.size() + 16);
  for (std::size_t i = 0; i < plainFrom; ++i) {
    const auto c = static_cast<unsigned char>(url[i]);
    if (KeptAsIs(c)) {
      escaped.push_back(static_cast<char>(c));
    } else {
      escaped.push_back('%');
      escaped.push_back(kHex[c >> 4]);
      escaped.push_back(kHex[c & 15]);
    }
    if (escaped.size() > kUrlMaxEscapedLength) return std::nullopt;
  }
  escaped.append(url.substr(plainFrom));
  if (escaped.size() > kUrlMaxEscapedLength) return std::nullopt;
  return escaped;
}

bool HasForbiddenUrlCharacter(std::string_view url) {
  return url.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}
