#include "frame_files.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <system_error>

#include "image/memory_surface.h"

std::string FrameFileName(const char* prefix, std::int32_t frame, const char* extension) {
  char name[64];
  std::snprintf(name, sizeof name, "%s-%05d.%s", prefix, static_cast<int>(frame), extension);
  return name;
}

std::vector<std::uint8_t> EncodePgm(const ByteImage& image) {
  char header[48];
  const int headerLength = std::snprintf(header, sizeof header, "P5\n%d %d\n255\n", image.width, image.height);
  std::vector<std::uint8_t> bytes(header, header + headerLength);
  bytes.reserve(bytes.size() + static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
  for (std::int32_t y = 0; y < image.height; ++y) {
    const std::uint8_t* row = image.Row(y);
    bytes.insert(bytes.end(), row, row + image.width);
  }
  return bytes;
}

std::vector<std::uint8_t> SurfaceToRgb(const MemorySurface& surface) {
  const std::int32_t width = surface.Width();
  const std::int32_t height = surface.Height();
  const int bytesPerPixel = surface.BitsPerPixel() / 8;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  std::uint8_t* out = rgb.data();
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* in = surface.Bytes().data() + static_cast<std::size_t>(y) * surface.PitchBytes();
    for (std::int32_t x = 0; x < width; ++x, in += bytesPerPixel, out += 3) {
      if (bytesPerPixel == 2) {
        const unsigned word = static_cast<unsigned>(in[0] | (in[1] << 8));
        const unsigned r = (word >> 11) & 0x1F, g = (word >> 5) & 0x3F, b = word & 0x1F;
        out[0] = static_cast<std::uint8_t>((r << 3) | (r >> 2));
        out[1] = static_cast<std::uint8_t>((g << 2) | (g >> 4));
        out[2] = static_cast<std::uint8_t>((b << 3) | (b >> 2));
      } else {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
      }
    }
  }
  return rgb;
}

namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  bytes->insert(bytes->end(), data, data + length);
}

void NoFlush(png_structp) {}

// Kept free of objects with destructors: libpng leaves it by longjmp on error.
bool EncodePngInto(std::vector<std::uint8_t>* out, const std::uint8_t* rgb, std::int32_t width, std::int32_t height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, &AppendToVector, &NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 3);
  png_write_info(png, info);
  for (std::int32_t y = 0; y < height; ++y) {
    png_write_row(png, rgb + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgb, std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> bytes;
  if (width <= 0 || height <= 0 ||
      rgb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
    return bytes;
  }
  if (!EncodePngInto(&bytes, rgb.data(), width, height)) bytes.clear();
  return bytes;
}

bool WriteFileAtomically(const std::filesystem::path& path, const std::uint8_t* bytes, std::size_t size) {
  std::filesystem::path temporary = path;
  temporary += ".part";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = size == 0 || std::fwrite(bytes, 1, size, file) == size;
  ok = std::fclose(file) == 0 && ok;
  std::error_code error;
  if (ok) std::filesystem::rename(temporary, path, error);
  if (!ok || error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}
