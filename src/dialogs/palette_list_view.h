#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "fire/palette_record.h"

class PaletteImageList;

// A list view whose rows show palettes as their preview strips: row k shows
// image k of its own PaletteImageList, also after a row is removed. Without
// the images (the image list could not be made) the list stays empty. The
// settings dialog's palette list and the palette editor's store are two of
// them. UI thread only; owns its strips, so it is not copied.
class PaletteListView {
 public:
  PaletteListView();
  ~PaletteListView();

  // Takes the list view (depth 16 or 32, as the strips' format; room for
  // `maxPalettes` strips at a time), gives it one column titled `title` and a
  // row per palette.
  void Fill(HWND list, const char* title, int depth, int maxPalettes, const std::vector<PaletteRecord>& palettes);
  // Forgets the list view and frees the strips.
  void Clear();

  void Append(const PaletteRecord& palette);
  void Replace(int row, const PaletteRecord& palette);
  void Remove(int row);

 private:
  HWND list_ = nullptr;
  std::unique_ptr<PaletteImageList> images_;
};
