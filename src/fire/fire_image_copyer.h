#pragma once
#include <cstdint>

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

  // Orders the streaming stores of a copy before the surface is unlocked.
  static void FinishStores();

  const std::uint8_t* table_;
  std::int32_t xOffset_;
  std::int32_t yOffset_;
};
