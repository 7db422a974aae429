#include "x11_desktop_capture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

#include "x11_channels.h"

namespace {

// Xlib's default handler ends the process; a failed capture must only mean
// "no desktop".
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

std::optional<DecodedImage> CaptureX11Desktop() {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return std::nullopt;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return std::nullopt;

  const auto previous = XSetErrorHandler(&IgnoreXError);
  std::optional<DecodedImage> result;
  const Window root = DefaultRootWindow(display);
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display, root, &attributes) != 0 && attributes.width > 0 && attributes.height > 0) {
    XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image != nullptr) {
      DecodedImage picture = PictureFromXImage(image, attributes.width, attributes.height, image->red_mask,
                                               image->green_mask, image->blue_mask);
      XDestroyImage(image);
      result = std::move(picture);
    }
  }
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return result;
}

DecodedImage PictureFromXImage(XImage* image, int width, int height, unsigned long redMask, unsigned long greenMask,
                               unsigned long blueMask) {
  DecodedImage picture;
  picture.width = width;
  picture.height = height;
  picture.bitsPerPixel = 32;
  picture.topDown = true;
  picture.stride = width * 4;
  picture.pixels.resize(static_cast<std::size_t>(picture.stride) * static_cast<std::size_t>(height));
  std::uint8_t* out = picture.pixels.data();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, out += 4) {
      const unsigned long pixel = XGetPixel(image, x, y);
      out[0] = ChannelFromMask(pixel, blueMask);
      out[1] = ChannelFromMask(pixel, greenMask);
      out[2] = ChannelFromMask(pixel, redMask);
      out[3] = 0;
    }
  }
  return picture;
}
