#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "update/http_headers.h"

// Reads one HTTP/1.1 reply from bytes pushed in as they arrive, in pieces of any
// size; the result never depends on how the bytes were split. It owns no socket:
// the caller receives, feeds, and tells it when the peer closed the connection.
//
// Lines end with CR LF or a bare LF. Interim "1xx" heads (other than 101) are dropped and the next head is read.
// The body is delimited by chunked transfer coding, else by Content-Length, else by
// the close of the connection; replies to HEAD and 204 and 304 replies have none.
// Every size is checked against http_limits.h; a reply past a limit is an error.
class HttpResponseParser {
 public:
  enum class Result { kIncomplete, kComplete, kError };

  // `headRequest`: the reply answers a HEAD request and so carries no body.
  explicit HttpResponseParser(bool headRequest = false);

  void Reset(bool headRequest = false);

  // Consumes bytes of the reply. On kComplete, `*used` (when not null) is the number of
  // these bytes that belonged to the reply; the rest were sent after it. Bytes fed after
  // the reply is complete or after an error are not consumed.
  Result Feed(const char* data, std::size_t length, std::size_t* used = nullptr);

  // The peer closed the connection: ends a body that runs until the close (and a
  // chunked body whose final empty line never came); anything else cut short is an error.
  Result Finish();

  Result State() const;
  // True once the head is read, when the body's end is the close of the connection.
  bool BodyEndsAtClose() const { return untilClose_; }

  int StatusCode() const { return status_; }  // -1 before a status line was read
  const HttpHeaders& Headers() const { return headers_; }
  // Values of WWW-Authenticate and Proxy-Authenticate, one entry per line received.
  const std::vector<std::string>& AuthenticateValues() const { return authenticate_; }
  const std::string& Body() const { return body_; }

 private:
  enum Phase {
    kStatusLine,
    kHeaderLine,
    kBodyLength,
    kBodyUntilClose,
    kChunkSize,
    kChunkData,
    kChunkDataEnd,
    kTrailerLine,
    kDone,
    kFailed,
  };

  // Appends to line_ up to and including the next LF; true when the line is whole.
  bool TakeLine(const char*& data, const char* end);
  void OnLine(std::string_view line);
  void OnStatusLine(std::string_view line);
  void OnHeaderLine(std::string_view line);
  void OnHeadEnd();
  void OnChunkSizeLine(std::string_view line);
  void Fail();

  Phase state_ = kStatusLine;
  bool headRequest_ = false;
  bool untilClose_ = false;
  int status_ = -1;
  int interimHeads_ = 0;
  int headerLines_ = 0;
  std::size_t remaining_ = 0;  // body or chunk bytes still expected
  std::string line_;
  HttpHeaders headers_;
  std::vector<std::string> authenticate_;
  std::string body_;
};
