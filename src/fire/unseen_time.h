#pragma once
#include <cstdint>

// The change timers' arithmetic for time that passed while nobody saw the fire.

// How many whole periods `accumulatedMs` and `elapsedMs` make together; what
// is left over stays in `accumulatedMs`, as a timer carries its excess. A
// period of 0 falls due once.
inline std::uint32_t CountPeriods(std::uint32_t& accumulatedMs, std::uint32_t elapsedMs, std::uint32_t periodMs) {
  if (periodMs == 0) {
    accumulatedMs = 0;
    return 1;
  }
  const std::uint64_t total = std::uint64_t{accumulatedMs} + elapsedMs;
  accumulatedMs = static_cast<std::uint32_t>(total % periodMs);
  return static_cast<std::uint32_t>(total / periodMs);
}

// Moves a list on by `count` entries through `next`, going round it at most
// once: `index` tells where the list stands, and once it is back where it
// began the rest of the count is taken modulo the entries passed. A list
// whose index never moves (an empty one) is left after a single step.
template <typename Next, typename Index>
void MoveOn(std::uint32_t count, Next next, Index index) {
  const auto start = index();
  std::uint32_t moved = 0;
  while (count > 0) {
    next();
    --count;
    ++moved;
    if (index() == start) count %= moved;
  }
}
