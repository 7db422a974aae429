#include "image_test_files.h"

#include <cctype>
#include <fstream>
#include <iterator>

std::filesystem::path DisplayDataDir() {
  return std::filesystem::path(HEARTHMOOR_SOURCE_DIR) / "tests" / "data" / "image";
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

NetpbmImage ReadNetpbm(const std::filesystem::path& file) {
  NetpbmImage image;
  const std::vector<std::uint8_t> bytes = ReadBytes(file);
  std::size_t at = 0;
  // Header fields are separated by white space; '#' starts a comment line.
  auto field = [&]() {
    while (at < bytes.size()) {
      if (bytes[at] == '#') {
        while (at < bytes.size() && bytes[at] != '\n') ++at;
      } else if (std::isspace(bytes[at])) {
        ++at;
      } else {
        break;
      }
    }
    std::string text;
    while (at < bytes.size() && !std::isspace(bytes[at])) text += static_cast<char>(bytes[at++]);
    return text;
  };
  const std::string magic = field();
  if (magic != "P6" && magic != "P5") return image;
  const int width = std::stoi(field());
  const int height = std::stoi(field());
  if (field() != "255") return image;
  ++at;  // the single white-space byte before the samples
  const int channels = magic == "P6" ? 3 : 1;
  const std::size_t count = static_cast<std::size_t>(width) * height * channels;
  if (bytes.size() < at + count) return image;
  image.width = width;
  image.height = height;
  image.channels = channels;
  image.samples.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
  return image;
}

bool IsConsistent(const DecodedImage& image) {
  if (image.width < 1 || image.height < 1 || image.stride % 4 != 0) return false;
  if (image.bitsPerPixel != 8 && image.bitsPerPixel != 24 && image.bitsPerPixel != 32) return false;
  if (static_cast<std::int64_t>(image.stride) * 8 < static_cast<std::int64_t>(image.width) * image.bitsPerPixel) {
    return false;
  }
  if (image.pixels.size() != static_cast<std::size_t>(image.stride) * static_cast<std::size_t>(image.height)) {
    return false;
  }
  return image.bitsPerPixel != 8 || image.colorTable.size() == 256 * 4;
}
