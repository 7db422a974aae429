// The portable INI editor, byte for byte: what a write adds and what it must leave
// exactly as the user wrote it.
#include "settings/ini_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct EditCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

TEST(IniTextTest, SetChangesOnlyWhatItMust) {
  const EditCase cases[] = {
      {"empty file", "", "Background", "num", "2", "[Background]\r\nnum=2\r\n"},
      {"replace in place, other lines as they were", "; mine\n[Background]\nnum = 1\n  path0=a.jpg  \n[blur]\nnum=0\n",
       "BACKGROUND", "Num", "2", "; mine\n[Background]\nnum=2\r\n  path0=a.jpg  \n[blur]\nnum=0\n"},
      {"new key before the blank lines that end a section", "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", "a", "z", "3",
       "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n"},
      {"new key in a last section without a line end", "[a]\r\nx=1", "a", "z", "3", "[a]\r\nx=1\r\nz=3\r\n"},
      {"new section after a file without a line end", "[a]\r\nx=1", "b", "y", "2", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
      {"new key in an empty section", "[a]\r\n[b]\r\n", "a", "k", "v", "[a]\r\nk=v\r\n[b]\r\n"},
      {"only the first of two equal sections", "[a]\r\nk=1\r\n[A]\r\nk=2\r\n", "a", "k", "9",
       "[a]\r\nk=9\r\n[A]\r\nk=2\r\n"},
      {"a key line without '=' is replaced", "[a]\r\nk\r\n", "a", "k", "v", "[a]\r\nk=v\r\n"},
      {"comment that looks like the key is left alone", "[a]\r\n;k=1\r\n", "a", "k", "2", "[a]\r\n;k=1\r\nk=2\r\n"},
      {"lines before any section stay first", "k=0\r\n", "a", "k", "1", "k=0\r\n[a]\r\nk=1\r\n"},
  };
  for (const EditCase& c : cases) {
    IniText text(c.before);
    text.Set(c.section, c.key, c.value);
    EXPECT_EQ(text.Content(), c.after) << c.name;
    EXPECT_EQ(text.Find(c.section, c.key), std::optional<std::string>(c.value)) << c.name;
  }
}

TEST(IniTextTest, KeysOutsideTheirSectionAreNotFound) {
  IniText text("k=0\r\n[a]\r\nk\r\n;c=1\r\n[b]\r\nk=2\r\n");
  EXPECT_EQ(text.Find("", "k"), std::nullopt);   // before any section
  EXPECT_EQ(text.Find("a", "k"), std::nullopt);  // no "=": not a value
  EXPECT_EQ(text.Find("a", ";c"), std::nullopt);
  EXPECT_EQ(text.Find("b", "k"), std::optional<std::string>("2"));
  EXPECT_EQ(text.Find("c", "k"), std::nullopt);
}

}  // namespace
