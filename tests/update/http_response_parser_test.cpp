#include "update/http_response_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "update/http_limits.h"

namespace {

using Result = HttpResponseParser::Result;

// The outcome of one reply, fed in pieces of `step` bytes (0: all at once) and, when
// `closed`, followed by the close of the connection.
struct Outcome {
  Result result;
  int status;
  std::string body;
  std::size_t used;  // bytes of the input that belonged to the reply
};

Outcome Parse(HttpResponseParser& parser, const std::string& bytes, std::size_t step, bool closed) {
  std::size_t fed = 0;
  std::size_t usedTotal = 0;
  Result result = Result::kIncomplete;
  while (fed < bytes.size() && result == Result::kIncomplete) {
    const std::size_t piece = step == 0 ? bytes.size() : std::min(step, bytes.size() - fed);
    std::size_t used = 0;
    result = parser.Feed(bytes.data() + fed, piece, &used);
    usedTotal += used;
    fed += piece;
  }
  if (closed && result == Result::kIncomplete) result = parser.Finish();
  return {result, parser.StatusCode(), parser.Body(), usedTotal};
}

// Parses whole and byte by byte, and insists both ways agree before returning.
Outcome ParseBothWays(const std::string& bytes, bool closed = false) {
  HttpResponseParser whole;
  HttpResponseParser split;
  const Outcome a = Parse(whole, bytes, 0, closed);
  const Outcome b = Parse(split, bytes, 1, closed);
  const std::string shown = bytes.substr(0, 80);
  EXPECT_EQ(a.result, b.result) << shown;
  EXPECT_EQ(a.status, b.status) << shown;
  EXPECT_EQ(a.body, b.body) << shown;
  if (a.result == Result::kComplete) {
    EXPECT_EQ(a.used, b.used) << shown;
  }
  return a;
}

struct ReplyCase {
  const char* name;
  std::string bytes;
  bool closed;
  Result result;
  int status;
  std::string body;
};

class ReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyTest, ReadsTheSameWholeAndByteByByte) {
  const ReplyCase& c = GetParam();
  const Outcome outcome = ParseBothWays(c.bytes, c.closed);
  EXPECT_EQ(outcome.result, c.result);
  if (c.result == Result::kComplete) {
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.body, c.body);
  }
}

const std::string k26 = "abcdefghijklmnopqrstuvwxyz";

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyTest,
    ::testing::Values(
        ReplyCase{"ContentLength", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", false, Result::kComplete, 200,
                  "hello"},
        ReplyCase{"ContinueThenOk", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
                  false, Result::kComplete, 200, "ok"},
        ReplyCase{"ChunkedTwentySix",
                  "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a\r\n" + k26 + "\r\n0\r\n\r\n", false,
                  Result::kComplete, 200, k26},
        ReplyCase{"ChunkedPiecesAndExtension",
                  "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n3;x\r\nabc\r\n2\r\nde\r\n0\r\n\r\n", false,
                  Result::kComplete, 200, "abcde"},
        ReplyCase{"ChunkedEndsAtCloseWithoutFinalLine",
                  "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r\n0\r\n", true, Result::kComplete, 200,
                  "ab"},
        ReplyCase{"UntilClose", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nline one\nline two", true, Result::kComplete, 200,
                  "line one\nline two"},
        ReplyCase{"UntilCloseStillOpen", "HTTP/1.0 200 OK\r\n\r\npartial", false, Result::kIncomplete, 0, ""},
        ReplyCase{"HeadEndsAtEndOfData", "HTTP/1.1 302 Found\r\nLocation: /x\r\nContent-Length: 0\r\n\r\n", false,
                  Result::kComplete, 302, ""},
        ReplyCase{"NoContentHasNoBody", "HTTP/1.1 204 No Content\r\n\r\n", false, Result::kComplete, 204, ""},
        ReplyCase{"BareLineFeeds", "HTTP/1.1 404 Not Found\nContent-Length: 1\n\nx", false, Result::kComplete, 404,
                  "x"},
        ReplyCase{"ShortBodyAtClose", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc", true, Result::kError, 0, ""},
        ReplyCase{"ClosedInHead", "HTTP/1.1 200 OK\r\nContent-Le", true, Result::kError, 0, ""},
        ReplyCase{"NoSpaceInStatusLine", "HTTP/1.1\r\n\r\n", false, Result::kError, 0, ""},
        ReplyCase{"LetterForStatus", "HTTP/1.1 OK 200\r\n\r\n", false, Result::kError, 0, ""},
        ReplyCase{"StatusOutOfRange", "HTTP/1.1 99999999999999999999 OK\r\n\r\n", false, Result::kError, 0, ""},
        ReplyCase{"EmptyStatusLine", "\r\nHTTP/1.1 200 OK\r\n\r\n", false, Result::kError, 0, ""},
        ReplyCase{"HeaderWithoutColon", "HTTP/1.1 200 OK\r\nnonsense\r\n\r\n", false, Result::kError, 0, ""},
        ReplyCase{"TwoContentLengths", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", false,
                  Result::kError, 0, ""},
        ReplyCase{"NegativeContentLength", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", false, Result::kError, 0,
                  ""},
        ReplyCase{"ContentLengthPastCap", "HTTP/1.1 200 OK\r\nContent-Length: 16777217\r\n\r\n", false, Result::kError,
                  0, ""},
        // 17 hex digits would wrap round to 5 in 64 bits and match the chunk that follows.
        ReplyCase{"ChunkSizeSeventeenHexDigits",
                  "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10000000000000005\r\nabcde\r\n0\r\n\r\n", false,
                  Result::kError, 0, ""},
        ReplyCase{"ChunkSizePastSigned32", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n80000000\r\n", false,
                  Result::kError, 0, ""},
        ReplyCase{"ChunkSizePastBodyCap", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1000001\r\n", false,
                  Result::kError, 0, ""},
        ReplyCase{"ChunkWithoutSize", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n;x\r\n", false,
                  Result::kError, 0, ""},
        ReplyCase{"LongChunkExtension", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1;ext\r\na\r\n0\r\n\r\n",
                  false, Result::kError, 0, ""},
        ReplyCase{"ChunkDataNotEndedByCrLf",
                  "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nabc\r\n0\r\n\r\n", false, Result::kError,
                  0, ""}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

TEST(HttpResponseParserTest, RepeatedHeadersAreJoinedAndTrailersAdded) {
  HttpResponseParser parser;
  const std::string reply =
      "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nset-cookie:   b=2\r\nWWW-Authenticate: Basic\r\n"
      "Transfer-Encoding: chunked\r\nTrailer: X-Sum\r\n\r\n1\r\nz\r\n0\r\nX-Sum: 9\r\n\r\n";
  ASSERT_EQ(Parse(parser, reply, 1, false).result, Result::kComplete);
  ASSERT_NE(parser.Headers().Find("SET-COOKIE"), nullptr);
  EXPECT_EQ(*parser.Headers().Find("SET-COOKIE"), "a=1,b=2");
  ASSERT_NE(parser.Headers().Find("x-sum"), nullptr);
  EXPECT_EQ(*parser.Headers().Find("x-sum"), "9");
  EXPECT_EQ(parser.AuthenticateValues(), std::vector<std::string>{"Basic"});
}

TEST(HttpResponseParserTest, BytesAfterTheReplyAreLeftUnused) {
  const std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
  const Outcome outcome = ParseBothWays(reply + "HTTP/1.1 200 OK\r\n");
  EXPECT_EQ(outcome.result, Result::kComplete);
  EXPECT_EQ(outcome.used, reply.size());
}

TEST(HttpResponseParserTest, RefusesHeadsPastTheLimits) {
  const std::string status = "HTTP/1.1 200 OK\r\n";
  auto headWith = [&](const std::string& lines) { return status + lines + "\r\n"; };
  std::string hundred;
  for (int i = 0; i < kHttpMaxHeaderCount; ++i) hundred += "X-" + std::to_string(i) + ": v\r\n";
  const std::string longValue(kHttpMaxHeaderValueLength, 'v');
  const std::string longName(kHttpMaxHeaderNameLength, 'n');

  struct Case {
    std::string bytes;
    Result result;
  };
  const Case cases[] = {
      {headWith(hundred + "Content-Length: 0\r\n"), Result::kError},
      {headWith(hundred.substr(hundred.find('\n') + 1) + "Content-Length: 0\r\n"), Result::kComplete},
      {headWith("A: " + longValue + "\r\nContent-Length: 0\r\n"), Result::kComplete},
      {headWith("A: " + longValue + "v\r\n"), Result::kError},
      {headWith(longName + ": v\r\nContent-Length: 0\r\n"), Result::kComplete},
      {headWith(longName + "n: v\r\n"), Result::kError},
      {status + "X: " + std::string(kHttpMaxLineLength + 8, 'x'), Result::kError},  // no line end yet
      {"HTTP/1.1 " + std::string(kHttpMaxLineLength + 8, '2'), Result::kError},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseBothWays(c.bytes).result, c.result) << c.bytes.substr(0, 80);
  }
}

TEST(HttpResponseParserTest, EndlessContinueHeadsAreRefused) {
  std::string replies;
  for (int i = 0; i <= kHttpMaxInterimResponses; ++i) replies += "HTTP/1.1 100 Continue\r\n\r\n";
  EXPECT_EQ(ParseBothWays(replies).result, Result::kError);
}

TEST(HttpResponseParserTest, BodyUntilCloseStopsAtTheCap) {
  HttpResponseParser parser;
  const std::string head = "HTTP/1.1 200 OK\r\n\r\n";
  ASSERT_EQ(parser.Feed(head.data(), head.size()), Result::kIncomplete);
  const std::string block(1 << 20, 'x');
  Result result = Result::kIncomplete;
  for (int i = 0; i < 17 && result == Result::kIncomplete; ++i) result = parser.Feed(block.data(), block.size());
  EXPECT_EQ(result, Result::kError);
  EXPECT_LE(parser.Body().size(), kHttpMaxBodyLength);
}

TEST(HttpResponseParserTest, ReplyToHeadHasNoBodyWhateverItsLength) {
  HttpResponseParser parser(true);
  const std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: 500\r\n\r\n";
  EXPECT_EQ(Parse(parser, reply, 0, false).result, Result::kComplete);
  EXPECT_TRUE(parser.Body().empty());
}

}  // namespace
