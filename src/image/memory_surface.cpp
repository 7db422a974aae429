#include "image/memory_surface.h"

MemorySurface::MemorySurface(std::int32_t width, std::int32_t height, int bitsPerPixel, std::int32_t pitchBytes)
    : width_(width),
      height_(height),
      bpp_(bitsPerPixel),
      pitch_(pitchBytes > 0 ? pitchBytes : width * (bitsPerPixel / 8)),
      bytes_(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(height)) {}

int MemorySurface::Lock() {
  if (failLocks_) return -1;
  ++locks_;
  return 0;
}

void MemorySurface::Unlock() {
  if (locks_ > 0) --locks_;
}
