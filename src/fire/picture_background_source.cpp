#include "fire/picture_background_source.h"

#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "diagnostics/debug_log.h"

PictureBackgroundSource::PictureBackgroundSource(std::int32_t screenWidth, std::int32_t screenHeight, int bitsPerPixel)
    : width_(screenWidth), height_(screenHeight), bpp_(bitsPerPixel) {}

void PictureBackgroundSource::SetDesktopSnapshot(DecodedImage snapshot) {
  snapshot_ = std::move(snapshot);
  desktop_.reset();
}

bool PictureBackgroundSource::IsDesktopName(const std::string& name) {
  static constexpr char kDesktop[] = "desktop";
  if (name.size() != sizeof kDesktop - 1) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    // Only A..Z are lowered: the C locale knows no other capitals.
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kDesktop[i]) return false;
  }
  return true;
}

Surface* PictureBackgroundSource::Load(const std::string& name) {
  if (IsDesktopName(name)) {
    // A snapshot that could not be turned into a surface is tried again next time.
    if (!desktop_ && snapshot_) desktop_ = MakeScreenSurface(*snapshot_, width_, height_, bpp_);
    return desktop_.get();
  }
  // A picture is read again at every use, so an edited or vanished file shows.
  picture_.reset();
  problem_.clear();
  const DecodeResult picture = DecodeImageFile(name);
  if (!picture) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(name, error);
    problem_ = DescribeDecodeError(picture.error(), error ? 0 : size);
    TraceLog().Log("PictureBackgroundSource::Load '%s' cannot be shown: %s", name.c_str(), problem_.c_str());
    return nullptr;
  }
  picture_ = MakeScreenSurface(*picture, width_, height_, bpp_);
  if (!picture_) problem_ = "too large to show";
  return picture_.get();
}

void PictureBackgroundSource::Release() {
  desktop_.reset();
  picture_.reset();
  snapshot_.reset();
}

namespace {

// Pixels as large as any screen this program draws on, and far beyond.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

bool LayoutIsSound(const DecodedImage& p) {
  if (p.width <= 0 || p.height <= 0 || p.stride <= 0) return false;
  if (static_cast<std::int64_t>(p.width) * p.height > kMaxPixels) return false;
  const std::int64_t rowBytes = static_cast<std::int64_t>(p.width) * (p.bitsPerPixel / 8);
  switch (p.bitsPerPixel) {
    case 8:
      if (p.colorTable.size() < 256 * 4) return false;
      break;
    case 24:
    case 32:
      break;
    default:
      return false;
  }
  return rowBytes <= p.stride &&
         static_cast<std::int64_t>(p.stride) * p.height <= static_cast<std::int64_t>(p.pixels.size());
}

void StoreBgr(std::uint8_t* out, int bitsPerPixel, const std::uint8_t* bgr) {
  switch (bitsPerPixel) {
    case 32:
      out[0] = bgr[0];
      out[1] = bgr[1];
      out[2] = bgr[2];
      out[3] = 0;
      break;
    case 24:
      out[0] = bgr[0];
      out[1] = bgr[1];
      out[2] = bgr[2];
      break;
    default: {
      const std::uint16_t word =
          static_cast<std::uint16_t>(((bgr[2] >> 3) << 11) | ((bgr[1] >> 2) << 5) | (bgr[0] >> 3));
      std::memcpy(out, &word, sizeof word);
      break;
    }
  }
}

}  // namespace

std::unique_ptr<MemorySurface> PictureBackgroundSource::MakeScreenSurface(const DecodedImage& picture,
                                                                          std::int32_t width, std::int32_t height,
                                                                          int bitsPerPixel) {
  if (width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height > kMaxPixels) return nullptr;
  if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
  if (!LayoutIsSound(picture)) return nullptr;

  auto surface = std::make_unique<MemorySurface>(width, height, bitsPerPixel);
  const int bytesPerPixel = bitsPerPixel / 8;
  const int sourceBytes = picture.bitsPerPixel / 8;

  // Nearest neighbour: screen pixel x takes picture column x × W / width.
  std::vector<std::int32_t> sourceColumn(static_cast<std::size_t>(width));
  for (std::int32_t x = 0; x < width; ++x) {
    sourceColumn[static_cast<std::size_t>(x)] =
        static_cast<std::int32_t>(static_cast<std::int64_t>(x) * picture.width / width);
  }
  std::uint8_t* rowOut = surface->Bytes().data();
  for (std::int32_t y = 0; y < height; ++y, rowOut += surface->PitchBytes()) {
    const std::int32_t sy = static_cast<std::int32_t>(static_cast<std::int64_t>(y) * picture.height / height);
    const std::int32_t storedRow = picture.topDown ? sy : picture.height - 1 - sy;
    const std::uint8_t* rowIn = picture.pixels.data() + static_cast<std::size_t>(storedRow) * picture.stride;
    std::uint8_t* out = rowOut;
    for (std::int32_t x = 0; x < width; ++x, out += bytesPerPixel) {
      const std::uint8_t* in =
          rowIn + static_cast<std::size_t>(sourceColumn[static_cast<std::size_t>(x)]) * sourceBytes;
      if (sourceBytes == 1) in = picture.colorTable.data() + static_cast<std::size_t>(*in) * 4;
      StoreBgr(out, bitsPerPixel, in);
    }
  }
  return surface;
}
