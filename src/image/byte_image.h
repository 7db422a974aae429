#pragma once
#include <cstdint>

// The 8-bit image record the whole fire engine shares: heat field, background
// grey image, palette-index image, edge and spark maps. Owns its bytes when it
// allocated them itself.
struct ByteImage {
  std::uint8_t* data = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t pitch = 0;  // bytes from one row to the next
  bool owned = false;

  ByteImage() = default;
  ~ByteImage() { Release(); }
  ByteImage(const ByteImage&) = delete;
  ByteImage& operator=(const ByteImage&) = delete;
  // Moving hands over the bytes (and their ownership); the source is left empty.
  ByteImage(ByteImage&& other) noexcept { *this = static_cast<ByteImage&&>(other); }
  ByteImage& operator=(ByteImage&& other) noexcept {
    if (this != &other) {
      Release();
      data = other.data;
      width = other.width;
      height = other.height;
      pitch = other.pitch;
      owned = other.owned;
      other.data = nullptr;
      other.owned = false;
      other.width = other.height = other.pitch = 0;
    }
    return *this;
  }

  // A zero-filled width × height image with pitch = width. Throws std::bad_alloc.
  void Create(std::int32_t w, std::int32_t h);
  // Frees the bytes (when owned) and sets width, height and pitch to 0. Safe twice.
  void Release();

  std::uint8_t* Row(std::int32_t y) { return data + static_cast<std::intptr_t>(y) * pitch; }
  const std::uint8_t* Row(std::int32_t y) const { return data + static_cast<std::intptr_t>(y) * pitch; }

  // Copies a rectangle of `source` to (dx, dy) of `destination`, each addressed
  // with its own pitch. Nothing happens when either start point lies outside its
  // image; otherwise the rectangle is clipped to both images.
  static void CopyRect(ByteImage& destination, std::int32_t dx, std::int32_t dy, const ByteImage& source,
                       std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h);
};
