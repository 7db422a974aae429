#include "update/redirect_location.h"

#include <algorithm>
#include <vector>

namespace {

bool HasScheme(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  const std::size_t delimiter = text.find_first_of("/?#");
  if (delimiter != std::string_view::npos && delimiter < colon) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = text[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && !(i > 0 && other)) return false;
  }
  return true;
}

}  // namespace

std::string RemoveDotSegments(std::string_view path) {
  std::vector<std::string_view> kept;
  std::string_view rest = path.starts_with('/') ? path.substr(1) : path;
  for (;;) {
    const std::size_t slash = rest.find('/');
    const std::string_view segment = rest.substr(0, slash);
    const bool last = slash == std::string_view::npos;
    if (segment == "..") {
      if (!kept.empty()) kept.pop_back();
      if (last) kept.push_back({});
    } else if (segment == ".") {
      if (last) kept.push_back({});
    } else {
      kept.push_back(segment);
    }
    if (last) break;
    rest.remove_prefix(slash + 1);
  }
  std::string result;
  for (std::string_view segment : kept) {
    result.push_back('/');
    result.append(segment);
  }
  if (result.empty()) result.push_back('/');
  return result;
}

std::optional<std::string> ResolveRedirectLocation(const UrlParts& current, std::string_view location) {
  if (location.empty()) return std::nullopt;
  if (HasScheme(location)) return std::string(location);
  std::string url = current.scheme;
  if (location.starts_with("//")) return url.append(":").append(location);

  url.append("://").append(current.host);
  if (current.port != 0) url.append(":").append(std::to_string(current.port));
  const std::size_t pathEnd = std::min(location.find_first_of("?#"), location.size());
  const std::string_view path = location.substr(0, pathEnd);
  const std::string_view extra = location.substr(pathEnd);
  const std::string_view currentPath = current.path.empty() ? std::string_view("/") : std::string_view(current.path);

  if (path.starts_with('/')) {
    url.append(RemoveDotSegments(path));
  } else if (path.empty()) {
    url.append(currentPath);
  } else {
    std::string merged(currentPath.substr(0, currentPath.rfind('/') + 1));
    url.append(RemoveDotSegments(merged.append(path)));
  }
  // A bare "#fragment" keeps the current query.
  if (path.empty() && !extra.starts_with('?')) url.append(current.Query());
  return url.append(extra);
}
