#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "fire/background_source.h"
#include "image/decoded_image.h"
#include "image/memory_surface.h"

// The background source of the native build: surfaces in plain memory, pictures
// read through the image decoders. The desktop is whatever picture was handed in
// as the snapshot; without one, "desktop" gives no surface.
class PictureBackgroundSource : public BackgroundSource {
 public:
  PictureBackgroundSource(std::int32_t screenWidth, std::int32_t screenHeight, int bitsPerPixel);
  ~PictureBackgroundSource() override { Release(); }
  PictureBackgroundSource(const PictureBackgroundSource&) = delete;
  PictureBackgroundSource& operator=(const PictureBackgroundSource&) = delete;

  // The desktop as it looked at start. The screen-sized surface is made from it
  // on first use and kept, so later changes to the picture's file do not show.
  void SetDesktopSnapshot(DecodedImage snapshot);

  // A picture that gives nothing is logged with its reason.
  Surface* Load(const std::string& name) override;
  void Release() override;

  // Why the last picture load gave nothing, in words; empty after a success.
  const std::string& LastProblem() const { return problem_; }

  // True when the name, lowered with the C locale's rules, is exactly "desktop".
  static bool IsDesktopName(const std::string& name);

  // The picture stretched (nearest neighbour) to width × height and converted to
  // the depth: 32 bits B,G,R,0; 24 bits B,G,R; 16 bits RGB565 by truncation.
  // Null when the picture's layout is inconsistent or the size or depth unusable.
  static std::unique_ptr<MemorySurface> MakeScreenSurface(const DecodedImage& picture, std::int32_t width,
                                                          std::int32_t height, int bitsPerPixel);

 private:
  std::int32_t width_;
  std::int32_t height_;
  int bpp_;
  std::optional<DecodedImage> snapshot_;
  std::unique_ptr<MemorySurface> desktop_;
  std::unique_ptr<MemorySurface> picture_;
  std::string problem_;
};
