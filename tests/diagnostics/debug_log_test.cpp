#include "diagnostics/debug_log.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace {

std::uint32_t g_now = 0;
std::uint32_t FakeClock() { return g_now; }

// log.txt is a text file: Windows writes CR LF, so compare without the CRs.
std::string ReadText(const std::filesystem::path& file) {
  std::string text = ReadFileBytes(file);
  std::erase(text, '\r');
  return text;
}

class DebugLogTest : public ::testing::Test {
 protected:
  DebugLog MakeLog(std::uint32_t createdAt) {
    g_now = createdAt;
    DebugLog log(&FakeClock);
    log.SetFileName("log.txt");
    return log;
  }
  TempDir dir_;
  CurrentDirGuard cwd_{dir_.path()};
};

TEST_F(DebugLogTest, LinesAreStampedWithMillisecondsSinceCreation) {
  DebugLog log = MakeLog(4000000000u);
  g_now = 4000001234u;
  log.Log("FireManager::Create success");
  g_now = 4000000000u + 300000000u;  // the clock wrapped: the difference is still right
  log.Log("BaseApp::Init() begin");
  EXPECT_EQ(ReadText("log.txt"), "1234: FireManager::Create success\n300000000: BaseApp::Init() begin\n");
}

TEST_F(DebugLogTest, FormatsIntegersAndTextLikeTheSystemFormatter) {
  DebugLog log = MakeLog(0);
  log.Log("%d %u %x %i %s|%5d|%-3s|", -1, 4294967295u, 255u, 7, "text", 42, "a");
  EXPECT_EQ(ReadText("log.txt"), "0: -1 4294967295 ff 7 text|   42|a  |\n");
}

TEST_F(DebugLogTest, LongLinesAreCutAt255CharactersWithTheLineEndKept) {
  DebugLog log = MakeLog(0);
  g_now = 12;
  for (std::size_t length : {250u, 251u, 252u, 400u, 5000u}) {
    log.Log("%s", std::string(length, 'x').c_str());
  }
  log.Log("next");
  const std::string text = ReadText("log.txt");
  const std::string full = "12: " + std::string(250, 'x') + "\n";  // 255 characters exactly
  const std::string cut = "12: " + std::string(250, 'x') + "\n";   // longer ones cut to the same
  EXPECT_EQ(text, full + cut + cut + cut + cut + "12: next\n");
}

TEST_F(DebugLogTest, DeleteLogFileOnlyWhenTheOutputsAreExactlyTheFile) {
  struct Case {
    int outputs;
    bool deleted;
  };
  const Case cases[] = {{DebugLog::kFile, true},
                        {DebugLog::kFile | DebugLog::kDebugger, false},
                        {DebugLog::kFile | DebugLog::kStderr, false},
                        {DebugLog::kDebugger, false},
                        {0, false}};
  for (const Case& c : cases) {
    WriteFileBytes("log.txt", "old run\n");
    DebugLog log = MakeLog(0);
    log.SetOutputs(c.outputs);
    log.DeleteLogFile();
    EXPECT_EQ(!std::filesystem::exists("log.txt"), c.deleted) << "outputs " << c.outputs;
  }
}

TEST_F(DebugLogTest, EachRunStartsAFreshLogFile) {
  WriteFileBytes("log.txt", "0: an earlier run\n");
  DebugLog log = MakeLog(0);
  log.DeleteLogFile();
  log.Log("BaseApp::Init() begin");
  EXPECT_EQ(ReadText("log.txt"), "0: BaseApp::Init() begin\n");
}

// Two and a half bounds of lines, from one thread and from two at once (the
// settings mode logs from two): the file is moved aside whenever it passes the
// bound, once, so what is kept is each thread's newest lines, none lost at the
// seam.
TEST_F(DebugLogTest, AFullLogIsMovedAsideAndANewOneBegun) {
  const std::string filler(80, 'x');
  const int lines = static_cast<int>(DebugLog::kMaxFileBytes * 5 / 2 / 96);
  for (const int threads : {1, 2}) {
    SCOPED_TRACE(threads);
    DebugLog log = MakeLog(0);
    log.DeleteLogFile();
    std::remove("log.old.txt");
    std::vector<std::thread> writers;
    for (int t = 0; t < threads; ++t) {
      writers.emplace_back([&, t] {
        for (int i = 0; i < lines / threads; ++i) log.Log("t%d line %07d %s", t, i, filler.c_str());
      });
    }
    for (std::thread& writer : writers) writer.join();
    // Bytes on disk, line ends as the platform writes them.
    const auto bytes = [](const char* name) { return static_cast<long>(std::filesystem::file_size(name)); };
    const long slack = 200;
    EXPECT_LE(bytes("log.txt"), DebugLog::kMaxFileBytes + slack);
    EXPECT_GT(bytes("log.old.txt"), DebugLog::kMaxFileBytes - slack);
    EXPECT_LE(bytes("log.old.txt"), DebugLog::kMaxFileBytes + slack);
    // Each thread's numbers, read through the old file then the new one, run on
    // without a gap to its last line.
    std::istringstream kept(ReadText("log.old.txt") + ReadText("log.txt"));
    std::vector<int> next(threads, -1);
    int writer = 0, number = 0;
    for (std::string line; std::getline(kept, line);) {
      ASSERT_EQ(std::sscanf(line.c_str(), "0: t%d line %d", &writer, &number), 2) << line;
      ASSERT_TRUE(writer >= 0 && writer < threads) << line;
      if (next[writer] >= 0) {
        EXPECT_EQ(number, next[writer]) << line;
      }
      next[writer] = number + 1;
    }
    for (const int last : next) EXPECT_EQ(last, lines / threads);
  }

  DebugLog log = MakeLog(0);
  char other[DebugLog::kMaxPath + 4];
  log.SetFileName("trace");
  log.OldFileName(other);
  EXPECT_STREQ(other, "trace.old");
}

TEST_F(DebugLogTest, DetailLinesOnlyAtLevelTwoWithASignedStamp) {
  DebugLog log = MakeLog(100);
  g_now = 50;  // earlier than creation: the detail stamp shows it signed
  log.LogDetail("START: CDXScreen::Flip");
  EXPECT_FALSE(std::filesystem::exists("log.txt"));
  log.SetLevel(2);
  log.LogDetail("START: CDXScreen::Flip");
  EXPECT_EQ(ReadText("log.txt"), "-50: START: CDXScreen::Flip\n");
}

TEST_F(DebugLogTest, StartsWithADatedFileNameAndTheFileOutputOnly) {
  DebugLog log(&FakeClock);
  const std::string name = log.FileName();
  ASSERT_EQ(name.size(), 21u) << name;
  EXPECT_EQ(name.substr(0, 3), "cdx");
  EXPECT_EQ(name.substr(17), ".log");
  EXPECT_EQ(name.find_first_not_of("0123456789", 3), 17u) << name;
  EXPECT_EQ(log.Outputs(), DebugLog::kFile);
  EXPECT_EQ(log.Level(), 1);
  log.SetFileName(std::string(400, 'n').c_str());
  EXPECT_EQ(std::string(log.FileName()).size(), static_cast<std::size_t>(DebugLog::kMaxPath - 1));
}

}  // namespace
