#include <gtest/gtest.h>

#include <string>

#include "update/http_limits.h"
#include "update/redirect_location.h"
#include "update/url_escaper.h"
#include "update/url_parts.h"

namespace {

TEST(UrlEscaperTest, EscapesOnlyBeforeTheQueryOrFragment) {
  struct Case {
    std::string url;
    std::string escaped;
  };
  const Case cases[] = {
      {"http://h/a b/c.php?x=1 2", "http://h/a%20b/c.php?x=1 2"},
      {"http://h/p#frag ment?x", "http://h/p#frag ment?x"},
      {"http://h/!'()*-._~:%41", "http://h/!'()*-._~:%41"},
      {"http://h/a+b&c=d;e@f", "http://h/a%2bb%26c%3dd%3be%40f"},
      {"http://h/\x01\x7f\xff", "http://h/%01%7f%ff"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeUrl(c.url), c.escaped) << c.url;
  }
}

TEST(UrlEscaperTest, RefusesResultsPastTheBuffer) {
  const std::string prefix = "http://h/";
  EXPECT_TRUE(EscapeUrl(prefix + std::string(kUrlMaxEscapedLength - prefix.size(), 'a')));
  EXPECT_FALSE(EscapeUrl(prefix + std::string(kUrlMaxEscapedLength - prefix.size() + 1, 'a')));
  // Each space grows to three characters.
  EXPECT_FALSE(EscapeUrl(prefix + std::string(kUrlMaxEscapedLength / 3, ' ')));
  EXPECT_FALSE(EscapeUrl(prefix + "?" + std::string(kUrlMaxEscapedLength, 'q')));
}

TEST(UrlEscaperTest, FindsLineBreaksAndNulAnywhere) {
  EXPECT_FALSE(HasForbiddenUrlCharacter("http://h/a?b c"));
  EXPECT_TRUE(HasForbiddenUrlCharacter("http://h/a?b\r\nX: y"));
  EXPECT_TRUE(HasForbiddenUrlCharacter("http://h/a\n"));
  EXPECT_TRUE(HasForbiddenUrlCharacter(std::string("http://h/a\0b", 12)));
}

TEST(UrlPartsTest, CutsUrlsIntoParts) {
  struct Case {
    std::string url;
    bool ok = false;
    std::string scheme = {}, user = {}, password = {}, host = {};
    int port = 0;
    std::string path = {}, extra = {};
  };
  const Case cases[] = {
      {"http://updates.example/checkupdate.php?product=H&version=V1.00", true, "http", "", "", "updates.example", 0,
       "/checkupdate.php", "?product=H&version=V1.00"},
      {"HTTP://Host:8080", true, "http", "", "", "Host", 8080, "", ""},
      {"http://u:p@h:1/x#f", true, "http", "u", "p", "h", 1, "/x", "#f"},
      {"http://u@h/", true, "http", "u", "", "h", 0, "/", ""},
      {"http://h:/x", true, "http", "", "", "h", 0, "/x", ""},
      {"mailto:someone@example", true, "mailto", "", "", "", 0, "someone@example", ""},
      {"http://:p@h/", false},
      {"http://h:0/", false},
      {"http://h:65536/", false},
      {"http://h:8o/", false},
      {"://h/", false},
      {"1http://h/", false},
      {"no scheme", false},
      {"http://" + std::string(kUrlMaxHostLength, 'h') + "/", true, "http", "", "", std::string(kUrlMaxHostLength, 'h'),
       0, "/", ""},
      {"http://" + std::string(kUrlMaxHostLength + 1, 'h') + "/", false},
      {"http://" + std::string(kUrlMaxUserNameLength + 1, 'u') + "@h/", false},
      {"http://u:" + std::string(kUrlMaxPasswordLength + 1, 'p') + "@h/", false},
      {"http://h/" + std::string(kUrlMaxPathLength, 'p'), false},
      {"http://h/?" + std::string(kUrlMaxExtraInfoLength, 'q'), false},
  };
  for (const Case& c : cases) {
    const std::optional<UrlParts> parts = ParseUrl(c.url);
    ASSERT_EQ(parts.has_value(), c.ok) << c.url;
    if (!parts) continue;
    EXPECT_EQ(parts->scheme, c.scheme) << c.url;
    EXPECT_EQ(parts->userName, c.user) << c.url;
    EXPECT_EQ(parts->password, c.password) << c.url;
    EXPECT_EQ(parts->host, c.host) << c.url;
    EXPECT_EQ(parts->port, c.port) << c.url;
    EXPECT_EQ(parts->path, c.path) << c.url;
    EXPECT_EQ(parts->extraInfo, c.extra) << c.url;
  }
}

TEST(RedirectLocationTest, ResolvesAgainstTheCurrentUrl) {
  const UrlParts current = *ParseUrl("http://h:81/a/b/c.php?q=1");
  struct Case {
    std::string location;
    std::string resolved;
  };
  const Case cases[] = {
      {"http://other/x", "http://other/x"},
      {"HTTPS://other/x", "HTTPS://other/x"},
      {"//other:82/x?y", "http://other:82/x?y"},
      {"/x/./y/../z", "http://h:81/x/z"},
      {"d.php", "http://h:81/a/b/d.php"},
      {"../d.php?r", "http://h:81/a/d.php?r"},
      {"../../../../d", "http://h:81/d"},
      {"./", "http://h:81/a/b/"},
      {"?r=2", "http://h:81/a/b/c.php?r=2"},
      {"#top", "http://h:81/a/b/c.php?q=1#top"},
      {"x:y/z", "x:y/z"},
      {"x/y:z", "http://h:81/a/b/x/y:z"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolveRedirectLocation(current, c.location), c.resolved) << c.location;
  }
  EXPECT_FALSE(ResolveRedirectLocation(current, ""));
}

}  // namespace
