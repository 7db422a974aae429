#include "settings/change_interval.h"

std::uint32_t IntervalMilliseconds(std::uint32_t position, std::uint32_t minSeconds, std::uint32_t maxSeconds) {
  if (position == 0) return minSeconds * 1000u;
  if (position > 1000u) return maxSeconds * 1000u;
  return position * (maxSeconds - minSeconds);
}

std::string IntervalText(std::uint32_t position, std::uint32_t minSeconds, std::uint32_t maxSeconds) {
  // All unsigned 32-bit with the product first, so huge positions wrap the same
  // way everywhere.
  const std::uint32_t s = minSeconds + (maxSeconds - minSeconds) * position / 1000u;
  if (s < 60) return std::to_string(s) + (s <= 1 ? " second" : " seconds");
  if (s < 3600) {
    const std::uint32_t m = s / 60;
    const std::uint32_t d = (s % 60) / 6;
    return std::to_string(m) + "." + std::to_string(d) + (m == 1 && d == 0 ? " minute" : " minutes");
  }
  const std::uint32_t h = s / 3600;
  const std::uint32_t d = ((s % 3600) / 60) / 6;
  return std::to_string(h) + "." + std::to_string(d) + (h == 1 && d == 0 ? " hour" : " hours");
}
