#include "noticing_background_source.h"

#include <cstdio>

Surface* NoticingBackgroundSource::Load(const std::string& name) {
  Surface* surface = PictureBackgroundSource::Load(name);
  if (surface == nullptr && !name.empty() && reported_.insert(name).second) {
    if (IsDesktopName(name)) {
      std::fprintf(stderr, "hearthmoor-x11: no picture of the desktop could be taken; the background '%s' is skipped\n",
                   name.c_str());
    } else {
      std::fprintf(stderr, "hearthmoor-x11: the picture '%s' cannot be read (%s); it is skipped\n", name.c_str(),
                   LastProblem().c_str());
    }
  }
  return surface;
}
