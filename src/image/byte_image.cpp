#include "image/byte_image.h"

#include <algorithm>
#include <cstring>

void ByteImage::Create(std::int32_t w, std::int32_t h) {
  Release();
  const std::size_t size = static_cast<std::size_t>(std::max(w, 0)) * static_cast<std::size_t>(std::max(h, 0));
  data = new std::uint8_t[size == 0 ? 1 : size]();
  owned = true;
  width = w;
  height = h;
  pitch = w;
}

void ByteImage::Release() {
  if (owned) delete[] data;
  data = nullptr;
  owned = false;
  width = height = pitch = 0;
}

void ByteImage::CopyRect(ByteImage& destination, std::int32_t dx, std::int32_t dy, const ByteImage& source,
                         std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
  if (dx < 0 || dy < 0 || dx >= destination.width || dy >= destination.height) return;
  if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height) return;
  w = std::min({w, destination.width - dx, source.width - sx});
  h = std::min({h, destination.height - dy, source.height - sy});
  if (w <= 0 || h <= 0) return;
  for (std::int32_t y = 0; y < h; ++y) {
    std::memmove(destination.Row(dy + y) + dx, source.Row(sy + y) + sx, static_cast<std::size_t>(w));
  }
}
