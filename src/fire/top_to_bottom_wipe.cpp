#include "fire/top_to_bottom_wipe.h"

void TopToBottomWipe::Step(ByteImage& destination, const ByteImage& source, int& progress) {
  const Strip strip = AdvanceForward(source.height, progress);
  ByteImage::CopyRect(destination, 0, strip.first, source, 0, strip.first, source.width, strip.count);
}
