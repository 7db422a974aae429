#pragma once
#include "fire/fire_image_copyer.h"

// The copier for 16-bit surfaces: eight pixels a 16-byte block, put together
// with SSE2, or from 32-bit lanes packed down where the processor has AVX2;
// `useAvx2` false keeps to SSE2 (tests).
class FireImageCopyer16 : public FireImageCopyer {
 public:
  explicit FireImageCopyer16(const std::uint8_t* table, std::int32_t xOffset = 0, std::int32_t yOffset = 0,
                             bool useAvx2 = true);

  void CopyImageToSurface(const ByteImage& image, Surface& surface) override;
  void RenderToSurface(const ByteImage& heat, const ByteImage& grey, Surface& surface) override;
  void ReadSurface(ByteImage& target, Surface& surface) override;

 private:
  bool useAvx2_;
};
