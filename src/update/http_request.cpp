#include "update/http_request.h"

namespace {

constexpr const char* kUserAgentLine = "User-Agent: Microsoft-ATL-Native/7.00\r\n";

void AppendLine(std::string& request, const char* name, const std::string& value) {
  request.append(name).append(value).append("\r\n");
}

void AppendBodyHeaders(std::string& request, const NavigateSettings& settings) {
  if (!settings.body.empty()) AppendLine(request, "Content-Length: ", std::to_string(settings.body.size()));
  if (!settings.contentType.empty()) AppendLine(request, "Content-Type: ", settings.contentType);
}

}  // namespace

std::string BuildHttpRequest(const NavigateSettings& settings, const UrlParts& url, bool throughProxy) {
  // The fragment belongs to the client; a request line never carries it.
  const std::string_view query = url.Query();
  const std::string_view path = url.path.empty() ? std::string_view("/") : std::string_view(url.path);
  std::string hostAndPort = url.host;
  if (url.port != kHttpDefaultPort) hostAndPort.append(":").append(std::to_string(url.port));

  std::string request;
  request.append(settings.method).append(" ");
  if (throughProxy) {
    request.append(url.scheme).append("://").append(hostAndPort).append(path).append(query);
    request.append(" HTTP/1.1\r\n");
    AppendLine(request, "Host: ", hostAndPort);
    AppendBodyHeaders(request, settings);
    request.append(settings.extraHeaders);
  } else {
    request.append(path).append(query).append(" HTTP/1.1\r\n");
    AppendBodyHeaders(request, settings);
    request.append(settings.extraHeaders);
    AppendLine(request, "Host: ", url.host);
  }
  request.append(kUserAgentLine).append("\r\n").append(settings.body);
  return request;
}
