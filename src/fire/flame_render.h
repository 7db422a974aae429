#pragma once
#include "image/byte_image.h"

// Mixes the heat field with the background's grey image into palette indices:
// half the heat plus half the brightness, each half truncated, so an index never
// exceeds 254. Only whole groups of eight columns are written; the columns after
// the last group keep what the output held.
class FlameRender {
 public:
  virtual ~FlameRender() = default;

  // All three images of the same size, each addressed with its own pitch.
  virtual void Rander(const ByteImage& heat, const ByteImage& grey, ByteImage& output);
};
