#include "fire/palette_builder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Deep enough for any curve whose control points stay within tens of thousands
// of the table's range to be sampled to one-unit steps; it only stops curves
// with absurd control values from subdividing without end.
constexpr int kMaxDepth = 16;
constexpr std::size_t kTypicalPoints = 4096;  // far more than any hand-drawn palette curve yields

struct FloatPoint {
  float x;
  float y;
};

// The four terms are summed in this order, in single precision, so that every
// build rounds identically.
float Bezier(float t, float p0, float p1, float p2, float p3) {
  const float u = 1.0f - t;
  return u * u * u * p0 + 3.0f * t * u * u * p1 + 3.0f * t * t * u * p2 + t * t * t * p3;
}

std::int32_t RoundHalfUp(float v) {
  const float shifted = v + 0.5f;
  if (!(shifted > -2147483648.0f)) return INT32_MIN;  // also NaN
  if (shifted >= 2147483648.0f) return INT32_MAX;
  return static_cast<std::int32_t>(shifted);  // truncates toward zero
}

bool FarApart(const FloatPoint& a, const FloatPoint& b) {
  return std::fabs(a.x - b.x) > 1.0f || std::fabs(a.y - b.y) > 1.0f;
}

struct CurveSampler {
  float px[4];
  float py[4];
  std::vector<CurvePoint>* points;

  FloatPoint At(float t) const {
    return {Bezier(t, px[0], px[1], px[2], px[3]), Bezier(t, py[0], py[1], py[2], py[3])};
  }

  void Append(const FloatPoint& p) {
    const CurvePoint rounded{RoundHalfUp(p.x), RoundHalfUp(p.y)};
    if (points->empty() || !(points->back() == rounded)) points->push_back(rounded);
  }

  // The parameters are halves of halves, all distinct, so visiting the left
  // half, the middle and then the right half lists them in ascending order.
  void Subdivide(float t0, float t1, const FloatPoint& a, const FloatPoint& c, int depth) {
    const float tm = (t0 + t1) * 0.5f;
    const FloatPoint m = At(tm);
    const bool deeper = depth < kMaxDepth;
    if (deeper && FarApart(a, m)) Subdivide(t0, tm, a, m, depth + 1);
    Append(m);
    if (deeper && FarApart(m, c)) Subdivide(tm, t1, m, c, depth + 1);
  }
};

std::uint8_t ClampByte(std::int32_t v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

PaletteBuilder::PaletteBuilder() { points_.reserve(kTypicalPoints); }

PaletteBuilder::~PaletteBuilder() = default;

bool PaletteBuilder::EvaluateCurve(std::span<const std::int32_t> controls, std::vector<CurvePoint>& points) {
  points.clear();
  if (controls.size() < 8) return false;
  CurveSampler sampler{};
  for (int i = 0; i < 4; ++i) {
    sampler.px[i] = static_cast<float>(controls[2 * i]);
    sampler.py[i] = static_cast<float>(controls[2 * i + 1]);
  }
  sampler.points = &points;
  const FloatPoint start = sampler.At(0.0f);
  const FloatPoint end = sampler.At(1.0f);
  sampler.Append(start);
  sampler.Subdivide(0.0f, 1.0f, start, end, 1);
  sampler.Append(end);
  return true;
}

bool PaletteBuilder::EvaluateCurve(const PalettePoint controls[4], std::vector<CurvePoint>& points) {
  const std::int32_t flat[8] = {controls[0].x, controls[0].y, controls[1].x, controls[1].y,
                                controls[2].x, controls[2].y, controls[3].x, controls[3].y};
  return EvaluateCurve(std::span<const std::int32_t>(flat), points);
}

bool PaletteBuilder::FillChannel(const std::vector<CurvePoint>& points, std::uint8_t* table32, int channel) {
  if (points.size() < 10 || table32 == nullptr || channel < 0 || channel > 3) return false;
  std::uint8_t* base = table32 + channel;
  const std::int32_t first = points.front().x;
  const std::int32_t last = points.back().x;
  // Where the curve starts late or ends early, the channel is dark below its
  // start and full above its end.
  if (first > 0 && first < 255) {
    for (std::int32_t i = 0; i < first; ++i) base[4 * i] = 0;
  }
  if (last > 0 && last < 255 && first < last) {
    for (std::int32_t i = last; i < kEntries; ++i) base[4 * i] = 255;
  }
  for (const CurvePoint& p : points) base[4 * ClampByte(p.x)] = ClampByte(p.y);
  return true;
}

void PaletteBuilder::BuildTable32(const PaletteRecord& palette, std::uint8_t* table32) {
  static constexpr int kChannels[3][2] = {
      {PaletteRecord::kRed, kRedByte}, {PaletteRecord::kGreen, kGreenByte}, {PaletteRecord::kBlue, kBlueByte}};
  for (const auto& [firstPoint, channel] : kChannels) {
    EvaluateCurve(&palette.points[firstPoint], points_);
    FillChannel(points_, table32, channel);
  }
}

void PaletteBuilder::BuildTable16(const PaletteRecord& palette, std::uint8_t* table16) {
  if (!scratch_) scratch_ = std::make_unique<std::uint8_t[]>(kTable32Bytes);  // zero-filled
  BuildTable32(palette, scratch_.get());
  ToRGB565(scratch_.get(), table16);
}

void PaletteBuilder::ToRGB565(const std::uint8_t* table32, std::uint8_t* table16) {
  for (int i = 0; i < kEntries; ++i) {
    const std::uint8_t* entry = table32 + 4 * i;
    const std::uint16_t word = static_cast<std::uint16_t>((entry[kRedByte] >> 3) << 11 | (entry[kGreenByte] >> 2) << 5 |
                                                          (entry[kBlueByte] >> 3));
    table16[2 * i] = static_cast<std::uint8_t>(word & 0xFF);
    table16[2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
  }
}
