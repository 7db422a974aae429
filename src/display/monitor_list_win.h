#pragma once
#include <optional>
#include <vector>

#include "fire/monitor_layout.h"
#include "image/decoded_image.h"

// The monitors of the desktop as the system lists them, in physical pixels (the
// program is per-monitor DPI aware, so no monitor's rectangle is scaled).
std::vector<Monitor> ListMonitors();

// The whole virtual screen `screen` as it shows now, 32 bits top row first, or
// nothing when GDI refuses. Taken before any window of the program exists, it is
// the user's desktop on every monitor.
std::optional<DecodedImage> CaptureVirtualScreen(const ScreenRect& screen);
