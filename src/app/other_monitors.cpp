#include "app/other_monitors.h"

#include <algorithm>

#include "app/monitor_window.h"
#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "display/monitor_list_win.h"
#include "fire/desktop_part.h"
#include "fire/frame_step.h"
#include "settings/loadable_background.h"
#include "settings/monitor_fire.h"

// GDI takes 32-bit rows whatever the monitor's depth, and converts.
static constexpr int kSurfaceBpp = 32;

struct OtherMonitors::LitMonitor {
  explicit LitMonitor(const ScreenRect& area) : fire(area, kSurfaceBpp) {}

  MonitorFire fire;
  std::unique_ptr<MonitorWindow> window;
};

std::unique_ptr<OtherMonitors> OtherMonitors::Prepare() {
  const MonitorLayout layout(ListMonitors());
  if (layout.Count() < 2) return nullptr;
  const ScreenRect screen = layout.VirtualScreen();
  TraceLog().Log("OtherMonitors::Prepare() %d monitors, desktop %d,%d %dx%d", static_cast<int>(layout.Count()),
                 screen.x, screen.y, screen.width, screen.height);
  std::optional<DecodedImage> snapshot = CaptureVirtualScreen(screen);
  if (!snapshot) TraceLog().Log("OtherMonitors::Prepare() desktop capture false");
  return std::make_unique<OtherMonitors>(layout, std::move(snapshot));
}

OtherMonitors::OtherMonitors(const MonitorLayout& layout, std::optional<DecodedImage> snapshot)
    : layout_(layout), snapshot_(std::move(snapshot)) {}

OtherMonitors::~OtherMonitors() {
  // The workers go first: no frame may run on a monitor being taken down.
  workers_.reset();
  monitors_.clear();
}

void OtherMonitors::Start(const std::string& folder) {
  for (std::size_t i = 1; i < layout_.Count(); ++i) {
    const ScreenRect& area = layout_.Monitors()[i].area;
    TraceLog().Log("OtherMonitors::Start() monitor %d at %d,%d %dx%d", static_cast<int>(i), area.x, area.y, area.width,
                   area.height);
    auto monitor = std::make_unique<LitMonitor>(area);
    std::optional<DecodedImage> part;
    if (snapshot_) {
      const ScreenRect inSnapshot = layout_.SnapshotPart(i, snapshot_->width, snapshot_->height);
      if (!inSnapshot.Empty()) part = DesktopPart(*snapshot_, inSnapshot);
    }
    if (!monitor->fire.Load(folder, std::move(part))) {
      TraceLog().Log("OtherMonitors::Start() settings false");
      continue;
    }
    SkipUnloadableBackgrounds(monitor->fire.settings, monitor->fire.source);
    if (const int code = monitor->fire.CreateFire(); code != 0) {
      TraceLog().Log("OtherMonitors::Start() fire false. error %d", code);
      continue;
    }
    monitor->window = std::make_unique<MonitorWindow>(area, displayChanged_);
    if (!*monitor->window) {
      TraceLog().Log("OtherMonitors::Start() window false");
      continue;
    }
    monitors_.push_back(std::move(monitor));
  }
  snapshot_.reset();
  workers_ = std::make_unique<FrameWorkers>(FrameWorkers::ThreadsFor(static_cast<int>(monitors_.size()) + 1));
  TraceLog().Log("OtherMonitors::Start() %d other monitors lit, %d threads", static_cast<int>(monitors_.size()),
                 workers_->Threads());
}

void OtherMonitors::SetPrimaryWindow(HWND primary) {
  for (const auto& monitor : monitors_) monitor->window->SetPrimaryWindow(primary);
  // The keys go to the primary window, which made its screen after these windows.
  SetForegroundWindow(primary);
}

void OtherMonitors::PassUnseen(std::uint32_t elapsedMs) {
  for (const auto& monitor : monitors_) {
    MonitorFire& fire = monitor->fire;
    fire.random.Run([&] { fire.fire.PassUnseen(elapsedMs); });
  }
}

void OtherMonitors::RunJob(int index) {
  if (index == 0) {
    callPrimary_(primaryFrame_);
    return;
  }
  // The timing report describes the primary's frame alone.
  const UntimedScope untimed;
  LitMonitor& monitor = *monitors_[static_cast<std::size_t>(index - 1)];
  MonitorFire& fire = monitor.fire;
  fire.random.Run([&] { StepFire(fire.fire, fire.surface, elapsedMs_, "OtherMonitors::DrawFrame()"); });
  monitor.window->Present(fire.surface);
}

void OtherMonitors::DropRemovedMonitors() {
  if (!displayChanged_.exchange(false)) return;
  std::vector<Monitor> running;
  running.push_back(layout_.Monitors()[0]);
  for (const auto& monitor : monitors_) running.push_back(Monitor{monitor->fire.area, false});
  const MonitorLayout before(running);
  const std::vector<std::size_t> removed = before.RemovedIn(MonitorLayout(ListMonitors()));
  // From the back, so that the indices still to go keep their places.
  for (auto i = removed.rbegin(); i != removed.rend(); ++i) {
    if (*i == 0) continue;  // the primary is DirectDraw's to keep
    const ScreenRect& area = monitors_[*i - 1]->fire.area;
    TraceLog().Log("OtherMonitors::DrawFrame() monitor at %d,%d %dx%d is gone", area.x, area.y, area.width,
                   area.height);
    monitors_.erase(monitors_.begin() + static_cast<std::ptrdiff_t>(*i - 1));
  }
}
