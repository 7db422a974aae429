#include "image/deadline_file_reader.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

struct DeadlineFileReader::Shared {
  std::mutex mutex;
  std::condition_variable finished;
  std::string reading;  // the name being read; empty when no read runs
  std::string doneName;
  std::optional<FileBytes> done;
};

DeadlineFileReader::DeadlineFileReader(ReadFunction read)
    : read_(std::move(read)), shared_(std::make_shared<Shared>()) {}

// Nothing to wait for: a running worker keeps the shared part alive itself.
DeadlineFileReader::~DeadlineFileReader() = default;

std::optional<FileBytes> DeadlineFileReader::Fetch(const std::string& path, std::chrono::milliseconds deadline) {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  const auto take = [this]() {
    std::optional<FileBytes> result = std::move(shared_->done);
    shared_->done.reset();
    shared_->doneName.clear();
    return result;
  };
  if (shared_->done && shared_->doneName == path) return take();
  if (!shared_->reading.empty() && shared_->reading != path) return std::nullopt;
  if (shared_->reading.empty()) {
    // A late result nobody asked for again is dropped: it may be large.
    shared_->done.reset();
    shared_->doneName.clear();
    shared_->reading = path;
    try {
      std::thread([shared = shared_, read = read_, path]() {
        FileBytes result;
        try {
          result = read(path);
        } catch (...) {
          result = FileBytes{{}, DecodeError::kTooLarge};  // only allocation throws
        }
        const std::lock_guard<std::mutex> guard(shared->mutex);
        shared->done = std::move(result);
        shared->doneName = path;
        shared->reading.clear();
        shared->finished.notify_all();
      }).detach();
    } catch (const std::system_error&) {
      shared_->reading.clear();
      return FileBytes{{}, DecodeError::kUnreadable};
    }
  }
  shared_->finished.wait_for(lock, deadline, [this, &path]() { return shared_->done && shared_->doneName == path; });
  if (shared_->done && shared_->doneName == path) return take();
  return std::nullopt;
}
