#include "fire/right_to_left_wipe.h"

void RightToLeftWipe::Step(ByteImage& destination, const ByteImage& source, int& progress) {
  const Strip strip = AdvanceBackward(source.width, progress);
  ByteImage::CopyRect(destination, strip.first, 0, source, strip.first, 0, strip.count, source.height);
}
