#pragma once
#include "fire/wipe.h"

// Uncovers the new background column strip by column strip from the left edge.
class LeftToRightWipe : public Wipe {
 public:
  void Step(ByteImage& destination, const ByteImage& source, int& progress) override;
};
