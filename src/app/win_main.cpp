#include <windows.h>

#include <cstdlib>

#include "app/mode_selector.h"
#include "diagnostics/performance_monitor.h"

// The process entry: the mode runs between the start of the timing monitor and
// its report, so report.csv (written into the settings folder, which loading the
// settings made the current directory) covers the whole run.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  PerformanceMonitor::Init(false, false, "mf.pm.log");
  ModeSelector selector;
  const int result = selector.Select(__argc, __argv);
  PerformanceMonitor::WriteReport();
  return result;
}
