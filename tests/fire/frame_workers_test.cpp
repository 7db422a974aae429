#include "fire/frame_workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Every job of every frame runs exactly once, job 0 on the calling thread, and
// Run does not return before the last job has.
TEST(FrameWorkers, RunsEachJobOnceFirstOnCaller) {
  for (const int threads : {1, 2, 4}) {
    FrameWorkers workers(threads);
    for (const int jobs : {1, 2, 3, 7}) {
      for (int frame = 0; frame < 50; ++frame) {
        std::vector<std::atomic<int>> runs(static_cast<std::size_t>(jobs));
        std::thread::id firstThread;
        auto job = [&](int index) {
          if (index == 0) firstThread = std::this_thread::get_id();
          runs[static_cast<std::size_t>(index)].fetch_add(1);
        };
        workers.Run(jobs, job);
        for (int i = 0; i < jobs; ++i) ASSERT_EQ(runs[static_cast<std::size_t>(i)].load(), 1) << threads << " " << i;
        ASSERT_EQ(firstThread, std::this_thread::get_id());
      }
    }
  }
}

}  // namespace
