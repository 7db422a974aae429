#include "fire/fire_image_copyer.h"

#include <emmintrin.h>

#include <algorithm>

FireImageCopyer::Visible FireImageCopyer::VisiblePart(const ByteImage& image, const Surface& surface) const {
  // 64-bit so that extreme offsets cannot overflow.
  const std::int64_t x0 = std::max<std::int64_t>(0, -static_cast<std::int64_t>(xOffset_));
  const std::int64_t y0 = std::max<std::int64_t>(0, -static_cast<std::int64_t>(yOffset_));
  const std::int64_t x1 = std::min<std::int64_t>(image.width, static_cast<std::int64_t>(surface.Width()) - xOffset_);
  const std::int64_t y1 = std::min<std::int64_t>(image.height, static_cast<std::int64_t>(surface.Height()) - yOffset_);
  Visible v{static_cast<std::int32_t>(std::min<std::int64_t>(x0, INT32_MAX)),
            static_cast<std::int32_t>(std::max<std::int64_t>(x1, INT32_MIN)),
            static_cast<std::int32_t>(std::min<std::int64_t>(y0, INT32_MAX)),
            static_cast<std::int32_t>(std::max<std::int64_t>(y1, INT32_MIN))};
  if (image.data == nullptr) v.x1 = v.x0;
  return v;
}

std::uint8_t* FireImageCopyer::SurfacePixel(Surface& surface, std::int32_t x, std::int32_t y, int bytesPerPixel) const {
  return surface.FirstPixel() + (static_cast<std::ptrdiff_t>(y) + yOffset_) * surface.PitchBytes() +
         (static_cast<std::ptrdiff_t>(x) + xOffset_) * bytesPerPixel;
}

void FireImageCopyer::FinishStores() { _mm_sfence(); }
