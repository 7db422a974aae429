#include "fire/scalar_flame_render.h"

#include "diagnostics/performance_monitor.h"

void ScalarFlameRender::Rander(const ByteImage& heat, const ByteImage& grey, ByteImage& output) {
  PerformanceScope scope("FlameRender::Rander()");
  const Area area = AreaOf(heat, grey, output);
  for (std::int32_t y = 0; y < area.rows; ++y) {
    for (std::int32_t x = 0; x < area.columns; ++x) {
      output.Row(y)[x] = static_cast<std::uint8_t>((heat.Row(y)[x] >> 1) + (grey.Row(y)[x] >> 1));
    }
  }
}
