#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fire/background_source.h"
#include "image/memory_surface.h"

// A background source whose pictures are grey surfaces of the screen's depth,
// registered by name; every Load is recorded. Greys that are multiples of 8 read
// back unchanged at every depth.
class FakeBackgroundSource : public BackgroundSource {
 public:
  FakeBackgroundSource(std::int32_t width, std::int32_t height, int bpp = 32)
      : width_(width), height_(height), bpp_(bpp) {}
  void SetDepth(int bpp) { bpp_ = bpp; }

  // A surface whose every pixel has the grey value `grey`, optionally with a
  // bright square in the middle so that the picture has edges.
  void Add(const std::string& name, std::uint8_t grey, bool square = false) {
    auto surface = std::make_unique<MemorySurface>(width_, height_, bpp_);
    const int bytesPerPixel = bpp_ / 8;
    auto& bytes = surface->Bytes();
    for (std::int32_t y = 0; y < height_; ++y) {
      for (std::int32_t x = 0; x < width_; ++x) {
        const bool inside = square && x >= width_ / 4 && x < 3 * width_ / 4 && y >= height_ / 4 && y < 3 * height_ / 4;
        const std::uint8_t value = inside ? 240 : grey;
        std::uint8_t* p = bytes.data() + static_cast<std::size_t>(y) * surface->PitchBytes() + x * bytesPerPixel;
        if (bpp_ == 16) {
          const unsigned word = ((value >> 3) << 11) | ((value >> 2) << 5) | (value >> 3);
          p[0] = static_cast<std::uint8_t>(word);
          p[1] = static_cast<std::uint8_t>(word >> 8);
        } else {
          p[0] = p[1] = p[2] = value;
        }
      }
    }
    surfaces_[name] = std::move(surface);
  }
  void Remove(const std::string& name) { surfaces_.erase(name); }

  Surface* Load(const std::string& name) override {
    loads.push_back(name);
    if (onLoad) onLoad(name);
    const auto found = surfaces_.find(name);
    return found == surfaces_.end() ? nullptr : found->second.get();
  }
  void Release() override { surfaces_.clear(); }

  std::vector<std::string> loads;
  std::function<void(const std::string&)> onLoad;

 private:
  std::int32_t width_, height_;
  int bpp_;
  std::map<std::string, std::unique_ptr<MemorySurface>> surfaces_;
};
