#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

// Runs `work` on a thread of its own and waits at most `timeoutMs` for its
// answer: for blocking system calls that take no time-out of their own, such as
// a name lookup, which would otherwise hold the caller past its deadline. When
// the time is up the caller goes on without an answer; the thread finishes in
// its own time and drops the answer. `work` owns whatever it reads (captures by
// value) and must not throw; no answer either when no thread can be had.
template <typename Result, typename Work>
std::optional<Result> CallWithin(std::uint32_t timeoutMs, Work work) {
  struct Shared {
    std::mutex mutex;
    std::condition_variable done;
    std::optional<Result> result;
  };
  auto shared = std::make_shared<Shared>();
  try {
    std::thread([shared, work = std::move(work)]() mutable {
      Result result = work();
      const std::lock_guard<std::mutex> hold(shared->mutex);
      shared->result.emplace(std::move(result));
      shared->done.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return std::nullopt;
  }
  std::unique_lock<std::mutex> hold(shared->mutex);
  shared->done.wait_for(hold, std::chrono::milliseconds(timeoutMs), [&] { return shared->result.has_value(); });
  return std::exchange(shared->result, std::nullopt);
}
