// Feeds a server reply to the response parser twice, in one piece and cut into pieces
// whose sizes the input chooses, then closes the connection. Both readings must agree,
// and no input may crash, hang or grow the body past its cap.
//
// Input: one control byte (bits 0-3: piece size - 1; bit 4: the reply answers HEAD;
// bit 5: do not close the connection afterwards), then the reply bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "update/http_limits.h"
#include "update/http_response_parser.h"

namespace {

struct Reading {
  HttpResponseParser::Result result;
  std::size_t used;
};

Reading Read(HttpResponseParser& parser, const char* data, std::size_t size, std::size_t step, bool close) {
  std::size_t fed = 0;
  std::size_t usedTotal = 0;
  HttpResponseParser::Result result = HttpResponseParser::Result::kIncomplete;
  while (fed < size && result == HttpResponseParser::Result::kIncomplete) {
    const std::size_t piece = size - fed < step ? size - fed : step;
    std::size_t used = 0;
    result = parser.Feed(data + fed, piece, &used);
    if (used > piece) std::abort();
    usedTotal += used;
    fed += piece;
  }
  if (close && result == HttpResponseParser::Result::kIncomplete) result = parser.Finish();
  return {result, usedTotal};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t step = (data[0] & 0x0f) + 1;
  const bool head = (data[0] & 0x10) != 0;
  const bool close = (data[0] & 0x20) == 0;
  const char* reply = reinterpret_cast<const char*>(data + 1);
  const std::size_t length = size - 1;

  HttpResponseParser whole(head);
  HttpResponseParser split(head);
  const Reading a = Read(whole, reply, length, length == 0 ? 1 : length, close);
  const Reading b = Read(split, reply, length, step, close);

  if (a.result != b.result || whole.StatusCode() != split.StatusCode() || whole.Body() != split.Body()) std::abort();
  if (a.result == HttpResponseParser::Result::kComplete && a.used != b.used) std::abort();
  if (whole.Body().size() > kHttpMaxBodyLength ||
      whole.Headers().Size() > static_cast<std::size_t>(kHttpMaxHeaderCount)) {
    std::abort();
  }
  return 0;
}
