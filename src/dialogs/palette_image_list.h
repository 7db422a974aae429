#pragma once
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "diagnostics/handles_win.h"
#include "fire/palette_builder.h"
#include "fire/palette_record.h"

// Preview strips of palettes for a list view: one 256 x 10 image per palette,
// each row the palette's colour table in the screen's format (RGB565 at depth
// 16, else 32-bit), so the strip shows exactly the colours the fire uses.
// The list view does not own it (LVS_SHAREIMAGELISTS is not needed: this
// object outlives the list and destroys the image list itself).
class PaletteImageList {
 public:
  static constexpr int kWidth = 256;
  static constexpr int kHeight = 10;

  // depth 16 or 32; growth step as the most palettes a list may hold.
  PaletteImageList(int depth, int growBy);
  ~PaletteImageList();
  PaletteImageList(const PaletteImageList&) = delete;
  PaletteImageList& operator=(const PaletteImageList&) = delete;

  // False when the image list or the pixel buffer could not be had.
  bool IsValid() const { return images_ != nullptr && pixels_ != nullptr; }
  HIMAGELIST Handle() const { return images_; }
  // The image index, or -1.
  int Add(const PaletteRecord& palette);
  bool Replace(int index, const PaletteRecord& palette);
  bool Remove(int index);

 private:
  UniqueGdiObject<HBITMAP> MakeBitmap(const PaletteRecord& palette);

  int depth_;
  HIMAGELIST images_ = nullptr;
  PaletteBuilder builder_;
  std::unique_ptr<std::uint8_t[]> pixels_;  // one strip in the screen's format
};
