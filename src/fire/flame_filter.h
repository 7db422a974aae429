#pragma once
#include <cstdint>

#include "fire/byte_image.h"
#include "settings/fire_style.h"

// The style a new filter starts with, "200,1|180,0|150,2|100,0|75,1|50,2|255,0|255,2":
// 200..255 lose 1 a step, 150..179 and 50..74 lose 2, 75..99 lose 1, the rest
// nothing; the two last areas never apply.
inline constexpr FireStyle kDefaultFireStyle{{200, 180, 150, 100, 75, 50, 255, 255}, {1, 0, 2, 0, 1, 2, 0, 2}};

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
