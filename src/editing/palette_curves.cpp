#include "editing/palette_curves.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

constexpr std::size_t kTypicalPolyline = 1024;  // hand-drawn curves yield a few hundred vertices

bool InSquare(std::int32_t px, std::int32_t py, int x, int y, int half) {
  return px >= x - half && px < x + half && py >= y - half && py < y + half;
}

std::int32_t ClampByte(int v) { return std::clamp(v, 0, 255); }

}  // namespace

PaletteCurves::PaletteCurves() {
  for (auto& line : polylines_) line.reserve(kTypicalPolyline);
}

PaletteCurves::ChannelPlace PaletteCurves::PlaceOf(int channel) {
  switch (channel) {
    case kRed:
      return {PaletteRecord::kRed, PaletteBuilder::kRedByte};
    case kGreen:
      return {PaletteRecord::kGreen, PaletteBuilder::kGreenByte};
    default:
      return {PaletteRecord::kBlue, PaletteBuilder::kBlueByte};
  }
}

bool PaletteCurves::Prepare(const PaletteRecord& start, int depth) {
  depth_ = depth;
  try {
    table32_ = std::make_unique<std::uint8_t[]>(PaletteBuilder::kTable32Bytes);
    table16_.reset();
    if (depth == 16) table16_ = std::make_unique<std::uint8_t[]>(PaletteBuilder::kTable16Bytes);
  } catch (const std::bad_alloc&) {
    table32_.reset();
    table16_.reset();
    return false;
  }
  SetRecord(start);
  Recompute();
  return true;
}

void PaletteCurves::SetRecord(const PaletteRecord& record) {
  for (int c = 0; c < kChannels; ++c) {
    std::copy_n(record.points + PlaceOf(c).recordOffset, kPointsPerChannel, points_[c].begin());
    dirty_[c] = true;
  }
  redraw_ = true;
}

PaletteRecord PaletteCurves::GetRecord() const {
  PaletteRecord record;
  for (int c = 0; c < kChannels; ++c)
    std::copy_n(points_[c].begin(), kPointsPerChannel, record.points + PlaceOf(c).recordOffset);
  return record;
}

std::array<int, PaletteCurves::kChannels> PaletteCurves::SearchOrder() const {
  switch (selectedChannel_) {
    case kBlue:
      return {kBlue, kRed, kGreen};
    case kGreen:
      return {kGreen, kRed, kBlue};
    default:
      return {kRed, kGreen, kBlue};
  }
}

std::array<int, PaletteCurves::kChannels> PaletteCurves::DrawOrder() const {
  switch (selectedChannel_) {
    case kRed:
      return {kGreen, kBlue, kRed};
    case kBlue:
      return {kRed, kGreen, kBlue};
    case kGreen:
      return {kRed, kBlue, kGreen};
    default:
      return {kRed, kGreen, kBlue};
  }
}

PaletteCurves::Hit PaletteCurves::HitPoint(int x, int y) const {
  for (const int c : SearchOrder()) {
    for (int p = 0; p < kPointsPerChannel; ++p) {
      if (InSquare(points_[c][p].x, points_[c][p].y, x, y, 3)) return {c, p};
    }
  }
  return {};
}

int PaletteCurves::HitCurve(int x, int y) const {
  for (const int c : SearchOrder()) {
    for (const CurvePoint& v : polylines_[c]) {
      if (InSquare(v.x, v.y, x, y, 2)) return c;
    }
  }
  return kNone;
}

PaletteCurves::Cursor PaletteCurves::CursorAt(int x, int y) const {
  if (HitPoint(x, y).channel != kNone) return Cursor::kOverPoint;
  if (HitCurve(x, y) != kNone) return Cursor::kOverCurve;
  return Cursor::kArrow;
}

void PaletteCurves::Press(int x, int y) {
  dragging_ = true;
  const Hit hit = HitPoint(x, y);
  if (hit.channel != kNone) {
    selectedChannel_ = hit.channel;
    selectedPoint_ = hit.point;
  } else {
    selectedPoint_ = kNone;
    selectedChannel_ = HitCurve(x, y);
  }
  redraw_ = true;
}

bool PaletteCurves::Drag(int x, int y) {
  if (!dragging_ || selectedChannel_ == kNone || selectedPoint_ == kNone) return false;
  PalettePoint& point = points_[selectedChannel_][selectedPoint_];
  switch (selectedPoint_) {
    case 0:  // the cold end: along the bottom edge, or up the left one
      point = x > y ? PalettePoint{ClampByte(x), 0} : PalettePoint{0, ClampByte(y)};
      break;
    case 3:  // the hot end: along the top edge, or down the right one
      point = x <= y ? PalettePoint{ClampByte(x), 255} : PalettePoint{255, ClampByte(y)};
      break;
    default:
      point = {x, y};
      break;
  }
  dirty_[selectedChannel_] = true;
  redraw_ = true;
  return true;
}

void PaletteCurves::Swap(int channelA, int channelB) {
  std::swap(points_[channelA], points_[channelB]);
  dirty_[channelA] = dirty_[channelB] = true;
  redraw_ = true;
}

bool PaletteCurves::Recompute() {
  if (!table32_) return false;
  bool any = false;
  for (const int c : {kRed, kGreen, kBlue}) {
    if (!dirty_[c]) continue;
    builder_.EvaluateCurve(points_[c].data(), polylines_[c]);
    builder_.FillChannel(polylines_[c], table32_.get(), PlaceOf(c).tableByte);
    dirty_[c] = false;
    any = true;
  }
  if (any && table16_) PaletteBuilder::ToRGB565(table32_.get(), table16_.get());
  return any;
}
