#pragma once
#include "fire/wipe.h"

// Uncovers the new background row strip by row strip from the top edge.
class TopToBottomWipe : public Wipe {
 public:
  void Step(ByteImage& destination, const ByteImage& source, int& progress) override;
};
