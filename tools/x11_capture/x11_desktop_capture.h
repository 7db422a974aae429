#pragma once
#include <optional>

#include "image/decoded_image.h"

// What the X screen shows now, as a 32-bit top-down picture (B,G,R,0); nothing
// when there is no display or it cannot be read. Native build only: the Windows
// build captures the desktop through GDI in its own background source.
std::optional<DecodedImage> CaptureX11Desktop();

struct _XImage;  // Xlib's XImage, kept out of the includers' namespace

// The first width x height pixels of an X image in the same layout, each
// channel scaled from the width of its mask to 8 bits. The masks are passed
// in because an image read from a pixmap may not carry its visual's.
DecodedImage PictureFromXImage(_XImage* image, int width, int height, unsigned long redMask, unsigned long greenMask,
                               unsigned long blueMask);
