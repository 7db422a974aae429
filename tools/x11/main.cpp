// hearthmoor-x11: the Hearthmoor fire as a native X11 screen saver, following
// xscreensaver's conventions for a display hack (-root, XSCREENSAVER_WINDOW),
// and as a window of its own.
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "saver_options.h"
#include "settings/settings.h"
#include "settings_home.h"
#include "termination_signal.h"
#include "x11_errors.h"
#include "x11_saver.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFailed = 1;

// Where the bundled config.ini and store.ini are: installed beside the
// program's other data, or, for a program run from its build folder, the
// source tree's data folder (empty in a packaged build, and then skipped).
std::vector<fs::path> DefaultSettingsFolders() {
  return {fs::path(HEARTHMOOR_INSTALLED_DATA_DIR), fs::path(HEARTHMOOR_SOURCE_DATA_DIR)};
}

void Warn(const std::string& message) { std::fprintf(stderr, "hearthmoor-x11: %s\n", message.c_str()); }

// Loads the settings the saver runs on. True when they came from the user's
// folder, so that the positions may be written back at the end; otherwise the
// bundled defaults (or, without them, the built-in ones) are used read-only.
bool LoadSettings(const SaverOptions& options, Settings& settings) {
  std::error_code error;
  fs::path folder = options.settingsDir.empty()
                        ? UserSettingsFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"))
                        : fs::absolute(options.settingsDir, error);
  bool usable = false;
  if (const std::string problem = PrepareSettingsFolder(folder, DefaultSettingsFolders()); !problem.empty()) {
    Warn(problem + "; running on the default settings");
  } else if (const fs::path config = folder / "config.ini";
             fs::exists(config, error) && access(config.c_str(), R_OK) != 0) {
    Warn("settings file '" + config.string() + "' cannot be read; running on the default settings");
  } else {
    usable = settings.LoadFromFolder(folder.string());
  }
  if (!usable) {
    const fs::path defaults = FindDefaultSettings(DefaultSettingsFolders());
    if (!defaults.empty()) settings.LoadFromFolder(defaults.string());
  }

  // Without a background there is nothing to set on fire.
  Settings::TextList backgrounds;
  Settings::Index index = 0;
  settings.GetBackgrounds(backgrounds, index);
  if (backgrounds.empty()) {
    if (usable) Warn("the settings list no background; the desktop is shown");
    settings.SetBackgrounds({"Desktop"}, 0);
  }

  // The trace log goes beside the settings, as on Windows; never into the
  // read-only defaults, nor to a name the log would have to cut short.
  const fs::path log = folder / "log.txt";
  if (usable && log.native().size() < static_cast<std::size_t>(DebugLog::kMaxPath)) {
    TraceLog().SetFileName(log.c_str());
    TraceLog().DeleteLogFile();
  } else {
    TraceLog().SetOutputs(0);
  }
  return usable;
}

int Run(const SaverOptions& options) {
  if (!InstallTerminationSignals()) {
    Warn("the termination signals cannot be handled");
    return kFailed;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    const char* name = std::getenv("DISPLAY");
    Warn(name != nullptr && *name != '\0' ? std::string("cannot open display '") + name + "'"
                                          : "no X display (DISPLAY is not set)");
    return kFailed;
  }
  InstallXErrorHandlers();
  PerformanceMonitor::Init(false, false, "mf.pm.log");

  Settings settings;
  const bool savePositions = LoadSettings(options, settings);
  if (savePositions) SetExitAction([&settings] { settings.SavePositions(); });

  int status = 0;
  {
    X11Saver saver(display, options, settings);
    if (const std::string problem = saver.Open(); !problem.empty()) {
      Warn(problem);
      status = kFailed;
    } else {
      saver.Run();
    }
  }
  RunExitActions();
  XCloseDisplay(display);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const ParsedSaverOptions parsed = ParseSaverOptions(arguments, std::getenv("XSCREENSAVER_WINDOW"));
  if (!parsed.options) {
    std::fprintf(stderr, "hearthmoor-x11: %s\n%s", parsed.error.c_str(), kSaverUsage);
    return kFailed;
  }
  if (parsed.options->help) {
    std::fputs(kSaverUsage, stdout);
    return 0;
  }
  try {
    return Run(*parsed.options);
  } catch (const std::exception& e) {
    Warn(e.what());
    return kFailed;
  }
}
