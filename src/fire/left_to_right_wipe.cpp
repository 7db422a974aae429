#include "fire/left_to_right_wipe.h"

void LeftToRightWipe::Step(ByteImage& destination, const ByteImage& source, int& progress) {
  const Strip strip = AdvanceForward(source.width, progress);
  ByteImage::CopyRect(destination, strip.first, 0, source, strip.first, 0, strip.count, source.height);
}
