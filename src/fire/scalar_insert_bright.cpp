#include "fire/scalar_insert_bright.h"

#include <algorithm>

void ScalarInsertBright::MergeRow(std::uint8_t* heat, const std::uint8_t* edge, const std::uint8_t* spark,
                                  const std::uint8_t* /*lit*/, std::int32_t count) {
  for (std::int32_t i = 0; i < count; ++i) heat[i] = std::max(heat[i], static_cast<std::uint8_t>(edge[i] & spark[i]));
}
