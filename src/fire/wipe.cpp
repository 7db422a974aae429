#include "fire/wipe.h"

#include <algorithm>

// The percentages use unsigned, truncating arithmetic so that a transition of
// the same size reports the same sequence everywhere: a 1024-pixel forward wipe
// reads 99 at positions 1015 and 1020 and only its 205th step reports 100.
Wipe::Strip Wipe::AdvanceForward(std::int32_t extent, int& progress) {
  const Strip strip{position_, kStripWidth};
  position_ += kStripWidth;
  if (position_ < extent) {
    progress = static_cast<int>(static_cast<std::uint32_t>(position_) * 100u / static_cast<std::uint32_t>(extent));
  } else {
    position_ = 0;
    progress = 100;
  }
  return strip;
}

Wipe::Strip Wipe::AdvanceBackward(std::int32_t extent, int& progress) {
  if (position_ == 0) position_ = extent;
  const std::int32_t first = std::max(0, position_ - kStripWidth);
  const Strip strip{first, position_ - first};
  if (position_ > kStripWidth) {
    const std::uint32_t uncovered =
        static_cast<std::uint32_t>(extent) + kStripWidth - static_cast<std::uint32_t>(position_);
    progress = static_cast<int>(uncovered * 100u / static_cast<std::uint32_t>(extent));
    position_ -= kStripWidth;
  } else {
    progress = 100;
    position_ = 0;
  }
  return strip;
}
