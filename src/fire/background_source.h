#pragma once
#include <string>

#include "image/surface.h"

// Turns a background name into a surface of the screen's size and format:
// "desktop" in any letter case is the desktop snapshot taken at start; any
// other name is a picture file, stretched to the screen.
class BackgroundSource {
 public:
  virtual ~BackgroundSource() = default;

  // The surface stays owned by the source; none when the name cannot be loaded.
  // A picture is read from its file again at every call.
  virtual Surface* Load(const std::string& name) = 0;

  // Frees every surface (and, on Windows, the snapshot's GDI objects). Safe twice.
  virtual void Release() = 0;
};
