#include "update/http_client.h"

#include <algorithm>
#include <optional>

#include "diagnostics/clock.h"
#include "update/http_limits.h"
#include "update/http_request.h"
#include "update/redirect_location.h"
#include "update/url_escaper.h"

// The time left of one navigation; every wait takes the smaller of its own time-out
// and what is left, so no number of slow steps can add up past the deadline.
class HttpClient::Deadline {
 public:
  explicit Deadline(std::uint32_t totalMs) : start_(MillisecondsNow()), total_(totalMs) {}
  // 0 once the navigation's time is up.
  std::uint32_t Bound(std::uint32_t timeoutMs) const {
    const std::uint32_t spent = MillisecondsNow() - start_;
    return spent >= total_ ? 0 : std::min(timeoutMs, total_ - spent);
  }

 private:
  std::uint32_t start_;
  std::uint32_t total_;
};

namespace {

bool IsAccepted(int status) { return (status >= 200 && status <= 206) || status == 304 || status == 305; }
bool IsRedirect(int status) { return status >= 301 && status <= 303; }

// The escaped, parsed form of a URL the client may fetch; empty for anything but a
// well-formed http URL with a host.
std::optional<UrlParts> TargetOf(const std::string& url, std::uint16_t defaultPort) {
  if (url.empty() || HasForbiddenUrlCharacter(url)) return std::nullopt;
  const std::optional<std::string> escaped = EscapeUrl(url);
  if (!escaped) return std::nullopt;
  std::optional<UrlParts> parts = ParseUrl(*escaped);
  if (!parts || parts->scheme != "http" || parts->host.empty()) return std::nullopt;
  if (parts->path.empty()) parts->path.push_back('/');
  if (parts->port == 0) parts->port = defaultPort;
  return parts;
}

}  // namespace

HttpClient::HttpClient() : HttpClient(CreateHttpTransport()) {}

HttpClient::HttpClient(std::unique_ptr<HttpTransport> transport) : transport_(std::move(transport)) {}

HttpClient::~HttpClient() { Disconnect(); }

void HttpClient::SetProxy(const std::string& host, std::uint16_t port) {
  proxyHost_ = host;
  proxyPort_ = port;
}

void HttpClient::Disconnect() {
  transport_->Close();
  connectedHost_.clear();
  connectedPort_ = 0;
}

bool HttpClient::Navigate(const std::string& url, const NavigateSettings& settings) {
  reply_.Reset();
  std::optional<UrlParts> target = TargetOf(url, settings.port);
  if (!target) return false;

  Deadline deadline(settings.deadlineMs);
  const bool headRequest = settings.method == "HEAD";
  NavigateSettings request = settings;
  for (int redirects = 0;; ++redirects) {
    if (!Exchange(request, *target, headRequest, deadline)) return false;
    if (!settings.processResult) return true;

    const int status = reply_.StatusCode();
    if (IsAccepted(status)) return true;
    if (!IsRedirect(status) || !settings.autoRedirect || redirects == kHttpMaxRedirects) {
      Disconnect();
      return false;
    }
    const std::string* location = reply_.Headers().Find("Location");
    if (location == nullptr) {
      Disconnect();
      return false;
    }
    const std::optional<std::string> next = ResolveRedirectLocation(*target, *location);
    target = next ? TargetOf(*next, settings.port) : std::nullopt;
    if (!target) {
      Disconnect();
      return false;
    }
    // The redirected request repeats the method, without the body and extra headers.
    request.body.clear();
    request.contentType.clear();
    request.extraHeaders.clear();
  }
}

bool HttpClient::Exchange(const NavigateSettings& settings, const UrlParts& url, bool headRequest, Deadline& deadline) {
  const bool throughProxy = !proxyHost_.empty();
  const std::string& host = throughProxy ? proxyHost_ : url.host;
  const std::uint16_t port = throughProxy ? proxyPort_ : url.port;
  const bool reused = IsConnectedTo(host, port);
  if (!ConnectTo(host, port, settings, deadline)) return false;

  const std::string request = BuildHttpRequest(settings, url, throughProxy);
  Outcome outcome = SendAndRead(request, headRequest, settings, deadline);
  if (outcome == Outcome::kNoAnswer && reused) {
    // A server may drop a kept connection whenever it likes; that is no answer to this
    // request, so it is asked once more on a fresh connection.
    Disconnect();
    if (!ConnectTo(host, port, settings, deadline)) return false;
    outcome = SendAndRead(request, headRequest, settings, deadline);
  }
  if (outcome != Outcome::kReply) {
    Disconnect();
    return false;
  }
  if (reply_.Headers().HasToken("Connection", "close") || reply_.BodyEndsAtClose()) Disconnect();
  return true;
}

HttpClient::Outcome HttpClient::SendAndRead(const std::string& request, bool headRequest,
                                            const NavigateSettings& settings, Deadline& deadline) {
  const std::uint32_t sendTimeout = deadline.Bound(settings.timeoutMs);
  if (sendTimeout == 0) return Outcome::kFailed;
  if (!transport_->Send(request.data(), request.size(), sendTimeout)) return Outcome::kNoAnswer;

  reply_.Reset(headRequest);
  char block[kHttpReceiveBlockSize];
  bool answered = false;
  for (;;) {
    const std::uint32_t timeout = deadline.Bound(settings.timeoutMs);
    if (timeout == 0) return Outcome::kFailed;
    const long received = transport_->Receive(block, sizeof block, timeout);
    if (received < 0) return answered ? Outcome::kFailed : Outcome::kNoAnswer;
    if (received == 0 && !answered) return Outcome::kNoAnswer;
    answered = true;
    std::size_t used = 0;
    const HttpResponseParser::Result result =
        received == 0 ? reply_.Finish() : reply_.Feed(block, static_cast<std::size_t>(received), &used);
    if (result == HttpResponseParser::Result::kComplete) {
      // Bytes past the reply answer no request of ours: the connection is out of step.
      if (received == 0 || used < static_cast<std::size_t>(received)) Disconnect();
      return Outcome::kReply;
    }
    if (result == HttpResponseParser::Result::kError) return Outcome::kFailed;
  }
}

bool HttpClient::IsConnectedTo(const std::string& host, std::uint16_t port) const {
  return transport_->IsConnected() && EqualsIgnoringCase(connectedHost_, host) && connectedPort_ == port;
}

bool HttpClient::ConnectTo(const std::string& host, std::uint16_t port, const NavigateSettings& settings,
                           Deadline& deadline) {
  // A connection is reused only for the server it leads to; a redirect elsewhere
  // gets a connection of its own.
  if (IsConnectedTo(host, port)) return true;
  Disconnect();
  const std::uint32_t timeout = deadline.Bound(settings.connectTimeoutMs);
  if (timeout == 0 || !transport_->Connect(host, port, timeout)) {
    Disconnect();
    return false;
  }
  connectedHost_ = host;
  connectedPort_ = port;
  return true;
}
