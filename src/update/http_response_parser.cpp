#include "update/http_response_parser.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "update/http_limits.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Content-Length: digits only. A repeated header arrives joined by "," and is refused
// here, so two disagreeing lengths can never both be believed.
bool ParseContentLength(std::string_view text, std::size_t* length) {
  text = TrimHttpWhiteSpace(text);
  if (text.empty()) return false;
  std::uint64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > kHttpMaxBodyLength) return false;
  }
  *length = static_cast<std::size_t>(value);
  return true;
}

}  // namespace

HttpResponseParser::HttpResponseParser(bool headRequest) { Reset(headRequest); }

void HttpResponseParser::Reset(bool headRequest) {
  state_ = kStatusLine;
  headRequest_ = headRequest;
  untilClose_ = false;
  status_ = -1;
  interimHeads_ = 0;
  headerLines_ = 0;
  remaining_ = 0;
  line_.clear();
  headers_.Clear();
  authenticate_.clear();
  body_.clear();
}

HttpResponseParser::Result HttpResponseParser::State() const {
  if (state_ == kDone) return Result::kComplete;
  if (state_ == kFailed) return Result::kError;
  return Result::kIncomplete;
}

void HttpResponseParser::Fail() { state_ = kFailed; }

bool HttpResponseParser::TakeLine(const char*& data, const char* end) {
  const char* lf = static_cast<const char*>(std::memchr(data, '\n', static_cast<std::size_t>(end - data)));
  const char* stop = lf != nullptr ? lf + 1 : end;
  if (line_.size() + static_cast<std::size_t>(stop - data) > kHttpMaxLineLength + 2) {
    Fail();
    return false;
  }
  line_.append(data, stop);
  data = stop;
  return lf != nullptr;
}

HttpResponseParser::Result HttpResponseParser::Feed(const char* data, std::size_t length, std::size_t* used) {
  const char* const begin = data;
  const char* const end = data + length;
  while (data < end && state_ != kDone && state_ != kFailed) {
    switch (state_) {
      case kStatusLine:
      case kHeaderLine:
      case kChunkSize:
      case kChunkDataEnd:
      case kTrailerLine:
        if (TakeLine(data, end)) {
          std::string_view line(line_);
          line.remove_suffix(1);  // the LF
          if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
          if (line.size() > kHttpMaxLineLength) {
            Fail();
            break;
          }
          OnLine(line);
          line_.clear();
        }
        break;
      case kBodyLength:
      case kChunkData: {
        const std::size_t take = std::min(remaining_, static_cast<std::size_t>(end - data));
        body_.append(data, take);
        data += take;
        remaining_ -= take;
        if (remaining_ == 0) state_ = state_ == kBodyLength ? kDone : kChunkDataEnd;
        break;
      }
      case kBodyUntilClose: {
        const std::size_t take = static_cast<std::size_t>(end - data);
        if (body_.size() + take > kHttpMaxBodyLength) {
          Fail();
          break;
        }
        body_.append(data, take);
        data += take;
        break;
      }
      case kDone:
      case kFailed:
        break;
    }
  }
  if (used != nullptr) *used = static_cast<std::size_t>(data - begin);
  return State();
}

HttpResponseParser::Result HttpResponseParser::Finish() {
  if (state_ == kBodyUntilClose) {
    state_ = kDone;
  } else if (state_ == kTrailerLine && line_.empty() && headerLines_ == 0) {
    // The last chunk came but the empty line after it did not: the body is whole.
    state_ = kDone;
  } else if (state_ != kDone && state_ != kFailed) {
    Fail();  // body shorter than Content-Length, or closed early
  }
  return State();
}

void HttpResponseParser::OnLine(std::string_view line) {
  switch (state_) {
    case kStatusLine:
      OnStatusLine(line);
      break;
    case kHeaderLine:
    case kTrailerLine:
      if (line.empty()) {
        if (state_ == kHeaderLine) {
          OnHeadEnd();
        } else {
          state_ = kDone;
        }
      } else {
        OnHeaderLine(line);
      }
      break;
    case kChunkSize:
      OnChunkSizeLine(line);
      break;
    case kChunkDataEnd:
      if (line.empty()) {
        state_ = kChunkSize;
      } else {
        Fail();  // chunk data must end with CR LF
      }
      break;
    default:
      break;
  }
}

void HttpResponseParser::OnStatusLine(std::string_view line) {
  // "HTTP/1.1 200 OK": the code is the number after the first run of white space.
  std::size_t at = line.find_first_of(" \t");
  if (at == std::string_view::npos) return Fail();
  at = line.find_first_not_of(" \t", at);
  if (at == std::string_view::npos || !IsDigit(line[at])) return Fail();
  int code = 0;
  for (; at < line.size() && IsDigit(line[at]); ++at) {
    code = code * 10 + (line[at] - '0');
    if (code > 999) return Fail();
  }
  status_ = code;
  state_ = kHeaderLine;
}

void HttpResponseParser::OnHeaderLine(std::string_view line) {
  if (++headerLines_ > kHttpMaxHeaderCount) return Fail();
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0) return Fail();
  if (colon > kHttpMaxHeaderNameLength) return Fail();
  const std::string_view name = line.substr(0, colon);
  std::string_view value = line.substr(colon + 1);
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  if (value.size() > kHttpMaxHeaderValueLength) return Fail();
  headers_.Add(name, value);
  if (EqualsIgnoringCase(name, "WWW-Authenticate") || EqualsIgnoringCase(name, "Proxy-Authenticate")) {
    authenticate_.emplace_back(value);
  }
}

void HttpResponseParser::OnHeadEnd() {
  // 101 switches protocols and so is the last reply this client understands.
  if (status_ >= 100 && status_ < 200 && status_ != 101) {
    if (++interimHeads_ > kHttpMaxInterimResponses) return Fail();
    status_ = -1;
    headerLines_ = 0;
    headers_.Clear();
    authenticate_.clear();
    state_ = kStatusLine;
    return;
  }
  if (headRequest_ || status_ == 204 || status_ == 304) {
    state_ = kDone;
    return;
  }
  if (headers_.HasToken("Transfer-Encoding", "chunked")) {
    headerLines_ = 0;  // trailers get a budget of their own below the same limit
    state_ = kChunkSize;
    return;
  }
  if (const std::string* length = headers_.Find("Content-Length")) {
    if (!ParseContentLength(*length, &remaining_)) return Fail();
    state_ = remaining_ == 0 ? kDone : kBodyLength;
    return;
  }
  untilClose_ = true;
  state_ = kBodyUntilClose;
}

void HttpResponseParser::OnChunkSizeLine(std::string_view line) {
  std::size_t at = 0;
  std::uint64_t size = 0;
  for (; at < line.size() && HexValue(line[at]) >= 0; ++at) {
    size = size * 16 + static_cast<std::uint64_t>(HexValue(line[at]));
    if (size > 0x7fffffffu) return Fail();
  }
  if (at == 0) return Fail();
  if (line.size() - at > kHttpMaxChunkExtensionLength) return Fail();
  if (size == 0) {
    state_ = kTrailerLine;
    return;
  }
  if (size > kHttpMaxBodyLength - body_.size()) return Fail();
  remaining_ = static_cast<std::size_t>(size);
  state_ = kChunkData;
}
