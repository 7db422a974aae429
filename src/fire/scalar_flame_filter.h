#pragma once
#include "fire/fire_style.h"
#include "fire/flame_filter.h"

// The heat step written plainly, one byte at a time. It is the reference the
// SIMD filter must match bit for bit, and it implements all eight directions.
class ScalarFlameFilter : public FlameFilter {
 public:
  void SpreadUp(const ByteImage& heat, std::uint8_t* other) override;
  void SpreadUpRight(const ByteImage& heat, std::uint8_t* other) override;
  void SpreadRight(const ByteImage& heat, std::uint8_t* other) override;
  void SpreadDownRight(const ByteImage& heat, std::uint8_t* other) override;
  void SpreadDown(const ByteImage& heat, std::uint8_t* other) override;
  void SpreadDownLeft(const ByteImage& heat, std::uint8_t* other) override;
  void SpreadLeft(const ByteImage& heat, std::uint8_t* other) override;
  void SpreadUpLeft(const ByteImage& heat, std::uint8_t* other) override;

  void Blur(ByteImage& heat, std::uint8_t*& other, std::int32_t unused) override;

  void SetStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]) override;

  const FireStyle& Style() const { return style_; }

 protected:
  FireStyle style_;
};
