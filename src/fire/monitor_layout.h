#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A rectangle of the virtual screen in physical pixels. The primary monitor's
// top-left corner is 0,0; the others may lie at negative coordinates.
struct ScreenRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  bool Empty() const { return width <= 0 || height <= 0; }
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// One monitor as the system reports it.
struct Monitor {
  ScreenRect area;
  bool primary = false;
};

// The monitors the full-screen saver covers, in the order it covers them: the
// primary first (it keeps the saver's one-monitor path: exclusive mode, the
// calling thread, the timing report), the others in the order the system listed
// them. A monitor without area is left out, and so is one with exactly the area
// of a monitor already taken (a mirrored display shows the same pixels).
// Without a monitor marked primary, the first one listed is taken as primary.
class MonitorLayout {
 public:
  MonitorLayout() = default;
  explicit MonitorLayout(const std::vector<Monitor>& monitors);

  const std::vector<Monitor>& Monitors() const { return monitors_; }
  std::size_t Count() const { return monitors_.size(); }

  // The smallest rectangle holding every monitor; empty when there is none.
  ScreenRect VirtualScreen() const;

  // The part of a snapshot of the whole virtual screen (`snapshotWidth` ×
  // `snapshotHeight` pixels, its top-left corner at the virtual screen's) that
  // lies under monitor `index`. A snapshot of another size than the virtual
  // screen is taken as that screen scaled; the part is clipped to the snapshot
  // and is empty when nothing of it is left.
  ScreenRect SnapshotPart(std::size_t index, std::int32_t snapshotWidth, std::int32_t snapshotHeight) const;

  // The monitors of this layout that `now` no longer has, as indices into this
  // layout. A monitor that moved or changed size counts as gone: a window made
  // for its old area would cover the wrong pixels.
  std::vector<std::size_t> RemovedIn(const MonitorLayout& now) const;

 private:
  std::vector<Monitor> monitors_;
};
