#include "x11_frame_image.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include "x11_channels.h"
#include "x11_errors.h"

namespace {

// The copier depth that writes this image's format as it stands, or 0.
int DirectDepth(const XImage& image) {
  if (image.byte_order != LSBFirst) return 0;
  const bool rgb888 = image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 && image.blue_mask == 0xFF;
  if (image.bits_per_pixel == 32 && rgb888) return 32;
  if (image.bits_per_pixel == 24 && rgb888) return 24;
  if (image.bits_per_pixel == 16 && image.red_mask == 0xF800 && image.green_mask == 0x07E0 &&
      image.blue_mask == 0x001F) {
    return 16;
  }
  return 0;
}

}  // namespace

std::unique_ptr<X11FrameImage> X11FrameImage::Create(Display* display, Drawable drawable, Visual* visual, int depth,
                                                     std::int32_t width, std::int32_t height, bool allowShm,
                                                     std::string& problem) {
  if (visual == nullptr || visual->c_class != TrueColor) {
    problem = "the window's visual is not TrueColor; Hearthmoor draws only in 16, 24 or 32-bit colour";
    return nullptr;
  }
  if (width <= 0 || height <= 0) {
    problem = "the window has no area to draw on";
    return nullptr;
  }
  std::unique_ptr<X11FrameImage> frame(new X11FrameImage(display, drawable, width, height));
  if (!(allowShm && frame->MakeShared(visual, depth)) && !frame->MakePlain(visual, depth)) {
    problem = "no image of " + std::to_string(width) + " x " + std::to_string(height) + " pixels can be made";
    return nullptr;
  }
  if (DirectDepth(*frame->image_) == 0) frame->staging_ = std::make_unique<MemorySurface>(width, height, 32);
  // A depth-32 visual carries alpha in the bits no colour uses; the copiers
  // leave that byte 0, which a compositor would show as fully transparent.
  if (depth == 32) {
    frame->alphaMask_ = 0xFFFFFFFFul & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
  }
  frame->gc_ = XCreateGC(display, drawable, 0, nullptr);
  return frame;
}

X11FrameImage::X11FrameImage(Display* display, Drawable drawable, std::int32_t width, std::int32_t height)
    : display_(display), drawable_(drawable), width_(width), height_(height) {}

X11FrameImage::~X11FrameImage() {
  if (shm_.shmaddr != nullptr) {
    XShmDetach(display_, &shm_);
    XSync(display_, False);
    shmdt(shm_.shmaddr);
  }
  if (image_ != nullptr) {
    image_->data = nullptr;  // the pixels are not Xlib's to free
    XDestroyImage(image_);
  }
  if (gc_ != nullptr) XFreeGC(display_, gc_);
  TakeXError();  // a destroyed window makes the clean-up fail harmlessly
}

bool X11FrameImage::MakeShared(Visual* visual, int depth) {
  if (!XShmQueryExtension(display_)) return false;
  XImage* image = XShmCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &shm_,
                                  static_cast<unsigned>(width_), static_cast<unsigned>(height_));
  if (image == nullptr) return false;
  const std::size_t bytes = static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(height_);
  shm_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  void* address = shm_.shmid >= 0 ? shmat(shm_.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
  if (address == reinterpret_cast<void*>(-1)) {
    if (shm_.shmid >= 0) shmctl(shm_.shmid, IPC_RMID, nullptr);
    XDestroyImage(image);
    shm_ = {};
    return false;
  }
  shm_.shmaddr = static_cast<char*>(address);
  shm_.readOnly = False;
  image->data = shm_.shmaddr;

  // A server on another machine refuses the attach with an error, not a result.
  TakeXError();
  const bool attached = XShmAttach(display_, &shm_) != 0;
  XSync(display_, False);
  const bool failed = !attached || TakeXError() != Success;
  // Marked for removal now: the segment goes when both sides detach, also after a crash.
  shmctl(shm_.shmid, IPC_RMID, nullptr);
  if (failed) {
    shmdt(shm_.shmaddr);
    image->data = nullptr;
    XDestroyImage(image);
    shm_ = {};
    return false;
  }
  image_ = image;
  return true;
}

bool X11FrameImage::MakePlain(Visual* visual, int depth) {
  XImage* image = XCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                               static_cast<unsigned>(width_), static_cast<unsigned>(height_), 32, 0);
  if (image == nullptr) return false;
  plainPixels_.assign(static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(height_), 0);
  image->data = plainPixels_.data();
  image_ = image;
  return true;
}

void X11FrameImage::WaitForServer() {
  if (!presentPending_) return;
  // The server handles requests in order: after the round trip it has finished
  // reading the shared pixels.
  XSync(display_, False);
  presentPending_ = false;
}

int X11FrameImage::Lock() {
  if (staging_) return staging_->Lock();
  WaitForServer();
  return 0;
}

void X11FrameImage::Unlock() {
  if (staging_) staging_->Unlock();
}

std::uint8_t* X11FrameImage::FirstPixel() {
  return staging_ ? staging_->FirstPixel() : reinterpret_cast<std::uint8_t*>(image_->data);
}

std::int32_t X11FrameImage::PitchBytes() const { return staging_ ? staging_->PitchBytes() : image_->bytes_per_line; }

int X11FrameImage::BitsPerPixel() const { return staging_ ? 32 : DirectDepth(*image_); }

void X11FrameImage::Convert() {
  const std::uint8_t* row = staging_->Bytes().data();
  for (std::int32_t y = 0; y < height_; ++y, row += staging_->PitchBytes()) {
    const std::uint8_t* pixel = row;
    for (std::int32_t x = 0; x < width_; ++x, pixel += 4) {
      XPutPixel(image_, x, y,
                ChannelToMask(pixel[2], image_->red_mask) | ChannelToMask(pixel[1], image_->green_mask) |
                    ChannelToMask(pixel[0], image_->blue_mask) | alphaMask_);
    }
  }
}

void X11FrameImage::MakeOpaque() {
  const auto alpha = static_cast<std::uint32_t>(alphaMask_);
  for (std::int32_t y = 0; y < height_; ++y) {
    auto* pixel =
        reinterpret_cast<std::uint32_t*>(image_->data + static_cast<std::ptrdiff_t>(y) * image_->bytes_per_line);
    for (std::int32_t x = 0; x < width_; ++x) pixel[x] |= alpha;
  }
}

void X11FrameImage::Present() {
  if (staging_) {
    WaitForServer();
    Convert();
  } else if (alphaMask_ != 0) {
    MakeOpaque();
  }
  const auto width = static_cast<unsigned>(width_);
  const auto height = static_cast<unsigned>(height_);
  if (UsesSharedMemory()) {
    XShmPutImage(display_, drawable_, gc_, image_, 0, 0, 0, 0, width, height, False);
    presentPending_ = true;
  } else {
    XPutImage(display_, drawable_, gc_, image_, 0, 0, 0, 0, width, height);
  }
}
