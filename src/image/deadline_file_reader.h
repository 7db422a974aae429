#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "image/decoded_image.h"

// A whole file's bytes, or why there are none.
struct FileBytes {
  std::vector<std::uint8_t> bytes;
  std::optional<DecodeError> error;
};

// Reads whole files on a worker thread, so that a caller who must not stall (the
// frame loop, the start before the first frame) waits for a read no longer than
// its deadline. A read that misses the deadline runs on; its result is kept for
// the next Fetch of the same name, which takes it at once. One read runs at a
// time: asking for another name meanwhile gets "not yet" without starting a
// second worker, so a server that never answers holds one thread, not one per ask.
//
// The worker owns what it shares with the reader, so a read that hangs past the
// reader's life (or the process's) touches nothing freed; the process may end
// while it still waits. One thread uses a reader at a time.
class DeadlineFileReader {
 public:
  // Reads one file whole; runs on the worker.
  using ReadFunction = std::function<FileBytes(const std::string& path)>;

  explicit DeadlineFileReader(ReadFunction read);
  ~DeadlineFileReader();
  DeadlineFileReader(const DeadlineFileReader&) = delete;
  DeadlineFileReader& operator=(const DeadlineFileReader&) = delete;

  // The file's bytes or why not, once read; nothing while the read is still
  // running when the deadline passes, or while another name's read runs.
  std::optional<FileBytes> Fetch(const std::string& path, std::chrono::milliseconds deadline);

  struct Shared;

 private:
  ReadFunction read_;
  std::shared_ptr<Shared> shared_;
};
