#include "fire/scalar_flame_render.h"

#include <algorithm>

#include "diagnostics/performance_monitor.h"

void ScalarFlameRender::Rander(const ByteImage& heat, const ByteImage& grey, ByteImage& output) {
  PerformanceScope scope("FlameRender::Rander()");
  const std::int32_t width = std::min({heat.width, grey.width, output.width});
  const std::int32_t height = std::min({heat.height, grey.height, output.height});
  const std::int32_t columns = 8 * (std::max(width, 0) / 8);
  if (columns == 0 || heat.data == nullptr || grey.data == nullptr || output.data == nullptr) return;
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < columns; ++x) {
      output.Row(y)[x] = static_cast<std::uint8_t>((heat.Row(y)[x] >> 1) + (grey.Row(y)[x] >> 1));
    }
  }
}
