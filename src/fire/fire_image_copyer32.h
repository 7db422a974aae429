#pragma once
#include "fire/fire_image_copyer.h"

// The copier for 32-bit surfaces.
class FireImageCopyer32 : public FireImageCopyer {
 public:
  explicit FireImageCopyer32(const std::uint8_t* table, std::int32_t xOffset = 0, std::int32_t yOffset = 0)
      : FireImageCopyer(table, xOffset, yOffset) {}

  void CopyImageToSurface(const ByteImage& image, Surface& surface) override;
  void RenderToSurface(const ByteImage& heat, const ByteImage& grey, Surface& surface) override;
  void ReadSurface(ByteImage& target, Surface& surface) override;
};
