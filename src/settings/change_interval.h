#pragma once
#include <cstdint>
#include <string>

// A change interval as a trackbar position 0..1000 between a shortest and a
// longest interval in seconds. Positions above 1000 (or negative numbers read
// from a file, which arrive as large unsigned values) are defined as well.

// The timer period in milliseconds. Inside the range the position scales the span
// only (p x (max - min)); the ends are pinned to the limits.
std::uint32_t IntervalMilliseconds(std::uint32_t position, std::uint32_t minSeconds, std::uint32_t maxSeconds);

// The label under the trackbar: "12 seconds", "1.0 minute", "2.0 hours", with
// tenths of the unit cut, not rounded.
std::string IntervalText(std::uint32_t position, std::uint32_t minSeconds, std::uint32_t maxSeconds);
