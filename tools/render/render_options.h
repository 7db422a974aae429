#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fire/monitor_layout.h"

// What one run of hearthmoor-render is asked to do.
struct RenderOptions {
  std::string settingsDir;
  std::int32_t width = 800;
  std::int32_t height = 600;
  int bitsPerPixel = 32;
  // Several monitors, the first one the primary; empty: one screen of width × height.
  std::vector<Monitor> monitors;
  std::int32_t frames = 90;
  std::uint32_t frameMs = 33;
  std::string desktopFile;  // empty: the X screen when there is one, else no desktop
  std::string outDir = ".";
  std::int32_t pngEvery = 0;  // 0: only the last frame
  bool dumpIndices = false;
  bool dumpSurface = false;
  bool quiet = false;
  bool help = false;

  // Whether frame `frame` (1-based) is written as a PNG.
  bool WritesPng(std::int32_t frame) const { return pngEvery > 0 ? frame % pngEvery == 0 : frame == frames; }
};

struct ParsedOptions {
  std::optional<RenderOptions> options;
  std::string error;  // one line naming the problem when options is empty
};

// Both "--name value" and "--name=value" are accepted.
ParsedOptions ParseRenderOptions(const std::vector<std::string>& arguments);

extern const char kRenderUsage[];
