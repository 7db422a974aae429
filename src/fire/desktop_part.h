#pragma once
#include "fire/monitor_layout.h"
#include "image/decoded_image.h"

// The part `area` of a desktop snapshot as a picture of its own (24 bits, top
// row first): the desktop one monitor alone would have shown. `area` lies inside
// the snapshot, as MonitorLayout::SnapshotPart gives it.
DecodedImage DesktopPart(const DecodedImage& snapshot, const ScreenRect& area);
