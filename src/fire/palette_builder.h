#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "fire/palette_record.h"

struct CurvePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const CurvePoint&) const = default;
};

// Turns palettes into colour tables: each channel's Bézier curve is sampled
// into integer points and written into that channel's byte of 256 entries.
// 32-bit entries are blue, green, red, unused; 16-bit entries are RGB565.
class PaletteBuilder {
 public:
  static constexpr int kEntries = 256;
  static constexpr std::size_t kTable32Bytes = 1024;
  static constexpr std::size_t kTable16Bytes = 512;
  static constexpr int kRedByte = 2;
  static constexpr int kGreenByte = 1;
  static constexpr int kBlueByte = 0;

  PaletteBuilder();
  virtual ~PaletteBuilder();
  PaletteBuilder(const PaletteBuilder&) = delete;
  PaletteBuilder& operator=(const PaletteBuilder&) = delete;

  // `controls` holds x0, y0, x1, y1, x2, y2, x3, y3. Replaces `points` with the
  // curve's rounded sample points, consecutive duplicates dropped. False only
  // when fewer than eight integers are given.
  bool EvaluateCurve(std::span<const std::int32_t> controls, std::vector<CurvePoint>& points);
  bool EvaluateCurve(const PalettePoint controls[4], std::vector<CurvePoint>& points);

  // Writes byte `channel` (2 red, 1 green, 0 blue) of the 256 entries of a
  // 1024-byte table. False, writing nothing, for fewer than 10 points.
  bool FillChannel(const std::vector<CurvePoint>& points, std::uint8_t* table32, int channel);

  // Red, green and blue channels of `palette` into a 1024-byte table; channels
  // whose curve is too short keep what the table held.
  void BuildTable32(const PaletteRecord& palette, std::uint8_t* table32);
  // Through the builder's own 32-bit scratch table (kept between builds, so a
  // channel too short to draw keeps the previous palette's values) into a
  // 512-byte RGB565 table. Throws std::bad_alloc on the first call only.
  void BuildTable16(const PaletteRecord& palette, std::uint8_t* table16);
  // 256 entries of a 1024-byte table into RGB565 words of a 512-byte table.
  static void ToRGB565(const std::uint8_t* table32, std::uint8_t* table16);

 private:
  std::unique_ptr<std::uint8_t[]> scratch_;
  std::vector<CurvePoint> points_;  // reused so that rebuilding does not allocate
};
