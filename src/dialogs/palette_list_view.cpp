#include "dialogs/palette_list_view.h"

#include <commctrl.h>

#include "dialogs/common_controls.h"
#include "dialogs/palette_image_list.h"

PaletteListView::PaletteListView() = default;
PaletteListView::~PaletteListView() = default;

void PaletteListView::Fill(HWND list, const char* title, int depth, int maxPalettes,
                           const std::vector<PaletteRecord>& palettes) {
  list_ = list;
  images_ = std::make_unique<PaletteImageList>(depth, maxPalettes);
  if (!images_->IsValid()) return;
  for (const PaletteRecord& palette : palettes) images_->Add(palette);
  SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_->Handle()));
  ListView::InsertColumn(list_, title);
  for (int row = 0; row < static_cast<int>(palettes.size()); ++row) ListView::InsertImageRow(list_, row, row);
}

void PaletteListView::Clear() {
  list_ = nullptr;
  images_.reset();
}

void PaletteListView::Append(const PaletteRecord& palette) {
  if (images_ == nullptr || !images_->IsValid()) return;
  const int row = ListView::RowCount(list_);
  images_->Add(palette);
  ListView::InsertImageRow(list_, row, row);
}

void PaletteListView::Replace(int row, const PaletteRecord& palette) {
  if (images_ == nullptr || !images_->Replace(row, palette)) return;
  SendMessageA(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
}

void PaletteListView::Remove(int row) {
  const int count = ListView::RowCount(list_);
  if (row < 0 || row >= count) return;
  if (images_ != nullptr) images_->Remove(row);
  ListView::DeleteRow(list_, row);
  // The images after the removed one moved down by one: row k shows image k again.
  for (int k = row; k < count - 1; ++k) ListView::SetRowImage(list_, k, k);
  InvalidateRect(list_, nullptr, TRUE);
}
