#pragma once
#include <cstdint>

#include "image/byte_image.h"

// Whatever puts new heat into the field before a step reads it. The step walks
// the field from the top and asks for rows just before it first reads them, so
// the seeding happens in the same pass over memory as the step itself.
class HeatSeeder {
 public:
  virtual ~HeatSeeder() = default;

  // Starts a frame: no row of `heat` has been seeded yet.
  virtual void BeginSeeding() = 0;
  // Seeds every row above `endRow` that this frame has not seeded yet, in
  // increasing order; each row is seeded at most once a frame.
  virtual void SeedRowsBefore(ByteImage& heat, std::int32_t endRow) = 0;
};
