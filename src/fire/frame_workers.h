#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// A small pool that runs the jobs of one frame side by side (one job per
// monitor) and returns when all of them are done.
//
// Job 0 always runs on the calling thread, so the primary monitor's frame stays
// on the thread that owns its window and its timing scopes; the other jobs go to
// whichever thread is free, the calling thread included once job 0 is done.
// Nothing is allocated per frame. A job must not throw (the frame stages guard
// themselves). Run is called from one thread at a time.
class FrameWorkers {
 public:
  // `threads` counts the calling thread: 1 (or less) starts no thread at all
  // and Run does every job in turn on the caller.
  explicit FrameWorkers(int threads);
  ~FrameWorkers();
  FrameWorkers(const FrameWorkers&) = delete;
  FrameWorkers& operator=(const FrameWorkers&) = delete;

  // As many threads as there are jobs, but not more than the processor has cores.
  static int ThreadsFor(int jobs);

  int Threads() const { return static_cast<int>(threads_.size()) + 1; }

  // Calls job(i) for every i in [0, count); returns when every call has returned.
  template <typename Job>
  void Run(int count, Job& job) {
    RunJobs(
        count, [](void* context, int index) { (*static_cast<Job*>(context))(index); }, &job);
  }

 private:
  using Call = void (*)(void* context, int index);

  void RunJobs(int count, Call call, void* context);
  // Takes jobs 1.. until none is left.
  void Drain();
  void WorkerLoop();

  std::mutex mutex_;
  std::condition_variable start_;
  std::condition_variable done_;
  // Under mutex_: the frame's number (a change wakes the workers), the workers
  // still busy with it, and the order to stop.
  std::uint64_t generation_ = 0;
  int busy_ = 0;
  bool stopping_ = false;
  // Set under mutex_ before generation_ moves on, read by the workers after they
  // saw it move: the jobs of the current frame.
  Call call_ = nullptr;
  void* context_ = nullptr;
  int count_ = 0;
  std::atomic<int> next_{0};
  std::vector<std::thread> threads_;
};
