#pragma once
#include <cstdint>

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

  // The same sum for `count` bytes of one row, any count: the SIMD core of
  // Rander, shared with the copiers that render on their way to the surface.
  static void RanderRow(const std::uint8_t* heat, const std::uint8_t* grey, std::uint8_t* output, std::int32_t count);

 protected:
  // What Rander writes: the rows, and the whole groups of eight columns, that lie
  // inside all three images (none when any of them has no pixels), so that no
  // image is read or written past its end.
  struct Area {
    std::int32_t rows = 0;
    std::int32_t columns = 0;
  };
  static Area AreaOf(const ByteImage& heat, const ByteImage& grey, const ByteImage& output);
};
