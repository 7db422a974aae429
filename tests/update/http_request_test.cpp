#include "update/http_request.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HttpRequestTest, LaysOutTheHeadDirectAndThroughAProxy) {
  NavigateSettings post;
  post.method = "POST";
  post.body = "a=1";
  post.contentType = "application/x-www-form-urlencoded";
  post.extraHeaders = "X-Extra: 1\r\n";

  struct Case {
    NavigateSettings settings;
    std::string url;
    bool proxy;
    std::string request;
  };
  const Case cases[] = {
      {NavigateSettings(), "http://h:8080/p?q=1#frag", false,
       "GET /p?q=1 HTTP/1.1\r\nHost: h\r\nUser-Agent: Microsoft-ATL-Native/7.00\r\n\r\n"},
      {NavigateSettings(), "http://h:80/p", true,
       "GET http://h/p HTTP/1.1\r\nHost: h\r\nUser-Agent: Microsoft-ATL-Native/7.00\r\n\r\n"},
      {post, "http://h:8080/form", false,
       "POST /form HTTP/1.1\r\nContent-Length: 3\r\nContent-Type: application/x-www-form-urlencoded\r\n"
       "X-Extra: 1\r\nHost: h\r\nUser-Agent: Microsoft-ATL-Native/7.00\r\n\r\na=1"},
      {post, "http://h:8080/form?x", true,
       "POST http://h:8080/form?x HTTP/1.1\r\nHost: h:8080\r\nContent-Length: 3\r\n"
       "Content-Type: application/x-www-form-urlencoded\r\nX-Extra: 1\r\n"
       "User-Agent: Microsoft-ATL-Native/7.00\r\n\r\na=1"},
  };
  for (const Case& c : cases) {
    const std::optional<UrlParts> url = ParseUrl(c.url);
    ASSERT_TRUE(url) << c.url;
    EXPECT_EQ(BuildHttpRequest(c.settings, *url, c.proxy), c.request) << c.url;
  }
}

}  // namespace
