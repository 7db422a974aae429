// hearthmoor-render: runs the real settings and fire code without a screen and
// writes what the fire draws, frame by frame, as PNG pictures, palette-index
// images and raw surface bytes.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "fire/desktop_part.h"
#include "fire/frame_workers.h"
#include "fire/monitor_layout.h"
#include "frame_files.h"
#include "monitor_pictures.h"
#include "render_options.h"
#include "settings/monitor_fire.h"
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

// "monitor2-surface": the file prefix of a monitor's dumps; the plain prefix for one screen.
std::string Prefix(bool several, std::size_t monitor, const char* kind) {
  return several ? "monitor" + std::to_string(monitor + 1) + "-" + kind : std::string(kind);
}

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

  // The desktop picture (or the X screen) is the whole virtual screen; each
  // monitor's fire burns over its own part of it.
  const bool several = !options.monitors.empty();
  const MonitorLayout layout(several ? options.monitors
                                     : std::vector<Monitor>{Monitor{{0, 0, options.width, options.height}, true}});
  if (!desktop) desktop = CaptureX11Desktop();

  std::vector<std::unique_ptr<MonitorFire>> fires;
  for (std::size_t i = 0; i < layout.Count(); ++i) {
    auto& monitor = *fires.emplace_back(std::make_unique<MonitorFire>(layout.Monitors()[i].area, options.bitsPerPixel));
    std::optional<DecodedImage> part;
    if (desktop && !several) {
      part = std::move(desktop);
    } else if (desktop) {
      const ScreenRect area = layout.SnapshotPart(i, desktop->width, desktop->height);
      if (!area.Empty()) part = DesktopPart(*desktop, area);
    }
    if (!monitor.Load(settingsFolder.string() + "/", std::move(part))) {
      return Fail("settings folder '" + settingsFolder.string() + "' cannot be loaded");
    }
    if (const int code = monitor.CreateFire(); code != 0) {
      std::fprintf(stderr, "hearthmoor-render: the fire could not be created (code %d)\n", code);
      return kFireFailed;
    }
  }

  const int count = static_cast<int>(fires.size());
  FrameWorkers workers(FrameWorkers::ThreadsFor(count));
  std::vector<std::exception_ptr> failures(fires.size());
  auto step = [&](int index) {
    MonitorFire& monitor = *fires[static_cast<std::size_t>(index)];
    auto frame = [&] {
      try {
        monitor.fire.Update(options.frameMs);
        monitor.fire.Render();
        monitor.fire.CopyToSurface(monitor.surface);
      } catch (...) {
        failures[static_cast<std::size_t>(index)] = std::current_exception();
      }
    };
    if (index == 0) {
      monitor.random.Run(frame);
    } else {
      // The timing tree belongs to the primary's thread and frame.
      const UntimedScope untimed;
      monitor.random.Run(frame);
    }
  };

  const ScreenRect screen = layout.VirtualScreen();
  Progress progress(options.quiet, options.frames);
  for (std::int32_t frame = 1; frame <= options.frames; ++frame) {
    workers.Run(count, step);
    for (const std::exception_ptr& failure : failures) {
      if (failure) std::rethrow_exception(failure);
    }

    for (std::size_t i = 0; i < fires.size(); ++i) {
      MonitorFire& monitor = *fires[i];
      if (options.dumpIndices) {
        const fs::path file = out / FrameFileName(Prefix(several, i, "indices").c_str(), frame, "pgm");
        if (!WriteFileAtomically(file, EncodePgm(monitor.fire.OutputImage()))) {
          return Fail("cannot write " + file.string());
        }
      }
      if (options.dumpSurface) {
        const fs::path file = out / FrameFileName(Prefix(several, i, "surface").c_str(), frame, "raw");
        if (!WriteFileAtomically(file, monitor.surface.Bytes())) return Fail("cannot write " + file.string());
      }
    }
    if (options.WritesPng(frame)) {
      // The whole virtual screen; what no monitor covers stays black.
      std::vector<std::uint8_t> rgb(static_cast<std::size_t>(screen.width) * static_cast<std::size_t>(screen.height) *
                                    3);
      for (const auto& monitor : fires) {
        const ScreenRect at{monitor->area.x - screen.x, monitor->area.y - screen.y, monitor->area.width,
                            monitor->area.height};
        PlaceRgb(rgb, screen.width, SurfaceToRgb(monitor->surface), at);
      }
      const fs::path file = out / FrameFileName("frame", frame, "png");
      const auto png = EncodePng(rgb, screen.width, screen.height);
      if (png.empty() || !WriteFileAtomically(file, png)) return Fail("cannot write " + file.string());
    }
    progress.Frame(frame);
  }
  progress.Done(out);
  for (auto& monitor : fires) monitor->fire.Release();
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
