#pragma once
#include "fire/flame_render.h"

// The renderer one byte at a time: the reference the SIMD renderer must match.
class ScalarFlameRender : public FlameRender {
 public:
  void Rander(const ByteImage& heat, const ByteImage& grey, ByteImage& output) override;
};
