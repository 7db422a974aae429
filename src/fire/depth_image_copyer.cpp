#include "fire/depth_image_copyer.h"

#include <algorithm>

#include "diagnostics/performance_monitor.h"
#include "fire/avx2_flame_step.h"
#include "fire/flame_render.h"
#include "fire/pixel_stores.h"

template <class PixelStore>
DepthImageCopyer<PixelStore>::DepthImageCopyer(const std::uint8_t* table, std::int32_t xOffset, std::int32_t yOffset,
                                               bool useAvx2)
    : FireImageCopyer(table, xOffset, yOffset), useAvx2_(useAvx2 && Avx2Available()) {}

template <class PixelStore>
void DepthImageCopyer<PixelStore>::CopyImageToSurface(const ByteImage& image, Surface& surface) {
  PerformanceScope scope(PixelStore::kCopyScope);
  const Visible v = VisiblePart(image, surface);
  if (v.Empty() || table_ == nullptr) return;
  const PixelStore store(table_, useAvx2_);
  if (surface.Lock() < 0) return;
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    store(image.Row(y) + v.x0, v.x1 - v.x0, SurfacePixel(surface, v.x0, y, PixelStore::kBytesPerPixel));
  }
  FinishStores();
  surface.Unlock();
}

template <class PixelStore>
void DepthImageCopyer<PixelStore>::RenderToSurface(const ByteImage& heat, const ByteImage& grey, Surface& surface) {
  PerformanceScope scope(PixelStore::kRenderScope);
  const Visible v = VisiblePart(grey, surface);
  if (v.Empty() || table_ == nullptr || heat.data == nullptr) return;
  const PixelStore store(table_, useAvx2_);
  if (surface.Lock() < 0) return;
  // What Rander writes: whole groups of eight columns of the rows the two
  // images share; the rest of the index image stays 0.
  const std::int32_t renderedColumns = 8 * (std::max(std::min(heat.width, grey.width), 0) / 8);
  const std::int32_t renderedRows = std::min(heat.height, grey.height);
  // A run of one row at a time; small enough to stay in the first-level cache.
  constexpr std::int32_t kRun = 1024;
  alignas(16) std::uint8_t indices[kRun];
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    std::uint8_t* out = SurfacePixel(surface, v.x0, y, PixelStore::kBytesPerPixel);
    const std::int32_t rendered = y < renderedRows ? renderedColumns : 0;
    for (std::int32_t x = v.x0; x < v.x1; x += kRun) {
      const std::int32_t count = std::min(kRun, v.x1 - x);
      const std::int32_t made = std::clamp(rendered - x, 0, count);
      if (made > 0) FlameRender::RanderRow(heat.Row(y) + x, grey.Row(y) + x, indices, made);
      std::fill(indices + made, indices + count, std::uint8_t{0});
      store(indices, count, out);
      out += static_cast<std::ptrdiff_t>(count) * PixelStore::kBytesPerPixel;
    }
  }
  FinishStores();
  surface.Unlock();
}

template <class PixelStore>
void DepthImageCopyer<PixelStore>::ReadSurface(ByteImage& target, Surface& surface) {
  const Visible v = VisiblePart(target, surface);
  if (v.Empty()) return;
  if (surface.Lock() < 0) return;
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    std::uint8_t* out = target.Row(y);
    const std::uint8_t* in = SurfacePixel(surface, v.x0, y, PixelStore::kBytesPerPixel);
    for (std::int32_t x = v.x0; x < v.x1; ++x, in += PixelStore::kBytesPerPixel) out[x] = PixelStore::Grey(in);
  }
  surface.Unlock();
}

template class DepthImageCopyer<PixelStore16>;
template class DepthImageCopyer<PixelStore24>;
template class DepthImageCopyer<PixelStore32>;
