#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "update/url_parts.h"

// The absolute URL a Location header points to, resolved against the URL that was
// asked for (`current`, whose port is already the one connected to): an absolute URL
// stands as it is; "//host/p" keeps the scheme; "/p", "?q" and "p" keep the server,
// and a relative path is merged with the current directory and cleared of "." and
// ".." segments. Empty for an empty location.
std::optional<std::string> ResolveRedirectLocation(const UrlParts& current, std::string_view location);

// "/a/b/../c/./d" becomes "/a/c/d"; ".." never climbs above the root.
std::string RemoveDotSegments(std::string_view path);
