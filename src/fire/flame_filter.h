#pragma once
#include <cstdint>

#include "image/byte_image.h"

// The two halves of the heat step. Every spread operation writes a truncated
// average of eight samples of `heat` into `other` (same pitch and height) and
// leaves the cells it does not cover alone; `Blur` attenuates all pitch x height
// bytes of `other` by the style and then swaps `other` with the heat image's data.
class FlameFilter {
 public:
  virtual ~FlameFilter() = default;

  virtual void SpreadUp(const ByteImage& heat, std::uint8_t* other) = 0;
  virtual void SpreadUpRight(const ByteImage& heat, std::uint8_t* other) = 0;
  virtual void SpreadRight(const ByteImage& heat, std::uint8_t* other) = 0;
  virtual void SpreadDownRight(const ByteImage& heat, std::uint8_t* other) = 0;
  virtual void SpreadDown(const ByteImage& heat, std::uint8_t* other) = 0;
  virtual void SpreadDownLeft(const ByteImage& heat, std::uint8_t* other) = 0;
  virtual void SpreadLeft(const ByteImage& heat, std::uint8_t* other) = 0;
  virtual void SpreadUpLeft(const ByteImage& heat, std::uint8_t* other) = 0;

  // `unused` is always 0 and changes nothing.
  virtual void Blur(ByteImage& heat, std::uint8_t*& other, std::int32_t unused) = 0;

  // Area 1 first in both arrays; taken as they are, effective at the next Blur.
  virtual void SetStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]) = 0;
};
