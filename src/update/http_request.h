#pragma once
#include <cstdint>
#include <string>

#include "update/navigate_settings.h"
#include "update/url_parts.h"

// The bytes of one request, head and body. `url` holds the escaped, parsed target
// with its port settled. Through a proxy the request line names the whole URL and
// the Host line carries the port when it is not 80; without one the Host line is the
// bare host name whatever the port, as servers of this product expect.
std::string BuildHttpRequest(const NavigateSettings& settings, const UrlParts& url, bool throughProxy);
