#include "fire/monitor_layout.h"

#include <algorithm>

namespace {

bool Holds(const std::vector<Monitor>& monitors, const ScreenRect& area) {
  return std::any_of(monitors.begin(), monitors.end(), [&](const Monitor& m) { return m.area == area; });
}

// Scales a virtual-screen coordinate (relative to the screen's corner) into a
// snapshot of another size, in 64 bits so that no product overflows.
std::int64_t Scale(std::int64_t offset, std::int64_t snapshotSide, std::int64_t screenSide) {
  return offset * snapshotSide / screenSide;
}

}  // namespace

MonitorLayout::MonitorLayout(const std::vector<Monitor>& monitors) {
  auto primary =
      std::find_if(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary && !m.area.Empty(); });
  if (primary == monitors.end()) {
    primary = std::find_if(monitors.begin(), monitors.end(), [](const Monitor& m) { return !m.area.Empty(); });
  }
  if (primary == monitors.end()) return;
  monitors_.push_back(Monitor{primary->area, true});
  for (auto m = monitors.begin(); m != monitors.end(); ++m) {
    if (m == primary || m->area.Empty() || Holds(monitors_, m->area)) continue;
    monitors_.push_back(Monitor{m->area, false});
  }
}

ScreenRect MonitorLayout::VirtualScreen() const {
  if (monitors_.empty()) return {};
  std::int64_t left = monitors_[0].area.x;
  std::int64_t top = monitors_[0].area.y;
  std::int64_t right = left + monitors_[0].area.width;
  std::int64_t bottom = top + monitors_[0].area.height;
  for (const Monitor& m : monitors_) {
    left = std::min<std::int64_t>(left, m.area.x);
    top = std::min<std::int64_t>(top, m.area.y);
    right = std::max<std::int64_t>(right, std::int64_t{m.area.x} + m.area.width);
    bottom = std::max<std::int64_t>(bottom, std::int64_t{m.area.y} + m.area.height);
  }
  return ScreenRect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                    static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

ScreenRect MonitorLayout::SnapshotPart(std::size_t index, std::int32_t snapshotWidth,
                                       std::int32_t snapshotHeight) const {
  const ScreenRect screen = VirtualScreen();
  if (index >= monitors_.size() || snapshotWidth <= 0 || snapshotHeight <= 0 || screen.Empty()) return {};
  const ScreenRect& area = monitors_[index].area;
  const std::int64_t x = std::int64_t{area.x} - screen.x;
  const std::int64_t y = std::int64_t{area.y} - screen.y;
  const std::int64_t left = std::clamp<std::int64_t>(Scale(x, snapshotWidth, screen.width), 0, snapshotWidth);
  const std::int64_t top = std::clamp<std::int64_t>(Scale(y, snapshotHeight, screen.height), 0, snapshotHeight);
  const std::int64_t right =
      std::clamp<std::int64_t>(Scale(x + area.width, snapshotWidth, screen.width), 0, snapshotWidth);
  const std::int64_t bottom =
      std::clamp<std::int64_t>(Scale(y + area.height, snapshotHeight, screen.height), 0, snapshotHeight);
  if (right <= left || bottom <= top) return {};
  return ScreenRect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                    static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

std::vector<std::size_t> MonitorLayout::RemovedIn(const MonitorLayout& now) const {
  std::vector<std::size_t> removed;
  for (std::size_t i = 0; i < monitors_.size(); ++i) {
    if (!Holds(now.monitors_, monitors_[i].area)) removed.push_back(i);
  }
  return removed;
}
