#include "update/url_parts.h"

#include "update/http_limits.h"

namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSchemeCharacter(char c) { return IsAlpha(c) || IsDigit(c) || c == '+' || c == '-' || c == '.'; }

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// An empty text means "no port"; anything but 1 to 65535 in decimal is an error.
bool ParsePort(std::string_view text, std::uint16_t* port) {
  *port = 0;
  if (text.empty()) return true;
  if (text.size() > 5) return false;
  unsigned value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value == 0 || value > 65535) return false;
  *port = static_cast<std::uint16_t>(value);
  return true;
}

}  // namespace

std::string_view UrlParts::Query() const {
  std::string_view query(extraInfo);
  return query.substr(0, query.find('#'));
}

std::optional<UrlParts> ParseUrl(std::string_view text) {
  UrlParts parts;
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || !IsAlpha(text[0])) return std::nullopt;
  for (std::size_t i = 0; i < colon; ++i) {
    if (!IsSchemeCharacter(text[i])) return std::nullopt;
  }
  parts.scheme = Lower(text.substr(0, colon));
  std::string_view rest = text.substr(colon + 1);

  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const std::size_t authorityEnd = rest.find_first_of("/?#");
    std::string_view authority = rest.substr(0, authorityEnd);
    rest = authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);

    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
      std::string_view userInfo = authority.substr(0, at);
      authority.remove_prefix(at + 1);
      const std::size_t split = userInfo.find(':');
      parts.userName = userInfo.substr(0, split);
      if (split != std::string_view::npos) parts.password = userInfo.substr(split + 1);
      if (parts.userName.empty() && !parts.password.empty()) return std::nullopt;
    }
    const std::size_t portColon = authority.rfind(':');
    parts.host = authority.substr(0, portColon);
    if (portColon != std::string_view::npos && !ParsePort(authority.substr(portColon + 1), &parts.port)) {
      return std::nullopt;
    }
  }

  const std::size_t pathEnd = rest.find_first_of("?#");
  parts.path = rest.substr(0, pathEnd);
  if (pathEnd != std::string_view::npos) parts.extraInfo = rest.substr(pathEnd);

  if (parts.host.size() > kUrlMaxHostLength || parts.userName.size() > kUrlMaxUserNameLength ||
      parts.password.size() > kUrlMaxPasswordLength || parts.path.size() > kUrlMaxPathLength ||
      parts.extraInfo.size() > kUrlMaxExtraInfoLength) {
    return std::nullopt;
  }
  return parts;
}
