#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/byte_image.h"

class MemorySurface;

// "frame-00007.png" and its siblings: prefix, the 1-based frame number in five
// digits (more when it needs them), extension.
std::string FrameFileName(const char* prefix, std::int32_t frame, const char* extension);

// Binary PGM (P5, maxval 255) of width × height bytes, rows read with the image's pitch.
std::vector<std::uint8_t> EncodePgm(const ByteImage& image);

// The surface's pixels as 8-bit RGB rows: B,G,R(,X) reordered, RGB565 widened by
// repeating each channel's high bits into its low ones (so 31 becomes 255).
std::vector<std::uint8_t> SurfaceToRgb(const MemorySurface& surface);

// A truecolour PNG of `rgb` (width × height × 3 bytes); empty on failure.
std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgb, std::int32_t width, std::int32_t height);

// Writes the bytes to a temporary file beside `path` and renames it into place,
// so that `path` never holds half a file. False, leaving nothing behind, on failure.
bool WriteFileAtomically(const std::filesystem::path& path, const std::uint8_t* bytes, std::size_t size);
inline bool WriteFileAtomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}
