#pragma once
#include "fire/fire_image_copyer.h"

struct PixelStore16;
struct PixelStore24;
struct PixelStore32;

// The copier for surfaces of one depth: the walks of FireImageCopyer with the
// depth's pixel store (pixel_stores.h), which writes 16-byte blocks with SSE2,
// or goes through the AVX2 store where the processor has it; `useAvx2` false
// keeps to SSE2 (tests).
template <class PixelStore>
class DepthImageCopyer : public FireImageCopyer {
 public:
  explicit DepthImageCopyer(const std::uint8_t* table, std::int32_t xOffset = 0, std::int32_t yOffset = 0,
                            bool useAvx2 = true);

  void CopyImageToSurface(const ByteImage& image, Surface& surface) override;
  void RenderToSurface(const ByteImage& heat, const ByteImage& grey, Surface& surface) override;
  void ReadSurface(ByteImage& target, Surface& surface) override;

 private:
  bool useAvx2_;
};

extern template class DepthImageCopyer<PixelStore16>;
extern template class DepthImageCopyer<PixelStore24>;
extern template class DepthImageCopyer<PixelStore32>;

using FireImageCopyer16 = DepthImageCopyer<PixelStore16>;  // RGB565
using FireImageCopyer24 = DepthImageCopyer<PixelStore24>;  // B,G,R
using FireImageCopyer32 = DepthImageCopyer<PixelStore32>;  // B,G,R,X
