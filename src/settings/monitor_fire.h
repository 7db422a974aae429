#pragma once
#include <optional>
#include <string>

#include "fire/fire_manager.h"
#include "fire/monitor_layout.h"
#include "fire/picture_background_source.h"
#include "fire/random_sequence.h"
#include "image/decoded_image.h"
#include "image/memory_surface.h"
#include "settings/settings.h"

// One monitor's fire beside the primary's, with everything it owns, so that it
// draws what that monitor alone would draw: settings of its own (the timed
// changes move its rotation on, not the primary's), its own part of the desktop,
// a surface in plain memory and its own random sequence (step it inside
// random.Run, whichever thread does it). Its settings are never saved.
struct MonitorFire {
  MonitorFire(const ScreenRect& monitorArea, int bitsPerPixel);

  // Loads the settings of `folder` and takes `desktop` (none: no snapshot) as
  // the monitor's desktop. False when the settings cannot be loaded.
  bool Load(const std::string& folder, std::optional<DecodedImage> desktop);
  // Makes the fire for the area and hands it the change periods, as the saver's
  // start does: 0 or the fire's negative code.
  int CreateFire();

  ScreenRect area;
  int bpp;
  Settings settings;
  PictureBackgroundSource source;
  FireManager fire;
  MemorySurface surface;
  RandomSequence random;
};
