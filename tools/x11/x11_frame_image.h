#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/memory_surface.h"
#include "image/surface.h"

// The picture the fire draws into, and its way to a window: an XImage in the
// window's pixel format, in shared memory when the server offers MIT-SHM
// (XShmPutImage) and in the process's memory otherwise (XPutImage).
//
// The formats the fire's copiers write (RGB565, 24-bit B,G,R and 32-bit B,G,R,X,
// least significant byte first) are drawn in place. Any other TrueColor format
// is drawn into a 32-bit memory surface and converted pixel by pixel at Present.
class X11FrameImage : public Surface {
 public:
  // Null, with a one-line reason, when the visual is not TrueColor or the image
  // cannot be made. `allowShm` false forces XPutImage.
  static std::unique_ptr<X11FrameImage> Create(Display* display, Drawable drawable, Visual* visual, int depth,
                                               std::int32_t width, std::int32_t height, bool allowShm,
                                               std::string& problem);
  ~X11FrameImage() override;
  X11FrameImage(const X11FrameImage&) = delete;
  X11FrameImage& operator=(const X11FrameImage&) = delete;

  // Waits until the server has read the frame last presented from shared
  // memory, so the copier never overwrites pixels still being shown.
  int Lock() override;
  void Unlock() override;
  std::uint8_t* FirstPixel() override;
  std::int32_t PitchBytes() const override;
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  // The depth the fire draws at: 16, 24 or 32.
  int BitsPerPixel() const override;

  // Sends the pixels to the whole drawable.
  void Present();
  bool UsesSharedMemory() const { return shm_.shmaddr != nullptr; }
  bool ConvertsPixels() const { return staging_ != nullptr; }

 private:
  X11FrameImage(Display* display, Drawable drawable, std::int32_t width, std::int32_t height);
  bool MakeShared(Visual* visual, int depth);
  bool MakePlain(Visual* visual, int depth);
  void WaitForServer();
  void Convert();
  void MakeOpaque();

  Display* display_;
  Drawable drawable_;
  GC gc_ = nullptr;
  std::int32_t width_;
  std::int32_t height_;
  XImage* image_ = nullptr;
  XShmSegmentInfo shm_{};
  std::vector<char> plainPixels_;
  std::unique_ptr<MemorySurface> staging_;  // only for formats the copiers cannot write
  bool presentPending_ = false;
  unsigned long alphaMask_ = 0;  // bits set in every pixel: the alpha of a depth-32 visual
};
