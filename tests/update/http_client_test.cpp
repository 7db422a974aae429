#include "update/http_client.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loopback_server.h"
#include "update/http_limits.h"

namespace {

ServerReply Ok(const std::string& body) {
  return {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body};
}

std::string RequestLine(const std::string& request) { return request.substr(0, request.find("\r\n")); }

// Records what the client asks of the network, and answers nothing.
class RecordingTransport : public HttpTransport {
 public:
  explicit RecordingTransport(int* calls) : calls_(calls) {}
  bool Connect(const std::string&, std::uint16_t, std::uint32_t) override { return ++*calls_, false; }
  bool IsConnected() const override { return false; }
  bool Send(const char*, std::size_t, std::uint32_t) override { return ++*calls_, false; }
  long Receive(char*, std::size_t, std::uint32_t) override { return ++*calls_, -1; }
  void Close() override {}
  int LastError() const override { return 0; }

 private:
  int* calls_;
};

TEST(HttpClientTest, RefusesUrlsItMustNotFetchWithoutTouchingTheNetwork) {
  const char* const urls[] = {
      "",
      "https://127.0.0.1/checkupdate.php",
      "ftp://127.0.0.1/x",
      "http:///nohost",
      "http://127.0.0.1/a?b\r\nX-Injected: 1",
      "http://127.0.0.1/a\n",
      "http://127.0.0.1:99999/",
  };
  for (const char* url : urls) {
    int calls = 0;
    HttpClient client(std::make_unique<RecordingTransport>(&calls));
    EXPECT_FALSE(client.Navigate(url)) << url;
    EXPECT_EQ(calls, 0) << url;
    EXPECT_EQ(client.StatusCode(), -1) << url;
  }
}

TEST(HttpClientTest, SendsSpacesBeforeTheQueryEscapedAndAfterItAsTheyAre) {
  LoopbackServer server([](const std::string&, int) { return Ok("fine"); });
  HttpClient client;
  ASSERT_TRUE(client.Navigate(server.Url("/a b/c.php?x=1 2#frag")));
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0],
            "GET /a%20b/c.php?x=1 2 HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: Microsoft-ATL-Native/7.00\r\n\r\n");
  EXPECT_EQ(client.StatusCode(), 200);
  EXPECT_EQ(std::string(client.Body(), client.BodyLength()), "fine");
}

TEST(HttpClientTest, ReadsChunkedAndUntilCloseBodiesAndHeaders) {
  const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";
  LoopbackServer server([&](const std::string&, int index) -> ServerReply {
    if (index == 0) {
      return {
          "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nSet-Cookie: a\r\n"
          "Set-Cookie: b\r\n\r\n1a\r\n" +
          alphabet + "\r\n0\r\n\r\n"};
    }
    return {"HTTP/1.0 200 OK\r\n\r\nuntil the end", true};
  });
  HttpClient client;
  ASSERT_TRUE(client.Navigate(server.Url("/chunked")));
  EXPECT_EQ(std::string(client.Body(), client.BodyLength()), alphabet);
  ASSERT_NE(client.Header("set-cookie"), nullptr);
  EXPECT_EQ(*client.Header("set-cookie"), "a,b");

  ASSERT_TRUE(client.Navigate(server.Url("/until-close")));
  EXPECT_EQ(std::string(client.Body(), client.BodyLength()), "until the end");
  EXPECT_EQ(client.Body()[client.BodyLength()], '\0');
  EXPECT_EQ(server.RequestConnections(), (std::vector<int>{0, 0}));
}

TEST(HttpClientTest, FollowsARedirectOnTheSameConnection) {
  LoopbackServer* self = nullptr;
  LoopbackServer server([&](const std::string&, int index) -> ServerReply {
    if (index == 0) {
      return {"HTTP/1.1 302 Found\r\nLocation: " + self->Url("/next?y=2") + "\r\nContent-Length: 0\r\n\r\n"};
    }
    return Ok("arrived");
  });
  self = &server;
  HttpClient client;
  ASSERT_TRUE(client.Navigate(server.Url("/first?x=1")));
  EXPECT_EQ(std::string(client.Body(), client.BodyLength()), "arrived");
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(RequestLine(requests[1]), "GET /next?y=2 HTTP/1.1");
  EXPECT_EQ(server.Connections(), 1);
}

TEST(HttpClientTest, ReconnectsForARelativeRedirectAfterConnectionClose) {
  LoopbackServer server([](const std::string&, int index) -> ServerReply {
    if (index == 0)
      return {"HTTP/1.1 301 Moved\r\nLocation: ../b/c\r\nConnection: close\r\nContent-Length: 0\r\n\r\n", true};
    return Ok("moved");
  });
  HttpClient client;
  ASSERT_TRUE(client.Navigate(server.Url("/a/z/start")));
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(RequestLine(server.Requests()[1]), "GET /a/b/c HTTP/1.1");
  EXPECT_EQ(server.RequestConnections(), (std::vector<int>{0, 1}));
}

TEST(HttpClientTest, AsksAgainWhenAKeptConnectionWasDropped) {
  // The server closes after each reply without saying so in a Connection header.
  LoopbackServer server([](const std::string&, int index) -> ServerReply {
    ServerReply reply = Ok(std::to_string(index));
    reply.close = true;
    return reply;
  });
  HttpClient client;
  ASSERT_TRUE(client.Navigate(server.Url("/one")));
  ASSERT_TRUE(client.Navigate(server.Url("/two")));
  EXPECT_EQ(std::string(client.Body(), client.BodyLength()), "1");
  EXPECT_EQ(server.RequestConnections(), (std::vector<int>{0, 1}));
}

TEST(HttpClientTest, LeavesAConnectionWithBytesPastTheReply) {
  LoopbackServer server([](const std::string&, int index) -> ServerReply {
    return {"HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\n" + std::to_string(index) + "HTTP/1.1 200 OK\r\n"};
  });
  HttpClient client;
  ASSERT_TRUE(client.Navigate(server.Url("/one")));
  ASSERT_TRUE(client.Navigate(server.Url("/two")));
  EXPECT_EQ(std::string(client.Body(), client.BodyLength()), "1");
  EXPECT_EQ(server.RequestConnections(), (std::vector<int>{0, 1}));
}

TEST(HttpClientTest, StopsARedirectLoopAtTheBound) {
  LoopbackServer server([](const std::string&, int) -> ServerReply {
    return {"HTTP/1.1 303 See Other\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n"};
  });
  HttpClient client;
  EXPECT_FALSE(client.Navigate(server.Url("/again")));
  EXPECT_EQ(client.StatusCode(), 303);
  EXPECT_EQ(static_cast<int>(server.Requests().size()), kHttpMaxRedirects + 1);
}

TEST(HttpClientTest, JudgesTheStatus) {
  struct Case {
    std::string head;
    bool accepted;
  };
  const Case cases[] = {
      {"HTTP/1.1 404 Not Found", false},
      {"HTTP/1.1 500 Server Error", false},
      {"HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=x", false},
      {"HTTP/1.1 302 Found", false},  // a redirect without a Location
      {"HTTP/1.1 206 Partial", true},
      {"HTTP/1.1 207 Multi", false},
  };
  for (const Case& c : cases) {
    LoopbackServer server(
        [&](const std::string&, int) -> ServerReply { return {c.head + "\r\nContent-Length: 4\r\n\r\nbody"}; });
    HttpClient client;
    EXPECT_EQ(client.Navigate(server.Url("/")), c.accepted) << c.head;
    EXPECT_EQ(client.StatusCode(), std::stoi(c.head.substr(9, 3))) << c.head;

    NavigateSettings raw;
    raw.processResult = false;
    EXPECT_TRUE(client.Navigate(server.Url("/"), raw)) << c.head;
  }
}

TEST(HttpClientTest, ShortBodyAtCloseFails) {
  LoopbackServer server([](const std::string&, int) -> ServerReply {
    return {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this", true};
  });
  HttpClient client;
  EXPECT_FALSE(client.Navigate(server.Url("/")));
}

TEST(HttpClientTest, DeadlineStopsASlowDrip) {
  // Each byte comes well within the receive time-out; only the deadline can end it.
  LoopbackServer server([](const std::string&, int) -> ServerReply {
    return {"HTTP/1.1 200 OK\r\n\r\n" + std::string(200, 'x'), true, 100};
  });
  NavigateSettings settings;
  settings.deadlineMs = 800;
  HttpClient client;
  EXPECT_FALSE(client.Navigate(server.Url("/drip"), settings));
}

TEST(HttpClientTest, ReceiveTimeoutFailsASilentServer) {
  LoopbackServer server([](const std::string&, int) -> ServerReply { return {}; });
  NavigateSettings settings;
  settings.timeoutMs = 300;
  HttpClient client;
  EXPECT_FALSE(client.Navigate(server.Url("/silent"), settings));
}

TEST(HttpClientTest, RefusedConnectionFails) {
  HttpClient client;
  EXPECT_FALSE(client.Navigate("http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/"));
  EXPECT_NE(client.LastError(), 0);
}

}  // namespace
