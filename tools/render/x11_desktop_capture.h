#pragma once
#include <optional>

#include "image/decoded_image.h"

// What the X screen shows now, as a 32-bit top-down picture (B,G,R,0); nothing
// when there is no display or it cannot be read. Native build only: the Windows
// build captures the desktop through GDI in its own background source.
std::optional<DecodedImage> CaptureX11Desktop();
