#include "dialogs/palette_image_list.h"

#include <cstring>
#include <new>

namespace {

// A DIB header with RGB565 masks at depth 16 (a plain 16-bit DIB would be read
// as 5-5-5 and shift the colours).
struct StripInfo {
  BITMAPINFOHEADER header;
  DWORD masks[3];
};

}  // namespace

PaletteImageList::PaletteImageList(int depth, int growBy) : depth_(depth == 16 ? 16 : 32) {
  images_ = ImageList_Create(kWidth, kHeight, depth_ == 16 ? ILC_COLOR16 : ILC_COLOR32, 0, growBy);
  try {
    pixels_ = std::make_unique<std::uint8_t[]>(kWidth * kHeight * (depth_ / 8));
  } catch (const std::bad_alloc&) {
    pixels_.reset();  // IsValid says so
  }
}

PaletteImageList::~PaletteImageList() {
  if (images_ != nullptr) ImageList_Destroy(images_);
}

UniqueGdiObject<HBITMAP> PaletteImageList::MakeBitmap(const PaletteRecord& palette) {
  if (!IsValid()) return {};
  const int rowBytes = kWidth * depth_ / 8;
  try {
    if (depth_ == 16) {
      builder_.BuildTable16(palette, pixels_.get());
    } else {
      std::memset(pixels_.get(), 0, rowBytes);
      builder_.BuildTable32(palette, pixels_.get());
    }
  } catch (const std::bad_alloc&) {
    return {};
  }
  for (int row = 1; row < kHeight; ++row) std::memcpy(pixels_.get() + row * rowBytes, pixels_.get(), rowBytes);

  StripInfo info = {};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = kWidth;
  info.header.biHeight = kHeight;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(depth_);
  info.header.biCompression = depth_ == 16 ? BI_BITFIELDS : BI_RGB;
  info.masks[0] = 0xF800;
  info.masks[1] = 0x07E0;
  info.masks[2] = 0x001F;
  void* bits = nullptr;
  UniqueGdiObject<HBITMAP> bitmap(
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return {};
  std::memcpy(bits, pixels_.get(), static_cast<std::size_t>(rowBytes) * kHeight);
  GdiFlush();
  return bitmap;
}

int PaletteImageList::Add(const PaletteRecord& palette) {
  const UniqueGdiObject<HBITMAP> bitmap = MakeBitmap(palette);
  if (!bitmap) return -1;
  return ImageList_Add(images_, bitmap.get(), nullptr);
}

bool PaletteImageList::Replace(int index, const PaletteRecord& palette) {
  const UniqueGdiObject<HBITMAP> bitmap = MakeBitmap(palette);
  return bitmap && ImageList_Replace(images_, index, bitmap.get(), nullptr) != FALSE;
}

bool PaletteImageList::Remove(int index) { return images_ != nullptr && ImageList_Remove(images_, index) != FALSE; }
