// One contract for IniStore: natively it runs against our own reader and writer,
// under Wine against the Windows private-profile calls, so both must agree.
#include "settings/ini_store.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace {

class IniStoreTest : public ::testing::Test {
 protected:
  std::string Path() const { return (dir_ / "config.ini").string(); }
  void Prepare(const std::string& content) { WriteFileBytes(dir_ / "config.ini", content); }
  std::string Read(const std::string& section, const std::string& key, const std::string& fallback = "<none>") {
    IniStore store(Path());
    return store.ReadString(section, key, fallback);
  }

  TempDir dir_;
};

TEST_F(IniStoreTest, ReadsValuesTheWayWindowsDoes) {
  Prepare(
      "[Background]\r\n"
      "num=2\r\n"
      "  path0  =  C:\\Pictures\\a b.jpg  \r\n"
      "path1=\"quoted value\"\r\n"
      "single='x'\r\n"
      "lonely=\"\r\n"
      "mixed=\"x'\r\n"
      "empty=\r\n"
      "[TimeSection]\r\n"
      "ShowFire=0\r\n"
      "num=9\r\n");
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Background", "num", "2"},
      {"background", "NUM", "2"},
      {"BACKGROUND", "path0", "C:\\Pictures\\a b.jpg"},
      {"Background", "path1", "quoted value"},
      {"Background", "single", "x"},
      {"Background", "lonely", "\""},
      {"Background", "mixed", "\"x'"},
      {"Background", "empty", ""},
      {"Background", "ShowFire", "<none>"},
      {"TimeSection", "showfire", "0"},
      {"TimeSection", "num", "9"},
      {"Missing", "num", "<none>"},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.section, c.key), c.expected) << c.section << "/" << c.key;
}

TEST_F(IniStoreTest, MissingFileGivesTheDefaultAndCreatesNothing) {
  EXPECT_EQ(Read("Background", "num", "0"), "0");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "config.ini"));
}

TEST_F(IniStoreTest, LongValuesAreCutTo2047Characters) {
  Prepare("[blur]\r\nblur0=" + std::string(3000, 'x') + "\r\n");
  EXPECT_EQ(Read("blur", "blur0"), std::string(2047, 'x'));
}

TEST_F(IniStoreTest, WriteCreatesFileAndSectionsWithCrLfLines) {
  {
    IniStore store(Path());
    store.WriteString("Background", "num", "1");
    store.WriteString("Background", "path0", "Desktop");
    store.WriteString("blur", "num", "0");
  }
  EXPECT_EQ(Read("background", "NUM"), "1");
  EXPECT_EQ(Read("Background", "path0"), "Desktop");
  EXPECT_EQ(Read("blur", "num"), "0");
  const std::string bytes = ReadFileBytes(dir_ / "config.ini");
  EXPECT_NE(bytes.find("[Background]\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("path0=Desktop\r\n"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("\n\n"), std::string::npos) << "every line ends in CR LF";
}

TEST_F(IniStoreTest, WriteReplacesOneValueAndKeepsUnknownContent) {
  Prepare(
      "[Background]\r\n"
      "num=1\r\n"
      "mine=kept\r\n"
      "[Private]\r\n"
      "colour=blue\r\n"
      "[TimeSection]\r\n"
      "changeColorTime=7\r\n");
  {
    IniStore store(Path());
    store.WriteString("background", "NUM", "3");
    store.WriteString("TimeSection", "ShowFire", "1");
    store.WriteString("update", "config", "");
  }
  EXPECT_EQ(Read("Background", "num"), "3");
  EXPECT_EQ(Read("Background", "mine"), "kept");
  EXPECT_EQ(Read("Private", "colour"), "blue");
  EXPECT_EQ(Read("TimeSection", "changeColorTime"), "7");
  EXPECT_EQ(Read("TimeSection", "ShowFire"), "1");
  EXPECT_EQ(Read("update", "config"), "");
}

// A file an earlier version wrote in the legacy code page (here Windows-1252)
// reads in UTF-8 and is UTF-8 on disk from then on; its UTF-8 lines stay.
TEST_F(IniStoreTest, LegacyFileReadsAndStaysUtf8) {
  Prepare("[Background]\r\nnum=2\r\npath0=C:\\caf\xE9.jpg\r\npath1=C:\\\xE4\xB8\xAD.jpg\r\n");
  EXPECT_EQ(Read("Background", "path0"), "C:\\caf\xC3\xA9.jpg");
  EXPECT_EQ(Read("Background", "path1"), "C:\\\xE4\xB8\xAD.jpg");
  {
    IniStore store(Path());
    store.WriteString("Background", "path2", "C:\\\xCE\x94.jpg");
  }
  EXPECT_EQ(ReadFileBytes(dir_ / "config.ini"),
            "[Background]\r\nnum=2\r\npath0=C:\\caf\xC3\xA9.jpg\r\npath1=C:\\\xE4\xB8\xAD.jpg\r\n"
            "path2=C:\\\xCE\x94.jpg\r\n");
}

TEST_F(IniStoreTest, StoresOnOneFileSeeEachOthersWrites) {
  IniStore first(Path());
  IniStore second(Path());
  first.WriteString("blur", "num", "2");
  EXPECT_EQ(second.ReadString("blur", "num", "0"), "2");
  second.WriteString("blur", "num", "3");
  EXPECT_EQ(first.ReadString("BLUR", "NUM", "0"), "3");
}

#ifndef _WIN32
// The portable store writes the file when its last store on it ends; a change made
// to the file by someone else meanwhile keeps its keys, ours win where both wrote.
TEST_F(IniStoreTest, PendingWritesGoOnTopOfAChangeMadeMeanwhile) {
  {
    IniStore store(Path());
    store.WriteString("blur", "num", "2");
    store.WriteString("blur", "blur0", "mine");
    Prepare("[blur]\r\nblur0=theirs\r\nblur1=theirs\r\n");
  }
  EXPECT_EQ(ReadFileBytes(dir_ / "config.ini"), "[blur]\r\nblur0=mine\r\nblur1=theirs\r\nnum=2\r\n");
}
#endif

}  // namespace
