#pragma once
#include <algorithm>
#include <cstdint>

#include "fire/flame_render.h"
#include "image/byte_image.h"
#include "image/surface.h"

// Stores palette-index images into a surface of one depth through a colour
// table whose entries are already in the surface's format, and reads a
// surface back as grey bytes. Image pixel (x, y) lands on surface pixel
// (x + x offset, y + y offset); pixels that would fall outside the surface are
// neither written nor read. The table is not owned.
class FireImageCopyer {
 public:
  FireImageCopyer(const std::uint8_t* table, std::int32_t xOffset, std::int32_t yOffset)
      : table_(table), xOffset_(xOffset), yOffset_(yOffset) {}
  virtual ~FireImageCopyer() = default;
  FireImageCopyer(const FireImageCopyer&) = delete;
  FireImageCopyer& operator=(const FireImageCopyer&) = delete;

  // Locks the surface for the whole copy; a surface that cannot be locked is
  // left alone (and not unlocked).
  virtual void CopyImageToSurface(const ByteImage& image, Surface& surface) = 0;
  // Stores what CopyImageToSurface would store for the index image that
  // FlameRender::Rander makes of `heat` and `grey` in a zero-filled image of
  // grey's size, without that image: each row of indices is made in a small
  // buffer on the way to the surface. Locks like CopyImageToSurface.
  virtual void RenderToSurface(const ByteImage& heat, const ByteImage& grey, Surface& surface) = 0;
  // Fills every pixel of `target` that lies on the surface with the grey value
  // of the surface pixel under it.
  virtual void ReadSurface(ByteImage& target, Surface& surface) = 0;
  virtual void SetTable(const std::uint8_t* table) { table_ = table; }

  const std::uint8_t* Table() const { return table_; }

 protected:
  // The image pixels [x0, x1) x [y0, y1) that lie on the surface.
  struct Visible {
    std::int32_t x0, x1, y0, y1;
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
  };
  Visible VisiblePart(const ByteImage& image, const Surface& surface) const;

  // Address of the surface pixel under image pixel (x, y); only while locked.
  std::uint8_t* SurfacePixel(Surface& surface, std::int32_t x, std::int32_t y, int bytesPerPixel) const;

  // The walks shared by the depths: `store(indices, count, firstPixel)` puts
  // one run of indices of a row on the surface. Both lock the surface once
  // and finish with FinishStores.
  template <class Store>
  void CopyRows(const ByteImage& image, Surface& surface, int bytesPerPixel, const Store& store);
  template <class Store>
  void RenderRows(const ByteImage& heat, const ByteImage& grey, Surface& surface, int bytesPerPixel,
                  const Store& store);

  // Orders the streaming stores of a copy before the surface is unlocked.
  static void FinishStores();

  const std::uint8_t* table_;
  std::int32_t xOffset_;
  std::int32_t yOffset_;
};

template <class Store>
void FireImageCopyer::CopyRows(const ByteImage& image, Surface& surface, int bytesPerPixel, const Store& store) {
  const Visible v = VisiblePart(image, surface);
  if (v.Empty() || table_ == nullptr) return;
  if (surface.Lock() < 0) return;
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    store(image.Row(y) + v.x0, v.x1 - v.x0, SurfacePixel(surface, v.x0, y, bytesPerPixel));
  }
  FinishStores();
  surface.Unlock();
}

template <class Store>
void FireImageCopyer::RenderRows(const ByteImage& heat, const ByteImage& grey, Surface& surface, int bytesPerPixel,
                                 const Store& store) {
  const Visible v = VisiblePart(grey, surface);
  if (v.Empty() || table_ == nullptr) return;
  if (heat.data == nullptr) return;
  if (surface.Lock() < 0) return;
  // What Rander writes: whole groups of eight columns of the rows the two
  // images share; the rest of the index image stays 0.
  const std::int32_t renderedColumns = 8 * (std::max(std::min(heat.width, grey.width), 0) / 8);
  const std::int32_t renderedRows = std::min(heat.height, grey.height);
  // A run of one row at a time; small enough to stay in the first-level cache.
  constexpr std::int32_t kRun = 1024;
  alignas(16) std::uint8_t indices[kRun];
  for (std::int32_t y = v.y0; y < v.y1; ++y) {
    std::uint8_t* out = SurfacePixel(surface, v.x0, y, bytesPerPixel);
    const std::int32_t rendered = y < renderedRows ? renderedColumns : 0;
    for (std::int32_t x = v.x0; x < v.x1; x += kRun) {
      const std::int32_t count = std::min(kRun, v.x1 - x);
      const std::int32_t made = std::clamp(rendered - x, 0, count);
      if (made > 0) FlameRender::RanderRow(heat.Row(y) + x, grey.Row(y) + x, indices, made);
      std::fill(indices + made, indices + count, std::uint8_t{0});
      store(indices, count, out);
      out += static_cast<std::ptrdiff_t>(count) * bytesPerPixel;
    }
  }
  FinishStores();
  surface.Unlock();
}
