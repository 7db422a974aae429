#include "update/update_checker.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "loopback_server.h"
#include "update/update_address.h"
#include "update/update_reply.h"

namespace {

TEST(UpdateReplyTest, JudgesTheFirstLine) {
  struct Case {
    std::string body;
    bool offer = false;
    std::string latest = {}, download = {};
  };
  const Case cases[] = {
      {"yes V1.10 http://example.test/get.zip", true, "V1.10", "http://example.test/get.zip"},
      {"yes|V1.10|http://example.test/get.zip", true, "V1.10", "http://example.test/get.zip"},
      {"yes V1.10|u\r\nno\r\nmore lines", true, "V1.10", "u"},
      {"yes V1.10 u\nignored", true, "V1.10", "u"},
      {"yes  V1.10 u", false},
      {"yes V1.10 u ", false},
      {"yes V1.10", false},
      {"Yes V1.10 u", false},
      {"no", false},
      {"", false},
      {"\r\nyes V1.10 u", false},
  };
  for (const Case& c : cases) {
    const std::optional<UpdateOffer> offer = ReadUpdateReply(c.body);
    ASSERT_EQ(offer.has_value(), c.offer) << c.body;
    if (!offer) continue;
    EXPECT_EQ(offer->latestVersion, c.latest) << c.body;
    EXPECT_EQ(offer->downloadUrl, c.download) << c.body;
  }
}

TEST(UpdateReplyTest, OnlyWebAddressesMayBeOpened) {
  const std::pair<const char*, bool> cases[] = {
      {"http://example.test/get.zip", true},
      {"https://example.test/get.zip", true},
      {"HTTPS://example.test/get.zip", true},
      {"http://", false},
      {"file:///C:/Windows/System32/calc.exe", false},
      {"C:\\Windows\\System32\\calc.exe", false},
      {"\\\\server\\share\\setup.exe", false},
      {"ms-settings:", false},
      {"javascript:alert(1)", false},
      {" http://example.test/", false},
      {"httpx://example.test/", false},
      {"", false},
  };
  for (const auto& [address, web] : cases) EXPECT_EQ(IsWebAddress(address), web) << address;
}

class UpdateCheckerTest : public ::testing::Test {
 protected:
  void Serve(const std::string& head, const std::string& body) {
    server_ = std::make_unique<LoopbackServer>([=](const std::string&, int) -> ServerReply {
      return {head + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body};
    });
  }
  std::unique_ptr<LoopbackServer> server_;
};

TEST_F(UpdateCheckerTest, SendsTheQueryAndKeepsTheOffer) {
  Serve("HTTP/1.1 200 OK", "yes|V1.10|http://example.test/get.zip\r\n");
  UpdateChecker checker(server_->Url("/checkupdate.php"), "V1.00");
  ASSERT_EQ(checker.Check(), 1);
  EXPECT_EQ(checker.CurrentVersion(), "V1.00");
  EXPECT_EQ(checker.LatestVersion(), "V1.10");
  EXPECT_EQ(checker.DownloadUrl(), "http://example.test/get.zip");
  ASSERT_EQ(server_->Requests().size(), 1u);
  EXPECT_EQ(server_->Requests()[0],
            "GET /checkupdate.php?product=Hearthmoor&version=V1.00 HTTP/1.1\r\n"
            "Host: 127.0.0.1\r\n"
            "User-Agent: Microsoft-ATL-Native/7.00\r\n\r\n");
}

TEST_F(UpdateCheckerTest, AnswersZeroWithoutAnOffer) {
  for (const char* body : {"no", "", "Yes V1.10 u", "yes  V1.10 u"}) {
    Serve("HTTP/1.1 200 OK", body);
    UpdateChecker checker(server_->Url("/checkupdate.php"), "V1.00");
    EXPECT_EQ(checker.Check(), 0) << body;
    EXPECT_EQ(checker.LatestVersion(), "") << body;
  }
}

TEST_F(UpdateCheckerTest, AnswersMinusOneWhenTheServerCannotBeAsked) {
  Serve("HTTP/1.1 404 Not Found", "yes V1.10 u");
  EXPECT_EQ(UpdateChecker(server_->Url("/checkupdate.php"), "V1.00").Check(), -1);
  const std::string nobody = "http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/checkupdate.php";
  EXPECT_EQ(UpdateChecker(nobody, "V1.00").Check(), -1);
  EXPECT_EQ(UpdateChecker("https://127.0.0.1/checkupdate.php", "V1.00").Check(), -1);
}

TEST(UpdateAddressTest, EnvironmentOverridesTheMakersServer) {
  SetTestEnvironment(kUpdateUrlVariable, nullptr);
  EXPECT_EQ(UpdateAddress(), kDefaultUpdateUrl);
  EXPECT_TRUE(std::string(kDefaultUpdateUrl).ends_with("/checkupdate.php"));
  SetTestEnvironment(kUpdateUrlVariable, "http://127.0.0.1:8/checkupdate.php");
  EXPECT_EQ(UpdateAddress(), "http://127.0.0.1:8/checkupdate.php");
  SetTestEnvironment(kUpdateUrlVariable, "");
  EXPECT_EQ(UpdateAddress(), kDefaultUpdateUrl);
  SetTestEnvironment(kUpdateUrlVariable, nullptr);
}

}  // namespace
