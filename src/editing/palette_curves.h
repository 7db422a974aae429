#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "fire/palette_builder.h"
#include "fire/palette_record.h"

// The palette under edit in the palette editor: the three channels' control
// points, their sampled curves, the working colour table the fire previews
// through, and what the mouse does to them. Windows-free, so that the hit tests
// and the drag rules are tested natively; the editor window only converts mouse
// positions, calls these operations and draws what they describe.
//
// Curve space is the palette's own: x the table index, y the intensity, both
// 0..255 for the end points (handles may lie outside). Not thread-safe: the
// owner serialises Recompute against readers of the colour table (the fire's
// render thread) with the settings mode's frame lock.
class PaletteCurves {
 public:
  // Channel codes in the order the editor keeps them.
  static constexpr int kNone = -1;
  static constexpr int kRed = 0;
  static constexpr int kBlue = 1;
  static constexpr int kGreen = 2;
  static constexpr int kChannels = 3;
  static constexpr int kPointsPerChannel = 4;

  // Editor window geometry: curve point (x, y) sits at back-buffer pixel
  // (x + kOriginX, y + kOriginY), and the back buffer is shown upside down in a
  // window kWindowHeight pixels high.
  static constexpr int kWindowWidth = 320;
  static constexpr int kWindowHeight = 352;
  static constexpr int kOriginX = 32;
  static constexpr int kOriginY = 64;
  static constexpr int kStripX = 30;
  static constexpr int kStripY = 23;
  static constexpr int kStripWidth = 256;
  static constexpr int kStripHeight = 20;

  enum class Cursor { kArrow = 0, kOverCurve = 1, kOverPoint = 2 };

  struct Hit {
    int channel = kNone;
    int point = kNone;
    bool operator==(const Hit&) const = default;
  };

  PaletteCurves();
  PaletteCurves(const PaletteCurves&) = delete;
  PaletteCurves& operator=(const PaletteCurves&) = delete;

  // Takes the palette and the screen depth (16 for RGB565 tables, anything else
  // for 32-bit entries), gets the tables and computes curves and tables at
  // once. False when the memory cannot be had; the object is then unusable.
  bool Prepare(const PaletteRecord& start, int depth);
  // Replaces all three curves (a store palette was picked); the next Recompute
  // rebuilds them.
  void SetRecord(const PaletteRecord& record);
  PaletteRecord GetRecord() const;

  // A window position of the editor in curve space.
  static CurvePoint FromWindow(int windowX, int windowY) {
    return {windowX - kOriginX, (kWindowHeight - kOriginY) - windowY};
  }

  // The control point within a 6 x 6 square around (x, y), and the channel one of
  // whose curve vertices lies within a 4 x 4 square; the selected channel is
  // tried first, so that it wins where curves overlap.
  Hit HitPoint(int x, int y) const;
  int HitCurve(int x, int y) const;
  // Point cursor over a point, curve cursor over a curve, else the arrow.
  Cursor CursorAt(int x, int y) const;

  // Left button down at (x, y): selects the point under it, or else the curve
  // (or nothing), and starts a drag.
  void Press(int x, int y);
  // Mouse at (x, y) while the button is down: the selected point follows. End
  // points slide along the borders (point 0 the bottom and left edges, point 3
  // the top and right ones); handles go where the mouse is, outside the area
  // too. True when a point moved.
  bool Drag(int x, int y);
  void Release() { dragging_ = false; }
  bool Dragging() const { return dragging_; }

  // Exchanges all four points of two channels.
  void Swap(int channelA, int channelB);

  // Re-samples the channels that changed and rewrites their byte of the working
  // tables. True when anything was rebuilt.
  bool Recompute();

  // Set by every change that the window must draw; the window clears it.
  bool NeedsRedraw() const { return redraw_; }
  void ClearRedraw() { redraw_ = false; }

  int SelectedChannel() const { return selectedChannel_; }
  int SelectedPoint() const { return selectedPoint_; }
  const PalettePoint* Points(int channel) const { return points_[channel].data(); }
  const std::vector<CurvePoint>& Polyline(int channel) const { return polylines_[channel]; }
  // Channels in the order they are drawn: the selected one last, on top.
  std::array<int, kChannels> DrawOrder() const;

  // The table in the screen's format (RGB565 at depth 16, else 32-bit entries
  // blue, green, red, unused); its address stays the same after Prepare.
  const std::uint8_t* ColorTable() const { return depth_ == 16 ? table16_.get() : table32_.get(); }
  const std::uint8_t* Table32() const { return table32_.get(); }
  int Depth() const { return depth_; }

 private:
  std::array<int, kChannels> SearchOrder() const;
  // Where a channel's points begin in a palette record, and which byte of a
  // colour-table entry it fills (any code but red and green is blue).
  struct ChannelPlace {
    int recordOffset;
    int tableByte;
  };
  static ChannelPlace PlaceOf(int channel);

  std::array<std::array<PalettePoint, kPointsPerChannel>, kChannels> points_{};
  std::array<std::vector<CurvePoint>, kChannels> polylines_;
  std::array<bool, kChannels> dirty_{};
  bool redraw_ = false;
  int selectedChannel_ = kNone;
  int selectedPoint_ = kNone;
  bool dragging_ = false;
  int depth_ = 32;
  PaletteBuilder builder_;
  std::unique_ptr<std::uint8_t[]> table32_;
  std::unique_ptr<std::uint8_t[]> table16_;
};
