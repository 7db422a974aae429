#pragma once
#include <cstdint>

// Milliseconds of the system's multimedia clock: unsigned 32-bit, wrapping after
// about 49 days. Every interval of the program is a difference of two readings.
std::uint32_t MillisecondsNow();
