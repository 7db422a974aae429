#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/decoded_image.h"

// Where the decoder samples live in the source tree.
std::filesystem::path DisplayDataDir();

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);

// A binary PPM (P6) or PGM (P5) of 8-bit samples; empty `samples` when unreadable.
struct NetpbmImage {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<std::uint8_t> samples;
};
NetpbmImage ReadNetpbm(const std::filesystem::path& file);

// Whatever a decoder returned must describe its own buffer consistently.
bool IsConsistent(const DecodedImage& image);
