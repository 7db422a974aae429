#pragma once
#include <cstdint>

#include "image/byte_image.h"

// One background transition: each Step copies the next strip of the new grey
// image over the old one and reports how far the transition has come, in whole
// percent; 100 (or more) means the transition is complete and the wipe has
// wound back to its start.
class Wipe {
 public:
  static constexpr std::int32_t kStripWidth = 5;

  virtual ~Wipe() = default;

  virtual void Reset() { position_ = 0; }

  // Copies one strip of `source` to the same place in `destination`.
  virtual void Step(ByteImage& destination, const ByteImage& source, int& progress) = 0;

  std::int32_t Position() const { return position_; }

 protected:
  // The next strip of a wipe that runs from 0 towards `extent`: first index and
  // number of pixels to copy (the strip is clipped by the copy itself).
  struct Strip {
    std::int32_t first;
    std::int32_t count;
  };
  Strip AdvanceForward(std::int32_t extent, int& progress);
  // The same for a wipe that runs from `extent` back towards 0.
  Strip AdvanceBackward(std::int32_t extent, int& progress);

  std::int32_t position_ = 0;
};

// The four wipes differ only in the edge they start from: strips of columns
// from the left or the right edge, or of rows from the top or the bottom.
class StripWipe final : public Wipe {
 public:
  enum class Direction { kLeftToRight, kRightToLeft, kTopToBottom, kBottomToTop };

  explicit StripWipe(Direction direction) : direction_(direction) {}

  void Step(ByteImage& destination, const ByteImage& source, int& progress) override;

 private:
  Direction direction_;
};
