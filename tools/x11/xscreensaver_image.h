#pragma once
#include <X11/Xlib.h>

#include <optional>
#include <string>

#include "image/decoded_image.h"

// The picture xscreensaver's own hacks start from: its helper program
// xscreensaver-getimage paints, by the user's xscreensaver preferences, a
// snapshot of the desktop taken before the screen was blanked, a picture file or
// colour bars. It paints into a pixmap of the window's size and depth made
// here, which is then read back as a 32-bit top-down picture (B,G,R,0).
//
// Nothing when the helper is not installed, fails, or takes longer than
// `timeoutMs` (then it is ended), or when the saver is asked to end meanwhile.
std::optional<DecodedImage> GrabXscreensaverImage(Display* display, Window window, Visual* visual, int depth, int width,
                                                  int height, int timeoutMs = 10000);

// The helper program: looked for on PATH (xscreensaver puts its hack folder
// first there), then in the hack folder known when this program was built.
std::string FindXscreensaverGetimage();

// What the drawable shows, as a 32-bit top-down picture (B,G,R,0), with the
// channels scaled from the visual's masks (a pixmap has no visual of its own).
std::optional<DecodedImage> ReadDrawable(Display* display, Drawable drawable, Visual* visual, int width, int height);
