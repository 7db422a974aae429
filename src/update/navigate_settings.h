#pragma once
#include <cstdint>
#include <string>

#include "update/http_limits.h"

// How one navigation is made. The defaults are what the update check uses.
struct NavigateSettings {
  std::string method = "GET";
  bool autoRedirect = true;                         // follow 301, 302 and 303
  bool processResult = true;                        // judge the status: 200 to 206, 304 and 305 succeed
  std::uint16_t port = kHttpDefaultPort;            // when the URL names none
  std::uint32_t timeoutMs = kHttpDefaultTimeoutMs;  // for each send and each receive
  std::uint32_t connectTimeoutMs = kHttpConnectTimeoutMs;
  std::uint32_t deadlineMs = kHttpNavigationDeadlineMs;  // for the whole navigation, redirects included
  std::string body;
  std::string contentType;
  std::string extraHeaders;  // whole lines with their CR LF, sent as they are
};
