#include "fire/scalar_flame_filter.h"

#include <cstring>
#include <utility>

namespace {

// One member of the kernel family: which rows and columns are written, and the
// eight (row, column) offsets of the samples averaged into each written cell.
struct SpreadKernel {
  int firstRow;  // rows firstRow .. height - rowsLeftBelow are written
  int rowsLeftBelow;
  int firstColumn;  // 8 * ((width - widthMargin) / 8) columns from here
  int widthMargin;
  int dy[8];
  int dx[8];
};

constexpr SpreadKernel kUp{0, 4, 1, 2, {0, 1, 1, 1, 2, 2, 2, 3}, {0, -1, 0, 1, -1, 0, 1, 0}};
constexpr SpreadKernel kUpRight{0, 4, 3, 3, {0, 0, 1, 1, 1, 2, 2, 3}, {-1, 0, -2, -1, 0, -2, -1, -3}};
constexpr SpreadKernel kRight{1, 2, 3, 3, {-1, -1, 0, 0, 0, 1, 1, 0}, {-2, -1, -3, -2, -1, -2, -1, 0}};
constexpr SpreadKernel kDownRight{3, 1, 3, 3, {0, 0, -1, -1, -1, -2, -2, -3}, {-1, 0, -2, -1, 0, -2, -1, -3}};
constexpr SpreadKernel kDown{3, 1, 1, 3, {0, -1, -1, -1, -2, -2, -2, -3}, {0, -1, 0, 1, -1, 0, 1, 0}};
constexpr SpreadKernel kDownLeft{3, 1, 0, 3, {0, 0, -1, -1, -1, -2, -2, -3}, {0, 1, 0, 1, 2, 1, 2, 2}};
constexpr SpreadKernel kLeft{1, 2, 0, 3, {-1, -1, 0, 0, 0, 1, 1, 0}, {1, 2, 0, 1, 2, 1, 2, 3}};
constexpr SpreadKernel kUpLeft{0, 4, 0, 3, {0, 0, 1, 1, 1, 2, 2, 3}, {0, 1, 0, 1, 2, 1, 2, 2}};

void Spread(const SpreadKernel& k, const ByteImage& heat, std::uint8_t* other) {
  const int groups = (heat.width - k.widthMargin) / 8;
  if (groups < 1 || heat.data == nullptr || other == nullptr) return;
  const int lastRow = heat.height - k.rowsLeftBelow;
  const int endColumn = k.firstColumn + 8 * groups;
  for (int y = k.firstRow; y <= lastRow; ++y) {
    std::uint8_t* out = other + static_cast<std::ptrdiff_t>(y) * heat.pitch;
    for (int x = k.firstColumn; x < endColumn; ++x) {
      unsigned sum = 0;
      for (int i = 0; i < 8; ++i) sum += heat.Row(y + k.dy[i])[x + k.dx[i]];
      out[x] = static_cast<std::uint8_t>(sum / 8);
    }
  }
}

}  // namespace

void ScalarFlameFilter::SpreadUp(const ByteImage& heat, std::uint8_t* other) {
  // The upward kernel keeps the "fewer than 4 rows" rule explicitly: its row
  // range would already be empty, but say it where it matters most.
  if (heat.height < 4) return;
  Spread(kUp, heat, other);
}
void ScalarFlameFilter::SpreadUpRight(const ByteImage& heat, std::uint8_t* other) { Spread(kUpRight, heat, other); }
void ScalarFlameFilter::SpreadRight(const ByteImage& heat, std::uint8_t* other) { Spread(kRight, heat, other); }
void ScalarFlameFilter::SpreadDownRight(const ByteImage& heat, std::uint8_t* other) { Spread(kDownRight, heat, other); }
void ScalarFlameFilter::SpreadDown(const ByteImage& heat, std::uint8_t* other) { Spread(kDown, heat, other); }
void ScalarFlameFilter::SpreadDownLeft(const ByteImage& heat, std::uint8_t* other) { Spread(kDownLeft, heat, other); }
void ScalarFlameFilter::SpreadLeft(const ByteImage& heat, std::uint8_t* other) { Spread(kLeft, heat, other); }
void ScalarFlameFilter::SpreadUpLeft(const ByteImage& heat, std::uint8_t* other) { Spread(kUpLeft, heat, other); }

void ScalarFlameFilter::Blur(ByteImage& heat, std::uint8_t*& other, std::int32_t /*unused*/) {
  if (other != nullptr && heat.pitch > 0 && heat.height > 0) {
    const std::size_t count = static_cast<std::size_t>(heat.pitch) * static_cast<std::size_t>(heat.height);
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t v = other[i];
      for (int k = 0; k < FireStyle::kAreas; ++k) {
        if (style_.temperatures[k] <= v) {
          other[i] = static_cast<std::uint8_t>(style_.modes[k] > v ? 0 : v - style_.modes[k]);
          break;
        }
      }
    }
  }
  std::swap(heat.data, other);
}

void ScalarFlameFilter::SetStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]) {
  std::memcpy(style_.temperatures, temperatures, FireStyle::kAreas);
  std::memcpy(style_.modes, modes, FireStyle::kAreas);
}
