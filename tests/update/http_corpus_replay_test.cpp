#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "update/http_response_parser.h"

namespace {

// Every input the fuzzer has kept (and every crash it found, once added there) is read
// in one piece and in small pieces, and must give the same answer both ways.
TEST(HttpCorpusReplayTest, EveryCorpusFileParsesTheSameWholeAndSplit) {
  const std::filesystem::path corpus = std::filesystem::path(HEARTHMOOR_SOURCE_DIR) / "fuzz/corpus/fuzz_http_response";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const std::string bytes = ReadFileBytes(entry.path());
    HttpResponseParser whole;
    HttpResponseParser split;
    HttpResponseParser::Result a = whole.Feed(bytes.data(), bytes.size());
    for (std::size_t at = 0; at < bytes.size() && split.State() == HttpResponseParser::Result::kIncomplete; at += 3) {
      split.Feed(bytes.data() + at, std::min<std::size_t>(3, bytes.size() - at));
    }
    if (a == HttpResponseParser::Result::kIncomplete) a = whole.Finish();
    if (split.State() == HttpResponseParser::Result::kIncomplete) split.Finish();
    EXPECT_EQ(a, split.State()) << entry.path();
    EXPECT_EQ(whole.StatusCode(), split.StatusCode()) << entry.path();
    EXPECT_EQ(whole.Body(), split.Body()) << entry.path();
  }
  EXPECT_GT(files, 0);
}

}  // namespace
