#include "fire/bottom_to_top_wipe.h"

void BottomToTopWipe::Step(ByteImage& destination, const ByteImage& source, int& progress) {
  const Strip strip = AdvanceBackward(source.height, progress);
  ByteImage::CopyRect(destination, 0, strip.first, source, 0, strip.first, source.width, strip.count);
}
