#pragma once
#include <cstdint>

#include "fire/heat_seeder.h"
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

  // One whole step of the field: the seeder (if any) seeds the rows of `heat`,
  // SpreadUp writes `other`, Blur attenuates it and swaps the two. This plain
  // version runs the three one after the other over the whole field; a filter
  // may do them in one walk, and in place, as long as every byte of the field
  // comes out the same and `other` keeps what a later step reads of it (the
  // cells SpreadUp does not write).
  //
  // Reserve is told the pitch of the field before its first step, so that a
  // filter needing working memory can take it outside the frame.
  virtual void Step(ByteImage& heat, std::uint8_t*& other, HeatSeeder* seeder) {
    if (seeder != nullptr) {
      seeder->BeginSeeding();
      seeder->SeedRowsBefore(heat, heat.height);
    }
    SpreadUp(heat, other);
    Blur(heat, other, 0);
  }
  virtual void Reserve(std::int32_t /*pitch*/) {}

  // Area 1 first in both arrays; taken as they are, effective at the next Blur.
  virtual void SetStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]) = 0;
};
