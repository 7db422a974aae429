// Runs natively (legacy code page Windows-1252) and under Wine as a UTF-8
// process whose system code page is Windows-1252 too.
#include "settings/legacy_ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/utf8_text.h"

namespace {

TEST(Utf8TextTest, TellsWellFormedUtf8FromEverythingElse) {
  const struct {
    const char* bytes;
    bool valid;
  } cases[] = {
      {"C:\\Pictures\\a.jpg", true},
      {"caf\xC3\xA9 \xD0\x96 \xCE\x94 \xE4\xB8\xAD \xF0\x9F\x94\xA5", true},  // é Ж Δ 中 and U+1F525
      {"caf\xE9.jpg", false},                                                 // Windows-1252 é
      {"\xCF\xF0\xE8\xE2\xE5\xF2", false},                                    // Windows-1251 "Привет"
      {"\xD6\xD0\xCE\xC4", false},                                            // GBK 中文
      {"\xC0\xAF", false},                                                    // overlong "/"
      {"\xE0\x80\xAF", false},                                                // overlong, three bytes
      {"\xED\xA0\x80", false},                                                // a surrogate half
      {"\xF4\x90\x80\x80", false},                                            // above U+10FFFF
      {"\xE4\xB8", false},                                                    // cut short
      {"\x80", false},                                                        // a lone continuation
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(LegacyIniFileTest, ConvertsOnlyTheLinesThatAreNotUtf8) {
  const struct {
    std::string content;
    std::optional<std::string> converted;
  } cases[] = {
      {"[Background]\r\nnum=1\r\npath0=Desktop\r\n", std::nullopt},
      {"[Background]\r\npath0=C:\\\xE4\xB8\xAD\\\xD0\x96.jpg\r\n", std::nullopt},
      {"[Background]\r\nnum=2\r\npath0=C:\\caf\xE9.jpg\r\npath1=C:\\\xE4\xB8\xAD.jpg\r\n",
       "[Background]\r\nnum=2\r\npath0=C:\\caf\xC3\xA9.jpg\r\npath1=C:\\\xE4\xB8\xAD.jpg\r\n"},
      // The last line without its line end, and a legacy euro sign.
      {"[blur]\nblur0=\x80 5", "[blur]\nblur0=\xE2\x82\xAC 5"},
      // The system's own Unicode files keep their byte-order mark and bytes.
      {std::string("\xFF\xFE[\0s\0]\0", 8), std::nullopt},
      {"\xEF\xBB\xBF[s]\r\nk=caf\xE9\r\n", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8IniText(c.content), c.converted) << c.content;
}

}  // namespace
