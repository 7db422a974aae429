#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "image/deadline_file_reader.h"
#include "image/network_path.h"

namespace {

using std::chrono::milliseconds;

TEST(NetworkPathTest, OnlyNamesOnAServerAreNetworkNames) {
  const struct {
    const char* name;
    bool network;
  } cases[] = {
      {"\\\\server\\share\\a.jpg", true},
      {"//server/share/a.jpg", true},
      {"\\/server/a.jpg", true},
      {"\\\\?\\UNC\\server\\a.jpg", true},
      {"\\\\?\\unc/server/a.jpg", true},
      {"\\\\?\\C:\\a.jpg", false},
      {"\\\\.\\C:\\a.jpg", false},
      {"\\\\?\\UNCLE\\a.jpg", false},
      {"C:\\a.jpg", false},
      {"\\a.jpg", false},
      {"/tmp/a.jpg", false},
      {"Desktop", false},
      {"", false},
      {"\\", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsNetworkPath(c.name), c.network) << c.name;
}

// A read function that holds every read until the test opens its gate, and
// counts the reads started.
class GatedRead {
 public:
  FileBytes operator()(const std::string& path) {
    ++started;
    std::unique_lock<std::mutex> lock(mutex_);
    opened_.wait(lock, [this] { return open_; });
    if (path.find("missing") != std::string::npos) return FileBytes{{}, DecodeError::kUnreadable};
    return FileBytes{{path.begin(), path.end()}, std::nullopt};
  }
  void Open() {
    const std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    opened_.notify_all();
  }
  std::atomic<int> started{0};

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

std::string Text(const FileBytes& read) { return std::string(read.bytes.begin(), read.bytes.end()); }

TEST(DeadlineFileReaderTest, AHangingReadCostsTheCallerOnlyTheDeadlineAndIsShownLater) {
  auto gate = std::make_shared<GatedRead>();
  DeadlineFileReader reader([gate](const std::string& path) { return (*gate)(path); });

  // Returning at all proves the caller did not wait for the read.
  EXPECT_FALSE(reader.Fetch("\\\\server\\a.jpg", milliseconds(20)));
  EXPECT_FALSE(reader.Fetch("\\\\server\\b.jpg", milliseconds(20))) << "another name while a read runs";
  EXPECT_FALSE(reader.Fetch("\\\\server\\a.jpg", milliseconds(20))) << "the same name, still running";
  EXPECT_EQ(gate->started, 1) << "one worker, however often it is asked";

  gate->Open();
  const std::optional<FileBytes> late = reader.Fetch("\\\\server\\a.jpg", milliseconds(10000));
  ASSERT_TRUE(late);
  EXPECT_EQ(Text(*late), "\\\\server\\a.jpg");

  // Taken once: the next ask reads afresh, and an open gate answers in time.
  const std::optional<FileBytes> again = reader.Fetch("\\\\server\\a.jpg", milliseconds(10000));
  ASSERT_TRUE(again);
  EXPECT_EQ(gate->started, 2);
  const std::optional<FileBytes> missing = reader.Fetch("\\\\server\\missing.jpg", milliseconds(10000));
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->error, DecodeError::kUnreadable);
  EXPECT_TRUE(missing->bytes.empty());
}

TEST(DeadlineFileReaderTest, AReadMayOutliveItsReader) {
  auto gate = std::make_shared<GatedRead>();
  std::weak_ptr<GatedRead> stillHeld = gate;
  {
    DeadlineFileReader reader([gate](const std::string& path) { return (*gate)(path); });
    EXPECT_FALSE(reader.Fetch("\\\\server\\a.jpg", milliseconds(1)));
  }
  gate->Open();
  gate.reset();
  // The worker lets go of the read function when it ends; the sanitizers see
  // whether it touched anything of the reader after that was gone.
  for (int i = 0; i < 1000 && !stillHeld.expired(); ++i) std::this_thread::sleep_for(milliseconds(10));
  EXPECT_TRUE(stillHeld.expired());
}

}  // namespace
