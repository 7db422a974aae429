#pragma once
#include <cstdint>
#include <vector>

#include "image/surface.h"

// A surface in plain memory (16, 24 or 32 bits per pixel), used by the native
// tools and by tests. Pitch defaults to width × bytes per pixel.
class MemorySurface : public Surface {
 public:
  MemorySurface(std::int32_t width, std::int32_t height, int bitsPerPixel, std::int32_t pitchBytes = 0);

  int Lock() override;
  void Unlock() override;
  std::uint8_t* FirstPixel() override { return bytes_.data(); }
  std::int32_t PitchBytes() const override { return pitch_; }
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  int BitsPerPixel() const override { return bpp_; }

  int LockDepth() const { return locks_; }
  // Makes every following Lock fail (tests of lost surfaces).
  void FailLocks(bool fail) { failLocks_ = fail; }

  std::vector<std::uint8_t>& Bytes() { return bytes_; }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::int32_t width_, height_;
  int bpp_;
  std::int32_t pitch_;
  int locks_ = 0;
  bool failLocks_ = false;
  std::vector<std::uint8_t> bytes_;
};
