// hearthmoor-render: runs the real settings and fire code without a screen and
// writes what the fire draws, frame by frame, as PNG pictures, palette-index
// images and raw surface bytes.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "fire/fire_manager.h"
#include "fire/picture_background_source.h"
#include "frame_files.h"
#include "image/memory_surface.h"
#include "render_options.h"
#include "settings/change_periods.h"
#include "settings/settings.h"
#include "x11_desktop_capture.h"

namespace fs = std::filesystem;

namespace {

constexpr int kBadRun = 2;  // bad arguments, unusable folders or files
constexpr int kFireFailed = 1;

int Fail(const std::string& message) {
  std::fprintf(stderr, "hearthmoor-render: %s\n", message.c_str());
  return kBadRun;
}

fs::path Absolute(const std::string& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  return error ? fs::path(path) : absolute.lexically_normal();
}

// One message naming what is wrong with the settings folder, or empty.
std::string CheckSettingsFolder(const fs::path& folder) {
  std::error_code error;
  if (!fs::exists(folder, error)) return "settings folder '" + folder.string() + "' does not exist";
  if (!fs::is_directory(folder, error)) return "settings path '" + folder.string() + "' is not a folder";
  if (access(folder.c_str(), R_OK | X_OK) != 0) return "settings folder '" + folder.string() + "' cannot be read";
  for (const char* name : {"config.ini", "store.ini"}) {
    const fs::path file = folder / name;
    if (fs::exists(file, error) && access(file.c_str(), R_OK) != 0) {
      return "settings file '" + file.string() + "' cannot be read";
    }
  }
  return {};
}

// Makes the output folder if needed and proves that a file can be written there.
std::string PrepareOutputFolder(const fs::path& folder) {
  std::error_code error;
  if (fs::exists(folder, error) && !fs::is_directory(folder, error)) {
    return "output path '" + folder.string() + "' is not a folder";
  }
  fs::create_directories(folder, error);
  if (error) return "output folder '" + folder.string() + "' cannot be made: " + error.message();
  const fs::path probe = folder / ".hearthmoor-render-probe";
  const std::uint8_t byte = 0;
  if (!WriteFileAtomically(probe, &byte, 1)) return "output folder '" + folder.string() + "' is not writable";
  fs::remove(probe, error);
  return {};
}

class Progress {
 public:
  Progress(bool quiet, std::int32_t frames) : quiet_(quiet), frames_(frames), last_(Clock::now()) {}

  // A line at most once a second, so that short runs stay silent.
  void Frame(std::int32_t frame) {
    if (quiet_) return;
    const auto now = Clock::now();
    if (now - last_ < std::chrono::seconds(1)) return;
    last_ = now;
    shown_ = true;
    std::fprintf(stderr, "hearthmoor-render: frame %d of %d\n", frame, frames_);
  }
  void Done(const fs::path& out) const {
    if (shown_) std::fprintf(stderr, "hearthmoor-render: %d frames done, files in %s\n", frames_, out.c_str());
  }

 private:
  using Clock = std::chrono::steady_clock;
  bool quiet_;
  std::int32_t frames_;
  Clock::time_point last_;
  bool shown_ = false;
};

int Run(const RenderOptions& options) {
  // Every path is made absolute before loading the settings makes their folder current.
  const fs::path settingsFolder = Absolute(options.settingsDir);
  const fs::path out = Absolute(options.outDir);
  const fs::path desktopFile = options.desktopFile.empty() ? fs::path() : Absolute(options.desktopFile);

  if (const std::string problem = CheckSettingsFolder(settingsFolder); !problem.empty()) return Fail(problem);
  std::optional<DecodedImage> desktop;
  if (!desktopFile.empty()) {
    DecodeResult picture = DecodeImageFile(desktopFile.string());
    if (!picture) {
      std::error_code error;
      const std::uintmax_t size = fs::file_size(desktopFile, error);
      return Fail("desktop picture '" + desktopFile.string() +
                  "' cannot be read: " + DescribeDecodeError(picture.error(), error ? 0 : size));
    }
    desktop = std::move(*picture);
  }
  if (const std::string problem = PrepareOutputFolder(out); !problem.empty()) return Fail(problem);

  // The trace log would otherwise land in the current folder, which becomes the
  // settings folder; the renderer leaves that folder as it found it.
  TraceLog().SetOutputs(0);
  PerformanceMonitor::Init(false, false, "mf.pm.log");

  Settings settings;
  if (!settings.LoadFromFolder(settingsFolder.string() + "/")) {
    return Fail("settings folder '" + settingsFolder.string() + "' cannot be loaded");
  }

  PictureBackgroundSource source(options.width, options.height, options.bitsPerPixel);
  if (desktop) {
    source.SetDesktopSnapshot(std::move(*desktop));
  } else if (auto screen = CaptureX11Desktop()) {
    source.SetDesktopSnapshot(std::move(*screen));
  }

  FireManager fire(settings);
  FireParameters parameters;
  parameters.width = options.width;
  parameters.height = options.height;
  parameters.bitsPerPixel = options.bitsPerPixel;
  if (const int code = fire.Create(parameters, source); code != 0) {
    std::fprintf(stderr, "hearthmoor-render: the fire could not be created (code %d)\n", code);
    return kFireFailed;
  }
  // The same hand-over as the screen saver's start.
  HandChangePeriods(settings, fire);

  MemorySurface surface(options.width, options.height, options.bitsPerPixel);
  Progress progress(options.quiet, options.frames);
  for (std::int32_t frame = 1; frame <= options.frames; ++frame) {
    fire.Update(options.frameMs);
    fire.Render();
    fire.CopyToSurface(surface);

    if (options.dumpIndices) {
      const fs::path file = out / FrameFileName("indices", frame, "pgm");
      if (!WriteFileAtomically(file, EncodePgm(fire.OutputImage()))) return Fail("cannot write " + file.string());
    }
    if (options.dumpSurface) {
      const fs::path file = out / FrameFileName("surface", frame, "raw");
      if (!WriteFileAtomically(file, surface.Bytes())) return Fail("cannot write " + file.string());
    }
    if (options.WritesPng(frame)) {
      const fs::path file = out / FrameFileName("frame", frame, "png");
      const auto png = EncodePng(SurfaceToRgb(surface), surface.Width(), surface.Height());
      if (png.empty() || !WriteFileAtomically(file, png)) return Fail("cannot write " + file.string());
    }
    progress.Frame(frame);
  }
  progress.Done(out);
  fire.Release();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const ParsedOptions parsed = ParseRenderOptions(arguments);
  if (!parsed.options) {
    std::fprintf(stderr, "hearthmoor-render: %s\n%s", parsed.error.c_str(), kRenderUsage);
    return kBadRun;
  }
  if (parsed.options->help) {
    std::fputs(kRenderUsage, stdout);
    return 0;
  }
  try {
    return Run(*parsed.options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "hearthmoor-render: %s\n", e.what());
    return kFireFailed;
  }
}
