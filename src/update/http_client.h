#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "update/http_response_parser.h"
#include "update/http_transport.h"
#include "update/navigate_settings.h"
#include "update/url_parts.h"

// A small blocking HTTP/1.1 client for plain http URLs. One navigation sends one
// request, reads the reply, follows redirects (at most kHttpMaxRedirects) and judges
// the status; it never throws for anything the network or the server does, and
// answers false instead. The connection stays open for the next request to the same
// server unless the server closes it. Used by one thread at a time.
class HttpClient {
 public:
  HttpClient();
  // For tests and other transports.
  explicit HttpClient(std::unique_ptr<HttpTransport> transport);
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // True when a reply was read and, with settings.processResult, its status accepted.
  bool Navigate(const std::string& url, const NavigateSettings& settings = NavigateSettings());

  int StatusCode() const { return reply_.StatusCode(); }  // -1 until a status line was read
  // Null when the last reply has no such header; names compare without regard to case.
  const std::string* Header(const std::string& name) const { return reply_.Headers().Find(name); }
  const HttpHeaders& Headers() const { return reply_.Headers(); }
  const std::vector<std::string>& AuthenticateValues() const { return reply_.AuthenticateValues(); }
  // The body, followed by a NUL that BodyLength does not count.
  const char* Body() const { return reply_.Body().c_str(); }
  std::size_t BodyLength() const { return reply_.Body().size(); }
  int LastError() const { return transport_->LastError(); }

  // Sends every request through this proxy; an empty host turns it off.
  void SetProxy(const std::string& host, std::uint16_t port);

 private:
  class Deadline;
  // kNoAnswer: the request could not be sent, or the connection ended before a single
  // byte of the reply came.
  enum class Outcome { kReply, kNoAnswer, kFailed };

  bool Exchange(const NavigateSettings& settings, const UrlParts& url, bool headRequest, Deadline& deadline);
  Outcome SendAndRead(const std::string& request, bool headRequest, const NavigateSettings& settings,
                      Deadline& deadline);
  bool IsConnectedTo(const std::string& host, std::uint16_t port) const;
  bool ConnectTo(const std::string& host, std::uint16_t port, const NavigateSettings& settings, Deadline& deadline);
  void Disconnect();

  std::unique_ptr<HttpTransport> transport_;
  HttpResponseParser reply_;
  std::string connectedHost_;
  std::uint16_t connectedPort_ = 0;
  std::string proxyHost_;
  std::uint16_t proxyPort_ = 0;
};
