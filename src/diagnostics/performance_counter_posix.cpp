#include <time.h>

#include "diagnostics/performance_counter.h"

std::int64_t ReadPerformanceCounter() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::int64_t PerformanceCounterFrequency() { return 1000000000; }
