#include "fire/frame_workers.h"

#include <algorithm>

FrameWorkers::FrameWorkers(int threads) {
  for (int i = 1; i < threads; ++i) threads_.emplace_back([this] { WorkerLoop(); });
}

FrameWorkers::~FrameWorkers() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  start_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

int FrameWorkers::ThreadsFor(int jobs) {
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::max(1, std::min(jobs, std::max(cores, 1)));
}

void FrameWorkers::RunJobs(int count, Call call, void* context) {
  if (count <= 0) return;
  if (threads_.empty() || count == 1) {
    for (int i = 0; i < count; ++i) call(context, i);
    return;
  }
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    call_ = call;
    context_ = context;
    count_ = count;
    next_.store(1, std::memory_order_relaxed);
    busy_ = static_cast<int>(threads_.size());
    ++generation_;
  }
  start_.notify_all();
  call(context, 0);
  Drain();
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return busy_ == 0; });
}

void FrameWorkers::Drain() {
  for (int i = next_.fetch_add(1); i < count_; i = next_.fetch_add(1)) call_(context_, i);
}

void FrameWorkers::WorkerLoop() {
  std::uint64_t seen = 0;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      start_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
    }
    Drain();
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (--busy_ == 0) done_.notify_one();
    }
  }
}
