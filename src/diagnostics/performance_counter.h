#pragma once
#include <cstdint>

// The high-resolution tick source behind the performance monitor:
// QueryPerformanceCounter on Windows, a monotonic nanosecond clock elsewhere.
std::int64_t ReadPerformanceCounter();
std::int64_t PerformanceCounterFrequency();
