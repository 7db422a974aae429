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

void StripWipe::Step(ByteImage& destination, const ByteImage& source, int& progress) {
  const bool columns = direction_ == Direction::kLeftToRight || direction_ == Direction::kRightToLeft;
  const std::int32_t extent = columns ? source.width : source.height;
  const bool forward = direction_ == Direction::kLeftToRight || direction_ == Direction::kTopToBottom;
  const Strip strip = forward ? AdvanceForward(extent, progress) : AdvanceBackward(extent, progress);
  if (columns) {
    ByteImage::CopyRect(destination, strip.first, 0, source, strip.first, 0, strip.count, source.height);
  } else {
    ByteImage::CopyRect(destination, 0, strip.first, source, 0, strip.first, source.width, strip.count);
  }
}
